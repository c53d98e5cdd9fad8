#pragma once
// Walks the lines of a text: a line ends at CR LF or at a lone LF (CR LF counts once); a
// lone CR stays in the line. A text ending in a line break has a final empty line; an empty
// text has no lines.

#include <cstddef>
#include <cstring>
#include <string_view>

namespace trawlex {

struct LineRef {
    std::string_view content;  // without the terminator
    std::size_t start = 0;     // offset of the line in the text
    std::size_t next = 0;      // offset just past its terminator
};

class LineCursor {
  public:
    explicit LineCursor(std::string_view text) : text_(text), done_(text.empty()) {}

    bool Next(LineRef& line) {
        if (done_) return false;
        const char* const base = text_.data();
        const std::size_t rest = text_.size() - pos_;
        const auto* lf = static_cast<const char*>(std::memchr(base + pos_, '\n', rest));
        line.start = pos_;
        if (lf == nullptr) {
            line.content = text_.substr(pos_);
            line.next = text_.size();
            done_ = true;
            return true;
        }
        std::size_t end = static_cast<std::size_t>(lf - base);
        line.next = end + 1;
        if (end > pos_ && base[end - 1] == '\r') --end;
        line.content = text_.substr(pos_, end - pos_);
        pos_ = line.next;
        return true;
    }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
    bool done_;
};

}  // namespace trawlex
