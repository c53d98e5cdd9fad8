#include "platform/reg_command.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/registry.h"
#include "temp_machine.h"

namespace trawlex::platform {
namespace {

class RegCommandTest : public testing::TempMachineTest {
  protected:
    int Reg(const std::vector<std::string>& args) {
        out_.str("");
        err_.str("");
        return RunRegCommand(args, out_, err_);
    }
    std::ostringstream out_;
    std::ostringstream err_;
};

constexpr const char* kKey = "HKCU\\Software\\Microsoft\\VBA\\VBE\\6.0\\Addins\\Trawlex.Connect";

TEST_F(RegCommandTest, AddWritesTypedValuesUnderTheKey) {
    EXPECT_EQ(Reg({"add", kKey, "/v", "FriendlyName", "/t", "REG_SZ", "/d", "Trawlex Plus", "/f"}),
              kRegSuccess);
    EXPECT_EQ(
        Reg({"ADD", std::string(kKey) + "\\", "/V", "LoadBehavior", "/T", "REG_DWORD", "/D", "3"}),
        kRegSuccess);
    EXPECT_EQ(Reg({"add", kKey, "/ve", "/d", "既定の値"}), kRegSuccess);
    EXPECT_EQ(Reg({"add", kKey, "/v", "Empty"}), kRegSuccess);

    const std::string key = std::string(kKey) + "\\";
    EXPECT_EQ(testing::ReadValue(key + "FriendlyName"), "Trawlex Plus");
    EXPECT_EQ(testing::ReadValue(key + "LoadBehavior"), "3");
    EXPECT_EQ(testing::ReadValue(key), "既定の値");
    EXPECT_EQ(testing::ReadValue(key + "Empty"), "");
    // The DWORD is stored as a number, not as the text "3".
    EXPECT_NE(ReadFile(CurrentUserHive()).find("\"LoadBehavior\"=dword:00000003"),
              std::string::npos);

    EXPECT_EQ(Reg({"query", kKey, "/v", "friendlyname"}), kRegSuccess);
    EXPECT_EQ(out_.str(), "Trawlex Plus\n");
}

TEST_F(RegCommandTest, DeleteRemovesAValueOrTheWholeKey) {
    ASSERT_TRUE(RegWrite(std::string(kKey) + "\\FriendlyName", "Trawlex Plus"));
    ASSERT_TRUE(RegWrite(std::string(kKey) + "\\Sub\\Name", "x"));
    ASSERT_TRUE(RegWrite(std::string(kKey) + "\\LoadBehavior", "3", "REG_DWORD"));

    EXPECT_EQ(Reg({"delete", kKey, "/v", "LoadBehavior", "/f"}), kRegSuccess);
    EXPECT_FALSE(RegRead(std::string(kKey) + "\\LoadBehavior"));
    EXPECT_EQ(testing::ReadValue(std::string(kKey) + "\\FriendlyName"), "Trawlex Plus");

    EXPECT_EQ(Reg({"delete", kKey, "/f"}), kRegSuccess);
    EXPECT_FALSE(RegKeyExists(kKey));
    // Deleting what is not there is a failure the script can see.
    EXPECT_EQ(Reg({"delete", kKey, "/f"}), kRegFailure);
    EXPECT_NE(err_.str().find("not found"), std::string::npos);
    EXPECT_EQ(Reg({"query", kKey, "/v", "FriendlyName"}), kRegFailure);
    EXPECT_EQ(out_.str(), "");
}

TEST_F(RegCommandTest, QueryNamesWhatIsMissing) {
    ASSERT_TRUE(RegWrite(std::string(kKey) + "\\FriendlyName", "Trawlex Plus"));
    EXPECT_EQ(Reg({"query", kKey, "/v", "LoadBehavior"}), kRegFailure);
    EXPECT_EQ(err_.str(),
              "reg: the key \"" + std::string(kKey) + "\" has no value \"LoadBehavior\"\n");
    EXPECT_EQ(Reg({"query", kKey, "/ve"}), kRegFailure);
    EXPECT_EQ(err_.str(), "reg: the key \"" + std::string(kKey) + "\" has no default value\n");
    EXPECT_EQ(Reg({"query", std::string(kKey) + "\\Missing", "/v", "FriendlyName"}), kRegFailure);
    EXPECT_EQ(err_.str(), "reg: the key \"" + std::string(kKey) + "\\Missing\" was not found\n");
    EXPECT_EQ(out_.str(), "");
}

TEST_F(RegCommandTest, BadCommandLinesChangeNothing) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"add"},
        {"copy", kKey},
        {"add", kKey, "/d", "x"},                                // no value named
        {"add", kKey, "/v", "N", "/t", "REG_DWORD"},             // no data for a number
        {"add", kKey, "/v", "N", "/t", "REG_DWORD", "/d", "x"},  // not a number
        {"add", kKey, "/v", "N", "/t", "REG_BINARY", "/d", "0"},
        {"add", kKey, "/v", "N", "/v", "M", "/d", "x"},
        {"add", kKey, "/v"},
        {"add", "HKXX\\Software\\Acme", "/v", "N", "/d", "x"},
        {"query", kKey, "/v", "N", "/f"},
        {"query", kKey},
    };
    for (const auto& args : bad) {
        std::string line;
        for (const auto& a : args) line += a + " ";
        EXPECT_EQ(Reg(args), kRegFailure) << line;
        EXPECT_NE(err_.str().find("reg: "), std::string::npos) << line;
    }
    EXPECT_FALSE(RegKeyExists(kKey));
    EXPECT_FALSE(RegKeyExists("HKCU\\Software\\Acme"));
}

}  // namespace
}  // namespace trawlex::platform
