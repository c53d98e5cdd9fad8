#include "search/folder_walker.h"

#include "search/folder_search.h"
#include "search/run_status.h"

namespace trawlex {
namespace {

std::string Join(const std::string& folder, std::string_view name) {
    std::string path = folder;
    if (!path.empty() && path.back() != '/') path += '/';
    path += name;
    return path;
}

}  // namespace

FolderWalker::FolderWalker(std::string root, const FolderSearchHost& host)
    : host_(host), root_(std::move(root)) {}

std::optional<FolderWalkStep> FolderWalker::Enter(const std::string& folder) {
    Result<FolderListing> listing = ListFolder(folder);
    if (!listing) return FolderWalkStep{{}, std::string(kStatusErrorPrefix) + listing.error()};
    Frame frame;
    frame.folder = folder;
    frame.listing = std::move(*listing);
    frame.extList = host_.ExtList();
    frames_.push_back(std::move(frame));
    return std::nullopt;
}

std::optional<FolderWalkStep> FolderWalker::Next() {
    if (!started_) {
        started_ = true;
        if (auto failure = Enter(root_)) return failure;
    }
    while (!frames_.empty()) {
        Frame& top = frames_.back();
        if (top.nextFile < top.listing.files.size()) {
            // A stopped scan adds no rows, so the rest of the walk would only read files.
            if (host_.StopRequested()) {
                frames_.pop_back();
                continue;
            }
            const std::string& name = top.listing.files[top.nextFile++];
            if (PassesExtFilter(name, top.extList))
                return FolderWalkStep{Join(top.folder, name), {}};
            continue;
        }
        if (!top.subfolders) top.subfolders = host_.SearchSubfolders();
        if (!*top.subfolders || top.nextFolder >= top.listing.folders.size() ||
            host_.StopRequested()) {
            frames_.pop_back();
            continue;
        }
        const std::string sub = Join(top.folder, top.listing.folders[top.nextFolder++]);
        if (auto failure = Enter(sub)) return failure;
    }
    return std::nullopt;
}

}  // namespace trawlex
