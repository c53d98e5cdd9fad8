#include "installer/install_checks.h"

#include <sys/stat.h>

#include "platform/registry.h"
#include "platform/shell.h"

namespace trawlex::installer {

namespace {

constexpr const char* kHtmlEditorValue =
    "HKLM\\SOFTWARE\\Microsoft\\Visual Basic\\6.0\\External Tools\\HTML Editor";
constexpr const char* kVbe6Library = "/Common Files/Microsoft Shared/VBA/VBA6/vbe6.dll";

bool FileExists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

CheckRow Row(const std::string& name, bool passed) {
    return {name + (passed ? " [OK]" : " [NG]"), passed};
}

}  // namespace

bool HasVisualBasic6() {
    Result<std::string> value = platform::RegRead(kHtmlEditorValue);
    return value && !value->empty();
}

bool HasOfficeVbaEditor() {
    return FileExists(platform::ExpandEnvironmentStrings("%ProgramFiles%") + kVbe6Library);
}

bool RunInstallChecks(const std::string& folder, const std::function<void(const CheckRow&)>& addRow,
                      const std::function<bool(int milliseconds)>& pause) {
    addRow(Row("Visual Basic 6.0", HasVisualBasic6()));
    if (!pause(500)) return false;
    addRow(Row("Microsoft Office - Visual Basic for Applications 6.0", HasOfficeVbaEditor()));
    if (!pause(500)) return false;
    const CheckRow mainLibrary =
        Row("Trawlex Plus - trawlex.dll", FileExists(folder + "/trawlex.dll"));
    addRow(mainLibrary);
    if (!mainLibrary.passed) return false;
    if (!pause(200)) return false;
    const CheckRow updater =
        Row("Trawlex Plus Updater - trawlexup.dll", FileExists(folder + "/trawlexup.dll"));
    addRow(updater);
    if (!pause(200)) return false;
    return updater.passed;
}

}  // namespace trawlex::installer
