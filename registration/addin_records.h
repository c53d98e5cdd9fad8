#pragma once
// The steps on one add-in library's registration: regsvr32 runs (always waited for, exit
// status checked), its VBE add-in record and its settings section. Each step records its
// failure in the outcome and returns whether it succeeded; items that are simply absent
// count as removed.

#include <string>

#include "registration/addin_libraries.h"
#include "registration/outcome.h"

namespace trawlex::registration {

// "HKCU\Software\Microsoft\VBA\VBE\6.0\Addins\<ProgID>\" (with its backslash).
std::string VbeRecordKey(const AddinLibrary& library);

// regsvr32 /S "<system dir>/<file>", waited for; a non-zero exit status is a failure.
bool RegisterLibrary(const AddinLibrary& library, Outcome& outcome);

// regsvr32 /U /S "<system dir>/<file>", waited for. A library file that is not there has
// nothing to unregister.
bool UnregisterLibrary(const AddinLibrary& library, Outcome& outcome);

// FriendlyName (REG_SZ), CommandLineSafe 0 and LoadBehavior 3 (REG_DWORD), in this order,
// one write each; the first write creates the key.
bool WriteVbeRecord(const AddinLibrary& library, Outcome& outcome);

bool DeleteVbeRecord(const AddinLibrary& library, Outcome& outcome);

// Deletes the library's whole settings section of "quillfen" (none for the updater).
bool DeleteSettingsSection(const AddinLibrary& library, Outcome& outcome);

bool DeleteLibraryFile(const AddinLibrary& library, Outcome& outcome);

}  // namespace trawlex::registration
