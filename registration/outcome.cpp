#include "registration/outcome.h"

#include <cerrno>

namespace trawlex::registration {

void Outcome::Append(const Outcome& other) {
    failures_.insert(failures_.end(), other.failures_.begin(), other.failures_.end());
    notes_.insert(notes_.end(), other.notes_.begin(), other.notes_.end());
}

int ErrorNumberFromErrno(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return kFileNotFound;
        case EACCES:
        case EPERM:
        case EROFS:
        case EBUSY:
        case ETXTBSY:
            return kPermissionDenied;
        case ENOSPC:
        case EDQUOT:
            return kDiskFull;
        default:
            return kPathFileAccessError;
    }
}

}  // namespace trawlex::registration
