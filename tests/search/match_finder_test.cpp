#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "search/encoded_search.h"
#include "search/forward_finder.h"
#include "search/line_feeds.h"

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

// Needles that filter on the same offsets and share a byte there take a narrower loop; one
// prepared set serves several texts.
TEST(NeedleSearch, NeedlesSharingAFilteredByteFindTheFirst) {
    std::mt19937 rng(17);
    const std::vector<std::string> pieces = {
        "End Sub", "End If", "End Function", "End Property", "End ", "E", "S", "Sub",
        "\r\n",    " ",      "nd P",         "Endd Sub"};
    const auto needles = std::make_shared<const NeedleSet>(
        std::vector<std::string>{"End Sub", "End Function", "End Property"});
    ASSERT_TRUE(needles->shared_second);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    for (int round = 0; round < 200; ++round) {
        std::string text;
        for (int i = std::uniform_int_distribution<int>(0, 40)(rng); i > 0; --i) {
            text += pieces[pick(rng)];
        }
        const AnyBytesSearch any(text, needles);
        for (std::size_t from = 0; from <= text.size(); ++from) {
            std::size_t want = std::string::npos;
            for (const std::string& needle : needles->needles) {
                want = std::min(want, text.find(needle, from));
            }
            ASSERT_EQ(any(from), want == std::string::npos ? kNoHit : want) << round << " " << from;
        }
    }
}

TEST(NeedleSearch, PairSetFindsTheFirstCode) {
    std::mt19937 rng(11);
    const std::string alphabet =
        "\x81\x82\x83\x40\x60\x61\x9A\xA0"
        "a\n";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    const std::vector<std::vector<std::string>> sets = {
        {"\x82\x60", "\x82\x9A", "\x81\x40"},
        {"\x82\x61"},
        {"\x81\x40", "\x82\x40", "\x83\x40", "\xA0\x40", "a\x40"},  // too many leads for SIMD
        {"\x82\x60", "\x82\x61\x9A", "\x81\x40\x40\x40"},           // longer codes
    };
    for (int round = 0; round < 300; ++round) {
        std::string text(std::uniform_int_distribution<std::size_t>(0, 100)(rng), ' ');
        for (char& c : text) c = alphabet[pick(rng)];
        for (const auto& codes : sets) {
            const PairSetSearch search(text, codes);
            for (std::size_t from = 0; from <= text.size() + 1; ++from) {
                std::size_t want = std::string::npos;
                for (const std::string& code : codes) {
                    if (from <= text.size()) want = std::min(want, text.find(code, from));
                }
                ASSERT_EQ(search(from), want == std::string::npos ? kNoHit : want)
                    << round << " " << from;
            }
        }
    }
}

// The needle in any letter case and the stand-ins are looked for in one pass where the
// processor has AVX2; the hits are those of the two searches run apart.
TEST(NeedleSearch, FoldedAsciiFindsWhatTheSeparateSearchesFind) {
    std::mt19937 rng(23);
    struct Text {
        std::vector<std::string> pieces;
        bool cp932;
    };
    const std::vector<Text> kinds = {
        {{"dim", "DIM", "Dim", "d", "i", "m", " ", "\r\n", "x", "\xEF\xBC\xA4",  // Ｄ
          "\xEF\xBD\x89", "\xEF\xBC\x88", "\xE3\x80\x80", "\xE3\x81\x82", "\xE2\x84\xAA",
          "\xC5\xBF"},
         false},
        {{"dim", "DIM", "Dim", "d", "i", "m", " ", "\r\n", "x", "\x82\x63",  // Ｄ
          "\x82\x89", "\x82\xA0", "\x81\x40", "\x82", "\x88\x9F"},
         true},
    };
    for (const Text& kind : kinds) {
        std::uniform_int_distribution<std::size_t> pick(0, kind.pieces.size() - 1);
        for (int round = 0; round < 150; ++round) {
            std::string text;
            for (int i = std::uniform_int_distribution<int>(0, 120)(rng); i > 0; --i) {
                text += kind.pieces[pick(rng)];
            }
            for (const std::string needle : {"dim", "di", "i"}) {
                FoldedAsciiSearch together(text, needle, LineRequirement::StandIns::Compare,
                                           kind.cp932);
                FoldedAsciiSearch apart(text, needle, LineRequirement::StandIns::Compare,
                                        kind.cp932);
                std::size_t found = 0;
                for (std::size_t from = 0; from <= text.size(); ++from) {
                    const std::size_t hit = together(from);
                    ASSERT_EQ(hit, apart.Separately(from)) << round << " " << from;
                    found += hit == from;
                }
                // Texts of several blocks, so the wide loop runs and finds hits.
                if (text.size() > 200) {
                    EXPECT_GT(found, 0u);
                }
            }
        }
    }
}

TEST(LineFeeds, CountedInBlocksAndTails) {
    std::mt19937 rng(2);
    for (std::size_t size : {0u, 1u, 15u, 16u, 17u, 31u, 32u, 33u, 47u, 48u, 49u, 4079u, 4080u,
                             4096u, 8159u, 8160u, 8161u, 8191u, 70000u}) {
        std::string text(size, 'x');
        for (char& c : text) c = std::uniform_int_distribution<int>(0, 3)(rng) == 0 ? '\n' : 'x';
        for (std::size_t start : {std::size_t{0}, std::size_t{1}}) {
            if (start > size) continue;
            EXPECT_EQ(CountLineFeeds(text.data() + start, size - start),
                      static_cast<std::size_t>(std::count(text.begin() + start, text.end(), '\n')))
                << size << " " << start;
        }
    }
    // More than 255 blocks of nothing but line feeds, of either width.
    const std::string all(20000, '\n');
    EXPECT_EQ(CountLineFeeds(all.data(), all.size()), 20000u);
}

// A character's answer found for one needle is not taken for another's.
TEST(NeedleSearch, StandInsAreJudgedForEachNeedle) {
    const std::string text = "\xEF\xBC\xA4\xEF\xBD\x89";  // Ｄｉ
    for (int round = 0; round < 2; ++round) {
        FoldedAsciiSearch d(text, "d");
        FoldedAsciiSearch i(text, "i");
        FoldedAsciiSearch m(text, "m");
        EXPECT_EQ(d(0), 0u) << round;
        EXPECT_EQ(i(0), 3u) << round;
        EXPECT_EQ(d(1), kNoHit) << round;
        EXPECT_EQ(m(0), kNoHit) << round;
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
