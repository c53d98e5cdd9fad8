// regsvr32 [/U] [/S] PATH: loads an add-in library and calls its DllRegisterServer
// (or, with /U, DllUnregisterServer). Exit codes follow the Windows program's.

#include <dlfcn.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

enum ExitCode : int {
    kSuccess = 0,
    kBadArguments = 1,
    kLoadFailed = 3,
    kEntryPointMissing = 4,
    kEntryPointFailed = 5,
};

struct Options {
    bool unregister = false;
    bool silent = false;
    std::string path;
};

bool IsSwitch(std::string_view arg, char letter) {
    return arg.size() == 2 && (arg[0] == '/' || arg[0] == '-') &&
           (arg[1] == letter || arg[1] == letter - 'a' + 'A');
}

bool ParseArguments(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (IsSwitch(arg, 'u')) {
            options.unregister = true;
        } else if (IsSwitch(arg, 's')) {
            options.silent = true;
        } else if (options.path.empty() && !arg.empty()) {
            options.path = arg;
        } else {
            return false;
        }
    }
    return !options.path.empty();
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseArguments(argc, argv, options)) {
        std::fprintf(stderr, "usage: regsvr32 [/U] [/S] PATH\n");
        return kBadArguments;
    }
    auto fail = [&options](int code, const std::string& message) {
        if (!options.silent) std::fprintf(stderr, "regsvr32: %s\n", message.c_str());
        return code;
    };

    // An absolute path, so the library can find and record its own location.
    char resolved[PATH_MAX];
    if (!realpath(options.path.c_str(), resolved)) {
        return fail(kLoadFailed, "cannot load " + options.path + ": file not found");
    }
    void* library = dlopen(resolved, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* error = dlerror();
        return fail(kLoadFailed, "cannot load " + options.path + ": " + (error ? error : "?"));
    }
    const char* entryName = options.unregister ? "DllUnregisterServer" : "DllRegisterServer";
    auto entry = reinterpret_cast<int (*)()>(dlsym(library, entryName));
    if (!entry) {
        dlclose(library);
        return fail(kEntryPointMissing, std::string(resolved) + " does not export " + entryName);
    }
    const int result = entry();
    dlclose(library);
    if (result != 0) {
        return fail(kEntryPointFailed, std::string(entryName) + " in " + resolved +
                                           " failed with code " + std::to_string(result));
    }
    if (!options.silent) std::printf("%s in %s succeeded.\n", entryName, resolved);
    return kSuccess;
}
