#include "search/folder_search.h"

#include <sys/stat.h>

#include <cerrno>
#include <system_error>

#include "base/ascii_case.h"
#include "search/file_reader.h"
#include "search/folder_listing.h"
#include "search/run_status.h"

namespace trawlex {
namespace {

std::string Join(const std::string& folder, std::string_view name) {
    std::string path = folder;
    if (!path.empty() && path.back() != '/') path += '/';
    path += name;
    return path;
}

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

namespace {

void ReportSkipped(FolderSearchHost& host, const std::string& description) {
    host.SetStatus(std::string(kStatusErrorPrefix) + description);
    host.EntrySkipped();
}

void WalkFolder(const std::string& folder, std::string_view search, FolderSearchHost& host,
                MatchEngine& engine, FileBuffer& buffer) {
    Result<FolderListing> listing = ListFolder(folder);
    if (!listing) return ReportSkipped(host, listing.error());

    const std::string extList = host.ExtList();
    for (const std::string& name : listing->files) {
        // A stopped scan adds no rows, so the rest of the walk would only read files.
        if (host.StopRequested()) return;
        if (!PassesExtFilter(name, extList)) continue;
        const std::string path = Join(folder, name);
        Result<std::string_view> bytes = ReadFileBytes(path, buffer);
        if (!bytes) {
            ReportSkipped(host, bytes.error());
            continue;
        }
        if (host.SearchOwnWay(path, *bytes, search, engine)) continue;
        SearchEncodedText(*bytes, path, search, host, engine);
    }
    if (!host.SearchSubfolders()) return;
    for (const std::string& name : listing->folders) {
        if (host.StopRequested()) return;
        WalkFolder(Join(folder, name), search, host, engine, buffer);
    }
}

}  // namespace

void SearchFolder(const std::string& folder, std::string_view search, FolderSearchHost& host,
                  MatchEngine& engine) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 && errno == ENOENT) {
        // A folder that is not there is a wrong path, not an entry left out.
        host.SetStatus(std::string(kStatusErrorPrefix) + folder + ": " +
                       std::generic_category().message(ENOENT));
        return;
    }
    FileBuffer buffer;
    WalkFolder(folder, search, host, engine, buffer);
}

}  // namespace trawlex
