// trawlex-grep on Office documents: their VBA modules searched, named "path|module".

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/text_decode.h"
#include "office_fixtures.h"
#include "run_grep.h"

namespace fs = std::filesystem;

namespace trawlex::cli::test {
namespace {

using Lines = std::vector<std::string>;
using office::test::FixtureProject;
using office::test::ModuleSource;

// A scratch folder of documents and module files; the search runs inside it.
class GrepOfficeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("trawlex-office-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }

    void Write(const std::string& relative, const std::string& bytes) {
        const fs::path path = root_ / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    GrepResult Grep(const std::vector<std::string>& args) { return RunGrep(args, root_); }

    fs::path root_;
};

FixtureProject Invoicing() {
    FixtureProject project;
    project.modules.push_back({"Module1", ModuleSource("Module1",
                                                       "Option Explicit\r\nSub Invoice()\r\n    "
                                                       "MsgBox \"Total\"\r\nEnd Sub\r\n")});
    project.modules.push_back({"Sheet1",
                               "Attribute VB_Name = \"Sheet1\"\r\nAttribute VB_Base = "
                               "\"0{00020820-0000-0000-C000-000000000046}\"\r\n"
                               "Private Sub Worksheet_Change(ByVal Target As Range)\r\n"
                               "    Call Invoice ' Total again\r\nEnd Sub\r\n",
                               false});
    return project;
}

TEST_F(GrepOfficeTest, FolderMixingModuleFilesAndDocumentsGivesRowsForBoth) {
    Write("a.bas", "Attribute VB_Name = \"a\"\r\nSub Total()\r\nEnd Sub\r\n");
    Write("Book1.xlsm", office::test::MacroWorkbook(Invoicing()));
    Write("sub/Old.xls", office::test::BinaryWorkbook(Invoicing()));
    Write("sub/Deck.ppt", office::test::BinaryPresentation(Invoicing(), true));
    Write("sub/Plain.docm", office::test::WriteZip({{"word/document.xml", "<w:document/>"}}));

    const GrepResult tsv = Grep({"--format", "tsv", "Total", "."});
    EXPECT_EQ(tsv.exitCode, 0);
    EXPECT_EQ(
        tsv.outLines,
        (Lines{"./Book1.xlsm|Module1\t3\tInvoice\tGlobal\tMsgBox \"Total\"",
               "./Book1.xlsm|Sheet1\t2\tWorksheet_Change\tPrivate\tCall Invoice ' Total again",
               "./a.bas\t2\tTotal\tGlobal\tSub Total()",
               "./sub/Deck.ppt|Module1\t3\tInvoice\tGlobal\tMsgBox \"Total\"",
               "./sub/Deck.ppt|Sheet1\t2\tWorksheet_Change\tPrivate\tCall Invoice ' Total again",
               "./sub/Old.xls|Module1\t3\tInvoice\tGlobal\tMsgBox \"Total\"",
               "./sub/Old.xls|Sheet1\t2\tWorksheet_Change\tPrivate\tCall Invoice ' Total again"}));
    EXPECT_EQ(tsv.errLines, Lines{"7 件みつかりました"});

    const GrepResult json = Grep({"--format", "jsonl", "MsgBox", "Book1.xlsm"});
    EXPECT_EQ(json.outLines,
              Lines{"{\"name\":\"Book1.xlsm\",\"module\":\"Module1\",\"line\":3,\"procedure\":"
                    "\"Invoice\",\"scope\":\"Global\",\"content\":\"MsgBox \\\"Total\\\"\","
                    "\"spans\":[[0,6]]}"});
    // --count names a module of a document as its rows do.
    EXPECT_EQ(Grep({"--count", "MsgBox", "Book1.xlsm"}).outLines, Lines{"Book1.xlsm|Module1:1"});
    const GrepResult text = Grep({"MsgBox", "Book1.xlsm"});
    EXPECT_EQ(text.outLines, Lines{"Book1.xlsm|Module1:3:Invoice: MsgBox \"Total\""});
}

TEST_F(GrepOfficeTest, JapaneseModuleOfCodePage932) {
    FixtureProject project;
    project.codePage = 932;
    project.modules.push_back(
        {"Module1",
         ModuleSource("Module1", EncodeCp932("' 請求書を作る\r\nSub 請求()\r\nEnd Sub"))});
    Write("請求.xls", office::test::BinaryWorkbook(project));
    const GrepResult result = Grep({"--format", "tsv", "せいきゅうしょ", "."});
    EXPECT_EQ(result.outLines, Lines{});  // kana is not kanji
    const GrepResult kanji = Grep({"--format", "tsv", "請求書", "."});
    EXPECT_EQ(kanji.outLines, Lines{"./請求.xls|Module1\t1\t(Declarations)\t\t' 請求書を作る"});
}

TEST_F(GrepOfficeTest, OfficeNoSearchesTheBytes) {
    // The stored source is compressed, so its words are not in the file's bytes as such;
    // the uncompressed stream name is.
    Write("Book1.xlsm", office::test::MacroWorkbook(Invoicing()));
    Write("Old.xls", office::test::BinaryWorkbook(Invoicing()));
    EXPECT_EQ(Grep({"--format", "tsv", "Invoice", "."}).outLines.size(), 4u);
    const GrepResult bytes = Grep({"--format", "tsv", "--office=no", "_VBA_PROJECT_CUR", "."});
    EXPECT_EQ(bytes.exitCode, 1);  // UTF-16 stream names in the directory do not match
    // The zip names its parts in plain bytes, in the local and the central header.
    const GrepResult zip = Grep({"--format", "tsv", "--office", "no", "vbaProject.bin", "."});
    ASSERT_FALSE(zip.outLines.empty());
    for (const std::string& line : zip.outLines)
        EXPECT_TRUE(line.starts_with("./Book1.xlsm\t")) << line;
    EXPECT_EQ(Grep({"--office=maybe", "x", "."}).exitCode, 2);
}

TEST_F(GrepOfficeTest, EncryptedAndDamagedDocumentsAreReportedAndTheSearchGoesOn) {
    Write("a_Secret.xlsm",
          office::test::WriteCompoundFile({{"EncryptionInfo", std::string(100, '\x04')},
                                           {"EncryptedPackage", std::string(3000, 'x')}}));
    Write("b_Broken.xls", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1 and then nothing");
    Write("c_Good.xlsm", office::test::MacroWorkbook(Invoicing()));
    const GrepResult result = Grep({"--format", "tsv", "MsgBox", "."});
    EXPECT_EQ(result.exitCode, 2);  // rows found, and trouble reported
    EXPECT_EQ(result.outLines,
              Lines{"./c_Good.xlsm|Module1\t3\tInvoice\tGlobal\tMsgBox \"Total\""});
    ASSERT_EQ(result.errLines.size(), 3u);
    EXPECT_TRUE(result.errLines[0].starts_with("エラーが発生しました:./a_Secret.xlsm: encrypted"))
        << result.errLines[0];
    EXPECT_TRUE(result.errLines[1].starts_with("エラーが発生しました:./b_Broken.xls: "))
        << result.errLines[1];
    EXPECT_EQ(result.errLines[2], "1 件みつかりました");
}

}  // namespace
}  // namespace trawlex::cli::test
