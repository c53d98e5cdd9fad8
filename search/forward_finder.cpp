#include "search/forward_finder.h"

#include <cstring>
#include <string_view>

namespace trawlex {
namespace {

// How common a byte is in VB source with Japanese comments (UTF-8); higher is more common.
int Commonness(unsigned char b) {
    static constexpr std::string_view kLetters = "etaoinsrhldcumfpgwybvkxjqz";
    if (b == ' ') return 255;
    if (b >= 'a' && b <= 'z') return 200 - 4 * static_cast<int>(kLetters.find(b));
    if (b >= 'A' && b <= 'Z') return 120 - 3 * static_cast<int>(kLetters.find(b - 'A' + 'a'));
    if (b >= '0' && b <= '9') return 100;
    if (b == '\r' || b == '\n' || b == '\t') return 180;
    if (b == 0xE3) return 190;               // kana and Japanese punctuation
    if (b >= 0xE4 && b <= 0xE9) return 150;  // common kanji
    if (b >= 0x80 && b <= 0xBF) return 160;  // continuation bytes
    if (std::string_view("()\".,=_&'").find(static_cast<char>(b)) != std::string_view::npos) {
        return 140;
    }
    return 60;
}

}  // namespace

BytesSearch::BytesSearch(std::string_view text, std::string needle)
    : text_(text), needle_(std::move(needle)) {
    for (std::size_t i = 1; i < needle_.size(); ++i) {
        if (Commonness(static_cast<unsigned char>(needle_[i])) <=
            Commonness(static_cast<unsigned char>(needle_[rare_]))) {
            rare_ = i;
        }
    }
}

std::size_t BytesSearch::operator()(std::size_t from) const {
    const std::size_t n = needle_.size();
    if (from > text_.size() || n > text_.size() - from) return kNoHit;
    if (n == 0) return from;
    const char* const base = text_.data();
    const char* p = base + from + rare_;
    const char* const last = base + (text_.size() - n) + rare_;  // last place for the rare byte
    const char rare = needle_[rare_];
    while (p <= last) {
        p = static_cast<const char*>(std::memchr(p, rare, static_cast<std::size_t>(last - p) + 1));
        if (p == nullptr) return kNoHit;
        if (std::memcmp(p - rare_, needle_.data(), n) == 0) {
            return static_cast<std::size_t>(p - rare_ - base);
        }
        ++p;
    }
    return kNoHit;
}

}  // namespace trawlex
