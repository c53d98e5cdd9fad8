#include "registration/addin_records.h"

#include "platform/registry.h"
#include "platform/settings.h"
#include "platform/shell.h"
#include "registration/library_files.h"

namespace trawlex::registration {

namespace {

constexpr const char* kVbeAddinsKey = "HKCU\\Software\\Microsoft\\VBA\\VBE\\6.0\\Addins\\";
constexpr int kShowMinimized = 2;
constexpr int kNotCommandLineSafe = 0;
constexpr int kLoadAtStartup = 3;

std::string Named(std::string_view verb, std::string_view object) {
    return std::string(verb) + " " + std::string(object);
}

// Runs "regsvr32 <switches> "<path>"" and waits for it.
bool RunRegsvr32(const std::string& switches, const std::string& step, const std::string& path,
                 Outcome& outcome) {
    const std::string command = "regsvr32 " + switches + " \"" + path + "\"";
    Result<int> exitCode = platform::Run(command, kShowMinimized, /*wait=*/true);
    if (!exitCode) {
        outcome.Add({step, exitCode.error(), kFileNotFound});
        return false;
    }
    if (*exitCode != 0) {
        outcome.Add(
            {step, command + " ended with exit status " + std::to_string(*exitCode), *exitCode});
        return false;
    }
    return true;
}

bool WriteValue(const std::string& path, const std::string& value, const char* type,
                const std::string& step, Outcome& outcome) {
    Status written = platform::RegWrite(path, value, type);
    if (!written) outcome.Add({step, written.error(), kPathFileAccessError});
    return written.ok();
}

// A deletion that failed because the key was not there counts as done.
bool KeyGone(const Status& deleted, const std::string& key, const std::string& step,
             Outcome& outcome) {
    if (deleted || !platform::RegKeyExists(key)) return true;
    outcome.Add({step, deleted.error(), kPathFileAccessError});
    return false;
}

}  // namespace

std::string VbeRecordKey(const AddinLibrary& library) {
    return kVbeAddinsKey + std::string(library.progId) + "\\";
}

bool RegisterLibrary(const AddinLibrary& library, Outcome& outcome) {
    return RunRegsvr32("/S", Named("register", library.fileName), SystemFilePath(library.fileName),
                       outcome);
}

bool UnregisterLibrary(const AddinLibrary& library, Outcome& outcome) {
    const std::string path = SystemFilePath(library.fileName);
    if (!FileExists(path)) return true;
    return RunRegsvr32("/U /S", Named("unregister", library.fileName), path, outcome);
}

bool WriteVbeRecord(const AddinLibrary& library, Outcome& outcome) {
    const std::string key = VbeRecordKey(library);
    const std::string step = Named("write the VBE add-in record", library.progId);
    bool ok = WriteValue(key + "FriendlyName", std::string(library.friendlyName), "REG_SZ", step,
                         outcome);
    ok &= WriteValue(key + "CommandLineSafe", std::to_string(kNotCommandLineSafe), "REG_DWORD",
                     step, outcome);
    ok &= WriteValue(key + "LoadBehavior", std::to_string(kLoadAtStartup), "REG_DWORD", step,
                     outcome);
    return ok;
}

bool DeleteVbeRecord(const AddinLibrary& library, Outcome& outcome) {
    const std::string key = VbeRecordKey(library);
    return KeyGone(platform::RegDeleteTree(key), key,
                   Named("delete the VBE add-in record", library.progId), outcome);
}

bool DeleteSettingsSection(const AddinLibrary& library, Outcome& outcome) {
    if (library.section.empty()) return true;
    return KeyGone(platform::DeleteSetting(kSettingsApp, library.section),
                   platform::SettingsSectionKey(kSettingsApp, library.section),
                   Named("delete the settings section", library.section), outcome);
}

bool DeleteLibraryFile(const AddinLibrary& library, Outcome& outcome) {
    return DeleteFileIfPresent(SystemFilePath(library.fileName), Named("delete", library.fileName),
                               outcome);
}

}  // namespace trawlex::registration
