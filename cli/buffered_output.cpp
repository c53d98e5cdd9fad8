#include "cli/buffered_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace trawlex::cli {

BufferedOutput::BufferedOutput(int fd, std::size_t capacity) : fd_(fd), capacity_(capacity) {
    buffer_.reserve(capacity_);
}

BufferedOutput::~BufferedOutput() {
    Flush();
}

void BufferedOutput::Append(std::string_view text) {
    if (buffer_.size() + text.size() > capacity_) {
        Flush();
        if (text.size() >= capacity_) {
            WriteAll(text);
            return;
        }
    }
    buffer_.append(text);
}

void BufferedOutput::Append(char c) {
    if (buffer_.size() >= capacity_) Flush();
    buffer_.push_back(c);
}

void BufferedOutput::Flush() {
    WriteAll(buffer_);
    buffer_.clear();
}

void BufferedOutput::WriteAll(std::string_view bytes) {
    while (!bytes.empty() && !Failed()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            error_ = std::strerror(errno);
            return;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

}  // namespace trawlex::cli
