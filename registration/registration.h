#pragma once
// Placing, registering and removing the add-in libraries trawlex.dll and trawlexup.dll, used
// by the installer and by the updater:
//   GetSystemDir            the install directory (the machine root's system32)
//   UninstallAll            removes the older edition, both libraries, their records and the
//                           "Trawlex" settings section
//   InstallAddins           copies both libraries from a folder, registers them, writes their
//                           VBE add-in records
//   ReregisterMainLibrary   unregisters trawlex.dll, lets the caller replace it, registers it
//                           again and rewrites its VBE add-in record
// Every step of an operation is attempted whatever happened before it; the outcome lists the
// failed ones. regsvr32 (found in the system directory, then on PATH) is waited for and its
// exit status checked. Items that are simply absent never fail a step, so removing twice
// succeeds twice. Library files are copied in atomically (temporary file, flush, rename).

#include <functional>
#include <string>

#include "platform/machine.h"
#include "registration/addin_libraries.h"
#include "registration/addin_records.h"
#include "registration/library_files.h"
#include "registration/outcome.h"

namespace trawlex::registration {

using platform::GetSystemDir;

Outcome UninstallAll();

// `sourceFolder` holds trawlex.dll and trawlexup.dll (the installer's current directory).
Outcome InstallAddins(const std::string& sourceFolder);

// `replaceLibrary` runs between the unregistration and the registration; its failures go
// into the same outcome. The library is registered again whether the replacement worked or
// not, so the file in place stays usable.
Outcome ReregisterMainLibrary(const std::function<void(Outcome&)>& replaceLibrary);

}  // namespace trawlex::registration
