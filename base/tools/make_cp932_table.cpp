// Writes the CP932 decoding tables that base/cp932_codec.cpp compiles in, read from glibc's
// iconv "CP932" (Windows code page 932: 0x8160 is U+FF5E, the NEC and IBM extensions decode)
// one character at a time, so that a program decodes without building them at start-up.
//   make_cp932_table <output file>

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Utf8Char {
    std::array<unsigned char, 3> bytes{};
    unsigned length = 0;  // 0: no character
};

// The character `in` decodes to as a whole, or none. Sets `incomplete` when iconv wants more
// bytes (a lead byte).
Utf8Char Convert(iconv_t cd, const char* in, std::size_t size, bool* incomplete) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char out[8];
    char* inPtr = const_cast<char*>(in);
    char* outPtr = out;
    std::size_t inLeft = size;
    std::size_t outLeft = sizeof out;
    Utf8Char result;
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
        *incomplete = errno == EINVAL && size == 1;
        return result;
    }
    const std::size_t length = static_cast<std::size_t>(outPtr - out);
    if (inLeft != 0 || length == 0 || length > result.bytes.size()) return result;
    std::memcpy(result.bytes.data(), out, length);
    result.length = static_cast<unsigned>(length);
    return result;
}

std::string Entry(const Utf8Char& ch) {
    if (ch.length == 0) return "{}";
    char text[40];
    std::snprintf(text, sizeof text, "{{0x%02X,0x%02X,0x%02X},%u}", ch.bytes[0], ch.bytes[1],
                  ch.bytes[2], ch.length);
    return text;
}

void WriteTable(std::ofstream& out, const char* name, const std::vector<Utf8Char>& chars) {
    out << "inline constexpr Utf8Char " << name << "[" << (chars.empty() ? 1 : chars.size())
        << "] = {";
    for (std::size_t i = 0; i < chars.size(); ++i) {
        out << (i % 8 == 0 ? "\n    " : " ") << Entry(chars[i]) << ",";
    }
    out << "\n};\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_cp932_table <output file>\n");
        return 2;
    }
    // Lead bytes of CP932: 0x81-0x9F and 0xE0-0xFC; more than this many is not CP932.
    constexpr std::size_t kMaxLeads = 64;
    std::vector<Utf8Char> singles(256);
    std::vector<unsigned char> leads;
    std::vector<Utf8Char> pairs;
    // Without iconv's CP932 the tables stay empty: every byte that is not ASCII decodes to
    // U+FFFD.
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd != reinterpret_cast<iconv_t>(-1)) {
        std::array<bool, 256> lead{};
        for (int b = 0; b < 256; ++b) {
            const char in[1] = {static_cast<char>(b)};
            singles[b] = Convert(cd, in, 1, &lead[b]);
        }
        for (int b = 0; b < 256; ++b) {
            if (!lead[b] || leads.size() == kMaxLeads) continue;
            leads.push_back(static_cast<unsigned char>(b));
            for (int trail = 0; trail < 256; ++trail) {
                const char in[2] = {static_cast<char>(b), static_cast<char>(trail)};
                bool incomplete = false;
                pairs.push_back(Convert(cd, in, 2, &incomplete));
            }
        }
        iconv_close(cd);
    }

    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << "// Made by base/tools/make_cp932_table.cpp from iconv's CP932 tables.\n"
           "// kCp932Singles: each byte decoded on its own. kCp932LeadBytes: the bytes that\n"
           "// start two-byte characters. kCp932Pairs[i * 256 + trail]: lead byte i followed\n"
           "// by `trail`.\n";
    WriteTable(out, "kCp932Singles", singles);
    out << "inline constexpr std::size_t kCp932LeadCount = " << leads.size() << ";\n";
    out << "inline constexpr unsigned char kCp932LeadBytes[" << (leads.empty() ? 1 : leads.size())
        << "] = {";
    for (unsigned char b : leads) out << static_cast<unsigned>(b) << ",";
    out << "};\n";
    WriteTable(out, "kCp932Pairs", pairs);
    out.close();
    if (!out) {
        std::fprintf(stderr, "make_cp932_table: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
