// regsvr32 and the add-in loader, driven with the test add-in library built in the tree.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "host/addin_loader.h"
#include "host/host_app.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "temp_machine.h"

namespace trawlex::platform {
namespace {

constexpr const char* kProgId = "TrawlexTest.Connect";
constexpr const char* kClassRecord =
    "HKCU\\Software\\Classes\\TrawlexTest.Connect\\InprocServer32\\";
constexpr const char* kAddinRecord =
    "HKCU\\Software\\Microsoft\\Visual Basic\\6.0\\Addins\\TrawlexTest.Connect\\";

// Only the default value matters to the test add-in.
class NamedHost : public host::HostApp {
  public:
    Result<std::shared_ptr<host::CodePane>> ActiveCodePane() override { return Unused(); }
    Result<std::shared_ptr<host::CodePanes>> CodePanes() override { return Unused(); }
    Result<std::shared_ptr<host::VBProject>> ActiveVBProject() override { return Unused(); }
    Result<std::shared_ptr<host::CommandBars>> CommandBars() override { return Unused(); }
    Result<std::shared_ptr<host::Events>> Events() override { return Unused(); }
    Result<std::shared_ptr<host::Addins>> Addins() override { return Unused(); }
    Result<std::string> LastUsedPath() const override { return Unused(); }
    Result<std::string> DefaultValue() const override { return std::string("Stand-in Host"); }
    Status SetClipboardPicture(const host::Bitmap&) override { return Unused(); }
    Result<host::Bitmap> ClipboardPicture() const override { return Unused(); }

  private:
    static Failure Unused() { return Failure{"not used by this test"}; }
};

class AddinTest : public testing::TempMachineTest {
  protected:
    int Regsvr32(const std::string& arguments) {
        Result<int> code =
            platform::Run(std::string("\"") + TRAWLEX_REGSVR32 + "\" " + arguments, 0, true);
        EXPECT_TRUE(code) << code.error();
        return code.value_or(-1);
    }
    std::string Quoted(const char* path) { return std::string("\"") + path + "\""; }
};

TEST_F(AddinTest, Regsvr32RegistersAndUnregisters) {
    EXPECT_EQ(Regsvr32("/s " + Quoted(TRAWLEX_TEST_ADDIN)), 0);
    EXPECT_EQ(testing::ReadValue(kClassRecord),
              std::filesystem::canonical(TRAWLEX_TEST_ADDIN).string());
    EXPECT_EQ(testing::ReadValue(std::string(kAddinRecord) + "FriendlyName"),
              "Trawlex Test Add-in");
    EXPECT_EQ(testing::ReadValue(std::string(kAddinRecord) + "Description"), "テスト用のアドイン");
    EXPECT_EQ(testing::ReadValue(std::string(kAddinRecord) + "LoadBehavior"), "3");
    EXPECT_EQ(RegSubKeys("HKCU\\Software\\Microsoft\\Visual Basic\\6.0\\Addins").value_or({}),
              std::vector<std::string>{kProgId});

    EXPECT_EQ(Regsvr32("-U -S " + Quoted(TRAWLEX_TEST_ADDIN)), 0);
    EXPECT_FALSE(RegKeyExists("HKCU\\Software\\Classes\\TrawlexTest.Connect"));
    EXPECT_FALSE(RegKeyExists(kAddinRecord));
    // Unregistering again finds nothing to remove.
    EXPECT_EQ(Regsvr32("/u /s " + Quoted(TRAWLEX_TEST_ADDIN)), 5);
}

TEST_F(AddinTest, Regsvr32FindsTheLibraryByARelativePath) {
    const std::filesystem::path library = std::filesystem::canonical(TRAWLEX_TEST_ADDIN);
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(library.parent_path());
    const int code = Regsvr32("/S " + library.filename().string());
    std::filesystem::current_path(previous);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(testing::ReadValue(kClassRecord), library.string());
}

TEST_F(AddinTest, Regsvr32FailuresHaveDistinctExitCodes) {
    EXPECT_EQ(Regsvr32(""), 1);
    EXPECT_EQ(Regsvr32("/s a.so b.so"), 1);
    EXPECT_EQ(Regsvr32("/s " + root() + "/missing.so"), 3);
    WriteFile(root() + "/text.so", "not a library");
    EXPECT_EQ(Regsvr32("/s " + root() + "/text.so"), 3);
    EXPECT_EQ(Regsvr32("/s " + Quoted(TRAWLEX_TEST_NOT_ADDIN)), 4);
    setenv("TRAWLEX_TEST_ADDIN_FAIL", "1", 1);
    EXPECT_EQ(Regsvr32("/s " + Quoted(TRAWLEX_TEST_ADDIN)), 5);
    unsetenv("TRAWLEX_TEST_ADDIN_FAIL");
    EXPECT_FALSE(RegKeyExists("HKCU\\Software\\Classes\\TrawlexTest.Connect"));
}

TEST_F(AddinTest, LoadedAddinConnectsAndIsDestroyedBeforeUnload) {
    ASSERT_EQ(Regsvr32("/s " + Quoted(TRAWLEX_TEST_ADDIN)), 0);
    NamedHost hostApp;
    {
        Result<LoadedAddin> loaded = LoadAddin(kProgId);
        ASSERT_TRUE(loaded) << loaded.error();
        LoadedAddin addin = std::move(loaded).value();  // moving keeps the library loaded
        ASSERT_NE(addin.get(), nullptr);
        addin->OnConnection(hostApp, host::ext_cm_Startup);
        addin->OnDisconnection(host::ext_dm_UserClosed);
        EXPECT_EQ(testing::ReadValue("HKCU\\Software\\TrawlexTest\\HostName"), "Stand-in Host");
        EXPECT_EQ(testing::ReadValue("HKCU\\Software\\TrawlexTest\\ConnectMode"), "1");
        EXPECT_EQ(testing::ReadValue("HKCU\\Software\\TrawlexTest\\DisconnectMode"), "1");
        EXPECT_FALSE(RegRead("HKCU\\Software\\TrawlexTest\\Destroyed"));
    }
    EXPECT_EQ(testing::ReadValue("HKCU\\Software\\TrawlexTest\\Destroyed"), "1");
}

TEST_F(AddinTest, LoaderNamesEachWayItFails) {
    Result<LoadedAddin> unregistered = LoadAddin(kProgId);
    ASSERT_FALSE(unregistered);
    EXPECT_NE(unregistered.error().find("not registered"), std::string::npos);

    ASSERT_TRUE(RegisterClass(kProgId, root() + "/gone.so"));
    EXPECT_NE(LoadAddin(kProgId).error().find("missing: " + root() + "/gone.so"),
              std::string::npos);

    WriteFile(root() + "/text.so", "not a library");
    ASSERT_TRUE(RegisterClass(kProgId, root() + "/text.so"));
    EXPECT_NE(LoadAddin(kProgId).error().find("not a loadable add-in library"), std::string::npos);

    ASSERT_TRUE(
        RegisterClass(kProgId, std::filesystem::canonical(TRAWLEX_TEST_NOT_ADDIN).string()));
    EXPECT_NE(LoadAddin(kProgId).error().find("does not export TrawlexCreateAddin"),
              std::string::npos);

    // The library serves only its own ProgID.
    ASSERT_TRUE(
        RegisterClass("Other.Connect", std::filesystem::canonical(TRAWLEX_TEST_ADDIN).string()));
    EXPECT_NE(LoadAddin("Other.Connect").error().find("created no add-in object"),
              std::string::npos);

    EXPECT_FALSE(LoadAddin(""));
    EXPECT_FALSE(RegisterClass("Bad\\Id", "/x.so"));
    EXPECT_FALSE(RegisterClass(kProgId, "relative.so"));
}

TEST_F(AddinTest, LoaderTakesOnlyAbsolutePathsOfRegularFiles) {
    const std::string record =
        "HKCU\\Software\\Classes\\" + std::string(kProgId) + "\\InprocServer32\\";
    // A record written by hand can name a relative path; it would load from the current
    // folder, whatever that holds.
    const std::string library = std::filesystem::canonical(TRAWLEX_TEST_ADDIN).string();
    const std::filesystem::path saved = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::path(library).parent_path());
    ASSERT_TRUE(RegWrite(record, std::filesystem::path(library).filename().string()));
    const auto relative = LoadAddin(kProgId);
    std::filesystem::current_path(saved);
    ASSERT_FALSE(relative);
    EXPECT_NE(relative.error().find("is not absolute"), std::string::npos) << relative.error();

    // dlopen on a pipe would wait for a writer for ever: the editor would hang at start-up.
    const std::string fifo = root() + "/fifo.so";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_TRUE(RegisterClass(kProgId, fifo));
    const auto pipe = LoadAddin(kProgId);
    ASSERT_FALSE(pipe);
    EXPECT_NE(pipe.error().find("not a regular file"), std::string::npos) << pipe.error();

    ASSERT_TRUE(RegisterClass(kProgId, root()));
    EXPECT_NE(LoadAddin(kProgId).error().find("not a regular file"), std::string::npos);
}

TEST_F(AddinTest, ThisLibraryPathOfTheRunningProgram) {
    const std::string path = ThisLibraryPath(reinterpret_cast<const void*>(&RegRead));
    EXPECT_EQ(path, std::filesystem::canonical("/proc/self/exe").string());
}

}  // namespace
}  // namespace trawlex::platform
