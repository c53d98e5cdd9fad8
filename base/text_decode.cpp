#include "base/text_decode.h"

#include <cstddef>

#include "base/cp932_codec.h"
#include "base/utf16_codec.h"
#include "base/utf8_codec.h"
#include "base/utf8_scan.h"

namespace trawlex {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Length of the valid UTF-8 sequence at `p` whose first byte is not ASCII, or 0.
std::size_t ValidSequence(const unsigned char* p, const unsigned char* end) {
    const std::string_view rest(reinterpret_cast<const char*>(p),
                                static_cast<std::size_t>(end - p));
    std::size_t pos = 0;
    return utf8::Next(rest, pos) < utf8::kInvalidByteBase ? pos : 0;
}

// The first byte at or after `p` that is not ASCII, or `end`.
const unsigned char* SkipAscii(const unsigned char* p, const unsigned char* end) {
    return p +
           AsciiPrefixLength({reinterpret_cast<const char*>(p), static_cast<std::size_t>(end - p)});
}

// UTF-8 whose invalid bytes each become U+FFFD (for text that declared itself UTF-8).
std::string RepairUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        const auto* run = p;
        while ((p = SkipAscii(p, end)) < end) {
            const std::size_t n = ValidSequence(p, end);
            if (n == 0) break;
            p += n;
        }
        out.append(reinterpret_cast<const char*>(run), static_cast<std::size_t>(p - run));
        if (p < end) {
            out.append(kReplacement);
            ++p;
        }
    }
    return out;
}

enum class Encoding { Utf8Bom, Utf16Le, Utf16Be, Utf8, Utf8Repaired, Cp932 };

// Valid UTF-8 that holds a sequence of three or four bytes. Short CP932 texts often form
// valid two-byte sequences by chance (half-width katakana pairs such as D2 B2), never
// three-byte ones in practice, so only such a sequence tells UTF-8 apart.
bool IsTellingUtf8(std::string_view bytes) {
    const Utf8Scan scan = ScanUtf8(bytes);
    return scan.valid && scan.long_sequence;
}

Encoding Detect(std::string_view bytes, EncodingChoice choice) {
    if (bytes.starts_with(kUtf8Bom)) return Encoding::Utf8Bom;
    if (bytes.starts_with(kUtf16LeBom)) return Encoding::Utf16Le;
    if (bytes.starts_with(kUtf16BeBom)) return Encoding::Utf16Be;
    switch (choice) {
        case EncodingChoice::Cp932:
            return IsAscii(bytes) ? Encoding::Utf8 : Encoding::Cp932;
        case EncodingChoice::Utf8:
            return IsValidUtf8(bytes) ? Encoding::Utf8 : Encoding::Utf8Repaired;
        case EncodingChoice::Auto:
            break;
    }
    return IsAscii(bytes) || IsTellingUtf8(bytes) ? Encoding::Utf8 : Encoding::Cp932;
}

std::string DecodeAs(std::string_view bytes, Encoding encoding) {
    switch (encoding) {
        case Encoding::Utf8Bom:
            return RepairUtf8(bytes.substr(kUtf8Bom.size()));
        case Encoding::Utf16Le:
            return DecodeUtf16(bytes.substr(kUtf16LeBom.size()), true);
        case Encoding::Utf16Be:
            return DecodeUtf16(bytes.substr(kUtf16BeBom.size()), false);
        case Encoding::Utf8:
            return std::string(bytes);
        case Encoding::Utf8Repaired:
            return RepairUtf8(bytes);
        case Encoding::Cp932:
            break;
    }
    return DecodeCp932(bytes);
}

}  // namespace

bool IsAscii(std::string_view bytes) {
    return AsciiPrefixLength(bytes) == bytes.size();
}

bool IsValidUtf8(std::string_view bytes) {
    return ScanUtf8(bytes).valid;
}

ByteEncoding DetectByteEncoding(std::string_view bytes, EncodingChoice choice) {
    switch (Detect(bytes, choice)) {
        case Encoding::Utf8:
            return ByteEncoding::Utf8;
        case Encoding::Cp932:
            return ByteEncoding::Cp932;
        case Encoding::Utf8Repaired:
        case Encoding::Utf8Bom:
        case Encoding::Utf16Le:
        case Encoding::Utf16Be:
            break;
    }
    return ByteEncoding::Other;
}

std::string DecodeText(std::string_view bytes, EncodingChoice choice) {
    return DecodeAs(bytes, Detect(bytes, choice));
}

std::string DecodeBuffer(std::string bytes, EncodingChoice choice) {
    const Encoding encoding = Detect(bytes, choice);
    if (encoding == Encoding::Utf8) return bytes;
    if (encoding == Encoding::Utf8Bom && IsValidUtf8(std::string_view(bytes).substr(3))) {
        bytes.erase(0, kUtf8Bom.size());
        return bytes;
    }
    return DecodeAs(bytes, encoding);
}

std::size_t AnsiByteLength(std::string_view utf8) {
    if (IsAscii(utf8)) return utf8.size();
    return EncodeCp932(utf8).size();
}

}  // namespace trawlex
