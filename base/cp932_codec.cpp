#include "base/cp932_codec.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <functional>
#include <iterator>
#include <unordered_map>
#include <vector>

#include "base/text_decode.h"
#include "base/utf8_codec.h"

namespace trawlex {
namespace {

// One decoded character, already in UTF-8 (CP932 only reaches the BMP: at most 3 bytes).
struct Utf8Char {
    std::array<unsigned char, 3> bytes{};
    std::uint8_t length = 0;  // 0: no character
};

constexpr Utf8Char kReplacement{{0xEF, 0xBF, 0xBD}, 3};

// Single bytes that Windows decodes though iconv's CP932 does not: 0x80 to U+0080, the
// others to private-use characters. Text holding them is encoded back to the same bytes.
struct WindowsSingle {
    unsigned char byte;
    char32_t cp;
};
constexpr std::array<WindowsSingle, 5> kWindowsSingles = {
    {{0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3}}};

#include "base/cp932_decode_table.inc"

// The mappings are glibc's "CP932" (Windows code page 932: 0x8160 is U+FF5E, the NEC and
// IBM extensions decode), read from iconv when the program is built (cp932_decode_table.inc),
// so decoding costs a table lookup per character and starting up costs no iconv calls.
class DecodeTables {
  public:
    DecodeTables() {
        std::copy(std::begin(kCp932Singles), std::end(kCp932Singles), single_.begin());
        for (std::size_t slot = 0; slot < kCp932LeadCount; ++slot) {
            lead_[kCp932LeadBytes[slot]] = true;
            slot_[kCp932LeadBytes[slot]] = static_cast<std::uint8_t>(slot);
        }
        for (const WindowsSingle& extra : kWindowsSingles) {
            if (lead_[extra.byte] || single_[extra.byte].length != 0) continue;
            std::string utf8;
            utf8::Append(utf8, extra.cp);
            std::memcpy(single_[extra.byte].bytes.data(), utf8.data(), utf8.size());
            single_[extra.byte].length = static_cast<std::uint8_t>(utf8.size());
        }
        ForEachChar([this](const Utf8Char& ch, int, int trail) {
            if (trail == '\n' || trail == '\r' || ch.bytes[0] < 0x80) searchable_ = false;
        });
    }

    bool searchable() const { return searchable_; }

    // Calls `visit(ch, lead, trail)` for every decodable character that is not ASCII, in
    // byte order (`trail` -1 for a single byte).
    template <typename Visit>
    void ForEachChar(Visit visit) const {
        for (int b = 0x80; b < 256; ++b) {
            if (lead_[b]) {
                for (int trail = 0; trail < 256; ++trail) {
                    const Utf8Char& ch =
                        Pair(static_cast<unsigned char>(b), static_cast<unsigned char>(trail));
                    if (ch.length != 0) visit(ch, b, trail);
                }
            } else if (single_[b].length != 0) {
                visit(single_[b], b, -1);
            }
        }
    }

    const Utf8Char& Single(unsigned char b) const { return single_[b]; }
    bool IsLead(unsigned char b) const { return lead_[b]; }
    const Utf8Char& Pair(unsigned char lead, unsigned char trail) const {
        return kCp932Pairs[slot_[lead] * 256 + trail];
    }

  private:
    std::array<Utf8Char, 256> single_{};
    std::array<bool, 256> lead_{};
    std::array<std::uint8_t, 256> slot_{};
    bool searchable_ = true;
};

const DecodeTables& Tables() {
    static const DecodeTables tables;
    return tables;
}

bool AllAscii8(const unsigned char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return (word & 0x8080808080808080ULL) == 0;
}

// Decodes `bytes` into `dst` and returns the number of bytes written. Every character is
// stored as a 3-byte copy, so `dst` needs 2 bytes of room behind the output. With
// kWrite false nothing is stored and only the output size is counted.
template <bool kWrite>
std::size_t Decode(const DecodeTables& tables, std::string_view bytes, unsigned char* dst) {
    std::size_t written = 0;
    auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        // ASCII maps to itself in CP932.
        while (end - p >= 8 && AllAscii8(p)) {
            if constexpr (kWrite) std::memcpy(dst + written, p, 8);
            written += 8;
            p += 8;
        }
        if (p == end) break;
        const unsigned char b = *p;
        if (b < 0x80) {
            if constexpr (kWrite) dst[written] = b;
            ++written;
            ++p;
            continue;
        }
        const Utf8Char* ch = &tables.Single(b);
        std::size_t consumed = 1;
        if (tables.IsLead(b) && end - p >= 2) {
            const Utf8Char& pair = tables.Pair(b, p[1]);
            if (pair.length != 0) {
                ch = &pair;
                consumed = 2;
            }
        }
        if (ch->length == 0) ch = &kReplacement;
        if constexpr (kWrite) std::memcpy(dst + written, ch->bytes.data(), ch->bytes.size());
        written += ch->length;
        p += consumed;
    }
    return written;
}

// An iconv descriptor for UTF-8 to CP932, opened once per thread.
class Encoder {
  public:
    Encoder() : cd_(iconv_open("CP932", "UTF-8")) {}
    ~Encoder() {
        if (ok()) iconv_close(cd_);
    }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

  private:
    iconv_t cd_;
};

}  // namespace

void DecodeCp932(std::string_view bytes, std::string& out) {
    const DecodeTables& tables = Tables();
    // At most 3 output bytes per input byte (half-width katakana, U+FFFD). A large text is
    // sized exactly by a counting pass instead, so it is neither over-allocated three times
    // nor moved while it grows.
    constexpr std::size_t kCountAbove = 1 << 20;
    const std::size_t room =
        bytes.size() <= kCountAbove ? bytes.size() * 3 : Decode<false>(tables, bytes, nullptr);
    out.resize(room + kReplacement.bytes.size() - 1);
    out.resize(Decode<true>(tables, bytes, reinterpret_cast<unsigned char*>(out.data())));
}

std::string DecodeCp932(std::string_view bytes) {
    std::string out;
    DecodeCp932(bytes, out);
    return out;
}

bool Cp932SearchableUndecoded() {
    return Tables().searchable();
}

void ForEachCp932NonAsciiChar(
    const std::function<void(std::string_view bytes, std::string_view utf8)>& visit) {
    Tables().ForEachChar([&](const Utf8Char& ch, int lead, int trail) {
        const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        visit(std::string_view(bytes, trail >= 0 ? 2 : 1),
              std::string_view(reinterpret_cast<const char*>(ch.bytes.data()), ch.length));
    });
}

const std::vector<Cp932Char>& Cp932NonAsciiChars() {
    static const auto* const chars = [] {
        auto* list = new std::vector<Cp932Char>;
        ForEachCp932NonAsciiChar([list](std::string_view bytes, std::string_view utf8) {
            list->push_back({std::string(bytes), std::string(utf8)});
        });
        return list;
    }();
    return *chars;
}

namespace {

using SourcesByChar = std::unordered_map<std::string, std::vector<std::string>>;

// Made when a character that is not ASCII is first looked up: ASCII needs no table.
const SourcesByChar& SourcesOfChars() {
    static const auto* const by_char = [] {
        auto* map = new SourcesByChar;
        for (const Cp932Char& ch : Cp932NonAsciiChars()) (*map)[ch.utf8].push_back(ch.bytes);
        return map;
    }();
    return *by_char;
}

}  // namespace

std::vector<std::string> Cp932Sources(std::string_view utf8, std::size_t limit) {
    std::vector<std::string> sources{std::string()};
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        const char32_t cp = utf8::Next(utf8, pos);
        const std::string_view ch = utf8.substr(start, pos - start);
        if (cp < 0x80) {
            for (std::string& source : sources) source.append(ch);
            continue;
        }
        const SourcesByChar& by_char = SourcesOfChars();
        const auto it = cp == 0xFFFD ? by_char.end() : by_char.find(std::string(ch));
        // Compared by division: a limit of SIZE_MAX must not wrap the product around.
        if (it == by_char.end() || it->second.size() > limit / sources.size()) return {};
        std::vector<std::string> longer;
        for (const std::string& source : sources) {
            for (const std::string& bytes : it->second) longer.push_back(source + bytes);
        }
        sources = std::move(longer);
    }
    return sources;
}

bool Cp932CanEncode(std::string_view utf8) {
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        const char32_t cp = utf8::Next(utf8, pos);
        if (cp < 0x80) continue;
        if (cp == 0xFFFD) return false;
        const SourcesByChar& by_char = SourcesOfChars();
        if (by_char.find(std::string(utf8.substr(start, pos - start))) == by_char.end())
            return false;
    }
    return true;
}

std::string EncodeCp932(std::string_view utf8) {
    thread_local Encoder encoder;
    std::string out;
    if (!encoder.ok()) return out;
    iconv(encoder.get(), nullptr, nullptr, nullptr, nullptr);
    out.resize(utf8.size() + 16);
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    std::size_t done = 0;
    while (inLeft > 0) {
        char* outPtr = out.data() + done;
        std::size_t outLeft = out.size() - done;
        const std::size_t rc = iconv(encoder.get(), &in, &inLeft, &outPtr, &outLeft);
        done = out.size() - outLeft;
        if (rc != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        // No mapping, or not UTF-8 at all: one '?' for the character (or the stray byte),
        // unless it is one of the single bytes Windows decodes.
        if (done == out.size()) out.resize(out.size() * 2);
        std::size_t skip = 0;
        const char32_t cp = utf8::Next({in, inLeft}, skip);
        const auto* single = std::find_if(kWindowsSingles.begin(), kWindowsSingles.end(),
                                          [cp](const WindowsSingle& s) { return s.cp == cp; });
        out[done++] = single != kWindowsSingles.end() ? static_cast<char>(single->byte) : '?';
        in += skip;
        inLeft -= skip;
    }
    out.resize(done);
    return out;
}

}  // namespace trawlex
