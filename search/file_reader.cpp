#include "search/file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <new>
#include <stdexcept>
#include <system_error>

#include "base/text_decode.h"

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

// Reads the whole file until end of file. `room_for(capacity)` gives room for that many
// bytes, keeping the `size` read so far; `room` is what the caller has at hand. The file's
// size is asked for only when that room is full, so that a small file costs no fstat; a
// directory fails its read with EISDIR.
Status ReadWhole(const std::string& path, std::size_t room, std::size_t& size,
                 const std::function<char*(std::size_t)>& room_for, bool regularOnly = false) {
    // Opening a pipe without O_NONBLOCK waits for a writer; a regular file ignores the flag.
    const int flags = O_RDONLY | O_CLOEXEC | (regularOnly ? O_NONBLOCK : 0);
    FileDescriptor file(::open(path.c_str(), flags));
    if (file.get() < 0) return Describe(path, errno);
    if (regularOnly) {
        struct stat info {};
        if (::fstat(file.get(), &info) != 0) return Describe(path, errno);
        if (!S_ISREG(info.st_mode)) return Failure{path + ": not a regular file"};
    }
    std::size_t capacity = room;
    char* data = room_for(capacity);
    bool sized = false;
    size = 0;
    for (;;) {
        if (size == capacity) {
            std::size_t next = capacity + capacity / 2 + 64 * 1024;
            struct stat info {};
            // One byte more than the size, so that the read that finds the end has room.
            if (!sized && ::fstat(file.get(), &info) == 0 && info.st_size >= 0 &&
                static_cast<std::size_t>(info.st_size) >= size) {
                next = static_cast<std::size_t>(info.st_size) + 1;
            }
            sized = true;
            capacity = next;
            data = room_for(capacity);
        }
        const ssize_t n = ::read(file.get(), data + size, capacity - size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return Describe(path, errno);
        }
        if (n == 0) break;
        size += static_cast<std::size_t>(n);
    }
    return Status();
}

}  // namespace

void FileBuffer::Reserve(std::size_t capacity) {
    if (capacity <= capacity_) return;
    std::unique_ptr<char[]> larger(new char[capacity]);
    if (size_ > 0) std::memcpy(larger.get(), data_.get(), size_);
    data_ = std::move(larger);
    capacity_ = capacity;
}

Result<std::string_view> ReadFileBytes(const std::string& path, FileBuffer& buffer) {
    // A file too large for memory is a failure to report, not a reason to end the program.
    try {
        buffer.size_ = 0;
        std::size_t size = 0;
        const Status status = ReadWhole(path, buffer.capacity_, size, [&](std::size_t capacity) {
            buffer.size_ = size;  // what a larger buffer must keep
            buffer.Reserve(capacity);
            return buffer.data_.get();
        });
        buffer.size_ = status ? size : 0;
        if (!status) return Failure{status.error()};
        return buffer.bytes();
    } catch (const std::bad_alloc&) {
        buffer.size_ = 0;
        return Describe(path, ENOMEM);
    }
}

Result<std::string> ReadRegularFile(const std::string& path) {
    try {
        std::string bytes;
        std::size_t size = 0;
        const Status status = ReadWhole(
            path, 0, size,
            [&](std::size_t capacity) {
                bytes.resize(capacity);
                return bytes.data();
            },
            true);
        if (!status) return Failure{status.error()};
        bytes.resize(size);
        return bytes;
    } catch (const std::bad_alloc&) {
        return Describe(path, ENOMEM);
    } catch (const std::length_error&) {
        return Describe(path, ENOMEM);
    }
}

Result<std::string> ReadTextFile(const std::string& path) {
    Result<std::string> bytes = ReadRegularFile(path);
    if (!bytes) return Failure{bytes.error()};
    return DecodeBuffer(std::move(*bytes));
}

}  // namespace trawlex
