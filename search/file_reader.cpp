#include "search/file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <stdexcept>
#include <system_error>

#include "search/text_decode.h"

namespace trawlex {
namespace {

Failure Describe(const std::string& path, int error) {
    return Failure{path + ": " + std::generic_category().message(error)};
}

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

Result<std::string> ReadWhole(const std::string& path) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) return Describe(path, errno);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) return Describe(path, errno);
    if (S_ISDIR(info.st_mode)) return Describe(path, EISDIR);

    // Sized from fstat, but read until end of file: the size may be 0 for special files or
    // change while reading. Growing only through `more` keeps a large buffer from moving.
    std::string bytes(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 0), '\0');
    std::size_t filled = 0;
    char more[64 * 1024];
    for (;;) {
        const bool inBuffer = filled < bytes.size();
        char* target = inBuffer ? bytes.data() + filled : more;
        const std::size_t room = inBuffer ? bytes.size() - filled : sizeof more;
        const ssize_t n = ::read(file.get(), target, room);
        if (n < 0) {
            if (errno == EINTR) continue;
            return Describe(path, errno);
        }
        if (n == 0) break;
        if (!inBuffer) bytes.append(more, static_cast<std::size_t>(n));
        filled += static_cast<std::size_t>(n);
    }
    bytes.resize(filled);
    return DecodeBuffer(std::move(bytes));
}

}  // namespace

Result<std::string> ReadTextFile(const std::string& path) {
    // A file too large for memory is a failure to report, not a reason to end the program.
    try {
        return ReadWhole(path);
    } catch (const std::bad_alloc&) {
        return Describe(path, ENOMEM);
    } catch (const std::length_error&) {
        return Describe(path, ENOMEM);
    }
}

}  // namespace trawlex
