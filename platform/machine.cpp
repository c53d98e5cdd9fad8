#include "platform/machine.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace trawlex::platform {

namespace {

std::string EnvOrEmpty(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::string DefaultRoot() {
    std::string dataHome = EnvOrEmpty("XDG_DATA_HOME");
    // The XDG rules say a relative XDG_DATA_HOME is invalid and must be ignored.
    if (dataHome.empty() || dataHome.front() != '/') {
        std::string home = EnvOrEmpty("HOME");
        if (home.empty()) home = "/tmp";
        dataHome = WithoutTrailingSlashes(home) + "/.local/share";
    }
    return WithoutTrailingSlashes(dataHome) + "/trawlex";
}

std::string EnsuredSubfolder(const std::string& name) {
    std::string path = MachineRoot() + "/" + name;
    // Best effort: whoever opens a file there reports why the folder is missing.
    static_cast<void>(MakeDirectories(path));
    return path;
}

}  // namespace

Status MakeDirectories(const std::string& path) {
    if (path.empty()) return Failure{"cannot create a folder with an empty path"};
    for (size_t pos = 1; pos <= path.size(); ++pos) {
        if (pos != path.size() && path[pos] != '/') continue;
        std::string prefix = path.substr(0, pos);
        if (mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST) {
            return Failure{"cannot create folder " + prefix + ": " + std::strerror(errno)};
        }
    }
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return Failure{path + " exists and is not a folder"};
    }
    return {};
}

std::string MachineRoot() {
    std::string root = EnvOrEmpty("TRAWLEX_ROOT");
    root = root.empty() ? DefaultRoot() : WithoutTrailingSlashes(root);
    // Best effort, as above: a hive or library that cannot be written says why.
    static_cast<void>(MakeDirectories(root));
    return root;
}

std::string GetSystemDir() {
    return EnsuredSubfolder("system32");
}

std::string ProgramFilesDir() {
    std::string fromEnvironment = EnvOrEmpty("ProgramFiles");
    if (!fromEnvironment.empty()) return fromEnvironment;
    return EnsuredSubfolder("Program Files");
}

}  // namespace trawlex::platform
