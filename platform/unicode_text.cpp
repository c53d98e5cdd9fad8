#include "platform/unicode_text.h"

#include "base/utf16_codec.h"
#include "base/utf8_codec.h"

namespace trawlex::platform {

char32_t NextCodePoint(std::string_view utf8, size_t& pos) {
    const char32_t cp = utf8::Next(utf8, pos);
    return cp >= utf8::kInvalidByteBase ? 0xFFFD : cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
    utf8::Append(out, cp);
}

std::string Utf8ToUtf16Le(std::string_view utf8) {
    return EncodeUtf16(utf8, true);
}

std::string Utf16LeToUtf8(std::string_view bytes) {
    size_t end = 0;
    while (end + 1 < bytes.size() && (bytes[end] != '\0' || bytes[end + 1] != '\0')) end += 2;
    return DecodeUtf16(bytes.substr(0, end), true);
}

}  // namespace trawlex::platform
