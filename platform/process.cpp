#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/machine.h"
#include "platform/shell.h"
#include "base/ascii_case.h"

extern char** environ;

namespace trawlex::platform {

namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

std::optional<std::string> FindInFolders(const std::string& name) {
    std::string candidate = GetSystemDir() + "/" + name;
    if (IsExecutableFile(candidate)) return candidate;
    const char* path = std::getenv("PATH");
    std::string_view folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    for (size_t pos = 0; pos <= folders.size();) {
        size_t colon = folders.find(':', pos);
        if (colon == std::string_view::npos) colon = folders.size();
        std::string folder(folders.substr(pos, colon - pos));
        pos = colon + 1;
        candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
        if (IsExecutableFile(candidate)) return candidate;
    }
    return std::nullopt;
}

// argv as execv wants it; the strings stay owned by the caller's vector.
std::vector<char*> ArgvPointers(const std::vector<std::string>& argv) {
    std::vector<char*> pointers;
    for (const std::string& arg : argv) pointers.push_back(const_cast<char*>(arg.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

Result<int> WaitForExit(pid_t pid, const std::string& program) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return Failure{"cannot wait for " + program + ": " + std::strerror(errno)};
        }
    }
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return 128 + WTERMSIG(status);
}

bool ReadFully(int fd, void* buffer, size_t size) {
    auto* bytes = static_cast<char*>(buffer);
    size_t done = 0;
    while (done < size) {
        ssize_t n = read(fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Starts the program in a grandchild whose parent exits at once, so init reaps it and no
// zombie is left. A close-on-exec pipe tells whether exec succeeded.
Status SpawnDetached(const std::string& program, const std::vector<std::string>& argv) {
    std::vector<char*> args = ArgvPointers(argv);
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        return Failure{"cannot start " + program + ": " + std::strerror(errno)};
    }
    pid_t child = fork();
    if (child < 0) {
        int error = errno;
        close(pipeFds[0]);
        close(pipeFds[1]);
        return Failure{"cannot start " + program + ": " + std::strerror(error)};
    }
    if (child == 0) {
        close(pipeFds[0]);
        setsid();
        pid_t grandchild = fork();
        if (grandchild == 0) {
            execv(program.c_str(), args.data());
        }
        int error = grandchild < 0 || grandchild == 0 ? errno : 0;
        if (error != 0) {
            ssize_t ignored = write(pipeFds[1], &error, sizeof error);
            (void)ignored;
        }
        _exit(0);
    }
    close(pipeFds[1]);
    int error = 0;
    const bool failed = ReadFully(pipeFds[0], &error, sizeof error);
    close(pipeFds[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (failed) return Failure{"cannot start " + program + ": " + std::strerror(error)};
    return {};
}

}  // namespace

std::optional<std::string> FindProgram(std::string_view name) {
    if (name.empty()) return std::nullopt;
    std::string wanted(name);
    if (wanted.find('/') != std::string::npos) {
        if (IsExecutableFile(wanted)) return wanted;
        return std::nullopt;
    }
    if (auto found = FindInFolders(wanted)) return found;
    // Windows command lines often name "program.exe"; the program here has no suffix.
    if (wanted.size() > 4 && EndsWithIgnoringCase(wanted, ".exe")) {
        return FindInFolders(wanted.substr(0, wanted.size() - 4));
    }
    return std::nullopt;
}

Result<int> RunArgv(const std::vector<std::string>& argv, bool wait) {
    if (argv.empty() || argv.front().empty()) return Failure{"no program to start"};
    std::optional<std::string> program = FindProgram(argv.front());
    if (!program) return Failure{"cannot find the program \"" + argv.front() + "\""};
    if (!wait) {
        if (Status started = SpawnDetached(*program, argv); !started) {
            return Failure{started.error()};
        }
        return 0;
    }
    std::vector<char*> args = ArgvPointers(argv);
    pid_t pid = 0;
    int error = posix_spawn(&pid, program->c_str(), nullptr, nullptr, args.data(), environ);
    if (error != 0) return Failure{"cannot start " + *program + ": " + std::strerror(error)};
    return WaitForExit(pid, *program);
}

Result<int> Run(std::string_view command, int /*windowStyle*/, bool wait) {
    return RunArgv(SplitCommandLine(command), wait);
}

bool StartProcess(const std::vector<std::string>& argv) {
    return RunArgv(argv, false).ok();
}

}  // namespace trawlex::platform
