#pragma once
// The run-length compression of VBA storage streams (the dir stream and module source):
// a signature byte 0x01, then chunks of at most 4096 decompressed bytes, each either stored
// or a sequence of literal bytes and copy tokens that reach back inside the chunk.

#include <string>
#include <string_view>

#include "base/result.h"

namespace trawlex::office {

// Fails on a container that does not start with the signature, a chunk header without
// its signature bits or a copy token reaching before its chunk. A last chunk cut short
// gives the bytes it still holds.
Result<std::string> DecompressContainer(std::string_view compressed);

}  // namespace trawlex::office
