#include "platform/settings.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/registry.h"
#include "temp_machine.h"

namespace trawlex::platform {
namespace {

using SettingsTest = testing::TempMachineTest;

TEST_F(SettingsTest, DefaultsApplyOnlyToAbsentKeys) {
    EXPECT_EQ(GetSetting("quillfen", "Trawlex", "BootEditor", "notepad %p"), "notepad %p");
    EXPECT_EQ(GetSetting("quillfen", "Trawlex", "BootEditor"), "");

    ASSERT_TRUE(SaveSetting("quillfen", "Trawlex", "BootEditor", ""));
    EXPECT_EQ(GetSetting("quillfen", "Trawlex", "BootEditor", "notepad %p"), "");

    ASSERT_TRUE(SaveSetting("quillfen", "Trawlex", "BootEditor", "hidemaru \"%p\""));
    EXPECT_EQ(GetSetting("quillfen", "Trawlex", "booteditor", "x"), "hidemaru \"%p\"");
}

TEST_F(SettingsTest, StoredWhereVbKeepsThem) {
    ASSERT_TRUE(SaveSetting("quillfen", "Trawlex", "History0", "検索"));
    EXPECT_EQ(testing::ReadValue(
                  "HKCU\\Software\\VB and VBA Program Settings\\quillfen\\Trawlex\\History0"),
              "検索");
}

TEST_F(SettingsTest, DeleteOneKeyOrTheWholeSection) {
    ASSERT_TRUE(SaveSetting("quillfen", "Trawlex", "A", "1"));
    ASSERT_TRUE(SaveSetting("quillfen", "Trawlex", "B", "2"));
    ASSERT_TRUE(SaveSetting("quillfen", "Trawlex6", "A", "old"));

    ASSERT_TRUE(DeleteSetting("quillfen", "Trawlex", "A"));
    EXPECT_EQ(GetSetting("quillfen", "Trawlex", "A", "gone"), "gone");
    EXPECT_EQ(GetSetting("quillfen", "Trawlex", "B"), "2");

    ASSERT_TRUE(DeleteSetting("quillfen", "Trawlex"));
    EXPECT_EQ(GetSetting("quillfen", "Trawlex", "B", "gone"), "gone");
    EXPECT_EQ(GetSetting("quillfen", "Trawlex6", "A"), "old");

    // Deleting what is not there fails, as in VB; callers that do not care ignore it.
    EXPECT_FALSE(DeleteSetting("quillfen", "Trawlex"));
    EXPECT_FALSE(DeleteSetting("quillfen", "Trawlex6", "Missing"));
}

TEST_F(SettingsTest, NamesThatWouldAddressAnotherKeyAreRefused) {
    EXPECT_FALSE(SaveSetting("", "Trawlex", "A", "1"));
    EXPECT_FALSE(SaveSetting("quillfen", "", "A", "1"));
    EXPECT_FALSE(SaveSetting("quillfen", "Trawlex", "", "1"));
    EXPECT_FALSE(SaveSetting("quillfen", "Trawlex\\Sub", "A", "1"));
    EXPECT_FALSE(SaveSetting("quillfen", "Trawlex", "..\\A", "1"));
    EXPECT_EQ(GetSetting("quillfen", "Trawlex\\Sub", "A", "dflt"), "dflt");
    EXPECT_FALSE(DeleteSetting("quillfen", ""));  // must not delete the whole application
    EXPECT_FALSE(RegKeyExists("HKCU\\Software\\VB and VBA Program Settings\\quillfen"));
}

using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST_F(SettingsTest, AllSettingsOfASectionInStoredOrder) {
    EXPECT_TRUE(GetAllSettings("quillfen", "Trawlex").empty());
    ASSERT_TRUE(SaveSetting("quillfen", "Trawlex", "Zeta", "1"));
    ASSERT_TRUE(SaveSetting("quillfen", "Trawlex", "Alpha", "検索"));
    ASSERT_TRUE(SaveSetting("quillfen", "Trawlex", "Empty", ""));
    ASSERT_TRUE(SaveSetting("quillfen", "Trawlex6", "Other", "x"));
    ASSERT_TRUE(SaveSetting("quillfen", "Trawlex", "zeta", "2"));  // same key, first spelling
    EXPECT_EQ(GetAllSettings("quillfen", "Trawlex"),
              (Pairs{{"Zeta", "2"}, {"Alpha", "検索"}, {"Empty", ""}}));
    EXPECT_EQ(GetAllSettings("quillfen", "trawlex6"), (Pairs{{"Other", "x"}}));
    EXPECT_TRUE(GetAllSettings("quillfen", "Missing").empty());
    EXPECT_TRUE(GetAllSettings("quillfen", "Trawlex\\..").empty());
}

TEST_F(SettingsTest, ABatchIsStoredWholeOrNotAtAll) {
    ASSERT_TRUE(SaveSetting("quillfen", "Trawlex", "Kept", "old"));
    ASSERT_TRUE(SaveSettings("quillfen", "Trawlex",
                             {{"History0", "new"}, {"Kept", "changed"}, {"History1", "older"}}));
    EXPECT_EQ(GetAllSettings("quillfen", "Trawlex"),
              (Pairs{{"Kept", "changed"}, {"History0", "new"}, {"History1", "older"}}));

    // One bad name refuses the whole batch.
    EXPECT_FALSE(SaveSettings("quillfen", "Trawlex", {{"History0", "lost"}, {"a\\b", "x"}}));
    EXPECT_FALSE(SaveSettings("quillfen", "Trawlex", {{"", "x"}}));
    EXPECT_FALSE(SaveSettings("quillfen", "", {{"A", "x"}}));
    EXPECT_EQ(GetSetting("quillfen", "Trawlex", "History0"), "new");

    EXPECT_TRUE(SaveSettings("quillfen", "Fresh", {}));
    EXPECT_FALSE(RegKeyExists("HKCU\\Software\\VB and VBA Program Settings\\quillfen\\Fresh"));
}

}  // namespace
}  // namespace trawlex::platform
