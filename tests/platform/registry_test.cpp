#include "platform/registry.h"

#include <gtest/gtest.h>

#include "temp_machine.h"

namespace trawlex::platform {
namespace {

using RegistryTest = testing::TempMachineTest;

TEST_F(RegistryTest, ValuesRoundTripByType) {
    ASSERT_TRUE(RegWrite("HKCU\\Software\\Acme\\Tool\\Name", "Trawlex Plus"));
    ASSERT_TRUE(RegWrite("HKCU\\Software\\Acme\\Tool\\Count", "3", "REG_DWORD"));
    ASSERT_TRUE(RegWrite("HKCU\\Software\\Acme\\Tool\\Big", "4294967295", "REG_DWORD"));
    ASSERT_TRUE(RegWrite("HKCU\\Software\\Acme\\Tool\\Neg", "-1", "REG_DWORD"));
    ASSERT_TRUE(RegWrite("HKCU\\Software\\Acme\\Tool\\Hex", "0x10", "REG_DWORD"));
    ASSERT_TRUE(RegWrite("HKCU\\Software\\Acme\\Tool\\Path", "%ProgramFiles%\\x", "REG_EXPAND_SZ"));
    ASSERT_TRUE(RegWrite("HKCU\\Software\\Acme\\Tool\\", "default text"));
    ASSERT_TRUE(RegWrite("HKLM\\Software\\Acme\\Name", "machine-wide"));

    EXPECT_EQ(testing::ReadValue("HKCU\\Software\\Acme\\Tool\\Name"), "Trawlex Plus");
    EXPECT_EQ(testing::ReadValue("HKCU\\Software\\Acme\\Tool\\Count"), "3");
    EXPECT_EQ(testing::ReadValue("HKCU\\Software\\Acme\\Tool\\Big"), "4294967295");
    EXPECT_EQ(testing::ReadValue("HKCU\\Software\\Acme\\Tool\\Neg"), "4294967295");
    EXPECT_EQ(testing::ReadValue("HKCU\\Software\\Acme\\Tool\\Hex"), "16");
    EXPECT_EQ(testing::ReadValue("HKCU\\Software\\Acme\\Tool\\Path"), "%ProgramFiles%\\x");
    EXPECT_EQ(testing::ReadValue("HKCU\\Software\\Acme\\Tool\\"), "default text");
    EXPECT_EQ(testing::ReadValue("HKEY_LOCAL_MACHINE\\Software\\Acme\\Name"), "machine-wide");
    EXPECT_FALSE(RegRead("HKCU\\Software\\Acme\\Name"));  // the hives are separate

    // Overwriting replaces the value and its type.
    ASSERT_TRUE(RegWrite("HKCU\\Software\\Acme\\Tool\\Count", "three"));
    EXPECT_EQ(testing::ReadValue("HKCU\\Software\\Acme\\Tool\\Count"), "three");
}

TEST_F(RegistryTest, BadTypesAndNumbersAreRefused) {
    EXPECT_FALSE(RegWrite("HKCU\\Software\\Acme\\V", "1", "REG_BINARY"));
    EXPECT_FALSE(RegWrite("HKCU\\Software\\Acme\\V", "12abc", "REG_DWORD"));
    EXPECT_FALSE(RegWrite("HKCU\\Software\\Acme\\V", "", "REG_DWORD"));
    EXPECT_FALSE(RegWrite("HKCU\\Software\\Acme\\V", "4294967296", "REG_DWORD"));
    EXPECT_FALSE(RegWrite("HKCU\\Software\\Acme\\V", "0x", "REG_DWORD"));
    EXPECT_FALSE(RegKeyExists("HKCU\\Software\\Acme"));  // nothing half-written
}

TEST_F(RegistryTest, BadPathsFailWithADescription) {
    for (const char* path :
         {"HKXX\\Software\\V", "HKCU", "HKCU\\Software\\\\V", "Software\\V", "HKCU\\Bad\nKey\\V"}) {
        Status written = RegWrite(path, "x");
        EXPECT_FALSE(written) << path;
        EXPECT_NE(written.error().find("invalid registry path"), std::string::npos) << path;
    }
}

TEST_F(RegistryTest, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
    ASSERT_TRUE(RegWrite("HKCU\\Software\\MixedCase\\Value", "1"));
    EXPECT_EQ(testing::ReadValue("hkey_current_user\\SOFTWARE\\mixedcase\\VALUE"), "1");
    ASSERT_TRUE(RegWrite("HKCU\\SOFTWARE\\MIXEDCASE\\VALUE", "2"));
    EXPECT_EQ(testing::ReadValue("HKCU\\Software\\MixedCase\\Value"), "2");
    EXPECT_EQ(RegSubKeys("HKCU\\software\\").value_or({}), std::vector<std::string>{"MixedCase"});
    EXPECT_EQ(RegValueNames("HKCU\\Software\\MixedCase").value_or({}),
              std::vector<std::string>{"Value"});
    const std::string text = ReadFile(CurrentUserHive());
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\MixedCase]"), std::string::npos);
    EXPECT_EQ(text.find("MIXEDCASE"), std::string::npos);
}

TEST_F(RegistryTest, ClassesRootIsTheUsersSoftwareClasses) {
    ASSERT_TRUE(RegWrite("HKCR\\Some.ProgId\\InprocServer32\\", "/lib/x.so"));
    EXPECT_EQ(testing::ReadValue("HKCU\\Software\\Classes\\Some.ProgId\\InprocServer32\\"),
              "/lib/x.so");
    EXPECT_EQ(testing::ReadValue("HKEY_CLASSES_ROOT\\some.progid\\InprocServer32\\"), "/lib/x.so");
}

TEST_F(RegistryTest, HiveFileIsARegeditExportWithEscapes) {
    ASSERT_TRUE(RegWrite("HKCU\\Software\\Acme\\Path", "C:\\dir \"quoted\""));
    ASSERT_TRUE(RegWrite("HKCU\\Software\\Acme\\Say \"hi\"", "日本語"));
    ASSERT_TRUE(RegWrite("HKCU\\Software\\Acme\\LoadBehavior", "3", "REG_DWORD"));
    ASSERT_TRUE(RegWrite("HKCU\\Software\\Acme\\", "def"));
    ASSERT_TRUE(RegWrite("HKCU\\Software\\Acme\\Exp", "%A%", "REG_EXPAND_SZ"));
    const std::string text = ReadFile(CurrentUserHive());
    EXPECT_TRUE(text.starts_with("Windows Registry Editor Version 5.00\n\n")) << text;
    EXPECT_NE(text.find("\n[HKEY_CURRENT_USER\\Software\\Acme]\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n\"Path\"=\"C:\\\\dir \\\"quoted\\\"\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n\"Say \\\"hi\\\"\"=\"日本語\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n\"LoadBehavior\"=dword:00000003\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n@=\"def\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n\"Exp\"=hex(2):25,00,41,00,25,00,00,00\n"), std::string::npos) << text;
    EXPECT_EQ(testing::ReadValue("HKCU\\Software\\Acme\\Say \"hi\""), "日本語");
    EXPECT_EQ(testing::ReadValue("HKCU\\Software\\Acme\\Path"), "C:\\dir \"quoted\"");
}

TEST_F(RegistryTest, LineBreaksInTextSurviveTheFile) {
    ASSERT_TRUE(RegWrite("HKCU\\Software\\Acme\\Multi", "line 1\r\nline 2\ttab"));
    EXPECT_EQ(testing::ReadValue("HKCU\\Software\\Acme\\Multi"), "line 1\r\nline 2\ttab");
    EXPECT_NE(ReadFile(CurrentUserHive()).find("\"Multi\"=hex(1):"), std::string::npos);
}

TEST_F(RegistryTest, StringValuesEndAtTheirFirstNulOnEveryReading) {
    // A quoted string holding a NUL byte reads as its hex(1) form would after a rewrite.
    using namespace std::string_literals;
    WriteFile(CurrentUserHive(),
              "Windows Registry Editor Version 5.00\n\n"
              "[HKEY_CURRENT_USER\\Software\\Vendor]\n"
              "\"Cut\"=\"d\0\0pad\"\n"s);
    EXPECT_EQ(testing::ReadValue("HKCU\\Software\\Vendor\\Cut"), "d");
    ASSERT_TRUE(RegWrite("HKCU\\Software\\Vendor\\New", "n"));
    EXPECT_EQ(testing::ReadValue("HKCU\\Software\\Vendor\\Cut"), "d");
}

TEST_F(RegistryTest, ReadsWhatRegeditWrites) {
    WriteFile(
        CurrentUserHive(),
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
        "; exported by hand\r\n"
        "[HKEY_CURRENT_USER\\Software\\Vendor]\r\n"
        "\"Wrapped\"=hex(2):25,00,50,00,72,00,6f,00,67,00,72,00,61,00,6d,00,46,00,69,00,\\\r\n"
        "  6c,00,65,00,73,00,25,00,00,00\r\n"
        "\"Blob\"=hex:01,02,ff\r\n"
        "\"Multi\"=hex(7):61,00,00,00,00,00\r\n"
        "\"Upper\"=dword:0000FFFF\r\n"
        "\"Tail\"=\"ends in \\\\\"\r\n");
    EXPECT_EQ(testing::ReadValue("HKCU\\Software\\Vendor\\Wrapped"), "%ProgramFiles%");
    EXPECT_EQ(testing::ReadValue("HKCU\\Software\\Vendor\\Upper"), "65535");
    EXPECT_EQ(testing::ReadValue("HKCU\\Software\\Vendor\\Tail"), "ends in \\");
    EXPECT_FALSE(RegRead("HKCU\\Software\\Vendor\\Blob"));  // binary cannot be read as text

    // Rewriting the hive keeps the values this stand-in cannot interpret, byte for byte.
    ASSERT_TRUE(RegWrite("HKCU\\Software\\Vendor\\New", "n"));
    const std::string text = ReadFile(CurrentUserHive());
    EXPECT_NE(text.find("\"Blob\"=hex:01,02,ff\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"Multi\"=hex(7):61,00,00,00,00,00\n"), std::string::npos) << text;
}

TEST_F(RegistryTest, AbsentThingsFailToReadOrDelete) {
    ASSERT_TRUE(RegWrite("HKCU\\Software\\Acme\\Present", "x"));
    for (const char* path : {"HKCU\\Software\\Acme\\Absent", "HKCU\\Software\\Nowhere\\V",
                             "HKCU\\Software\\Acme\\", "HKCU\\Software\\Nowhere\\"}) {
        Result<std::string> read = RegRead(path);
        EXPECT_FALSE(read) << path;
        EXPECT_NE(read.error().find(path), std::string::npos) << read.error();
    }
    for (const char* path : {"HKCU\\Software\\Acme\\Absent", "HKCU\\Software\\Nowhere\\",
                             "HKCU\\Software\\Nowhere\\V"}) {
        EXPECT_FALSE(RegDelete(path)) << path;
    }
    EXPECT_FALSE(RegSubKeys("HKCU\\Software\\Nowhere"));
    EXPECT_FALSE(RegDeleteTree("HKCU\\Software\\Nowhere"));
    EXPECT_EQ(testing::ReadValue("HKCU\\Software\\Acme\\Present"), "x");
}

TEST_F(RegistryTest, KeysWithSubkeysCannotBeDeleted) {
    ASSERT_TRUE(RegWrite("HKCU\\Software\\Addins\\One.Connect\\FriendlyName", "One"));
    ASSERT_TRUE(RegWrite("HKCU\\Software\\Addins\\Two.Connect\\FriendlyName", "Two"));
    ASSERT_TRUE(RegWrite("HKCU\\Software\\AddinsX\\Other", "sibling with a common prefix"));

    Status refused = RegDelete("HKCU\\Software\\Addins\\");
    EXPECT_FALSE(refused);
    EXPECT_NE(refused.error().find("subkeys"), std::string::npos);
    EXPECT_EQ(RegSubKeys("HKCU\\Software\\Addins").value_or({}),
              (std::vector<std::string>{"One.Connect", "Two.Connect"}));

    EXPECT_TRUE(RegDelete("HKCU\\Software\\Addins\\One.Connect\\FriendlyName"));
    EXPECT_TRUE(RegKeyExists("HKCU\\Software\\Addins\\One.Connect"));  // the key stays
    EXPECT_TRUE(RegDelete("HKCU\\Software\\Addins\\One.Connect\\"));
    EXPECT_FALSE(RegKeyExists("HKCU\\Software\\Addins\\One.Connect"));
    EXPECT_FALSE(RegDelete("HKCU\\"));

    EXPECT_TRUE(RegDeleteTree("HKCU\\Software\\Addins"));
    EXPECT_FALSE(RegKeyExists("HKCU\\Software\\Addins"));
    EXPECT_EQ(testing::ReadValue("HKCU\\Software\\AddinsX\\Other"), "sibling with a common prefix");
}

TEST_F(RegistryTest, DefaultValueIsListedAsEmptyName) {
    ASSERT_TRUE(RegWrite("HKCU\\Software\\K\\A", "a"));
    ASSERT_TRUE(RegWrite("HKCU\\Software\\K\\", "d"));
    EXPECT_EQ(RegValueNames("HKCU\\Software\\K\\").value_or({}),
              (std::vector<std::string>{"A", ""}));
    EXPECT_TRUE(RegDelete("HKCU\\Software\\K\\A"));
    EXPECT_EQ(testing::ReadValue("HKCU\\Software\\K\\"), "d");
}

TEST_F(RegistryTest, UnparsableHiveIsKeptAndReported) {
    const std::string broken =
        "Windows Registry Editor Version 5.00\n\n"
        "[HKEY_CURRENT_USER\\Software\\Mine]\n"
        "\"Keep\"=\"precious\"\n"
        "\"Broken\"=dword:zz\n";
    WriteFile(CurrentUserHive(), broken);

    Status written = RegWrite("HKCU\\Software\\Mine\\New", "x");
    ASSERT_FALSE(written);
    EXPECT_NE(written.error().find(CurrentUserHive() + ":5:"), std::string::npos)
        << written.error();
    EXPECT_FALSE(RegDelete("HKCU\\Software\\Mine\\Keep"));
    EXPECT_FALSE(RegRead("HKCU\\Software\\Mine\\Keep"));
    EXPECT_EQ(ReadFile(CurrentUserHive()), broken);

    WriteFile(CurrentUserHive(), "just some text\n");
    Status notReg = RegWrite("HKCU\\Software\\Mine\\New", "x");
    EXPECT_NE(notReg.error().find(":1: not a registry file"), std::string::npos) << notReg.error();
    EXPECT_EQ(ReadFile(CurrentUserHive()), "just some text\n");

    // The other hive is unaffected.
    EXPECT_TRUE(RegWrite("HKLM\\Software\\Mine\\New", "x"));
}

TEST_F(RegistryTest, SectionsOfAnotherRootDoNotParse) {
    WriteFile(CurrentUserHive(),
              "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software]\n");
    EXPECT_NE(RegRead("HKCU\\Software\\X").error().find(":3: key outside HKEY_CURRENT_USER"),
              std::string::npos);
}

}  // namespace
}  // namespace trawlex::platform
