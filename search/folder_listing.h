#pragma once
// One folder's entries, split into the files to read and the subfolders to walk.

#include <string>
#include <vector>

#include "base/result.h"

namespace trawlex {

struct FolderListing {
    std::vector<std::string> files;    // regular files and links to them, byte order of name
    std::vector<std::string> folders;  // real subfolders (links to folders are left out)
};

// Other entries (links to folders, dangling links, pipes, sockets, devices) are left out:
// reading a pipe could block the walk for ever. Fails with "<folder>: <reason>".
Result<FolderListing> ListFolder(const std::string& folder);

}  // namespace trawlex
