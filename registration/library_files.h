#pragma once
// The library files in the system directory: copied in atomically, removed when present.

#include <string>
#include <string_view>

#include "registration/outcome.h"

namespace trawlex::registration {

// GetSystemDir() + "/" + fileName.
std::string SystemFilePath(std::string_view fileName);

// Writes `bytes` to a temporary file in the target's folder, flushes it to disk, gives it
// the permissions of a library and renames it over `targetPath`, so the target is either
// the old file or the complete new one, never a torn one. The temporary file is removed
// when any step fails. Records a failure under `step` and returns false on failure.
bool WriteFileAtomically(const std::string& targetPath, std::string_view bytes,
                         const std::string& step, Outcome& outcome);

// Reads `sourcePath` whole and writes it with WriteFileAtomically.
bool CopyFileAtomically(const std::string& sourcePath, const std::string& targetPath,
                        const std::string& step, Outcome& outcome);

// Deletes the file; a file that is not there counts as deleted.
bool DeleteFileIfPresent(const std::string& path, const std::string& step, Outcome& outcome);

bool FileExists(const std::string& path);

}  // namespace trawlex::registration
