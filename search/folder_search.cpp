#include "search/folder_search.h"

#include <sys/stat.h>

#include <cerrno>
#include <system_error>

#include "base/ascii_case.h"
#include "search/file_reader.h"
#include "search/run_status.h"

namespace trawlex {
namespace {

// The part after the last dot; empty when the name has none.
std::string_view Extension(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : fileName.substr(dot + 1);
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

}  // namespace

bool PassesExtFilter(std::string_view fileName, std::string_view extList) {
    // An empty list cannot come from a choice of extensions; like "*" it filters nothing.
    if (Trim(extList).empty()) return true;
    const std::string_view extension = Extension(fileName);
    while (!extList.empty()) {
        const std::size_t semicolon = extList.find(';');
        std::string_view item = Trim(extList.substr(0, semicolon));
        extList.remove_prefix(semicolon == std::string_view::npos ? extList.size() : semicolon + 1);
        if (item == "*" || item == "*.*") return true;
        if (item.starts_with('*')) item.remove_prefix(1);
        if (item.starts_with('.')) item.remove_prefix(1);
        if (!item.empty() && EqualsIgnoringCase(item, extension)) return true;
    }
    return false;
}

std::string MissingFolder(const std::string& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 && errno == ENOENT) {
        return std::string(kStatusErrorPrefix) + folder + ": " +
               std::generic_category().message(ENOENT);
    }
    return {};
}

void SearchWalkStep(const FolderWalkStep& step, std::string_view search, FolderSearchHost& host,
                    MatchEngine& engine, FileBuffer& buffer) {
    std::string failure = step.failure;
    if (failure.empty()) {
        Result<std::string_view> bytes = ReadFileBytes(step.path, buffer);
        if (bytes) {
            if (!host.SearchOwnWay(step.path, *bytes, search, engine)) {
                SearchEncodedText(*bytes, step.path, search, host, engine);
            }
            return;
        }
        failure = std::string(kStatusErrorPrefix) + bytes.error();
    }
    host.SetStatus(std::move(failure));
    host.EntrySkipped();
}

void SearchFolder(const std::string& folder, std::string_view search, FolderSearchHost& host,
                  MatchEngine& engine) {
    if (std::string missing = MissingFolder(folder); !missing.empty()) {
        return host.SetStatus(std::move(missing));
    }
    FolderWalker walker(folder, host);
    FileBuffer buffer;
    while (std::optional<FolderWalkStep> step = walker.Next()) {
        SearchWalkStep(*step, search, host, engine, buffer);
    }
}

std::vector<FolderWalkStep> PlanFolderWalk(const std::string& folder,
                                           const FolderSearchHost& host) {
    if (std::string missing = MissingFolder(folder); !missing.empty()) {
        return {{{}, std::move(missing)}};
    }
    std::vector<FolderWalkStep> steps;
    FolderWalker walker(folder, host);
    while (std::optional<FolderWalkStep> step = walker.Next()) steps.push_back(std::move(*step));
    return steps;
}

}  // namespace trawlex
