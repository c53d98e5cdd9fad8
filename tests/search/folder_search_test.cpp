#include "search/folder_search.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <optional>
#include <string>
#include <vector>

#include "temp_folder.h"
#include "unprivileged.h"

namespace trawlex {
namespace {

class RecordingHost : public FolderSearchHost {
  public:
    std::string extList = "*";
    bool subfolders = true;
    std::vector<ResultRow> rows;
    std::vector<std::string> statuses;

    std::string ExtList() const override { return extList; }
    bool SearchSubfolders() const override { return subfolders; }
    void SetStatus(std::string text) override { statuses.push_back(std::move(text)); }
    void EntrySkipped() override { ++skipped; }
    int skipped = 0;
    MatchOptions CurrentOptions() const override { return {}; }
    void AddRow(ResultRow row) override { rows.push_back(std::move(row)); }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const ResultRow& row : rows) names.push_back(row.name);
        return names;
    }
};

const std::string kErrorPrefix = "エラーが発生しました:";

TEST(PassesExtFilterTest, ExtensionMustEqualOneOfTheListed) {
    const std::string_view list = "*.bas;*.cls";
    EXPECT_TRUE(PassesExtFilter("a.bas", list));
    EXPECT_TRUE(PassesExtFilter("b.CLS", list));
    EXPECT_TRUE(PassesExtFilter("Module1.Bas", list));
    EXPECT_TRUE(PassesExtFilter("old.frm.bas", list));
    EXPECT_FALSE(PassesExtFilter("c.c", list));  // a part of "cls" is not enough
    EXPECT_FALSE(PassesExtFilter("x.ls", list));
    EXPECT_FALSE(PassesExtFilter("d.frm", list));
    EXPECT_FALSE(PassesExtFilter("e.basic", list));
    EXPECT_FALSE(PassesExtFilter("a.bas.bak", list));
    EXPECT_FALSE(PassesExtFilter("bas", list));
}

TEST(PassesExtFilterTest, NamesWithoutExtensionPassOnlyTheWildcard) {
    for (std::string_view name : {"Makefile", "trailing.", "README"}) {
        EXPECT_FALSE(PassesExtFilter(name, "*.bas;*.cls")) << name;
        EXPECT_FALSE(PassesExtFilter(name, "*.")) << name;
        EXPECT_TRUE(PassesExtFilter(name, "*")) << name;
    }
    // A leading dot starts the extension, as the Windows file system sees it.
    EXPECT_TRUE(PassesExtFilter(".bas", "*.bas"));
}

TEST(PassesExtFilterTest, WildcardPassesEverything) {
    for (std::string_view list : {"*", "*.*", "*.bas;*", ""}) {
        EXPECT_TRUE(PassesExtFilter("x.anything", list)) << list;
        EXPECT_TRUE(PassesExtFilter("Makefile", list)) << list;
    }
}

TEST(PassesExtFilterTest, ToleratesLooseItems) {
    EXPECT_TRUE(PassesExtFilter("a.frm", "*.bas; *.frm "));
    EXPECT_TRUE(PassesExtFilter("a.frm", "bas;.frm"));
    EXPECT_FALSE(PassesExtFilter("a.frm", ";;*.bas;"));
}

// A folder tree where every file holds one line with "hit".
class FolderWalkTest : public ::testing::Test {
  protected:
    void Hit(std::string_view relative) { dir.Write(relative, "x = hit\r\n"); }

    std::vector<std::string> Walk(const std::string& folder) {
        SearchFolder(folder, "hit", host, engine);
        return host.Names();
    }

    test::TempFolder dir;
    RecordingHost host;
    MatchEngine engine;
};

TEST_F(FolderWalkTest, FilesFirstThenSubfoldersDepthFirstInByteOrder) {
    for (auto name : {"b.bas", "B.bas", "a.bas", "_x.bas", "\xC3\xA9.bas", "sub2/z.bas",
                      "sub1/y.bas", "sub1/deeper/w.bas", "sub1/v.bas", "Sub0/u.bas"}) {
        Hit(name);
    }
    const std::string r = dir.Root() + "/";
    const std::vector<std::string> expected = {
        r + "B.bas",      r + "_x.bas",       r + "a.bas",
        r + "b.bas",      r + "\xC3\xA9.bas", r + "Sub0/u.bas",
        r + "sub1/v.bas", r + "sub1/y.bas",   r + "sub1/deeper/w.bas",
        r + "sub2/z.bas"};
    EXPECT_EQ(Walk(dir.Root()), expected);
    EXPECT_TRUE(host.statuses.empty());
}

TEST_F(FolderWalkTest, RowsCarryTheFileAndLine) {
    dir.Write("m.bas", "Attribute VB_Name = \"m\"\r\nSub Foo()\r\n  x = hit  \r\nEnd Sub\r\n");
    Walk(dir.Root());
    ASSERT_EQ(host.rows.size(), 1u);
    EXPECT_EQ(host.rows[0].name, dir.Path("m.bas"));
    EXPECT_EQ(host.rows[0].line, 3);
    EXPECT_EQ(host.rows[0].procedure, "Foo");
    EXPECT_EQ(host.rows[0].content, "x = hit");
}

TEST_F(FolderWalkTest, TrailingSlashIsNotDoubled) {
    Hit("a.bas");
    Hit("sub/b.bas");
    EXPECT_EQ(Walk(dir.Root() + "/"),
              (std::vector<std::string>{dir.Path("a.bas"), dir.Path("sub/b.bas")}));
}

TEST_F(FolderWalkTest, SubfoldersOnlyWhenAsked) {
    Hit("a.bas");
    Hit("sub/b.bas");
    host.subfolders = false;
    EXPECT_EQ(Walk(dir.Root()), std::vector<std::string>{dir.Path("a.bas")});
}

TEST_F(FolderWalkTest, ExtensionFilterAppliesToEveryFolder) {
    for (auto name : {"a.bas", "b.CLS", "Makefile", "c.c", "d.frm", "sub/e.cls", "sub/f.txt"}) {
        Hit(name);
    }
    host.extList = "*.bas;*.cls";
    EXPECT_EQ(Walk(dir.Root()), (std::vector<std::string>{dir.Path("a.bas"), dir.Path("b.CLS"),
                                                          dir.Path("sub/e.cls")}));
}

TEST_F(FolderWalkTest, BinaryAndCp932FilesAreSearchedAsText) {
    dir.Write("bin.dat", std::string("\0\x01hit\xFF\xFE\0", 8));
    // "' 在庫 hit" in CP932, LF line ends: one line.
    dir.Write("sjis.bas", "' \x8D\xDD\x8C\xC9 hit\nx = 1\n");
    Walk(dir.Root());
    ASSERT_EQ(host.rows.size(), 2u);
    EXPECT_EQ(host.rows[0].name, dir.Path("bin.dat"));
    EXPECT_EQ(host.rows[1].content, "' 在庫 hit");
}

TEST_F(FolderWalkTest, LinksToFoldersAreNotFollowed) {
    Hit("a.bas");
    Hit("sub/b.bas");
    dir.Link("..", "sub/loop");
    dir.Link(dir.Path("sub"), "alias");
    dir.Link("a.bas", "z.bas");  // links to files are read
    dir.Link("missing.bas", "dangling.bas");
    EXPECT_EQ(Walk(dir.Root()), (std::vector<std::string>{dir.Path("a.bas"), dir.Path("z.bas"),
                                                          dir.Path("sub/b.bas")}));
    EXPECT_TRUE(host.statuses.empty());
}

TEST_F(FolderWalkTest, PipesAreNotOpened) {
    Hit("a.bas");
    ASSERT_EQ(::mkfifo(dir.Path("fifo").c_str(), 0600), 0);
    EXPECT_EQ(Walk(dir.Root()), std::vector<std::string>{dir.Path("a.bas")});
}

TEST_F(FolderWalkTest, MissingFolderIsReportedAndSearchesNothing) {
    EXPECT_TRUE(Walk(dir.Path("nowhere")).empty());
    ASSERT_EQ(host.statuses.size(), 1u);
    EXPECT_TRUE(host.statuses[0].starts_with(kErrorPrefix + dir.Path("nowhere")));
    EXPECT_EQ(host.skipped, 0);  // a wrong path, not an entry left out
}

// The walk as an unprivileged user sees it, one line per row ("row <name>"), report
// ("status <text>") and the count of skipped entries at the end.
std::optional<std::string> WalkWithoutRoot(const test::TempFolder& dir) {
    ::chmod(dir.Root().c_str(), 0755);  // mkdtemp's folder is the owner's only
    return test::RunWithoutRoot([&dir] {
        RecordingHost host;
        MatchEngine engine;
        SearchFolder(dir.Root(), "hit", host, engine);
        std::string seen;
        for (const ResultRow& row : host.rows) seen += "row " + row.name + "\n";
        for (const std::string& status : host.statuses) seen += "status " + status + "\n";
        return seen + "skipped " + std::to_string(host.skipped) + "\n";
    });
}

TEST_F(FolderWalkTest, UnreadableFolderEndsOnlyItsOwnWalk) {
    Hit("a/1.bas");
    Hit("b/2.bas");
    Hit("b/inner/3.bas");
    Hit("c/4.bas");
    ASSERT_EQ(::chmod(dir.Path("b").c_str(), 0), 0);
    const std::optional<std::string> seen = WalkWithoutRoot(dir);
    if (!seen) GTEST_SKIP() << "cannot run without root here";
    EXPECT_EQ(*seen, "row " + dir.Path("a/1.bas") + "\nrow " + dir.Path("c/4.bas") + "\nstatus " +
                         kErrorPrefix + dir.Path("b") + ": Permission denied\nskipped 1\n");
}

TEST_F(FolderWalkTest, UnreadableFileIsReportedAndTheWalkGoesOn) {
    Hit("a/1.bas");
    Hit("a/2.bas");
    Hit("a/3.bas");
    Hit("a/inner/4.bas");
    Hit("b/5.bas");
    Hit("b/6.bas");
    ASSERT_EQ(::chmod(dir.Path("a/2.bas").c_str(), 0), 0);
    ASSERT_EQ(::chmod(dir.Path("b/6.bas").c_str(), 0), 0);
    const std::optional<std::string> seen = WalkWithoutRoot(dir);
    if (!seen) GTEST_SKIP() << "cannot run without root here";
    std::string expected;
    for (auto name : {"a/1.bas", "a/3.bas", "a/inner/4.bas", "b/5.bas"}) {
        expected += "row " + dir.Path(name) + "\n";
    }
    for (auto name : {"a/2.bas", "b/6.bas"}) {
        expected += "status " + kErrorPrefix + dir.Path(name) + ": Permission denied\n";
    }
    EXPECT_EQ(*seen, expected + "skipped 2\n");
}

TEST_F(FolderWalkTest, UnreadableStartingFolderCountsAsSkipped) {
    Hit("locked/1.bas");
    ASSERT_EQ(::chmod(dir.Path("locked").c_str(), 0), 0);
    ::chmod(dir.Root().c_str(), 0755);
    const std::optional<std::string> seen = test::RunWithoutRoot([this] {
        RecordingHost walker;
        MatchEngine matcher;
        SearchFolder(dir.Path("locked"), "hit", walker, matcher);
        return std::to_string(walker.rows.size()) + " " + std::to_string(walker.skipped);
    });
    if (!seen) GTEST_SKIP() << "cannot run without root here";
    EXPECT_EQ(*seen, "0 1");
}

}  // namespace
}  // namespace trawlex

namespace trawlex {
namespace {

// The bundled project, walked with the real engine: rows as a user would see them.
class SampleWalkTest : public ::testing::Test {
  protected:
    std::vector<ResultRow> Search(std::string_view search) {
        host.extList = "*.bas;*.cls;*.frm";
        host.rows.clear();
        SearchFolder(TRAWLEX_SAMPLES_DIR, search, host, engine);
        EXPECT_TRUE(host.statuses.empty());
        return host.rows;
    }
    static std::string Sample(std::string_view name) {
        return std::string(TRAWLEX_SAMPLES_DIR) + "/" + std::string(name);
    }

    RecordingHost host;
    MatchEngine engine;
};

TEST_F(SampleWalkTest, DeclarationLineWithKeywordInsideANameDoesNotEndTheScan) {
    // "Private mLastSub As String ' ...（...）" has "Sub " but no "(" to cut a name from.
    const std::vector<ResultRow> rows = Search("mLastSub");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].name, Sample("modMain.bas"));
    EXPECT_EQ(rows[0].line, 20);
    EXPECT_EQ(rows[0].procedure, "(Declarations)");
    EXPECT_EQ(rows[0].scope, "");
    EXPECT_EQ(rows[1].line, 27);
    EXPECT_EQ(rows[1].procedure, "Main");
    EXPECT_EQ(rows[1].scope, "Global");
    EXPECT_EQ(rows[1].content, "mLastSub = \"Main\"");
}

TEST_F(SampleWalkTest, PropertyProceduresAreNamedWithTheirAccessor) {
    std::vector<std::pair<std::int64_t, std::string>> inClsItem;
    for (const ResultRow& row : Search("Quantity")) {
        if (row.name == Sample("clsItem.cls")) inClsItem.emplace_back(row.line, row.procedure);
    }
    const std::vector<std::pair<std::int64_t, std::string>> expected = {
        {21, "(Declarations)"}, {26, "Class_Initialize"}, {47, "Get Quantity"},
        {48, "Get Quantity"},   {51, "Let Quantity"},     {53, "Let Quantity"},
        {75, "Amount"},         {80, "Restock"},          {84, "ToDisplay"}};
    EXPECT_EQ(inClsItem, expected);
}

TEST_F(SampleWalkTest, LowerCaseProcedureIsNotRecognised) {
    const std::vector<ResultRow> rows = Search("legacy");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].content, "sub legacyDump(byval text as string)");
    for (const ResultRow& row : rows) {
        EXPECT_EQ(row.name, Sample("modUtil.bas"));
        EXPECT_EQ(row.procedure, "") << row.line;  // after "End Property" of RunningTotal
        EXPECT_EQ(row.scope, "") << row.line;
    }
}

TEST_F(SampleWalkTest, JapaneseTextIsFoundAfterDecoding) {
    const std::vector<ResultRow> rows = Search("表示件数");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].line, 31);  // comment between two procedures
    EXPECT_EQ(rows[0].procedure, "");
    EXPECT_EQ(rows[1].line, 33);
    EXPECT_EQ(rows[1].procedure, "CaptionText");
    EXPECT_EQ(rows[1].scope, "Public");
    // A CP932 trail byte 0x5C is never taken for a backslash.
    EXPECT_EQ(Search("\\").size(), 3u);
}

}  // namespace
}  // namespace trawlex
