// The registration operations in a temporary machine root: regsvr32 is the built one, placed
// in the system directory as on Windows, and the libraries are copies of two test add-ins.

#include "registration/registration.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>

#include "platform/registry.h"
#include "platform/settings.h"
#include "temp_machine.h"

namespace trawlex::registration {
namespace {

namespace fs = std::filesystem;
using platform::testing::ReadValue;

constexpr const char* kConnectRecord =
    "HKCU\\Software\\Microsoft\\VBA\\VBE\\6.0\\Addins\\Trawlex.Connect\\";
constexpr const char* kUpdateRecord =
    "HKCU\\Software\\Microsoft\\VBA\\VBE\\6.0\\Addins\\Trawlex.Update\\";
constexpr const char* kOlderRecord =
    "HKCU\\Software\\Microsoft\\VBA\\VBE\\6.0\\Addins\\Trawlex6.Connect\\";
// What the test add-in's self-registration writes.
constexpr const char* kTestClassRecord =
    "HKCU\\Software\\Classes\\TrawlexTest.Connect\\InprocServer32\\";
constexpr const char* kTestUpdaterClassRecord =
    "HKCU\\Software\\Classes\\TrawlexTest.Update\\InprocServer32\\";
constexpr const char* kTestVb6Record =
    "HKCU\\Software\\Microsoft\\Visual Basic\\6.0\\Addins\\TrawlexTest.Connect\\";

class RegistrationTest : public platform::testing::TempMachineTest {
  protected:
    void SetUp() override {
        TempMachineTest::SetUp();
        fs::create_directories(root() + "/system32");
        fs::create_symlink(TRAWLEX_REGSVR32, root() + "/system32/regsvr32");
        staging_ = root() + "/staging";
        fs::create_directories(staging_);
        fs::copy_file(TRAWLEX_TEST_ADDIN, staging_ + "/trawlex.dll");
        fs::copy_file(TRAWLEX_TEST_UPDATER, staging_ + "/trawlexup.dll");
    }
    void TearDown() override {
        unsetenv("TRAWLEX_TEST_ADDIN_FAIL");
        TempMachineTest::TearDown();
    }

    std::string System(const char* name) const { return root() + "/system32/" + name; }
    static std::vector<std::string> ValueNames(const char* key) {
        return platform::RegValueNames(key).value_or({});
    }
    static std::vector<std::string> Steps(const Outcome& outcome) {
        std::vector<std::string> steps;
        for (const StepFailure& failure : outcome.failures()) steps.push_back(failure.step);
        return steps;
    }

    std::string staging_;
};

void ExpectVbeRecord(const char* key, const char* friendlyName) {
    EXPECT_EQ(platform::RegValueNames(key).value_or({}),
              (std::vector<std::string>{"FriendlyName", "CommandLineSafe", "LoadBehavior"}));
    EXPECT_EQ(ReadValue(std::string(key) + "FriendlyName"), friendlyName);
    EXPECT_EQ(ReadValue(std::string(key) + "CommandLineSafe"), "0");
    EXPECT_EQ(ReadValue(std::string(key) + "LoadBehavior"), "3");
}

TEST_F(RegistrationTest, InstallCopiesRegistersAndRecordsBothLibraries) {
    Outcome installed = InstallAddins(staging_);
    ASSERT_TRUE(installed.ok()) << installed.last().description;

    EXPECT_EQ(ReadFile(System("trawlex.dll")), ReadFile(TRAWLEX_TEST_ADDIN));
    EXPECT_EQ(ReadFile(System("trawlexup.dll")), ReadFile(TRAWLEX_TEST_UPDATER));
    ExpectVbeRecord(kConnectRecord, "Trawlex Plus");
    ExpectVbeRecord(kUpdateRecord, "Trawlex Plus Updater");
    // regsvr32 ran on the copies in the system directory.
    EXPECT_EQ(ReadValue(kTestClassRecord), fs::canonical(System("trawlex.dll")).string());
    EXPECT_EQ(ReadValue(kTestUpdaterClassRecord), fs::canonical(System("trawlexup.dll")).string());
    EXPECT_EQ(ReadValue(std::string(kTestVb6Record) + "FriendlyName"), "Trawlex Test Add-in");
    EXPECT_FALSE(platform::RegKeyExists(kOlderRecord));
    // No temporary copies are left beside the libraries.
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(root() + "/system32")) {
        files.push_back(entry.path().filename().string());
    }
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"regsvr32", "trawlex.dll", "trawlexup.dll"}));
}

TEST_F(RegistrationTest, ReinstallStartsFromNothing) {
    ASSERT_TRUE(InstallAddins(staging_).ok());
    // Traces of use and of the older edition.
    ASSERT_TRUE(platform::SaveSetting("quillfen", "Trawlex", "BootEditor", "gedit %p"));
    ASSERT_TRUE(platform::SaveSetting("quillfen", "Trawlex6", "History0", "Sub"));
    ASSERT_TRUE(platform::RegWrite(std::string(kOlderRecord) + "FriendlyName", "Trawlex6"));
    ASSERT_TRUE(platform::RegWrite(std::string(kConnectRecord) + "Extra", "left over"));
    WriteFile(System("trawlex6.dll"), "not a library of this machine");
    WriteFile(staging_ + "/trawlex.dll", ReadFile(TRAWLEX_TEST_ADDIN) + "new build");

    Outcome removed = UninstallAll();
    EXPECT_TRUE(removed.ok()) << removed.last().description;
    // The older edition cannot be unregistered here; that is told, not failed.
    ASSERT_EQ(removed.notes().size(), 1u);
    EXPECT_EQ(removed.notes()[0].step, "unregister trawlex6.dll");
    Outcome installed = InstallAddins(staging_);
    EXPECT_TRUE(installed.ok()) << installed.last().description;

    EXPECT_EQ(platform::GetAllSettings("quillfen", "Trawlex").size(), 0u);
    EXPECT_FALSE(platform::RegKeyExists(platform::SettingsSectionKey("quillfen", "Trawlex")));
    EXPECT_FALSE(platform::RegKeyExists(platform::SettingsSectionKey("quillfen", "Trawlex6")));
    EXPECT_FALSE(platform::RegKeyExists(kOlderRecord));
    EXPECT_FALSE(fs::exists(System("trawlex6.dll")));
    EXPECT_EQ(ReadFile(System("trawlex.dll")), ReadFile(staging_ + "/trawlex.dll"));
    ExpectVbeRecord(kConnectRecord, "Trawlex Plus");
    ExpectVbeRecord(kUpdateRecord, "Trawlex Plus Updater");
}

TEST_F(RegistrationTest, UninstallRemovesEverythingAndLeavesTheRestByteIdentical) {
    // Unrelated neighbours of every key the operations touch.
    ASSERT_TRUE(platform::RegWrite(
        "HKCU\\Software\\Microsoft\\VBA\\VBE\\6.0\\Addins\\Other.Connect\\LoadBehavior", "3",
        "REG_DWORD"));
    ASSERT_TRUE(platform::RegWrite(
        "HKCU\\Software\\Microsoft\\Visual Basic\\6.0\\Addins\\Other.Connect\\FriendlyName",
        "Other"));
    ASSERT_TRUE(platform::RegWrite("HKCU\\Software\\Classes\\Other.Connect\\InprocServer32\\",
                                   "/opt/other.dll"));
    ASSERT_TRUE(platform::SaveSetting("quillfen", "OtherTool", "Key", "値"));
    const std::string before = ReadFile(CurrentUserHive());
    WriteFile(System("other.dll"), "other");

    ASSERT_TRUE(InstallAddins(staging_).ok());
    ASSERT_TRUE(platform::SaveSetting("quillfen", "Trawlex", "BootEditor", "gedit %p"));
    Outcome removed = UninstallAll();
    EXPECT_TRUE(removed.ok()) << removed.last().description;

    EXPECT_EQ(ReadFile(CurrentUserHive()), before);
    EXPECT_FALSE(fs::exists(System("trawlex.dll")));
    EXPECT_FALSE(fs::exists(System("trawlexup.dll")));
    EXPECT_EQ(ReadFile(System("other.dll")), "other");
}

TEST_F(RegistrationTest, UninstallOnACleanMachineAndTwiceSucceeds) {
    Outcome clean = UninstallAll();
    EXPECT_TRUE(clean.ok()) << clean.last().description;
    EXPECT_TRUE(clean.notes().empty());

    ASSERT_TRUE(InstallAddins(staging_).ok());
    Outcome first = UninstallAll();
    Outcome second = UninstallAll();
    EXPECT_TRUE(first.ok()) << first.last().description;
    EXPECT_TRUE(second.ok()) << second.last().description;
    EXPECT_FALSE(platform::RegKeyExists(kTestClassRecord));
    EXPECT_FALSE(platform::RegKeyExists(kTestUpdaterClassRecord));
    EXPECT_FALSE(platform::RegKeyExists(kConnectRecord));
    EXPECT_FALSE(platform::RegKeyExists(kUpdateRecord));
}

TEST_F(RegistrationTest, FailedRegsvr32RunsAreFailedSteps) {
    setenv("TRAWLEX_TEST_ADDIN_FAIL", "1", 1);
    Outcome installed = InstallAddins(staging_);
    EXPECT_EQ(Steps(installed),
              (std::vector<std::string>{"register trawlex.dll", "register trawlexup.dll"}));
    // regsvr32's exit status for an entry point that failed.
    EXPECT_EQ(installed.last().number, 5);
    EXPECT_NE(installed.last().description.find("exit status 5"), std::string::npos);
    // The records are still written: every step is attempted.
    ExpectVbeRecord(kUpdateRecord, "Trawlex Plus Updater");

    Outcome removed = UninstallAll();
    EXPECT_EQ(Steps(removed),
              (std::vector<std::string>{"unregister trawlex.dll", "unregister trawlexup.dll"}));
    EXPECT_FALSE(fs::exists(System("trawlex.dll")));
}

TEST_F(RegistrationTest, MissingLibraryOrRegsvr32FailsTheirSteps) {
    fs::remove(staging_ + "/trawlexup.dll");
    Outcome installed = InstallAddins(staging_);
    EXPECT_EQ(Steps(installed),
              (std::vector<std::string>{"copy trawlexup.dll", "register trawlexup.dll"}));
    EXPECT_EQ(installed.failures()[0].number, kFileNotFound);
    ExpectVbeRecord(kConnectRecord, "Trawlex Plus");

    fs::remove(root() + "/system32/regsvr32");
    const std::string path = getenv("PATH") ? getenv("PATH") : "";
    setenv("PATH", (root() + "/staging").c_str(), 1);
    Outcome removed = UninstallAll();
    setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(Steps(removed), (std::vector<std::string>{"unregister trawlex.dll"}));
    EXPECT_NE(removed.last().description.find("regsvr32"), std::string::npos);
}

TEST_F(RegistrationTest, ASystemDirectoryOfAnyLengthWorks) {
    const std::string deep = root() + "/" + std::string(120, 'm') + "/machine";
    fs::create_directories(deep + "/system32");
    fs::create_symlink(TRAWLEX_REGSVR32, deep + "/system32/regsvr32");
    setenv("TRAWLEX_ROOT", deep.c_str(), 1);
    ASSERT_GT(GetSystemDir().size(), 98u);
    Outcome installed = InstallAddins(staging_);
    EXPECT_TRUE(installed.ok()) << installed.last().description;
    EXPECT_EQ(ReadFile(deep + "/system32/trawlex.dll"), ReadFile(TRAWLEX_TEST_ADDIN));
    EXPECT_EQ(ReadValue(kTestClassRecord), fs::canonical(deep + "/system32/trawlex.dll").string());
    EXPECT_TRUE(UninstallAll().ok());
    EXPECT_FALSE(fs::exists(deep + "/system32/trawlex.dll"));
    setenv("TRAWLEX_ROOT", root().c_str(), 1);
}

TEST_F(RegistrationTest, AnInterruptedReplacementLeavesTheOldFile) {
    Outcome outcome;
    WriteFile(System("trawlex.dll"), "old library");
    EXPECT_TRUE(WriteFileAtomically(System("trawlex.dll"), "new library", "write", outcome));
    EXPECT_EQ(ReadFile(System("trawlex.dll")), "new library");
    EXPECT_EQ(fs::status(System("trawlex.dll")).permissions() & fs::perms::owner_exec,
              fs::perms::owner_exec);

    // A target that cannot be renamed over (a folder holding a file) stays as it was, and
    // the temporary copy goes.
    fs::create_directories(System("blocked.dll"));
    WriteFile(System("blocked.dll") + "/inside", "kept");
    EXPECT_FALSE(WriteFileAtomically(System("blocked.dll"), "bytes", "write blocked", outcome));
    EXPECT_EQ(Steps(outcome), (std::vector<std::string>{"write blocked"}));
    EXPECT_EQ(ReadFile(System("blocked.dll") + "/inside"), "kept");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(root() + "/system32")) {
        ++entries;
    }
    EXPECT_EQ(entries, 3);  // regsvr32, trawlex.dll, blocked.dll
}

TEST_F(RegistrationTest, ReregistrationRegistersWhateverIsInPlace) {
    ASSERT_TRUE(InstallAddins(staging_).ok());
    const std::string newBytes = ReadFile(TRAWLEX_TEST_ADDIN) + "version 3.01";
    Outcome replaced = ReregisterMainLibrary([&](Outcome& outcome) {
        // Unregistered by now: the class record is gone while the file is replaced.
        EXPECT_FALSE(platform::RegKeyExists(kTestClassRecord));
        EXPECT_FALSE(platform::RegKeyExists(kConnectRecord));
        WriteFileAtomically(System("trawlex.dll"), newBytes, "replace trawlex.dll", outcome);
    });
    EXPECT_TRUE(replaced.ok()) << replaced.last().description;
    EXPECT_EQ(ReadFile(System("trawlex.dll")), newBytes);
    EXPECT_EQ(ReadValue(kTestClassRecord), fs::canonical(System("trawlex.dll")).string());
    ExpectVbeRecord(kConnectRecord, "Trawlex Plus");

    Outcome failed = ReregisterMainLibrary([](Outcome& outcome) {
        outcome.Add({"download", "the server answered 500", 0});
    });
    EXPECT_EQ(Steps(failed), (std::vector<std::string>{"download"}));
    EXPECT_EQ(ReadValue(kTestClassRecord), fs::canonical(System("trawlex.dll")).string());
    ExpectVbeRecord(kConnectRecord, "Trawlex Plus");
}

}  // namespace
}  // namespace trawlex::registration
