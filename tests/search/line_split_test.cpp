#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "search/line_cursor.h"

namespace trawlex {
namespace {

// The splitting rule written out plainly.
std::vector<std::string> SplitPlainly(const std::string& text) {
    std::vector<std::string> lines;
    if (text.empty()) return lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
            line.clear();
        } else {
            line.push_back(text[i]);
        }
    }
    lines.push_back(line);
    return lines;
}

std::vector<std::string> SplitWithCursor(const std::string& text) {
    std::vector<std::string> lines;
    LineCursor cursor(text);
    LineRef line;
    std::size_t expected_start = 0;
    while (cursor.Next(line)) {
        EXPECT_EQ(line.start, expected_start);
        EXPECT_EQ(text.substr(line.start, line.content.size()), line.content);
        expected_start = line.next;
        lines.emplace_back(line.content);
    }
    return lines;
}

TEST(LineCursor, SplitsAtCrLfAndLoneLf) {
    for (const std::string text :
         {"", "a", "a\r\nb\r\n", "a\nb", "a\rb", "\r\n", "\n\n", "\r\r\n"}) {
        EXPECT_EQ(SplitWithCursor(text), SplitPlainly(text)) << text;
    }
    EXPECT_EQ(SplitWithCursor("a\r\nb\r\n"), (std::vector<std::string>{"a", "b", ""}));
}

TEST(LineCursor, LongRandomTextsSplitLikeThePlainRule) {
    // Long enough for whole 64-byte blocks, with line breaks on and across block edges.
    std::mt19937 rng(42);
    const std::string alphabet = "ab \r\n\n\r\xe3\x81\x82";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    for (int round = 0; round < 200; ++round) {
        std::string text;
        const std::size_t length = std::uniform_int_distribution<std::size_t>(0, 700)(rng);
        const bool sparse = round % 2 == 0;
        for (std::size_t i = 0; i < length; ++i) {
            text.push_back(sparse && i % 97 != 0 ? 'x' : alphabet[pick(rng)]);
        }
        ASSERT_EQ(SplitWithCursor(text), SplitPlainly(text)) << round;
    }
}

}  // namespace
}  // namespace trawlex
