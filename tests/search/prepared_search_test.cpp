#include "search/prepared_search.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "search/match_engine.h"

namespace trawlex {
namespace {

// Every mode with both case settings.
std::vector<MatchOptions> AllOptions() {
    std::vector<MatchOptions> all;
    for (int mode = 0; mode <= 4; ++mode) {
        for (bool binary : {false, true}) all.push_back({static_cast<SearchMode>(mode), binary});
    }
    return all;
}

const std::vector<std::string> kLines = {
    "Dim foo As String",
    "  DIM Foo AS LONG  ",
    "ｆｏｏ = ﾃﾞｰﾀ",
    "x = \"データ\" ' foo",
    "",
    "Sub Foo_Bar()",
    "foobar",
    std::string(3000, 'a') + "b",
};

const std::vector<std::string> kSearches = {
    "foo", "Foo", "デ", "f*o", "f.o", "foo bar", "\\bfoo", "(", "[a-", "a*a*a*a*a*a*a*a*a*a*a*c"};

TEST(PreparedSearch, OneObjectTestsLineAfterLineAsAFreshOneTestsEachLine) {
    // The answers for a line must not depend on the lines the prepared search saw before
    // (its scratch buffer, its last-line state).
    for (const std::string& search : kSearches) {
        for (const MatchOptions options : AllOptions()) {
            PreparedSearch reused(search, options);
            for (const std::string& line : kLines) {
                PreparedSearch fresh(search, options);
                const bool expected = fresh.MatchLine(line);
                EXPECT_EQ(reused.MatchLine(line), expected)
                    << search << " mode " << static_cast<int>(options.mode) << " binary "
                    << options.binary << " line " << line;
                EXPECT_EQ(reused.LastLineUntested(), fresh.LastLineUntested()) << search;
                EXPECT_EQ(reused.Spans(line), fresh.Spans(line)) << search << " line " << line;
            }
        }
    }
}

TEST(PreparedSearch, SearchesSharingOneScratchBufferDoNotDisturbEachOther) {
    std::string scratch;
    std::vector<std::unique_ptr<PreparedSearch>> shared;
    std::vector<std::unique_ptr<PreparedSearch>> alone;
    for (const MatchOptions options : AllOptions()) {
        shared.push_back(std::make_unique<PreparedSearch>("foo", options, &scratch));
        alone.push_back(std::make_unique<PreparedSearch>("foo", options));
    }
    for (const std::string& line : kLines) {
        for (std::size_t i = 0; i < shared.size(); ++i) {
            EXPECT_EQ(shared[i]->MatchLine(line), alone[i]->MatchLine(line)) << i << " " << line;
        }
    }
}

TEST(PreparedSearch, EachModeAndCaseSettingAnswersByItsOwnRules) {
    struct Case {
        MatchOptions options;
        const char* search;
        const char* line;
        bool matches;
    };
    const Case cases[] = {
        {{SearchMode::Normal, false}, "dim", "DIM x", true},
        {{SearchMode::Normal, false}, "ﾃﾞｰﾀ", "x = データ", true},
        {{SearchMode::Normal, true}, "dim", "DIM x", false},
        {{SearchMode::Normal, true}, "DIM", "DIM x", true},
        {{SearchMode::Wildcard, false}, "dim*as", "DIM x AS y", true},
        {{SearchMode::Wildcard, true}, "dim*as", "DIM x AS y", false},
        {{SearchMode::Regex, false}, "^dim \\w", "DIM x", true},
        {{SearchMode::Regex, true}, "^dim \\w", "DIM x", false},
        {{SearchMode::Word, false}, "dim", "x.Dim(1)", true},
        {{SearchMode::Word, false}, "dim", "Dimension", false},
        {{SearchMode::Word, true}, "dim", "x.Dim(1)", false},
        {{SearchMode::Hidemaru, false}, "dim", "dim", false},
    };
    for (const Case& c : cases) {
        PreparedSearch prepared(c.search, c.options);
        EXPECT_EQ(prepared.MatchLine(c.line), c.matches)
            << c.search << " in " << c.line << " mode " << static_cast<int>(c.options.mode)
            << " binary " << c.options.binary;
    }
}

TEST(PreparedSearch, TellsWhatTheScansLookForAndTheInvalidPatterns) {
    PreparedSearch plain("Dim", {SearchMode::Normal, false});
    EXPECT_EQ(plain.Prefilter().kind, LinePrefilter::Kind::FoldedAscii);
    EXPECT_EQ(plain.Requirement().kind, LineRequirement::Kind::Ascii);
    EXPECT_EQ(plain.Requirement().ascii, "dim");
    EXPECT_TRUE(plain.PatternError().empty());

    PreparedSearch broken("(a", {SearchMode::Regex, false});
    EXPECT_EQ(broken.Prefilter().kind, LinePrefilter::Kind::NoLines);
    EXPECT_EQ(broken.Requirement().kind, LineRequirement::Kind::NoLines);
    EXPECT_NE(broken.PatternError().find("missing closing parenthesis"), std::string::npos);
    EXPECT_FALSE(broken.MatchLine("(a"));

    PreparedSearch blank("  ", {SearchMode::Normal, false});
    EXPECT_EQ(blank.Prefilter().kind, LinePrefilter::Kind::NoLines);
    EXPECT_FALSE(blank.MatchLine("  "));
}

TEST(MatchEngine, KeepsOnePreparedSearchPerOptionSetUntilTheSearchStringChanges) {
    MatchEngine engine;
    const MatchOptions normal{SearchMode::Normal, false};
    const MatchOptions binary{SearchMode::Normal, true};
    PreparedSearch& first = engine.Prepared("foo", normal);
    PreparedSearch& other = engine.Prepared("foo", binary);
    EXPECT_NE(&first, &other);
    EXPECT_EQ(&engine.Prepared("foo", normal), &first);
    EXPECT_EQ(first.Options(), normal);
    EXPECT_EQ(other.Options(), binary);

    PreparedSearch& next = engine.Prepared("bar", normal);
    EXPECT_EQ(next.Search(), "bar");
    EXPECT_TRUE(next.MatchLine("BAR"));
    EXPECT_FALSE(next.MatchLine("FOO"));
}

TEST(MatchEngine, LastLineUntestedFollowsTheLastLineTested) {
    MatchEngine engine;
    // Catastrophic backtracking: the first alternative alone has 2^40 ways to fail.
    const std::string costly = std::string(40, 'a') + "!";
    const char* search = "^(?:(a|a)*!x|a+!)";
    EXPECT_FALSE(engine.MatchLine(costly, search, {SearchMode::Regex, false}));
    EXPECT_TRUE(engine.LastLineUntested());
    EXPECT_FALSE(engine.MatchLine(costly, search, {SearchMode::Normal, false}));
    EXPECT_FALSE(engine.LastLineUntested());
    EXPECT_FALSE(engine.MatchLine(costly, search, {SearchMode::Regex, false}));
    EXPECT_TRUE(engine.LastLineUntested());
    // Another search string lets the prepared searches go; nothing was tested under it.
    EXPECT_FALSE(engine.PatternError("(", {SearchMode::Regex, false}).empty());
    EXPECT_FALSE(engine.LastLineUntested());
}

}  // namespace
}  // namespace trawlex
