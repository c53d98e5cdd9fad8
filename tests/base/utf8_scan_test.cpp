#include "base/utf8_scan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace trawlex {
namespace {

void ExpectSameAsBytewise(const std::string& bytes) {
    const Utf8Scan wide = ScanUtf8(bytes);
    const Utf8Scan narrow = ScanUtf8Bytewise(bytes);
    ASSERT_EQ(wide.valid, narrow.valid) << testing::PrintToString(bytes);
    if (narrow.valid) {
        ASSERT_EQ(wide.long_sequence, narrow.long_sequence) << testing::PrintToString(bytes);
    }
}

TEST(Utf8ScanTest, FollowsTheStrictDefinition) {
    struct Case {
        std::string bytes;
        bool valid;
        bool long_sequence;
    };
    const std::vector<Case> cases = {
        {"", true, false},
        {"plain ASCII", true, false},
        {"caf\xC3\xA9", true, false},        // two-byte sequences only
        {"\xE8\xA1\xA8", true, true},        // U+8868
        {"\xF0\x9F\x98\x80", true, true},    // U+1F600
        {"\xF4\x8F\xBF\xBF", true, true},    // U+10FFFF
        {"\xF4\x90\x80\x80", false, false},  // above U+10FFFF
        {"\xF5\x80\x80\x80", false, false},  // no such lead byte
        {"\xED\xA0\x80", false, false},      // surrogate
        {"\xED\x9F\xBF", true, true},        // U+D7FF, just below them
        {"\xE0\x80\xAF", false, false},      // overlong three bytes
        {"\xF0\x8F\xBF\xBF", false, false},  // overlong four bytes
        {"\xC0\xAF", false, false},          // overlong two bytes
        {"\xC1\xBF", false, false},
        {"abc\xE3\x81", false, false},  // cut off by the end
        {"\xE3\x81"
         "abc",
         false, false},                  // cut off by ASCII
        {"\x80", false, false},          // a lone continuation
        {"\xC3\xA9\xA9", false, false},  // one continuation too many
        {"\xE3\x81\x82\x80", false, false},
        {"\xFF", false, false},
    };
    for (const Case& c : cases) {
        const Utf8Scan scan = ScanUtf8(c.bytes);
        EXPECT_EQ(scan.valid, c.valid) << testing::PrintToString(c.bytes);
        if (c.valid) {
            EXPECT_EQ(scan.long_sequence, c.long_sequence) << testing::PrintToString(c.bytes);
        }
        ExpectSameAsBytewise(c.bytes);
    }
}

// The wide scan tests 32 bytes at a time: every sequence, and every way of breaking one,
// is tried at each place around a block boundary and around the end of the text.
TEST(Utf8ScanTest, AgreesWithTheBytewiseScanAcrossBlockBoundaries) {
    const std::vector<std::string> pieces = {
        "\xC3\xA9",
        "\xE3\x81\x82",
        "\xF0\x9F\x98\x80",
        "\xF4\x8F\xBF\xBF",
        "\xED\xA0\x80",
        "\xE0\x80\xAF",
        "\xF0\x8F\xBF\xBF",
        "\xF4\x90\x80\x80",
        "\xC1\xBF",
        "\xE3\x81",
        "\xF0\x9F\x98",
        "\xC3",
        "\x80",
        "\xBF\xBF",
        "\xFE",
        "\xE0\xA0\x80",
        "\xEF\xBF\xBD",
        "\xF0\x90\x80\x80",
        "\x82\xA0",
        "\x81\x40\x8A\xBF",
    };
    for (std::size_t length = 0; length <= 100; ++length) {
        for (const std::string& piece : pieces) {
            for (std::size_t at = 0; at <= length; ++at) {
                std::string bytes(length, 'x');
                bytes.insert(at, piece);
                ExpectSameAsBytewise(bytes);
                // A valid long sequence elsewhere: the piece alone decides validity.
                ExpectSameAsBytewise(bytes + "\xE3\x81\x82");
            }
        }
    }
}

TEST(Utf8ScanTest, AgreesWithTheBytewiseScanOnRandomText) {
    std::mt19937 random(20261207);
    const std::vector<std::string> valid = {
        "a", "\n", "\xC3\xA9", "\xE3\x81\x82", "\xF0\x9F\x98\x80", "\xEF\xBF\xBD"};
    for (int round = 0; round < 3000; ++round) {
        std::string bytes;
        const int pieces = static_cast<int>(random() % 120);
        // Most texts stay valid, so that a broken byte late in a long text is met too.
        const bool break_one = random() % 2 == 0;
        for (int i = 0; i < pieces; ++i) bytes += valid[random() % valid.size()];
        if (break_one && !bytes.empty()) {
            bytes[random() % bytes.size()] = static_cast<char>(random() % 256);
        }
        ExpectSameAsBytewise(bytes);
    }
}

TEST(Utf8ScanTest, AsciiPrefixLength) {
    EXPECT_EQ(AsciiPrefixLength(""), 0u);
    EXPECT_EQ(AsciiPrefixLength("abc"), 3u);
    // Every length, with the first byte that is not ASCII anywhere, alone or before another,
    // up to past the wider loops' blocks of 64 and 32 bytes.
    for (std::size_t size = 0; size <= 140; ++size) {
        EXPECT_EQ(AsciiPrefixLength(std::string(size, 'a')), size);
        for (std::size_t at = 0; at < size; ++at) {
            std::string bytes(size, 'a');
            bytes[at] = '\x80';
            EXPECT_EQ(AsciiPrefixLength(bytes), at) << size;
            bytes.back() = '\xFF';
            EXPECT_EQ(AsciiPrefixLength(bytes), at) << size;
            EXPECT_EQ(AsciiPrefixLength(std::string_view(bytes).substr(at + 1)),
                      size - at - (at + 1 < size ? 2 : 1))
                << size;
        }
    }
}

}  // namespace
}  // namespace trawlex
