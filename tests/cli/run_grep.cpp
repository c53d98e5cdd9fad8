#include "run_grep.h"

#include <fcntl.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>

#include "tests/search/unprivileged.h"

extern char** environ;

namespace trawlex::cli::test {
namespace {

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

// What the terminal showed; ends when the child has closed its side.
std::string DrainTerminal(int master) {
    std::string shown;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n > 0) {
            shown.append(buffer, static_cast<std::size_t>(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            return shown;  // EIO once the child is gone
        }
    }
}

}  // namespace

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

GrepResult RunGrep(const std::vector<std::string>& args, const RunSetup& setup) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("trawlex-grep-run-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto outPath = setup.stdoutPath.empty() ? dir / "out" : setup.stdoutPath;
    const auto errPath = dir / "err";

    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) env.emplace_back(*e);
    for (const auto& e : setup.extraEnv) env.push_back(e);
    std::string program = TRAWLEX_GREP_BIN;
    std::vector<std::string> argCopies(args);

    int master = -1;
    int terminal = -1;
    if (setup.stdoutIsTerminal && ::openpty(&master, &terminal, nullptr, nullptr, nullptr) != 0) {
        return {};
    }

    const pid_t pid = ::fork();
    if (pid == 0) {
        const int out = setup.stdoutIsTerminal
                            ? terminal
                            : ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = setup.stderrIsTerminal
                            ? terminal
                            : ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0) ::_exit(127);
        if (master >= 0) ::close(master);
        if (!setup.cwd.empty() && ::chdir(setup.cwd.c_str()) != 0) ::_exit(127);
        if (setup.withoutRoot && !trawlex::test::DropRoot()) ::_exit(kCannotDropRoot);
        std::vector<char*> argv{program.data()};
        for (auto& a : argCopies) argv.push_back(a.data());
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (auto& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        ::execve(program.c_str(), argv.data(), envp.data());
        ::_exit(127);
    }

    GrepResult result;
    if (setup.stdoutIsTerminal) {
        ::close(terminal);
        result.out = DrainTerminal(master);
        ::close(master);
    }
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
    }
    // A stdout the caller chose (such as /dev/full) is not read back.
    if (!setup.stdoutIsTerminal && setup.stdoutPath.empty()) result.out = ReadAll(outPath);
    if (!setup.stderrIsTerminal) result.err = ReadAll(errPath);
    result.outLines = SplitLines(result.out);
    result.errLines = SplitLines(result.err);
    std::filesystem::remove_all(dir);
    return result;
}

}  // namespace trawlex::cli::test
