#pragma once
// Runs the built trawlex-grep and collects what it printed.

#include <filesystem>
#include <string>
#include <vector>

namespace trawlex::cli::test {

struct GrepResult {
    int exitCode = -1;
    std::string out;
    std::string err;
    std::vector<std::string> outLines;
    std::vector<std::string> errLines;
    std::string LastErrLine() const { return errLines.empty() ? "" : errLines.back(); }
};

struct RunSetup {
    std::filesystem::path cwd;          // the current one when empty
    std::vector<std::string> extraEnv;  // NAME=value added to the environment
    std::filesystem::path stdoutPath;   // a file of the test's when empty
    bool stdoutIsTerminal = false;      // a pseudo-terminal instead of a file
    bool stderrIsTerminal = false;      // stderr on the same pseudo-terminal (with stdout)
    bool withoutRoot = false;           // run as user 65534 when started as root
};

// The exit code RunGrep reports when root could not be given up.
inline constexpr int kCannotDropRoot = 126;

GrepResult RunGrep(const std::vector<std::string>& args, const RunSetup& setup);

// Runs the program with `args` in the working directory `cwd` (the current one when empty).
inline GrepResult RunGrep(const std::vector<std::string>& args,
                          const std::filesystem::path& cwd = {}) {
    return RunGrep(args, RunSetup{cwd, {}, {}, false});
}

std::vector<std::string> SplitLines(const std::string& text);

}  // namespace trawlex::cli::test
