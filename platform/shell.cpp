#include "platform/shell.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fstream>

#include "platform/machine.h"
#include "base/ascii_case.h"

extern char** environ;

namespace trawlex::platform {

namespace {

// Windows environment names ignore case; an exact match wins over a case-folded one.
std::optional<std::string> EnvironmentValue(std::string_view name) {
    if (const char* exact = std::getenv(std::string(name).c_str())) return std::string(exact);
    for (char** entry = environ; entry && *entry; ++entry) {
        std::string_view item(*entry);
        size_t equals = item.find('=');
        if (equals != std::string_view::npos && EqualsIgnoringCase(item.substr(0, equals), name)) {
            return std::string(item.substr(equals + 1));
        }
    }
    if (EqualsIgnoringCase(name, "ProgramFiles")) return ProgramFilesDir();
    return std::nullopt;
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    return home && *home ? std::string(home) : std::string("/tmp");
}

// XDG_<NAME>_DIR from the environment, else from user-dirs.dirs, else ~/<fallback>.
std::string XdgUserDir(const std::string& name, const std::string& fallback) {
    const std::string variable = "XDG_" + name + "_DIR";
    if (const char* value = std::getenv(variable.c_str()); value && *value) return value;
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const std::string config =
        (configHome && *configHome == '/' ? std::string(configHome) : HomeFolder() + "/.config") +
        "/user-dirs.dirs";
    std::ifstream file(config);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.starts_with(variable + "=\"") || !line.ends_with('"')) continue;
        std::string path = line.substr(variable.size() + 2, line.size() - variable.size() - 3);
        if (path.starts_with("$HOME")) path = HomeFolder() + path.substr(5);
        if (path.starts_with('/')) return path;
    }
    return HomeFolder() + "/" + fallback;
}

}  // namespace

Status ShellExecuteOpen(std::string_view target) {
    if (target.empty()) return Failure{"nothing to open"};
    Result<int> exitCode = RunArgv({"xdg-open", std::string(target)}, true);
    if (!exitCode) return Failure{exitCode.error()};
    if (*exitCode != 0) {
        return Failure{"xdg-open could not open \"" + std::string(target) + "\" (exit code " +
                       std::to_string(*exitCode) + ")"};
    }
    return {};
}

std::string SpecialFolder(std::string_view name) {
    if (EqualsIgnoringCase(name, "MyDocuments")) return XdgUserDir("DOCUMENTS", "Documents");
    if (EqualsIgnoringCase(name, "Desktop")) return XdgUserDir("DESKTOP", "Desktop");
    return {};
}

std::string ExpandEnvironmentStrings(std::string_view text) {
    std::string out;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t open = text.find('%', pos);
        size_t close = open == std::string_view::npos ? open : text.find('%', open + 1);
        if (close == std::string_view::npos) break;
        out.append(text.substr(pos, open - pos));
        std::string_view name = text.substr(open + 1, close - open - 1);
        std::optional<std::string> value = name.empty() ? std::nullopt : EnvironmentValue(name);
        if (value) {
            out += *value;
        } else {
            out.append(text.substr(open, close - open + 1));
        }
        pos = close + 1;
    }
    out.append(text.substr(pos));
    return out;
}

void Sleep(int milliseconds) {
    if (milliseconds <= 0) return;
    timespec remaining{milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
}

}  // namespace trawlex::platform
