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
