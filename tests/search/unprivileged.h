#pragma once
// Permission tests that also bind root: the part that must be refused runs in a child process
// that, when it runs as root, first gives up root for the unprivileged user id 65534.

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <optional>
#include <string>

namespace trawlex::test {

inline constexpr uid_t kUnprivilegedId = 65534;

// Makes this process an unprivileged user if it is root. False when that is impossible.
inline bool DropRoot() {
    if (::geteuid() != 0) return true;
    return ::setgroups(0, nullptr) == 0 &&
           ::setresgid(kUnprivilegedId, kUnprivilegedId, kUnprivilegedId) == 0 &&
           ::setresuid(kUnprivilegedId, kUnprivilegedId, kUnprivilegedId) == 0 && ::geteuid() != 0;
}

// Runs `body` in a child process without root and returns what it returned; nullopt when
// root could not be given up (the caller skips then). A child that fails otherwise returns
// a text no test expects. `body` must not use test assertions:
// the parent checks what it returns.
inline std::optional<std::string> RunWithoutRoot(const std::function<std::string()>& body) {
    int fds[2];
    if (::pipe(fds) != 0) return std::nullopt;
    const pid_t pid = ::fork();
    if (pid < 0) return std::nullopt;
    if (pid == 0) {
        ::close(fds[0]);
        if (!DropRoot()) ::_exit(3);
        const std::string result = body();
        std::size_t done = 0;
        while (done < result.size()) {
            const ssize_t n = ::write(fds[1], result.data() + done, result.size() - done);
            if (n <= 0) ::_exit(4);
            done += static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string result;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n > 0) {
            result.append(buffer, static_cast<std::size_t>(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            break;
        }
    }
    ::close(fds[0]);
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) return "<child lost>";
    if (WIFEXITED(status) && WEXITSTATUS(status) == 3) return std::nullopt;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "<child failed> " + result;
    return result;
}

}  // namespace trawlex::test
