#include "host/vb_code_reader.h"

#include <gtest/gtest.h>

namespace trawlex::host {
namespace {

using Statements = std::vector<std::string>;

TEST(VbCodeReader, StatementsSplitAtColonsOutsideLiteralsAndComments) {
    EXPECT_EQ(SplitStatements("a = 1: b = 2"), (Statements{"a = 1", "b = 2"}));
    EXPECT_EQ(SplitStatements("s = \"x: y\" ' c: d"), (Statements{"s = \"x: y\""}));
    EXPECT_EQ(SplitStatements("s = \"say \"\"hi\"\": now\": t"),
              (Statements{"s = \"say \"\"hi\"\": now\"", "t"}));
    EXPECT_EQ(SplitStatements("MsgBox Prompt:=\"a\", Title:=\"b\""),
              (Statements{"MsgBox Prompt:=\"a\", Title:=\"b\""}));
    EXPECT_EQ(SplitStatements("d = #1/2/2000 10:30:00 AM#: e = 1"),
              (Statements{"d = #1/2/2000 10:30:00 AM#", "e = 1"}));
    EXPECT_EQ(SplitStatements("Print #1, a: Close #1"), (Statements{"Print #1, a", "Close #1"}));
    EXPECT_EQ(SplitStatements("x = 1: Rem rest: is comment"), (Statements{"x = 1"}));
    EXPECT_EQ(SplitStatements("Remark = 1"), (Statements{"Remark = 1"}));
    EXPECT_TRUE(SplitStatements("   ' only a comment").empty());
    EXPECT_TRUE(SplitStatements("").empty());
}

TEST(VbCodeReader, ContinuationNeedsABlankBeforeTheUnderscore) {
    EXPECT_TRUE(EndsWithContinuation("Call Foo(a, _"));
    EXPECT_TRUE(EndsWithContinuation("Call Foo(a, _   "));
    EXPECT_TRUE(EndsWithContinuation("_"));
    EXPECT_FALSE(EndsWithContinuation("x = my_"));
    EXPECT_FALSE(EndsWithContinuation(""));
}

TEST(VbCodeReader, HeadersGiveNameAndKind) {
    struct Case {
        const char* statement;
        const char* name;
        ProcKind kind;
    };
    const Case cases[] = {
        {"Sub Foo()", "Foo", vbext_pk_Proc},
        {"Public Function Bar(ByVal x As Long) As String", "Bar", vbext_pk_Proc},
        {"Private Static Sub Baz", "Baz", vbext_pk_Proc},
        {"Friend Property Let Value(ByVal v)", "Value", vbext_pk_Let},
        {"Property Set Target(o)", "Target", vbext_pk_Set},
        {"public property get Name$()", "Name", vbext_pk_Get},
        {"Function Join$(a)", "Join", vbext_pk_Proc},
        {"Sub [Odd Name]()", "Odd Name", vbext_pk_Proc},
        {"Private Sub 開始()", "開始", vbext_pk_Proc},
    };
    for (const Case& c : cases) {
        auto header = ParseProcHeader(c.statement);
        ASSERT_TRUE(header.has_value()) << c.statement;
        EXPECT_EQ(header->name, c.name) << c.statement;
        EXPECT_EQ(header->kind, c.kind) << c.statement;
    }
    for (const char* other : {"Public Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)",
                              "Public Event Done()", "Static count As Long", "Property = 1",
                              "Sub_Total = 2", "Call Foo", "Property Get", "End Sub"}) {
        EXPECT_FALSE(ParseProcHeader(other).has_value()) << other;
    }
}

TEST(VbCodeReader, OnlyProcedureEndsEndProcedures) {
    EXPECT_TRUE(IsProcEnd("End Sub"));
    EXPECT_TRUE(IsProcEnd("end   FUNCTION"));
    EXPECT_TRUE(IsProcEnd("End Property"));
    for (const char* other : {"End", "End If", "Exit Sub", "End Select", "End Sub x"}) {
        EXPECT_FALSE(IsProcEnd(other)) << other;
    }
}

}  // namespace
}  // namespace trawlex::host
