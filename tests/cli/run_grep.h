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

// Runs the program with `args` in the working directory `cwd` (the current one when empty).
GrepResult RunGrep(const std::vector<std::string>& args, const std::filesystem::path& cwd = {},
                   const std::vector<std::string>& extraEnv = {});

std::vector<std::string> SplitLines(const std::string& text);

}  // namespace trawlex::cli::test
