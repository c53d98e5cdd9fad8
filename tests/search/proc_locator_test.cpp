#include "search/proc_locator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trawlex {
namespace {

struct Expected {
    const char* name;
    const char* scope;
};

// The state after the start test on `line`, beginning outside a procedure.
ProcState Start(std::string_view line) {
    ProcState state;
    ApplyStartTest(state, line);
    return state;
}

void ExpectState(const ProcState& state, Expected expected, std::string_view line) {
    EXPECT_EQ(state.name, expected.name) << "line: " << line;
    EXPECT_EQ(state.scope, expected.scope) << "line: " << line;
}

TEST(ProcStartTest, HeadersYieldNameAndScope) {
    const std::vector<std::pair<std::string_view, Expected>> cases = {
        {"Public Function Foo(ByVal x As Long) As Long", {"Foo", "Public"}},
        {"Private Sub Class_Initialize()", {"Class_Initialize", "Private"}},
        {"Friend Property Let Name(ByVal s As String)", {"Let Name", "Friend"}},
        {"Public Property Get Value() As Long", {"Get Value", "Public"}},
        {"Static Sub Tick()", {"Tick", "Global"}},
        {"Sub Main()", {"Main", "Global"}},
        {"Private Static Function Count&()", {"Count&", "Private"}},
        {"Sub  Foo()", {" Foo", "Global"}},
        {"Public Sub 在庫更新(ByVal 数量 As Long)", {"在庫更新", "Public"}},
        // Keywords count inside longer words too.
        {"Call mySub x(1)", {"x", "Global"}},
        {"If IsFunction y(2) Then", {"y", "Global"}},
    };
    for (const auto& [line, expected] : cases) ExpectState(Start(line), expected, line);
}

TEST(ProcStartTest, ScopeWordComesFromAnywhereInTheLine) {
    // Searched in the whole line, comments included, in the order Private, Public, Friend.
    ExpectState(Start("Sub Foo() ' Public API"), {"Foo", "Public"}, "comment");
    ExpectState(Start("Public Friend Sub Foo() ' Private "), {"Foo", "Private"}, "order");
    ExpectState(Start("Friend Sub Foo()"), {"Foo", "Friend"}, "friend");
    // "Public" without a following space is no scope word.
    ExpectState(Start("Sub PublicFoo()"), {"PublicFoo", "Global"}, "no space");
}

TEST(ProcStartTest, CommentsAndDeclaresAreNotStarts) {
    const std::vector<std::string_view> lines = {
        "' Sub Foo()",
        "Rem Sub Foo()",
        "Private Declare Function GetTickCount Lib \"kernel32\" () As Long",
        "Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)",
        "x.RemoveItem 1: Sub Foo()",  // "Rem" inside a name is a comment mark too
        "sub foo()",                  // case matters
        "Public Function",            // the keyword needs its space
        "Dim x As Long",
        "",
    };
    for (std::string_view line : lines) {
        ProcState state = Start(line);
        EXPECT_EQ(state.name, "(Declarations)") << "line: " << line;
        EXPECT_EQ(state.scope, "") << "line: " << line;
        EXPECT_FALSE(state.Inside()) << "line: " << line;
    }
}

TEST(ProcStartTest, CommentMarkBehindTheKeywordDoesNotMatter) {
    ExpectState(Start("Sub Foo() ' Rem"), {"Foo", "Global"}, "quote behind");
    ExpectState(Start("Sub RemoveAll()"), {"RemoveAll", "Global"}, "Rem behind");
    ExpectState(Start("Function Declare (x)"), {"Declare ", "Global"}, "Declare behind");
}

TEST(ProcStartTest, LineWithoutParenthesisIsNotAStart) {
    // The keyword rule takes these for starts, but no name can be cut from them.
    for (std::string_view line :
         {"Dim mySub As Long", "Private Property Get", "Sub Foo", "Dim (x), mySub As Long"}) {
        ProcState state = Start(line);
        EXPECT_EQ(state.name, "(Declarations)") << "line: " << line;
        EXPECT_EQ(state.scope, "") << "line: " << line;
    }
    // After an end line the state (empty name) also stays as it is.
    ProcState afterEnd;
    afterEnd.name.clear();
    ApplyStartTest(afterEnd, "Public mySub As Long");
    EXPECT_EQ(afterEnd.name, "");
    EXPECT_EQ(afterEnd.scope, "");
}

TEST(ProcStartTest, NameReachesToTheFirstParenthesisEvenBehindAComment) {
    ExpectState(Start("Sub Foo ' (comment)"), {"Foo ' ", "Global"}, "quote after name");
}

TEST(ProcStartTest, EmptyNameLeavesTheStateOutside) {
    ProcState state = Start("Sub (x)");
    EXPECT_EQ(state.name, "");
    EXPECT_EQ(state.scope, "Global");
    EXPECT_FALSE(state.Inside());
}

TEST(ProcStateTest, InsideUnlessNameIsDeclarationsOrEmpty) {
    ProcState state;
    EXPECT_FALSE(state.Inside());
    state.name = "";
    EXPECT_FALSE(state.Inside());
    state.name = "(Declarations)(Declarations)";
    EXPECT_FALSE(state.Inside());
    state.name = "Foo";
    EXPECT_TRUE(state.Inside());
    state.name = "x(Declarations)";
    EXPECT_TRUE(state.Inside());
}

ProcState InsideFoo() {
    ProcState state;
    state.name = "Foo";
    state.scope = "Public";
    return state;
}

TEST(ProcEndTest, EndLinesClearNameAndScope) {
    for (std::string_view line : {"End Sub", "End Function", "End Property", "    End Sub",
                                  "Sub Foo(): End Sub", "x = 1: End Function ' done"}) {
        ProcState state = InsideFoo();
        ApplyEndTest(state, line);
        EXPECT_EQ(state.name, "") << "line: " << line;
        EXPECT_EQ(state.scope, "") << "line: " << line;
        EXPECT_FALSE(state.Inside()) << "line: " << line;
    }
}

TEST(ProcEndTest, OtherLinesKeepTheProcedure) {
    for (std::string_view line :
         {"end sub", "x = 1 ' End Sub", "Rem End Sub", "Exit Sub", "End If", "EndSub",
          "Call Remove: End Sub" /* "Rem" inside Remove stands in front */, "End  Sub"}) {
        ProcState state = InsideFoo();
        ApplyEndTest(state, line);
        EXPECT_EQ(state.name, "Foo") << "line: " << line;
        EXPECT_EQ(state.scope, "Public") << "line: " << line;
    }
}

TEST(ProcLocatorTest, OneLineProcedureStartsAndEndsOnTheSameLine) {
    ProcState state;
    const std::string_view line = "Sub Foo(): End Sub";
    ApplyStartTest(state, line);
    EXPECT_EQ(state.name, "Foo");
    EXPECT_TRUE(state.Inside());
    ApplyEndTest(state, line);
    EXPECT_FALSE(state.Inside());
}

}  // namespace
}  // namespace trawlex

namespace trawlex {
namespace {

// The rules as written: rewrite the line with every replacement, then compare positions.
std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
    std::string out;
    for (std::size_t at = 0;;) {
        const std::size_t hit = text.find(from, at);
        out.append(text, at, hit == std::string::npos ? std::string::npos : hit - at);
        if (hit == std::string::npos) return out;
        out.append(to);
        at = hit + from.size();
    }
}

// 1-based position, 0 when absent.
std::size_t Pos(const std::string& text, std::string_view what) {
    const std::size_t at = text.find(what);
    return at == std::string::npos ? 0 : at + 1;
}

std::size_t CommentPos(const std::string& line) {
    return Pos(ReplaceAll(ReplaceAll(line, "Rem", "'"), "Declare ", "'"), "'");
}

// Returns false when the start would be a failure (no "(" after the name).
bool LiteralStart(ProcState& state, const std::string& line) {
    const std::size_t c = CommentPos(line);
    const std::size_t s =
        Pos(ReplaceAll(ReplaceAll(line, "Function ", "Sub "), "Property ", "Sub "), "Sub ");
    if (!(s > 0 && (s < c || c == 0))) return true;
    const std::size_t d = line.find(' ', s - 1) + 2;
    const std::size_t paren = line.find('(', d - 1);
    if (paren == std::string::npos) return false;
    state.scope = Pos(line, "Private ")  ? "Private"
                  : Pos(line, "Public ") ? "Public"
                  : Pos(line, "Friend ") ? "Friend"
                                         : "Global";
    state.name = line.substr(d - 1, paren - (d - 1));
    return true;
}

void LiteralEnd(ProcState& state, const std::string& line) {
    const std::size_t c = CommentPos(line);
    const std::size_t e =
        Pos(ReplaceAll(ReplaceAll(line, "End Function", "End Sub"), "End Property", "End Sub"),
            "End Sub");
    if (e > 0 && (e < c || c == 0)) {
        state.name.clear();
        state.scope.clear();
    }
}

TEST(ProcLocatorTest, AgreesWithTheRulesAsWrittenOnGeneratedLines) {
    const std::vector<std::string_view> pieces = {
        "Sub ",         "Function ", "Property ", "End ", "End Sub",  "End Function",
        "End Property", "Rem",       "Re",        "m",    "'",        "Declare ",
        "Declare",      "(",         ")",         " ",    "Private ", "Public ",
        "Friend ",      "x",         "Get ",      "在庫", "Su",       "b ",
        "Functio",      "n ",        "Sub",       "End"};
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    int starts = 0;
    int ends = 0;
    for (int i = 0; i < 20000; ++i) {
        std::string line;
        const int count = 1 + static_cast<int>(next() % 8);
        for (int k = 0; k < count; ++k) line += pieces[next() % pieces.size()];

        ProcState expected;
        ProcState actual;
        const bool literal_start = LiteralStart(expected, line);
        // Opening means a start that cuts a name; an empty one leaves the state outside.
        ASSERT_EQ(OpensProcedure(line),
                  literal_start && !expected.name.empty() && expected.name != "(Declarations)")
            << "opens: [" << line << "]";
        if (literal_start) {
            ApplyStartTest(actual, line);
            ASSERT_EQ(actual.name, expected.name) << "start: [" << line << "]";
            ASSERT_EQ(actual.scope, expected.scope) << "start: [" << line << "]";
            starts += expected.name != "(Declarations)";
        } else {
            ApplyStartTest(actual, line);
            ASSERT_EQ(actual.name, "(Declarations)") << "failed start: [" << line << "]";
        }

        ProcState inside;
        inside.name = "Foo";
        ProcState literal = inside;
        ApplyEndTest(inside, line);
        LiteralEnd(literal, line);
        ASSERT_EQ(inside.name, literal.name) << "end: [" << line << "]";
        ASSERT_EQ(ClosesProcedure(line), literal.name.empty()) << "closes: [" << line << "]";
        ends += literal.name.empty();
    }
    // The generator must reach both outcomes often enough to mean something.
    EXPECT_GT(starts, 300);
    EXPECT_GT(ends, 1000) << starts;
}

}  // namespace
}  // namespace trawlex
