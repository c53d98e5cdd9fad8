#include "search/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace trawlex {
namespace {

enum class EntryKind { File, Folder, Other };

EntryKind KindOf(int dirFd, const dirent& entry) {
    if (entry.d_type == DT_REG) return EntryKind::File;
    if (entry.d_type == DT_DIR) return EntryKind::Folder;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return EntryKind::Other;
    struct stat info {};
    if (::fstatat(dirFd, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) return EntryKind::Other;
    if (S_ISDIR(info.st_mode)) return EntryKind::Folder;
    if (S_ISLNK(info.st_mode) && ::fstatat(dirFd, entry.d_name, &info, 0) != 0) {
        return EntryKind::Other;  // dangling link
    }
    return S_ISREG(info.st_mode) ? EntryKind::File : EntryKind::Other;
}

class DirHandle {
  public:
    explicit DirHandle(DIR* dir) : dir_(dir) {}
    ~DirHandle() {
        if (dir_ != nullptr) ::closedir(dir_);
    }
    DirHandle(const DirHandle&) = delete;
    DirHandle& operator=(const DirHandle&) = delete;
    DIR* get() const { return dir_; }

  private:
    DIR* dir_;
};

}  // namespace

Result<FolderListing> ListFolder(const std::string& folder) {
    auto failure = [&folder](int error) {
        return Failure{folder + ": " + std::generic_category().message(error)};
    };
    DirHandle dir(::opendir(folder.c_str()));
    if (dir.get() == nullptr) return failure(errno);

    FolderListing listing;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (entry == nullptr) {
            if (errno != 0) return failure(errno);
            break;
        }
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) {
            continue;
        }
        switch (KindOf(::dirfd(dir.get()), *entry)) {
            case EntryKind::File:
                listing.files.emplace_back(entry->d_name);
                break;
            case EntryKind::Folder:
                listing.folders.emplace_back(entry->d_name);
                break;
            case EntryKind::Other:
                break;
        }
    }
    // std::string compares as unsigned bytes.
    std::sort(listing.files.begin(), listing.files.end());
    std::sort(listing.folders.begin(), listing.folders.end());
    return listing;
}

}  // namespace trawlex
