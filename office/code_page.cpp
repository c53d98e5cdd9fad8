#include "office/code_page.h"

#include <iconv.h>

#include <cerrno>

#include "base/cp932_codec.h"
#include "base/text_decode.h"
#include "base/utf8_codec.h"

namespace trawlex::office {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252 bytes 0x80 to 0x9F; 0 where the code page leaves the byte undefined.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::string DecodeCp1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out.push_back(c);
        } else if (byte < 0xA0) {
            const char16_t mapped = kCp1252High[byte - 0x80];
            utf8::Append(out, mapped != 0 ? mapped : kReplacement);
        } else {
            utf8::Append(out, byte);  // Latin-1 from here on
        }
    }
    return out;
}

// iconv's name for a Windows code page: "CP<n>" but for those it knows by another name.
std::string IconvName(std::uint16_t codePage) {
    if (codePage == 10000) return "MACINTOSH";  // Mac Office's projects
    if (codePage == 20127) return "ASCII";
    if (codePage == 20932 || codePage == 51932) return "EUC-JP";
    if (codePage == 54936) return "GB18030";
    if (codePage == 65001) return "UTF-8";
    if (codePage == 28605) return "ISO-8859-15";
    if (codePage >= 28591 && codePage <= 28599)
        return "ISO-8859-" + std::to_string(codePage - 28590);
    return "CP" + std::to_string(codePage);
}

class Iconv {
  public:
    explicit Iconv(std::uint16_t codePage)
        : handle_(::iconv_open("UTF-8", IconvName(codePage).c_str())) {}
    ~Iconv() {
        if (Valid()) ::iconv_close(handle_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool Valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    std::string Decode(std::string_view bytes) {
        std::string out;
        char* in = const_cast<char*>(bytes.data());
        std::size_t inLeft = bytes.size();
        char buffer[4096];
        while (inLeft > 0) {
            char* outAt = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t done = ::iconv(handle_, &in, &inLeft, &outAt, &outLeft);
            out.append(buffer, static_cast<std::size_t>(outAt - buffer));
            if (done != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
            // A byte that does not decode (or a character cut short at the end).
            utf8::Append(out, kReplacement);
            ++in;
            --inLeft;
            ::iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

  private:
    iconv_t handle_;
};

}  // namespace

std::string DecodeCodePage(std::string_view bytes, std::uint16_t codePage) {
    if (IsAscii(bytes)) return std::string(bytes);
    switch (codePage) {
        case 932:
            return DecodeCp932(bytes);
        case 1252:
            return DecodeCp1252(bytes);
        default:
            break;
    }
    Iconv converter(codePage);
    if (!converter.Valid()) return DecodeCp1252(bytes);
    return converter.Decode(bytes);
}

}  // namespace trawlex::office
