#include "platform/hive_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/machine.h"
#include "platform/reg_format.h"

namespace trawlex::platform {

namespace {

std::string ErrnoText() {
    return std::strerror(errno);
}

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

  private:
    int fd_;
};

Result<std::string> ReadWholeFile(const std::string& path) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) {
        if (errno == ENOENT) return std::string();
        return Failure{"cannot open " + path + ": " + ErrnoText()};
    }
    std::string text;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Failure{"cannot read " + path + ": " + ErrnoText()};
        if (n == 0) break;
        text.append(buffer, static_cast<size_t>(n));
    }
    return text;
}

Status WriteAll(int fd, std::string_view data, const std::string& path) {
    while (!data.empty()) {
        ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Failure{"cannot write " + path + ": " + ErrnoText()};
        data.remove_prefix(static_cast<size_t>(n));
    }
    return {};
}

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.rfind('/'));
}

// Replaces the hive file with text so that a crash at any point leaves either the old
// or the new file in place.
Status ReplaceFile(const std::string& path, std::string_view text) {
    const std::string temp = path + ".tmp";  // only the lock holder writes it
    {
        FileDescriptor fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
        if (!fd.valid()) return Failure{"cannot create " + temp + ": " + ErrnoText()};
        if (Status written = WriteAll(fd.get(), text, temp); !written) return written;
        if (::fsync(fd.get()) != 0) return Failure{"cannot flush " + temp + ": " + ErrnoText()};
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        return Failure{"cannot replace " + path + ": " + ErrnoText()};
    }
    FileDescriptor folder(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.valid()) ::fsync(folder.get());
    return {};
}

}  // namespace

std::string_view HiveRootName(HiveId hive) {
    return hive == HiveId::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

std::string HiveFilePath(HiveId hive) {
    return MachineRoot() + "/" + std::string(HiveRootName(hive)) + ".reg";
}

Result<RegHive> LoadHive(HiveId hive) {
    const std::string path = HiveFilePath(hive);
    Result<std::string> text = ReadWholeFile(path);
    if (!text) return Failure{text.error()};
    return ParseRegText(*text, HiveRootName(hive), path);
}

Status ModifyHive(HiveId hive, const std::function<Status(RegHive&)>& edit) {
    const std::string path = HiveFilePath(hive);
    const std::string lockPath = path + ".lock";
    FileDescriptor lock(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
    if (!lock.valid()) return Failure{"cannot open " + lockPath + ": " + ErrnoText()};
    while (::flock(lock.get(), LOCK_EX) != 0) {
        if (errno != EINTR) return Failure{"cannot lock " + lockPath + ": " + ErrnoText()};
    }
    // The lock goes with the descriptor when it is closed.
    Result<RegHive> current = LoadHive(hive);
    if (!current) return Failure{"registry hive left unchanged: " + current.error()};
    if (Status edited = edit(*current); !edited) return edited;
    return ReplaceFile(path, FormatRegText(*current, HiveRootName(hive)));
}

}  // namespace trawlex::platform
