#pragma once
// Whether a downloaded file is an add-in library of this system, told by
// trawlex-addin-check in a child process: an unverified download is never loaded into the
// editor's own process.

#include <string>

#include "base/result.h"

namespace trawlex::updater {

inline constexpr const char* kMainProgId = "Trawlex.Connect";
inline constexpr const char* kCheckProgram = "trawlex-addin-check";

enum class CheckExit : int {
    AddinLibrary = 0,
    Usage = 1,
    NotLoadable = 2,
    EntryPointMissing = 3,
    NoAddinObject = 4,
};

// Succeeds only when the checker ran and found the entry points and the main add-in's
// object; the failure names the reason.
Status VerifyAddinLibrary(const std::string& path);

// The checker: beside the code of this library or program, else in the system directory or
// on PATH. Empty when there is none.
std::string CheckProgramPath();

}  // namespace trawlex::updater
