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

// What a folder walk meets, in walk order.
class WalkVisitor {
  public:
    virtual ~WalkVisitor() = default;
    // A file that passes the filter.
    virtual void File(const std::string& path) = 0;
    // A folder or file that had to be left out: "エラーが発生しました:" + why.
    virtual void Skipped(const std::string& description) = 0;
};

void WalkFolder(const std::string& folder, const FolderSearchHost& host, WalkVisitor& visitor) {
    Result<FolderListing> listing = ListFolder(folder);
    if (!listing) return visitor.Skipped(std::string(kStatusErrorPrefix) + listing.error());

    const std::string extList = host.ExtList();
    for (const std::string& name : listing->files) {
        // A stopped scan adds no rows, so the rest of the walk would only read files.
        if (host.StopRequested()) return;
        if (!PassesExtFilter(name, extList)) continue;
        visitor.File(Join(folder, name));
    }
    if (!host.SearchSubfolders()) return;
    for (const std::string& name : listing->folders) {
        if (host.StopRequested()) return;
        WalkFolder(Join(folder, name), host, visitor);
    }
}

// A folder that is not there is a wrong path, not an entry left out: its message, or empty.
std::string MissingFolder(const std::string& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 && errno == ENOENT) {
        return std::string(kStatusErrorPrefix) + folder + ": " +
               std::generic_category().message(ENOENT);
    }
    return {};
}

class SearchingVisitor : public WalkVisitor {
  public:
    SearchingVisitor(std::string_view search, FolderSearchHost& host, MatchEngine& engine)
        : search_(search), host_(host), engine_(engine) {}

    void File(const std::string& path) override {
        Result<std::string_view> bytes = ReadFileBytes(path, buffer_);
        if (!bytes) return Skipped(std::string(kStatusErrorPrefix) + bytes.error());
        if (host_.SearchOwnWay(path, *bytes, search_, engine_)) return;
        SearchEncodedText(*bytes, path, search_, host_, engine_);
    }
    void Skipped(const std::string& description) override {
        host_.SetStatus(description);
        host_.EntrySkipped();
    }

  private:
    std::string_view search_;
    FolderSearchHost& host_;
    MatchEngine& engine_;
    FileBuffer buffer_;
};

class PlanningVisitor : public WalkVisitor {
  public:
    void File(const std::string& path) override { steps.push_back({path, {}}); }
    void Skipped(const std::string& description) override { steps.push_back({{}, description}); }

    std::vector<FolderWalkStep> steps;
};

}  // namespace

void SearchFolder(const std::string& folder, std::string_view search, FolderSearchHost& host,
                  MatchEngine& engine) {
    if (std::string missing = MissingFolder(folder); !missing.empty()) {
        return host.SetStatus(std::move(missing));
    }
    SearchingVisitor visitor(search, host, engine);
    WalkFolder(folder, host, visitor);
}

std::vector<FolderWalkStep> PlanFolderWalk(const std::string& folder,
                                           const FolderSearchHost& host) {
    if (std::string missing = MissingFolder(folder); !missing.empty()) {
        return {{{}, std::move(missing)}};
    }
    PlanningVisitor visitor;
    WalkFolder(folder, host, visitor);
    return std::move(visitor.steps);
}

}  // namespace trawlex
