// The space cleanup over the fake host: which lines are emptied, what is counted, and how
// a run ends when the host refuses or fails.

#include "host/space_cleanup.h"

#include <gtest/gtest.h>

#include "tests/fake_host/fake_host.h"

namespace trawlex::host::fake {
namespace {

constexpr const char* kModuleA =
    "Option Explicit\r\n"  // 1
    "    \r\n"             // 2 four blanks: emptied
    "\r\n"                 // 3 already empty: not counted
    "Sub A()   \r\n"       // 4 code with trailing blanks: kept
    "\t\r\n"               // 5 a tab: kept
    "  ' comment\r\n"      // 6 comment: kept
    "\xE3\x80\x80\r\n"     // 7 ideographic space: kept
    " \r\n"                // 8 one blank: emptied
    "End Sub";             // 9

constexpr const char* kModuleACleaned =
    "Option Explicit\r\n"
    "\r\n"
    "\r\n"
    "Sub A()   \r\n"
    "\t\r\n"
    "  ' comment\r\n"
    "\xE3\x80\x80\r\n"
    "\r\n"
    "End Sub";

struct Project {
    FakeHost host;
    std::shared_ptr<FakeProject> project = host.AddProject("Project1");
    std::shared_ptr<FakeComponent> a = project->AddModule("modA", kModuleA);
    std::shared_ptr<FakeComponent> b = project->AddModule("modB", "Sub B()\r\n  \r\nEnd Sub");
};

TEST(SpaceCleanup, BlankMeansTheAsciiSpaceOnly) {
    EXPECT_TRUE(IsSpaceOnlyLine(" "));
    EXPECT_TRUE(IsSpaceOnlyLine("    "));
    EXPECT_FALSE(IsSpaceOnlyLine(""));
    EXPECT_FALSE(IsSpaceOnlyLine(" \t "));
    EXPECT_FALSE(IsSpaceOnlyLine("\xE3\x80\x80"));
    EXPECT_FALSE(IsSpaceOnlyLine("  x  "));
}

TEST(SpaceCleanup, WholeProjectEmptiesOnlySpaceOnlyLines) {
    Project p;
    const CleanupOutcome outcome = ClearSpaceInProject(p.host);
    EXPECT_FALSE(outcome.stopped) << outcome.reason;
    EXPECT_EQ(outcome.counts.emptied, 3);
    EXPECT_EQ(outcome.counts.refused, 0);
    EXPECT_EQ(p.a->module()->text(), kModuleACleaned);
    EXPECT_EQ(p.b->module()->text(), "Sub B()\r\n\r\nEnd Sub");

    // A second run finds nothing left.
    const CleanupOutcome again = ClearSpaceInProject(p.host);
    EXPECT_EQ(again.counts.emptied, 0);
    const CleanupReport report = MakeCleanupReport(again);
    EXPECT_EQ(report.text, "0行の無駄スペースを削除しました。");
    EXPECT_EQ(report.title, "処理完了");
}

TEST(SpaceCleanup, OpenPanesOnlyAndTwicePassedModulesCountOnce) {
    Project p;
    EXPECT_EQ(ClearSpaceInOpenPanes(p.host).counts.emptied, 0);  // no pane open
    EXPECT_EQ(p.a->module()->text(), kModuleA);

    p.host.OpenPane(p.b);
    p.host.OpenPane(p.b);
    const CleanupOutcome outcome = ClearSpaceInOpenPanes(p.host);
    EXPECT_FALSE(outcome.stopped) << outcome.reason;
    EXPECT_EQ(outcome.counts.emptied, 1);
    EXPECT_EQ(p.a->module()->text(), kModuleA);
    EXPECT_EQ(p.b->module()->text(), "Sub B()\r\n\r\nEnd Sub");
}

TEST(SpaceCleanup, RefusedLinesCountAsFailuresAndTheRunGoesOn) {
    Project p;
    p.a->module()->SetReadOnly(true);
    const CleanupOutcome outcome = ClearSpaceInProject(p.host);
    EXPECT_FALSE(outcome.stopped);
    EXPECT_EQ(outcome.counts.emptied, 1);  // modB
    EXPECT_EQ(outcome.counts.refused, 2);  // modA's two space-only lines
    EXPECT_EQ(p.a->module()->text(), kModuleA);

    const CleanupReport report = MakeCleanupReport(outcome);
    EXPECT_EQ(report.text,
              "1行の無駄スペースを削除しました。\r\n\r\n"
              "2行の無駄スペース削除に失敗しました。\r\n"
              "ファイルが書込み禁止になっているのかもしれません。");
    EXPECT_EQ(report.title, "処理完了（クリーンアップに失敗した箇所があります）");
}

TEST(SpaceCleanup, AHostFailureStopsTheRunAndKeepsWhatWasDone) {
    Project p;
    p.project->AddComponentWithoutCode("Resource1");
    p.project->AddModule("modC", "  ");
    const CleanupOutcome outcome = ClearSpaceInProject(p.host);
    EXPECT_TRUE(outcome.stopped);
    EXPECT_FALSE(outcome.reason.empty());
    EXPECT_EQ(outcome.counts.emptied, 3);  // modA and modB, before the resource
    EXPECT_EQ(p.project->components().back()->module()->text(), "  ");

    const CleanupReport report = MakeCleanupReport(outcome);
    EXPECT_EQ(report.text.rfind("3行の無駄スペースを削除しました。\r\n\r\n", 0), 0u);
    EXPECT_NE(report.text.find(outcome.reason), std::string::npos);
    EXPECT_EQ(report.title, "処理中断");
}

TEST(SpaceCleanup, NoActiveProjectOrFailingReadsStopAtOnce) {
    FakeHost host;
    EXPECT_TRUE(ClearSpaceInProject(host).stopped);
    EXPECT_TRUE(ClearSpaceInOpenPanes(host).stopped);

    Project p;
    p.host.FailMember("CodeModule.Lines", "Lines failed");
    const CleanupOutcome outcome = ClearSpaceInProject(p.host);
    EXPECT_TRUE(outcome.stopped);
    EXPECT_EQ(outcome.reason, "Lines failed");
    EXPECT_EQ(outcome.counts.emptied, 0);
}

}  // namespace
}  // namespace trawlex::host::fake
