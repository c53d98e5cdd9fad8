#include "platform/shell.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "platform/machine.h"
#include "temp_machine.h"

namespace trawlex::platform {
namespace {

using Args = std::vector<std::string>;

TEST(SplitCommandLineTest, BlanksSeparateAndQuotesGroup) {
    EXPECT_EQ(SplitCommandLine("notepad \"C:\\My Files\\a.bas\""),
              (Args{"notepad", "C:\\My Files\\a.bas"}));
    EXPECT_EQ(SplitCommandLine("  a \t b  "), (Args{"a", "b"}));
    EXPECT_EQ(SplitCommandLine("pre\"mid dle\"post next"), (Args{"premid dlepost", "next"}));
    EXPECT_EQ(SplitCommandLine("prog \"\" end"), (Args{"prog", "", "end"}));
    EXPECT_EQ(SplitCommandLine("prog \"say \"\"hi\"\"\""), (Args{"prog", "say \"hi\""}));
    EXPECT_EQ(SplitCommandLine("prog \"unterminated rest"), (Args{"prog", "unterminated rest"}));
    EXPECT_EQ(SplitCommandLine(""), Args{});
    EXPECT_EQ(SplitCommandLine("   "), Args{});
}

TEST(SplitCommandLineTest, EmptyQuotedArgumentsAreKeptEverywhere) {
    EXPECT_EQ(SplitCommandLine("\"\""), Args{""});
    EXPECT_EQ(SplitCommandLine("  \"\"  "), Args{""});
    EXPECT_EQ(SplitCommandLine("prog \"\""), (Args{"prog", ""}));
    EXPECT_EQ(SplitCommandLine("prog \"\"\t"), (Args{"prog", ""}));
    EXPECT_EQ(SplitCommandLine("prog\t\"\"\t\"\""), (Args{"prog", "", ""}));
    EXPECT_EQ(SplitCommandLine("\t\"\"\tprog"), (Args{"", "prog"}));
}

TEST(SplitCommandLineTest, BackslashesAndShellCharactersAreOrdinary) {
    EXPECT_EQ(SplitCommandLine("a\\\"b c\\\\"), (Args{"a\\b c\\\\"}));
    EXPECT_EQ(SplitCommandLine("x;rm -rf $(echo y) `z` | w > v"),
              (Args{"x;rm", "-rf", "$(echo", "y)", "`z`", "|", "w", ">", "v"}));
}

class ShellTest : public testing::TempMachineTest {
  protected:
    // An executable script in the given folder.
    std::string MakeScript(const std::string& folder, const std::string& name,
                           const std::string& body) {
        const std::string path = folder + "/" + name;
        WriteFile(path, "#!/bin/sh\n" + body + "\n");
        chmod(path.c_str(), 0755);
        return path;
    }
    // A program that writes each argument on a line of the file named by its first one.
    void MakeArgDump() {
        MakeScript(GetSystemDir(), "argdump",
                   "out=\"$1\"; shift; for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$out\"");
    }
    // What a program started on its own has written to `path`, once that is `expected`
    // (the file exists as soon as the program opens it, before it has written anything);
    // after ten seconds, whatever is there.
    std::string WaitForFile(const std::string& path, const std::string& expected) {
        for (int i = 0; i < 2000 && ReadFile(path) != expected; ++i) Sleep(5);
        return ReadFile(path);
    }
};

TEST_F(ShellTest, RunPassesArgumentsWithoutAShell) {
    MakeArgDump();
    const std::string out = root() + "/args.txt";
    Result<int> code = platform::Run(
        "argdump \"" + out + "\" \"a b\" x;y $(touch " + root() + "/injected) c\\d 'q'", 1, true);
    ASSERT_TRUE(code) << code.error();
    EXPECT_EQ(*code, 0);
    EXPECT_EQ(ReadFile(out), "a b\nx;y\n$(touch\n" + root() + "/injected)\nc\\d\n'q'\n");
    EXPECT_FALSE(std::filesystem::exists(root() + "/injected"));
}

TEST_F(ShellTest, WaitReturnsTheExitCode) {
    MakeScript(GetSystemDir(), "exits", "exit \"$1\"");
    EXPECT_EQ(platform::Run("exits 0", 7, true).value_or(-1), 0);
    EXPECT_EQ(platform::Run("exits 42", 7, true).value_or(-1), 42);
    MakeScript(GetSystemDir(), "killself", "kill -9 $$");
    EXPECT_EQ(platform::Run("killself", 1, true).value_or(-1), 128 + 9);
}

TEST_F(ShellTest, ProgramsThatCannotStartFail) {
    Result<int> missing = platform::Run("no-such-program-trawlex \"x\"", 1, true);
    ASSERT_FALSE(missing);
    EXPECT_NE(missing.error().find("no-such-program-trawlex"), std::string::npos);
    EXPECT_FALSE(platform::Run("", 1, true));
    EXPECT_FALSE(platform::Run("\"\" arg", 1, false));

    // Present but not executable, and executable but not a program.
    WriteFile(GetSystemDir() + "/plain", "#!/bin/sh\nexit 0\n");
    EXPECT_FALSE(platform::Run("plain", 1, true));
    EXPECT_FALSE(StartProcess({GetSystemDir() + "/plain"}));
    WriteFile(GetSystemDir() + "/garbage", std::string("\x7f\x01\x02 not a program"));
    chmod((GetSystemDir() + "/garbage").c_str(), 0755);
    EXPECT_FALSE(StartProcess({"garbage"}));
    EXPECT_FALSE(platform::Run("garbage", 1, true));
}

TEST_F(ShellTest, SystemDirectoryComesBeforePath) {
    const std::string local = MakeScript(GetSystemDir(), "true", "exit 42");
    EXPECT_EQ(FindProgram("true"), local);
    EXPECT_EQ(platform::Run("true", 1, true).value_or(-1), 42);
    EXPECT_EQ(FindProgram("true.EXE"), local);  // Windows command lines name .exe files
    std::filesystem::remove(local);
    ASSERT_TRUE(FindProgram("true"));
    EXPECT_NE(*FindProgram("true"), local);
    EXPECT_EQ(platform::Run("true", 1, true).value_or(-1), 0);
    EXPECT_EQ(FindProgram(GetSystemDir()), std::nullopt);  // a folder is no program
}

TEST_F(ShellTest, StartedProcessesRunOnAndLeaveNoZombie) {
    MakeArgDump();
    const std::string out = root() + "/started.txt";
    EXPECT_EQ(platform::Run("argdump " + out + " one", 1, false).value_or(-1), 0);
    EXPECT_TRUE(StartProcess({"argdump", out + "2", "two"}));
    EXPECT_EQ(WaitForFile(out, "one\n"), "one\n");
    EXPECT_EQ(WaitForFile(out + "2", "two\n"), "two\n");
    // No child of ours is left to reap: the programs were handed over.
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST_F(ShellTest, ShellExecuteOpenReportsXdgOpenFailure) {
    MakeScript(GetSystemDir(), "xdg-open", "[ \"$1\" = good ] && exit 0; exit 4");
    EXPECT_TRUE(ShellExecuteOpen("good"));
    Status failed = ShellExecuteOpen("https://example.invalid/");
    EXPECT_FALSE(failed);
    EXPECT_NE(failed.error().find("exit code 4"), std::string::npos) << failed.error();
    EXPECT_FALSE(ShellExecuteOpen(""));
}

TEST_F(ShellTest, ExpandEnvironmentStrings) {
    setenv("TRAWLEX_TEST_VAR", "value", 1);
    EXPECT_EQ(ExpandEnvironmentStrings("a%TRAWLEX_TEST_VAR%b"), "avalueb");
    EXPECT_EQ(ExpandEnvironmentStrings("%trawlex_test_var%"), "value");
    EXPECT_EQ(ExpandEnvironmentStrings("%NO_SUCH_VAR_TRAWLEX%\\x"), "%NO_SUCH_VAR_TRAWLEX%\\x");
    EXPECT_EQ(ExpandEnvironmentStrings("100%% and 50%"), "100%% and 50%");
    EXPECT_EQ(ExpandEnvironmentStrings("%NO_SUCH_VAR_TRAWLEX%TRAWLEX_TEST_VAR%"),
              "%NO_SUCH_VAR_TRAWLEX%TRAWLEX_TEST_VAR%");
    unsetenv("TRAWLEX_TEST_VAR");

    unsetenv("ProgramFiles");
    EXPECT_EQ(ExpandEnvironmentStrings("%ProgramFiles%\\Trawlex"),
              root() + "/Program Files\\Trawlex");
    EXPECT_TRUE(std::filesystem::is_directory(root() + "/Program Files"));
    setenv("ProgramFiles", "/opt/pf", 1);
    EXPECT_EQ(ExpandEnvironmentStrings("%ProgramFiles%"), "/opt/pf");
    EXPECT_EQ(ProgramFilesDir(), "/opt/pf");
    unsetenv("ProgramFiles");
}

TEST_F(ShellTest, MyDocumentsFollowsXdg) {
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", root().c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root() + "/config").c_str(), 1);
    unsetenv("XDG_DOCUMENTS_DIR");
    EXPECT_EQ(SpecialFolder("MyDocuments"), root() + "/Documents");

    std::filesystem::create_directories(root() + "/config");
    WriteFile(root() + "/config/user-dirs.dirs", "# comment\nXDG_DOCUMENTS_DIR=\"$HOME/文書\"\n");
    EXPECT_EQ(SpecialFolder("mydocuments"), root() + "/文書");

    setenv("XDG_DOCUMENTS_DIR", "/srv/docs", 1);
    EXPECT_EQ(SpecialFolder("MyDocuments"), "/srv/docs");
    EXPECT_EQ(SpecialFolder("NoSuchFolder"), "");

    unsetenv("XDG_DOCUMENTS_DIR");
    unsetenv("XDG_CONFIG_HOME");
    setenv("HOME", savedHome.c_str(), 1);
}

TEST_F(ShellTest, MachineFoldersLiveUnderTheRoot) {
    EXPECT_EQ(MachineRoot(), root());
    EXPECT_EQ(GetSystemDir(), root() + "/system32");
    EXPECT_TRUE(std::filesystem::is_directory(GetSystemDir()));
    setenv("TRAWLEX_ROOT", (root() + "/nested/deeper/").c_str(), 1);
    EXPECT_EQ(GetSystemDir(), root() + "/nested/deeper/system32");
    EXPECT_TRUE(std::filesystem::is_directory(root() + "/nested/deeper/system32"));

    unsetenv("TRAWLEX_ROOT");
    const std::string savedData = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    setenv("XDG_DATA_HOME", (root() + "/data").c_str(), 1);
    EXPECT_EQ(MachineRoot(), root() + "/data/trawlex");
    if (savedData.empty()) {
        unsetenv("XDG_DATA_HOME");
    } else {
        setenv("XDG_DATA_HOME", savedData.c_str(), 1);
    }
}

}  // namespace
}  // namespace trawlex::platform
