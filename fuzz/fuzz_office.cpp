// The Office reader: containers (compound file, zip package, PowerPoint's embedded
// storage) and the VBA storage (compression, dir stream) never crash or hang, and what
// they give is valid UTF-8.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/text_decode.h"
#include "fuzz/fuzz_check.h"
#include "office/office_document.h"
#include "office/ovba_decompress.h"
#include "office/vba_dir.h"

namespace {

void CheckDir(const trawlex::Result<trawlex::office::VbaDirInfo>& dir) {
    if (!dir) return;
    for (const auto& module : dir->modules) {
        FUZZ_CHECK(trawlex::IsValidUtf8(module.name));
        FUZZ_CHECK(trawlex::IsValidUtf8(module.streamName));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    using namespace trawlex::office;

    const trawlex::Result<OfficeProject> project = ReadOfficeDocument(bytes);
    if (project) {
        for (const OfficeModule& module : project->modules) {
            FUZZ_CHECK(trawlex::IsValidUtf8(module.name));
            FUZZ_CHECK(trawlex::IsValidUtf8(module.text));
        }
    }

    // The VBA storage's own parsers straight on the bytes, as a damaged stream gives them.
    const trawlex::Result<std::string> inflated = DecompressContainer(bytes);
    if (inflated) {
        // Every two bytes of input give at most one chunk of 4096 bytes.
        FUZZ_CHECK(inflated->size() <= 4096 * (size / 2 + 1));
        CheckDir(ParseVbaDir(*inflated));
    }
    CheckDir(ParseVbaDir(bytes));
    return 0;
}
