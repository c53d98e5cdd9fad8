#pragma once
// Collects output in a large buffer and writes it to a file descriptor in big blocks,
// so that many small rows cost few system calls.

#include <cstddef>
#include <string>
#include <string_view>

namespace trawlex::cli {

class BufferedOutput {
  public:
    explicit BufferedOutput(int fd, std::size_t capacity = 1 << 16);
    ~BufferedOutput();  // flushes
    BufferedOutput(const BufferedOutput&) = delete;
    BufferedOutput& operator=(const BufferedOutput&) = delete;

    void Append(std::string_view text);
    void Append(char c);
    // Lets `append(std::string&)` write into the buffer itself (no copy of its own), then
    // writes the buffer out once it is full.
    template <typename AppendTo>
    void AppendWith(AppendTo&& append) {
        append(buffer_);
        if (buffer_.size() >= capacity_) Flush();
    }
    void Flush();

    // After a failed write, later output is dropped; the first failure's text is kept.
    bool Failed() const { return !error_.empty(); }
    const std::string& Error() const { return error_; }

  private:
    void WriteAll(std::string_view bytes);

    int fd_;
    std::size_t capacity_;
    std::string buffer_;
    std::string error_;
};

}  // namespace trawlex::cli
