// trawlex-grep on .vbp and .vbg paths: modules searched as the IDE shows them.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "cli/project_search.h"
#include "run_grep.h"

namespace fs = std::filesystem;

namespace trawlex::cli::test {
namespace {

using Lines = std::vector<std::string>;

// Runs from samples/, so a file's name is its bare file name.
GrepResult GrepInSamples(const std::vector<std::string>& args) {
    return RunGrep(args, fs::path(TRAWLEX_SAMPLES_DIR));
}

TEST(GrepVbpPath, ProjectAndGroupExtensionsInAnyCase) {
    EXPECT_TRUE(IsProjectPath("Sample.vbp"));
    EXPECT_TRUE(IsProjectPath("dir/SAMPLE.VBP"));
    EXPECT_TRUE(IsProjectPath("group.VbG"));
    EXPECT_FALSE(IsProjectPath("Sample.vbp.bak"));
    EXPECT_FALSE(IsProjectPath("Sample.vbpx"));
    EXPECT_FALSE(IsProjectPath("vbp"));
    EXPECT_FALSE(IsProjectPath("modMain.bas"));
    EXPECT_FALSE(IsProjectPath(""));
}

TEST(GrepVbpSample, ModulesInProjectOrderUnderTheirNames) {
    const GrepResult result = GrepInSamples({"--format", "tsv", "Option Explicit", "Sample.vbp"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.outLines, (Lines{"frmMain\t2\t(Declarations)\t\tOption Explicit",
                                      "modMain\t5\t(Declarations)\t\tOption Explicit",
                                      "modUtil\t5\t(Declarations)\t\tOption Explicit",
                                      "clsItem\t4\t(Declarations)\t\tOption Explicit",
                                      "clsInventory\t2\t(Declarations)\t\tOption Explicit"}));
    EXPECT_EQ(result.errLines, Lines{"5 件みつかりました"});
}

TEST(GrepVbpSample, LineNumbersAreTheIdesNotTheFiles) {
    // The class header and the member attributes inside the code are hidden lines.
    const GrepResult file =
        GrepInSamples({"--format", "tsv", "--binary", "NewEnum", "clsInventory.cls"});
    EXPECT_EQ(file.outLines,
              (Lines{"clsInventory.cls\t92\tNewEnum\tPublic\tPublic Function NewEnum() As IUnknown",
                     "clsInventory.cls\t93\tNewEnum\tPublic\tAttribute NewEnum.VB_UserMemId = -4",
                     "clsInventory.cls\t94\tNewEnum\tPublic\tAttribute NewEnum.VB_MemberFlags = "
                     "\"40\"",
                     "clsInventory.cls\t95\tNewEnum\tPublic\tSet NewEnum = mItems.[_NewEnum]"}));
    const GrepResult project =
        GrepInSamples({"--format", "tsv", "--binary", "NewEnum", "Sample.vbp"});
    EXPECT_EQ(project.outLines,
              (Lines{"clsInventory\t78\tNewEnum\tPublic\tPublic Function NewEnum() As IUnknown",
                     "clsInventory\t79\tNewEnum\tPublic\tSet NewEnum = mItems.[_NewEnum]"}));

    // The form's designer block is hidden too; CP932 text comes out as UTF-8.
    const GrepResult form = GrepInSamples(
        {"--format", "tsv", "--mode", "regex", "ItemRemoved\\(|空です", "Sample.vbp"});
    EXPECT_EQ(form.outLines,
              (Lines{"frmMain\t28\tmInventory_ItemRemoved\tPrivate\tPrivate Sub "
                     "mInventory_ItemRemoved(ByVal code As String)",
                     "clsItem\t22\tLet Code\tPublic\tIf Len(value) = 0 Then Err.Raise 5, "
                     "\"clsItem\", \"商品コードが空です\"",
                     "clsInventory\t4\t(Declarations)\t\tPublic Event ItemRemoved(ByVal code As "
                     "String)",
                     "clsInventory\t41\tRemoveItem\tPublic\tRaiseEvent ItemRemoved(code)"}));
}

TEST(GrepVbpSample, HiddenLinesAreNotSearched) {
    for (const char* hidden : {"VB_", "BEGIN", "VERSION"}) {
        SCOPED_TRACE(hidden);
        EXPECT_FALSE(GrepInSamples({"--binary", hidden, "."}).outLines.empty());
        const GrepResult project = GrepInSamples({"--binary", hidden, "Sample.vbp"});
        EXPECT_EQ(project.exitCode, 1);
        EXPECT_EQ(project.outLines, Lines{});
        EXPECT_EQ(project.errLines, Lines{"見つかりませんでした"});
    }
}

TEST(GrepVbpSample, ExtensionFilterDoesNotApplyToModules) {
    const GrepResult all = GrepInSamples({"--format", "tsv", "Explicit", "Sample.vbp"});
    const GrepResult filtered =
        GrepInSamples({"--format", "tsv", "--ext", "txt", "Explicit", "Sample.vbp"});
    EXPECT_EQ(all.outLines.size(), 5u);
    EXPECT_EQ(filtered.outLines, all.outLines);
}

void WriteFile(const fs::path& path, std::string_view bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), bytes.size());
}

// Projects made for each test; the working directory is the folder above "proj".
class GrepVbp : public ::testing::Test {
  protected:
    void SetUp() override {
        base_ = fs::temp_directory_path() / ("trawlex-grep-vbp-" + std::to_string(::getpid()));
        fs::remove_all(base_);
        // The second module is missing; the class is listed with a Windows path in another
        // case and under another name than its VB_Name.
        WriteFile(base_ / "proj" / "P.vbp",
                  "Type=Exe\r\n"
                  "Module=modA; a.bas\r\n"
                  "Module=modGone; gone.bas\r\n"
                  "Class=Listed; Sub\\B.CLS\r\n"
                  "Name=\"P\"\r\n");
        WriteFile(base_ / "proj" / "a.bas",
                  "Attribute VB_Name = \"modA\"\r\n"
                  "Sub Foo()\r\n"
                  "  hit = 1\r\n"
                  "End Sub\r\n");
        WriteFile(base_ / "proj" / "sub" / "b.cls",
                  "VERSION 1.0 CLASS\r\n"
                  "BEGIN\r\n"
                  "  MultiUse = -1  'True\r\n"
                  "END\r\n"
                  "Attribute VB_Name = \"clsB\"\r\n"
                  "Public Function Bar()\r\n"
                  "  hit = 2\r\n"
                  "End Function\r\n");
        WriteFile(base_ / "other" / "Q.vbp", "Module=modQ; q.bas\r\n");
        WriteFile(base_ / "other" / "q.bas",
                  "Attribute VB_Name = \"modQ\"\r\n"
                  "Private hit As Long\r\n");
    }
    void TearDown() override { fs::remove_all(base_); }

    GrepResult Grep(const std::vector<std::string>& args) { return RunGrep(args, base_); }

    fs::path base_;
};

TEST_F(GrepVbp, MissingModuleIsReportedAndTheOthersSearched) {
    const GrepResult result = Grep({"--format", "tsv", "hit", "proj/P.vbp"});
    EXPECT_EQ(result.exitCode, 2);  // rows, but a module could not be read
    EXPECT_EQ(result.outLines,
              (Lines{"modA\t2\tFoo\tGlobal\thit = 1", "clsB\t2\tBar\tPublic\thit = 2"}));
    ASSERT_EQ(result.errLines.size(), 2u);
    EXPECT_TRUE(result.errLines[0].starts_with("エラーが発生しました:"));
    EXPECT_NE(result.errLines[0].find("gone.bas"), std::string::npos);
    EXPECT_EQ(result.errLines[1], "2 件みつかりました");
}

TEST_F(GrepVbp, GroupSearchesItsProjectsInOrder) {
    WriteFile(base_ / "G.vbg",
              "VBGROUP 5.0\r\n"
              "Project=other\\Q.vbp\r\n"
              "StartupProject=proj\\P.vbp\r\n"
              "Project=nowhere.vbp\r\n");
    const GrepResult result = Grep({"--format", "tsv", "hit", "G.vbg"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.outLines,
              (Lines{"modQ\t1\t(Declarations)\t\tPrivate hit As Long",
                     "modA\t2\tFoo\tGlobal\thit = 1", "clsB\t2\tBar\tPublic\thit = 2"}));
    // The missing module and the missing project, each once, then the count.
    ASSERT_EQ(result.errLines.size(), 3u);
    const std::string errors = result.errLines[0] + "\n" + result.errLines[1];
    EXPECT_TRUE(result.errLines[0].starts_with("エラーが発生しました:"));
    EXPECT_TRUE(result.errLines[1].starts_with("エラーが発生しました:"));
    EXPECT_NE(errors.find("gone.bas"), std::string::npos);
    EXPECT_NE(errors.find("nowhere.vbp"), std::string::npos);
    EXPECT_EQ(result.errLines[2], "3 件みつかりました");
}

TEST_F(GrepVbp, UnreadableProjectsFindNothing) {
    WriteFile(base_ / "Empty.vbg", "VBGROUP 5.0\r\nProject=nowhere.vbp\r\n");
    const GrepResult group = Grep({"hit", "Empty.vbg"});
    EXPECT_EQ(group.exitCode, 2);
    EXPECT_EQ(group.outLines, Lines{});
    ASSERT_EQ(group.errLines.size(), 2u);
    EXPECT_TRUE(group.errLines[0].starts_with("エラーが発生しました:"));
    EXPECT_EQ(group.errLines[1], "見つかりませんでした");

    const GrepResult missing = Grep({"hit", "proj/Missing.vbp"});
    EXPECT_EQ(missing.exitCode, 2);
    ASSERT_EQ(missing.errLines.size(), 2u);
    EXPECT_TRUE(missing.errLines[0].starts_with("エラーが発生しました:proj/Missing.vbp"));
}

TEST_F(GrepVbp, JsonlRowsCarryModuleNamesAndIdeLines) {
    const GrepResult result = Grep({"--format", "jsonl", "hit", "proj/P.vbp"});
    EXPECT_EQ(result.outLines,
              (Lines{"{\"name\":\"modA\",\"line\":2,\"procedure\":\"Foo\",\"scope\":\"Global\","
                     "\"content\":\"hit = 1\"}",
                     "{\"name\":\"clsB\",\"line\":2,\"procedure\":\"Bar\",\"scope\":\"Public\","
                     "\"content\":\"hit = 2\"}"}));
}

TEST_F(GrepVbp, OnlyProjectFilesAreReadAsProjects) {
    // Upper-case extension: still a project. A folder named like a project: still walked.
    // A module file named alone: searched as a file, with the file's line numbers.
    fs::copy_file(base_ / "proj" / "P.vbp", base_ / "proj" / "UPPER.VBP");
    WriteFile(base_ / "dir.vbp" / "d.bas", "hit = 3\r\n");
    const GrepResult result =
        Grep({"--format", "tsv", "hit", "proj/UPPER.VBP", "dir.vbp", "proj/sub/b.cls"});
    EXPECT_EQ(result.outLines,
              (Lines{"modA\t2\tFoo\tGlobal\thit = 1", "clsB\t2\tBar\tPublic\thit = 2",
                     "dir.vbp/d.bas\t1\t(Declarations)\t\thit = 3",
                     "proj/sub/b.cls\t7\tBar\tPublic\thit = 2"}));
    EXPECT_EQ(result.LastErrLine(), "4 件みつかりました");
}

}  // namespace
}  // namespace trawlex::cli::test
