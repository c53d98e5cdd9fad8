#pragma once
// FolderWalker: the walk of a folder search, one entry at a time, so a caller can stop
// between any two entries and go on later.

#include <optional>
#include <string>
#include <vector>

#include "search/folder_listing.h"

namespace trawlex {

class FolderSearchHost;

// One step of a folder walk: a file to search, or a folder left out.
struct FolderWalkStep {
    std::string path;     // a file that passes the filter
    std::string failure;  // instead of a file: "エラーが発生しました:" + why a folder failed
};

// Files first, then subfolders, each in byte order of the name. The host's extension list
// is read once per folder, when its listing has been read; its subfolder choice once per
// folder, after the folder's files. Once the host reports a stop, the walk gives no more
// steps. The host must outlive the walker.
class FolderWalker {
  public:
    FolderWalker(std::string root, const FolderSearchHost& host);

    // The next file that passes the filter or the next folder that could not be listed;
    // nothing when the walk is over.
    std::optional<FolderWalkStep> Next();

  private:
    struct Frame {
        std::string folder;
        FolderListing listing;
        std::string extList;
        std::size_t nextFile = 0;
        std::size_t nextFolder = 0;
        std::optional<bool> subfolders;
    };

    // Lists `folder` and walks it next; the failure step when it cannot be listed.
    std::optional<FolderWalkStep> Enter(const std::string& folder);

    const FolderSearchHost& host_;
    std::string root_;
    bool started_ = false;
    std::vector<Frame> frames_;
};

}  // namespace trawlex
