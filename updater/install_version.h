#pragma once
// InstallVersion: puts the main library of a version in place of trawlex.dll in the system
// directory and registers it again. The installed library is replaced only by a download that
// passed every check, and it stays in place, registered, whenever the installation fails:
//   1. download (2xx, whole, at most 64 MiB)
//   2. write it beside trawlex.dll (temporary file, flushed, renamed)
//   3. check it in a child process: an add-in library serving "Trawlex.Connect"
//   4. keep the old library, unregister it, rename the new one over it, register the new one
//      and write its VBE add-in record
//   5. on any failure in 4, put the old library back and register it again.

#include <string>

#include "base/result.h"

namespace trawlex::updater {

class UpdateRequest;

inline constexpr const char* kMainLibraryFile = "trawlex.dll";

// Fails with the reason; the old library is then in place and registered.
Status InstallVersion(UpdateRequest& request, const std::string& key);

}  // namespace trawlex::updater
