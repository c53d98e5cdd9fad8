#include <gtest/gtest.h>

#include <string>

#include "base/text_decode.h"
#include "office/office_document.h"
#include "office_fixtures.h"

namespace trawlex::office {
namespace {

using test::FixtureModule;
using test::FixtureProject;
using test::ModuleSource;

FixtureProject TwoModules() {
    FixtureProject project;
    project.modules.push_back(
        {"Module1",
         ModuleSource("Module1", "Option Explicit\r\nSub Main()\r\n    Beep\r\nEnd Sub")});
    project.modules.push_back(
        {"ThisWorkbook",
         "Attribute VB_Name = \"ThisWorkbook\"\r\nAttribute VB_Base = \"0{00020819-0000-0000-C000-"
         "000000000046}\"\r\nAttribute VB_GlobalNameSpace = False\r\nAttribute VB_Creatable = "
         "False\r\nAttribute VB_PredeclaredId = True\r\nAttribute VB_Exposed = True\r\n"
         "Public Function Total()\r\nAttribute Total.VB_Description = \"Sum\"\r\n"
         "    Total = 1\r\nEnd Function\r\n",
         false});
    return project;
}

void ExpectTwoModules(const Result<OfficeProject>& project) {
    ASSERT_TRUE(project) << project.error();
    EXPECT_TRUE(project->problems.empty());
    ASSERT_EQ(project->modules.size(), 2u);
    EXPECT_EQ(project->modules[0].name, "Module1");
    EXPECT_EQ(project->modules[0].text, "Option Explicit\r\nSub Main()\r\n    Beep\r\nEnd Sub");
    EXPECT_EQ(project->modules[1].name, "ThisWorkbook");
    // The editor hides the header attributes and the member attribute inside the code.
    EXPECT_EQ(project->modules[1].text, "Public Function Total()\r\n    Total = 1\r\nEnd Function");
}

TEST(ReadOfficeDocument, ReadsTheModulesOfEveryContainer) {
    const FixtureProject project = TwoModules();
    {
        SCOPED_TRACE("vbaProject.bin");
        ExpectTwoModules(ReadOfficeDocument(test::VbaProjectBin(project)));
    }
    {
        SCOPED_TRACE("binary workbook");
        ExpectTwoModules(ReadOfficeDocument(test::BinaryWorkbook(project)));
    }
    {
        SCOPED_TRACE("macro-enabled workbook");
        ExpectTwoModules(ReadOfficeDocument(test::MacroWorkbook(project)));
    }
    {
        SCOPED_TRACE("word document");
        ExpectTwoModules(ReadOfficeDocument(
            test::WriteCompoundFile(test::VbaProjectEntries(project, "Macros/"))));
    }
    {
        SCOPED_TRACE("binary presentation");
        ExpectTwoModules(ReadOfficeDocument(test::BinaryPresentation(project, false)));
    }
    {
        SCOPED_TRACE("binary presentation, zlib data without its final block");
        ExpectTwoModules(ReadOfficeDocument(test::BinaryPresentation(project, true)));
    }
}

TEST(ReadOfficeDocument, PresentationsOwnProjectNotThatOfAnEmbeddedWorkbook) {
    FixtureProject embedded;
    embedded.modules.push_back({"Embedded", ModuleSource("Embedded", "Sub Other()\r\nEnd Sub")});
    ExpectTwoModules(ReadOfficeDocument(test::PresentationWith(
        {test::BinaryWorkbook(embedded), test::VbaProjectBin(TwoModules())}, false)));
}

TEST(ReadOfficeDocument, DecodesTheProjectsCodePage) {
    FixtureProject japanese;
    japanese.codePage = 932;
    japanese.unicodeNames = false;  // the names only in the code page
    const std::string name = EncodeCp932("集計");
    japanese.modules.push_back(
        {name, ModuleSource(name, EncodeCp932("' 売上を集計する\r\nSub 集計()\r\nEnd Sub"))});
    Result<OfficeProject> read = ReadOfficeDocument(test::MacroWorkbook(japanese));
    ASSERT_TRUE(read) << read.error();
    ASSERT_EQ(read->modules.size(), 1u);
    EXPECT_EQ(read->modules[0].name, "集計");
    EXPECT_EQ(read->modules[0].text, "' 売上を集計する\r\nSub 集計()\r\nEnd Sub");

    FixtureProject western;  // 1252, with its own characters in 0x80 to 0x9F
    western.modules.push_back({"Module1", ModuleSource("Module1", "' caf\xE9 \x80 \x93x\x94\r\n")});
    read = ReadOfficeDocument(test::VbaProjectBin(western));
    ASSERT_TRUE(read) << read.error();
    EXPECT_EQ(read->modules.at(0).text, "' café € “x”");

    FixtureProject cyrillic;
    cyrillic.codePage = 1251;
    cyrillic.modules.push_back({"Module1", ModuleSource("Module1", "' \xCF\xF0\xE8\xE2\xE5\xF2")});
    read = ReadOfficeDocument(test::VbaProjectBin(cyrillic));
    ASSERT_TRUE(read) << read.error();
    EXPECT_EQ(read->modules.at(0).text, "' Привет");

    FixtureProject mac;  // Mac Office's projects name MacRoman by its own number
    mac.codePage = 10000;
    mac.modules.push_back({"Module1", ModuleSource("Module1", "' \x8E\x9F \xA5")});
    read = ReadOfficeDocument(test::VbaProjectBin(mac));
    ASSERT_TRUE(read) << read.error();
    EXPECT_EQ(read->modules.at(0).text, "' éü •");
}

TEST(ReadOfficeDocument, DocumentsWithoutAProjectHaveNoModules) {
    Result<OfficeProject> read = ReadOfficeDocument(
        test::WriteZip({{"[Content_Types].xml", "<Types/>"}, {"xl/workbook.xml", "<workbook/>"}}));
    ASSERT_TRUE(read) << read.error();
    EXPECT_TRUE(read->modules.empty());

    read = ReadOfficeDocument(test::WriteCompoundFile({{"Workbook", std::string(600, '\0')}}));
    ASSERT_TRUE(read) << read.error();
    EXPECT_TRUE(read->modules.empty());
}

TEST(ReadOfficeDocument, EncryptedPackageIsReportedAsSuch) {
    Result<OfficeProject> read =
        ReadOfficeDocument(test::WriteCompoundFile({{"EncryptionInfo", std::string(200, '\x04')},
                                                    {"EncryptedPackage", std::string(5000, 'e')}}));
    ASSERT_FALSE(read);
    EXPECT_NE(read.error().find("encrypted"), std::string::npos) << read.error();
}

TEST(ReadOfficeDocument, BinaryWorkbookWithEncryptedSheetsStillShowsItsCode) {
    // Sheet encryption scrambles the Workbook stream only; the project storage is plain.
    test::Entries entries = test::VbaProjectEntries(TwoModules(), "_VBA_PROJECT_CUR/");
    entries.emplace_back("Workbook", std::string("\x2F\x00\x06\x00", 4) + std::string(600, '\x5A'));
    ExpectTwoModules(ReadOfficeDocument(test::WriteCompoundFile(entries)));
}

TEST(ReadOfficeDocument, ModuleWithoutItsStreamIsNamedAndTheRestRead) {
    test::Entries entries = test::VbaProjectEntries(TwoModules());
    std::erase_if(entries, [](const auto& entry) { return entry.first == "VBA/Module1"; });
    Result<OfficeProject> read = ReadOfficeDocument(test::WriteCompoundFile(entries));
    ASSERT_TRUE(read) << read.error();
    ASSERT_EQ(read->modules.size(), 1u);
    EXPECT_EQ(read->modules[0].name, "ThisWorkbook");
    ASSERT_EQ(read->problems.size(), 1u);
    EXPECT_NE(read->problems[0].find("Module1"), std::string::npos) << read->problems[0];
}

TEST(ReadOfficeDocument, DamagedBytesFailWithoutCrashing) {
    EXPECT_FALSE(ReadOfficeDocument("just some text"));
    const std::string workbook = test::BinaryWorkbook(TwoModules());
    for (std::size_t cut : {8u, 512u, 1024u, 2000u}) {
        (void)ReadOfficeDocument(workbook.substr(0, cut));  // must return, whatever it says
    }
    const std::string package = test::MacroWorkbook(TwoModules());
    EXPECT_FALSE(ReadOfficeDocument(package.substr(0, package.size() / 2)) &&
                 !ReadOfficeDocument(package.substr(0, package.size() / 2))->modules.empty());
}

TEST(ReadOfficeModule, PicksOneModuleByName) {
    const std::string workbook = test::MacroWorkbook(TwoModules());
    Result<OfficeModule> module = ReadOfficeModule(workbook, "thisworkbook");
    ASSERT_TRUE(module) << module.error();
    EXPECT_EQ(module->name, "ThisWorkbook");
    EXPECT_FALSE(ReadOfficeModule(workbook, "Module9"));
}

TEST(IsOfficeDocumentName, KnowsTheMacroCarryingExtensions) {
    for (const char* name : {"a.xls", "b.XLSM", "c.docm", "d.ppt", "e.xlsb", "f.dotm", "g.xla"})
        EXPECT_TRUE(IsOfficeDocumentName(name)) << name;
    for (const char* name : {"a.xlsx", "b.bas", "c.doc.txt", "xls", "d.pptx"})
        EXPECT_FALSE(IsOfficeDocumentName(name)) << name;
}

}  // namespace
}  // namespace trawlex::office
