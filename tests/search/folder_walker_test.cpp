#include "search/folder_walker.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "search/folder_search.h"
#include "temp_folder.h"

namespace trawlex {
namespace {

// Counts what the walker asks; its answers may change between steps, as the window's
// controls may between two slices of a run.
class ChangingHost : public FolderSearchHost {
  public:
    std::string extList = "*";
    bool subfolders = true;
    bool stop = false;
    mutable int extListReads = 0;
    mutable int subfolderReads = 0;

    std::string ExtList() const override {
        ++extListReads;
        return extList;
    }
    bool SearchSubfolders() const override {
        ++subfolderReads;
        return subfolders;
    }
    bool StopRequested() const override { return stop; }
    void SetStatus(std::string) override {}
    MatchOptions CurrentOptions() const override { return {}; }
    void AddRow(ResultRow) override {}
};

class FolderWalkerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (auto name : {"a.bas", "b.txt", "c.bas", "sub1/d.bas", "sub1/e.txt", "sub1/deep/f.bas",
                          "sub2/g.bas", "sub2/h.txt"}) {
            dir.Write(name, "x\r\n");
        }
    }
    // The path of the next step, "-" once the walk is over.
    std::string Step(FolderWalker& walker) {
        auto step = walker.Next();
        if (!step) return "-";
        return step->failure.empty() ? step->path.substr(dir.Root().size() + 1) : step->failure;
    }

    test::TempFolder dir;
    ChangingHost host;
};

TEST_F(FolderWalkerTest, ReadsTheChoicesOncePerFolderAndTakesChangesFromTheNextFolder) {
    FolderWalker walker(dir.Root(), host);
    host.extList = "*.bas";
    EXPECT_EQ(host.extListReads, 0);  // nothing is read before the first step
    EXPECT_EQ(Step(walker), "a.bas");
    EXPECT_EQ(host.extListReads, 1);
    // A change after the folder's listing was read waits for the next folder.
    host.extList = "*.txt";
    EXPECT_EQ(Step(walker), "c.bas");
    EXPECT_EQ(host.subfolderReads, 0);  // not before the folder's files are done
    EXPECT_EQ(Step(walker), "sub1/e.txt");
    EXPECT_EQ(host.subfolderReads, 1);
    EXPECT_EQ(host.extListReads, 2);
    // sub1 has decided on its subfolders only now, after its files.
    host.subfolders = false;
    host.extList = "*";
    EXPECT_EQ(Step(walker), "sub2/g.bas");  // sub1/deep is not walked
    EXPECT_EQ(Step(walker), "sub2/h.txt");
    EXPECT_EQ(Step(walker), "-");
    EXPECT_EQ(host.extListReads, 3);
    EXPECT_EQ(host.subfolderReads, 3);  // the root, sub1, sub2
}

TEST_F(FolderWalkerTest, GivesTheStepsOfTheSearchAndNoneAfterAStop) {
    std::vector<std::string> planned;
    for (const FolderWalkStep& step : PlanFolderWalk(dir.Root(), host)) {
        planned.push_back(step.path.substr(dir.Root().size() + 1));
    }
    EXPECT_EQ(planned,
              (std::vector<std::string>{"a.bas", "b.txt", "c.bas", "sub1/d.bas", "sub1/e.txt",
                                        "sub1/deep/f.bas", "sub2/g.bas", "sub2/h.txt"}));

    FolderWalker walker(dir.Root(), host);
    EXPECT_EQ(Step(walker), "a.bas");
    EXPECT_EQ(Step(walker), "b.txt");
    host.stop = true;
    EXPECT_EQ(Step(walker), "-");
    host.stop = false;  // a walk once stopped stays over
    EXPECT_EQ(Step(walker), "-");
}

TEST_F(FolderWalkerTest, AStartingFolderThatCannotBeListedIsTheOnlyStep) {
    FolderWalker missing(dir.Path("nowhere"), host);
    EXPECT_EQ(Step(missing).rfind("エラーが発生しました:" + dir.Path("nowhere"), 0), 0u);
    EXPECT_EQ(Step(missing), "-");
}

}  // namespace
}  // namespace trawlex
