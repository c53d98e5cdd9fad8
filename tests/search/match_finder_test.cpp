#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "search/forward_finder.h"

namespace trawlex {
namespace {

std::string Lower(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return s;
}

// Random texts over a small alphabet, so that needles occur often and partly.
TEST(NeedleSearch, FindsWhatStringFindFinds) {
    std::mt19937 rng(99);
    const std::string alphabet = "EndSub ndE\r\n\xe3\x81";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    for (int round = 0; round < 300; ++round) {
        std::string text(std::uniform_int_distribution<std::size_t>(0, 200)(rng), ' ');
        for (char& c : text) c = alphabet[pick(rng)];
        std::string needle(std::uniform_int_distribution<std::size_t>(1, 5)(rng), ' ');
        for (char& c : needle) c = alphabet[pick(rng)];
        const BytesSearch exact(text, needle);
        const AsciiCaselessSearch caseless(text, Lower(needle));
        const std::string lowered = Lower(text);
        for (std::size_t from = 0; from <= text.size() + 1; ++from) {
            const std::size_t want =
                from > text.size() ? std::string::npos : text.find(needle, from);
            ASSERT_EQ(exact(from), want == std::string::npos ? kNoHit : want)
                << round << " " << from;
            const std::size_t want_caseless =
                from > text.size() ? std::string::npos : lowered.find(Lower(needle), from);
            ASSERT_EQ(caseless(from), want_caseless == std::string::npos ? kNoHit : want_caseless)
                << round << " " << from;
        }
    }
}

TEST(NeedleSearch, AnyOfSeveralNeedlesFindsTheFirst) {
    std::mt19937 rng(5);
    const std::string alphabet = "SubFnc \xef\xbc\xbd\n";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    const std::vector<std::string> needles = {"Sub ", "Fu", "\xef\xbc", "c\n\n"};
    for (int round = 0; round < 300; ++round) {
        std::string text(std::uniform_int_distribution<std::size_t>(0, 120)(rng), ' ');
        for (char& c : text) c = alphabet[pick(rng)];
        const AnyBytesSearch any(text, needles);
        for (std::size_t from = 0; from <= text.size(); ++from) {
            std::size_t want = std::string::npos;
            for (const std::string& needle : needles)
                want = std::min(want, text.find(needle, from));
            ASSERT_EQ(any(from), want == std::string::npos ? kNoHit : want) << round << " " << from;
        }
    }
}

TEST(NeedleSearch, ForwardFinderAnswersLineByLine) {
    const std::string text = "a Sub b\nx\nSub Sub\n\nEnd Sub";
    BytesFinder finder({text, "Sub "});
    EXPECT_TRUE(finder.AnyIn(0, 8));
    EXPECT_FALSE(finder.AnyIn(8, 10));
    EXPECT_TRUE(finder.AnyIn(10, 18));
    EXPECT_FALSE(finder.AnyIn(18, 19));
    EXPECT_FALSE(finder.AnyIn(19, text.size()));
    EXPECT_EQ(finder.Find(0), 2u);  // asking again from further back still answers right
}

}  // namespace
}  // namespace trawlex
