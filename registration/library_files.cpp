#include "registration/library_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/machine.h"

namespace trawlex::registration {

namespace {

constexpr mode_t kLibraryMode = 0755;

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool RecordErrno(const std::string& step, const std::string& what, int error, Outcome& outcome) {
    outcome.Add({step, what + ": " + std::strerror(error), ErrorNumberFromErrno(error)});
    return false;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// The rename is durable only once the folder's entry is on disk too.
void SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

std::string SystemFilePath(std::string_view fileName) {
    return platform::GetSystemDir() + "/" + std::string(fileName);
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool WriteFileAtomically(const std::string& targetPath, std::string_view bytes,
                         const std::string& step, Outcome& outcome) {
    const std::string folder = FolderOf(targetPath);
    std::string temporary = targetPath + ".XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        return RecordErrno(step, "cannot create a temporary file in " + folder, errno, outcome);
    }
    int error = 0;
    std::string what;
    if (!WriteAll(fd, bytes)) {
        error = errno ? errno : EIO;
        what = "cannot write " + temporary;
    } else if (fsync(fd) != 0) {
        error = errno;
        what = "cannot flush " + temporary + " to disk";
    } else if (fchmod(fd, kLibraryMode) != 0) {
        error = errno;
        what = "cannot set the permissions of " + temporary;
    }
    if (close(fd) != 0 && error == 0) {
        error = errno;
        what = "cannot close " + temporary;
    }
    if (error == 0 && rename(temporary.c_str(), targetPath.c_str()) != 0) {
        error = errno;
        what = "cannot replace " + targetPath;
    }
    if (error != 0) {
        unlink(temporary.c_str());
        return RecordErrno(step, what, error, outcome);
    }
    SyncFolder(folder);
    return true;
}

bool CopyFileAtomically(const std::string& sourcePath, const std::string& targetPath,
                        const std::string& step, Outcome& outcome) {
    errno = 0;
    std::ifstream source(sourcePath, std::ios::binary);
    if (!source) {
        return RecordErrno(step, "cannot open " + sourcePath, errno ? errno : ENOENT, outcome);
    }
    std::string bytes((std::istreambuf_iterator<char>(source)), std::istreambuf_iterator<char>());
    if (source.bad()) return RecordErrno(step, "cannot read " + sourcePath, EIO, outcome);
    return WriteFileAtomically(targetPath, bytes, step, outcome);
}

bool DeleteFileIfPresent(const std::string& path, const std::string& step, Outcome& outcome) {
    if (unlink(path.c_str()) == 0 || errno == ENOENT) return true;
    return RecordErrno(step, "cannot delete " + path, errno, outcome);
}

}  // namespace trawlex::registration
