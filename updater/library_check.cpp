#include "updater/library_check.h"

#include <unistd.h>

#include "host/addin_loader.h"
#include "platform/shell.h"

namespace trawlex::updater {

std::string CheckProgramPath() {
    const std::string self =
        platform::ThisLibraryPath(reinterpret_cast<const void*>(&CheckProgramPath));
    if (const size_t slash = self.rfind('/'); slash != std::string::npos) {
        const std::string beside = self.substr(0, slash + 1) + kCheckProgram;
        if (access(beside.c_str(), X_OK) == 0) return beside;
    }
    return platform::FindProgram(kCheckProgram).value_or("");
}

Status VerifyAddinLibrary(const std::string& path) {
    const std::string checker = CheckProgramPath();
    if (checker.empty()) {
        return Failure{std::string("cannot check the download: ") + kCheckProgram +
                       " is not installed"};
    }
    Result<int> exit = platform::RunArgv({checker, path}, /*wait=*/true);
    if (!exit) return Failure{"cannot check the download: " + exit.error()};
    switch (static_cast<CheckExit>(*exit)) {
        case CheckExit::AddinLibrary:
            return {};
        case CheckExit::NotLoadable:
            return Failure{"the download is not an add-in library (it does not load as one)"};
        case CheckExit::EntryPointMissing:
            return Failure{"the download is not an add-in library (an entry point is missing)"};
        case CheckExit::NoAddinObject:
            return Failure{std::string("the download is not an add-in library of ") + kMainProgId +
                           " (it makes no add-in object for it)"};
        default:
            return Failure{"the download is not an add-in library (the check ended with status " +
                           std::to_string(*exit) + ")"};
    }
}

}  // namespace trawlex::updater
