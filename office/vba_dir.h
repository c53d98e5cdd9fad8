#pragma once
// The decompressed dir stream of a VBA storage: the project's code page and, for each
// module, its name, the name of its stream and where the compressed source starts in it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"

namespace trawlex::office {

struct VbaModuleEntry {
    std::string name;        // UTF-8
    std::string streamName;  // UTF-8, as the storage names the stream
    std::uint32_t sourceOffset = 0;
    bool procedural = true;  // a standard module; false for class, document and form modules
};

struct VbaDirInfo {
    std::uint16_t codePage = 1252;
    std::vector<VbaModuleEntry> modules;
};

// Names given only in the project's code page are decoded with it; the Unicode forms win
// where the stream has them. Fails on a record that runs past the end of the stream.
Result<VbaDirInfo> ParseVbaDir(std::string_view dir);

}  // namespace trawlex::office
