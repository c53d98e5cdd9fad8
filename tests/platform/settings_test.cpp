#include "platform/settings.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace trawlex::platform
