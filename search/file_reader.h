#pragma once
// Reads a whole file as text (decoded to UTF-8 by DecodeText's rules).

#include <string>

#include "platform/result.h"

namespace trawlex {

// The file is read into one buffer and decoded once; valid UTF-8 is not copied again.
// Fails with "<path>: <reason>" when the file cannot be opened or read.
Result<std::string> ReadTextFile(const std::string& path);

}  // namespace trawlex
