#include "vbfiles/vb_project.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace trawlex {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class VbProjectTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vbp_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "Src" / "Forms");
    }
    void TearDown() override { fs::remove_all(dir_); }

    void Write(const fs::path& rel, const std::string& bytes) {
        std::ofstream(dir_ / rel, std::ios::binary) << bytes;
    }
    std::string Path(const fs::path& rel) const { return (dir_ / rel).string(); }

    fs::path dir_;
};

TEST_F(VbProjectTest, ReadsEveryModuleKindInProjectOrder) {
    Write("Src/modMain.bas", "Attribute VB_Name = \"modMain\"\r\nSub Main()\r\nEnd Sub\r\n");
    Write("Src/Forms/frmMain.frm",
          "VERSION 5.00\r\nBegin VB.Form frmMain\r\nEnd\r\nAttribute VB_Name = \"frmMain\"\r\n"
          "Private Sub Form_Load()\r\nEnd Sub\r\n");
    Write("Src/clsItem.cls",
          "VERSION 1.0 CLASS\r\nBEGIN\r\nEND\r\nAttribute VB_Name = \"clsItem\"\r\n"
          "Public X As Long\r\n");
    Write("Src/NoName.bas", "Sub X()\r\nEnd Sub\r\n");
    Write("Connect.Dsr",
          "VERSION 5.00\r\nBegin {AC0714F6} Connect\r\nEnd\r\n"
          "Attribute VB_Name = \"Connect\"\r\nOption Explicit\r\n");
    // Windows paths in the wrong case, '\' and '/' separators, a missing file.
    Write("Proj.vbp",
          "Type=OleDll\r\n"
          "Form=src\\FORMS\\frmmain.FRM\r\n"
          "Module=modMain; SRC\\modMain.bas\r\n"
          "Class=clsItem; Src/clsItem.cls\r\n"
          "Module=Helpers; Src\\NoName.bas\r\n"
          "Module=Gone; Src\\Gone.bas\r\n"
          "Designer=Connect.Dsr\r\n"
          "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#stdole2.tlb#OLE\r\n"
          "Name=\"MyProj\"\r\n");

    auto p = LoadVbProject(Path("Proj.vbp"));
    ASSERT_TRUE(p.ok()) << p.error();
    EXPECT_EQ(p->name, "MyProj");
    EXPECT_EQ(p->type, "OleDll");
    ASSERT_EQ(p->modules.size(), 5u);
    EXPECT_EQ(p->modules[0].name, "frmMain");
    EXPECT_EQ(p->modules[0].kind, VbModuleKind::Form);
    EXPECT_EQ(p->modules[0].path, Path("Src/Forms/frmMain.frm"));
    EXPECT_EQ(p->modules[0].Text(), "Private Sub Form_Load()\r\nEnd Sub");
    EXPECT_EQ(p->modules[1].name, "modMain");
    EXPECT_EQ(p->modules[2].kind, VbModuleKind::Class);
    // Without VB_Name the project's name for the module is used.
    EXPECT_EQ(p->modules[3].name, "Helpers");
    EXPECT_EQ(p->modules[4].kind, VbModuleKind::Designer);
    EXPECT_EQ(p->modules[4].Text(), "Option Explicit");
    ASSERT_EQ(p->problems.size(), 1u);
    EXPECT_NE(p->problems[0].find("Gone.bas"), std::string::npos);
}

TEST_F(VbProjectTest, GroupsAndLoneModules) {
    Write("A.bas", "Attribute VB_Name = \"modA\"\r\nSub A()\r\nEnd Sub\r\n");
    Write("A.vbp", "Type=Exe\r\nModule=modA; A.bas\r\nName=\"ProjA\"\r\n");
    Write("Src/B.vbp", "Type=Exe\r\nName=\"ProjB\"\r\n");
    Write("G.vbg",
          "VBGROUP 5.0\r\nProject=A.vbp\r\nStartupProject=src\\b.VBP\r\n"
          "Project=Missing.vbp\r\n");

    auto g = LoadVbAny(Path("G.vbg"));
    ASSERT_TRUE(g.ok()) << g.error();
    ASSERT_EQ(g->projects.size(), 2u);
    EXPECT_EQ(g->projects[0].name, "ProjA");
    EXPECT_EQ(g->projects[1].name, "ProjB");
    EXPECT_EQ(g->startup, 1u);
    ASSERT_EQ(g->projects[1].problems.size(), 1u);

    auto lone = LoadVbAny(Path("a.BAS"));
    ASSERT_TRUE(lone.ok()) << lone.error();
    ASSERT_EQ(lone->projects.size(), 1u);
    EXPECT_EQ(lone->projects[0].name, "modA");
    ASSERT_EQ(lone->projects[0].modules.size(), 1u);
    EXPECT_EQ(lone->projects[0].modules[0].Text(), "Sub A()\r\nEnd Sub");

    EXPECT_FALSE(LoadVbAny(Path("nothing.vbp")).ok());
    Write("Empty.vbg", "VBGROUP 5.0\r\nProject=Missing.vbp\r\n");
    EXPECT_FALSE(LoadVbAny(Path("Empty.vbg")).ok());
}

TEST_F(VbProjectTest, ResolvesPathsIgnoringCase) {
    Write("Src/Forms/Main.frm", "x");
    EXPECT_EQ(ResolvePathNoCase(Path("SRC/forms/MAIN.FRM")), Path("Src/Forms/Main.frm"));
    EXPECT_EQ(ResolvePathNoCase(Path("Src/../src/Forms/main.frm")),
              Path("Src/../Src/Forms/Main.frm"));
    EXPECT_EQ(ResolvePathNoCase(Path("Src/None.frm")), Path("Src/None.frm"));
    EXPECT_EQ(ModuleKindOfPath("x/Y.CTL"), VbModuleKind::UserControl);
    EXPECT_EQ(ModuleKindOfPath("y.pag"), VbModuleKind::PropertyPage);
    EXPECT_EQ(ModuleKindOfPath("z.dob"), VbModuleKind::UserDocument);
}

TEST_F(VbProjectTest, OnlyRegularFilesAreReadAsModules) {
    Write("a.bas", "Attribute VB_Name = \"modA\"\r\nDim a\r\n");
    ASSERT_EQ(::mkfifo(Path("pipe.bas").c_str(), 0600), 0);
    // A device would be read without end, a pipe would wait for a writer for ever.
    Write("P.vbp",
          "Module=dev; /dev/zero\r\nModule=pipe; pipe.bas\r\nModule=dir; Src\r\n"
          "Module=modA; a.bas\r\n");
    auto project = LoadVbProject(Path("P.vbp"));
    ASSERT_TRUE(project) << project.error();
    ASSERT_EQ(project->modules.size(), 1u);
    EXPECT_EQ(project->modules[0].name, "modA");
    ASSERT_EQ(project->problems.size(), 3u);
    EXPECT_NE(project->problems[0].find("/dev/zero"), std::string::npos);
    EXPECT_NE(project->problems[0].find("not a regular file"), std::string::npos);
    EXPECT_NE(project->problems[1].find("not a regular file"), std::string::npos);
    EXPECT_NE(project->problems[2].find("not a regular file"), std::string::npos);
    // A project or group that is itself not a file fails the same way.
    EXPECT_FALSE(LoadVbProject(Path("pipe.bas")));
    EXPECT_FALSE(LoadVbGroup("/dev/zero"));
}

TEST_F(VbProjectTest, Cp932ModuleNamesAreFoundAsWrittenOnDisk) {
    // "テスト.bas" in CP932 bytes, as VB writes both the project and the file name.
    const std::string cp932Name = "\x83\x65\x83\x58\x83\x67";
    Write(cp932Name + ".bas", "Sub T()\r\nEnd Sub\r\n");
    Write("\xE8\xA1\xA8.bas", "Sub U()\r\nEnd Sub\r\n");  // "表.bas" in UTF-8
    Write("P.vbp", "Module=Named; " + cp932Name + ".bas\r\nModule=" + cp932Name + ".bas\r\n");
    auto project = LoadVbProject(Path("P.vbp"));
    ASSERT_TRUE(project) << project.error();
    EXPECT_TRUE(project->problems.empty()) << project->problems[0];
    ASSERT_EQ(project->modules.size(), 2u);
    EXPECT_EQ(project->modules[0].name, "Named");
    EXPECT_EQ(project->modules[0].path, Path(cp932Name + ".bas"));
    EXPECT_EQ(project->modules[1].name, "テスト");  // the name decoded, not its bytes

    // A UTF-8 project names UTF-8 files; those are looked up first.
    Write("U.vbp", "Module=表.bas\r\n");
    project = LoadVbProject(Path("U.vbp"));
    ASSERT_TRUE(project);
    ASSERT_EQ(project->modules.size(), 1u);
    EXPECT_EQ(project->modules[0].name, "表");
}

TEST(SampleProjectTest, EveryModuleSavesByteIdentical) {
    auto p = LoadVbProject(std::string(TRAWLEX_SAMPLES_DIR) + "/Sample.vbp");
    ASSERT_TRUE(p.ok()) << p.error();
    EXPECT_TRUE(p->problems.empty());
    ASSERT_FALSE(p->modules.empty());
    for (const auto& m : p->modules) {
        SCOPED_TRACE(m.path);
        EXPECT_FALSE(m.file.Name().empty());
        EXPECT_EQ(m.file.Encoding(), TextEncoding::Cp932);
        const std::string original = ReadBytes(m.path);
        EXPECT_EQ(m.file.Serialize(), original);
        EXPECT_EQ(m.file.Serialize(m.file.VisibleLines()).bytes, original);
        EXPECT_EQ(m.Text().find("Attribute VB_Name"), std::string::npos);
        // Editing the last line re-encodes only that line.
        auto lines = m.file.VisibleLines();
        ASSERT_FALSE(lines.empty());
        lines.back() += "'";
        const std::string edited = m.file.Serialize(lines).bytes;
        EXPECT_EQ(VbModuleFile::Parse(edited).VisibleLines(), lines);
        EXPECT_EQ(edited.size(), original.size() + 1);
    }
}

}  // namespace
}  // namespace trawlex
