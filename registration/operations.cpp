#include "registration/registration.h"

namespace trawlex::registration {

namespace {

// The older edition may not even load here, so its failed unregistration is only noted.
void RemoveLibrary(const AddinLibrary& library, Outcome& outcome) {
    const bool olderEdition = library.progId == kOlderEdition.progId;
    Outcome unregistration;
    UnregisterLibrary(library, unregistration);
    for (const StepFailure& failure : unregistration.failures()) {
        olderEdition ? outcome.AddNote(failure) : outcome.Add(failure);
    }
    DeleteVbeRecord(library, outcome);
    DeleteSettingsSection(library, outcome);
    DeleteLibraryFile(library, outcome);
}

void InstallLibrary(const AddinLibrary& library, const std::string& sourceFolder,
                    Outcome& outcome) {
    const std::string name(library.fileName);
    CopyFileAtomically(sourceFolder + "/" + name, SystemFilePath(name), "copy " + name, outcome);
    RegisterLibrary(library, outcome);
    WriteVbeRecord(library, outcome);
}

}  // namespace

Outcome UninstallAll() {
    Outcome outcome;
    RemoveLibrary(kOlderEdition, outcome);
    RemoveLibrary(kMainLibrary, outcome);
    RemoveLibrary(kUpdaterLibrary, outcome);
    return outcome;
}

Outcome InstallAddins(const std::string& sourceFolder) {
    Outcome outcome;
    InstallLibrary(kMainLibrary, sourceFolder, outcome);
    InstallLibrary(kUpdaterLibrary, sourceFolder, outcome);
    return outcome;
}

Outcome ReregisterMainLibrary(const std::function<void(Outcome&)>& replaceLibrary) {
    Outcome outcome;
    UnregisterLibrary(kMainLibrary, outcome);
    DeleteVbeRecord(kMainLibrary, outcome);
    replaceLibrary(outcome);
    RegisterLibrary(kMainLibrary, outcome);
    WriteVbeRecord(kMainLibrary, outcome);
    return outcome;
}

}  // namespace trawlex::registration
