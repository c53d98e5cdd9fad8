#pragma once
// Walks the lines of a text: a line ends at CR LF or at a lone LF (CR LF counts once); a
// lone CR stays in the line. A text ending in a line break has a final empty line; an empty
// text has no lines.

#include <cstddef>
#include <cstdint>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
        line.start = pos_;
        const std::size_t lf = NextLineFeed();
        if (lf == kNone) {
            line.content = text_.substr(pos_);
            line.next = text_.size();
            done_ = true;
            return true;
        }
        std::size_t end = lf;
        line.next = lf + 1;
        if (end > pos_ && text_[end - 1] == '\r') --end;
        line.content = text_.substr(pos_, end - pos_);
        pos_ = line.next;
        return true;
    }

  private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    // Line feeds are found 64 bytes at a time and handed out in order from a bit mask, which
    // is much cheaper than one memchr call per (short) line.
    std::size_t NextLineFeed() {
        while (mask_ == 0) {
            if (block_end_ >= text_.size()) return kNone;
            block_ = block_end_;
            mask_ = LineFeedMask(block_);
            block_end_ = block_ + 64;
        }
        const std::size_t lf = block_ + static_cast<std::size_t>(__builtin_ctzll(mask_));
        mask_ &= mask_ - 1;
        return lf;
    }

    std::uint64_t LineFeedMask(std::size_t at) const {
        const char* p = text_.data() + at;
        std::uint64_t mask = 0;
#if defined(__SSE2__)
        if (text_.size() - at >= 64) {
            const __m128i lf = _mm_set1_epi8('\n');
            for (int i = 0; i < 4; ++i) {
                const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
                const auto bits =
                    static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, lf)));
                mask |= static_cast<std::uint64_t>(bits) << (16 * i);
            }
            return mask;
        }
#endif
        const std::size_t n = text_.size() - at < 64 ? text_.size() - at : 64;
        for (std::size_t i = 0; i < n; ++i) {
            if (p[i] == '\n') mask |= std::uint64_t{1} << i;
        }
        return mask;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    bool done_;
    std::size_t block_ = 0;      // start of the 64-byte block the mask describes
    std::size_t block_end_ = 0;  // where the next block starts
    std::uint64_t mask_ = 0;     // line feeds of the block not handed out yet
};

}  // namespace trawlex
