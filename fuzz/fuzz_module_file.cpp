// The module file reader and saver: loading any bytes and saving them unchanged gives the same
// bytes; the visible code is valid UTF-8; code saved after an edit reads back as edited.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/text_decode.h"
#include "fuzz/fuzz_check.h"
#include "vbfiles/vb_module_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const trawlex::VbModuleFile file = trawlex::VbModuleFile::Parse(bytes);
    FUZZ_CHECK(file.Serialize() == bytes);
    for (const std::string& line : file.VisibleLines()) FUZZ_CHECK(trawlex::IsValidUtf8(line));

    // An edit: one line added at the end, in ASCII that every encoding holds.
    std::vector<std::string> edited = file.VisibleLines();
    edited.push_back("' saved");
    const trawlex::ModuleSaveData saved = file.Serialize(edited);
    if (!saved.lossyLines.empty()) return 0;
    const trawlex::VbModuleFile reread = trawlex::VbModuleFile::Parse(saved.bytes);
    FUZZ_CHECK(reread.VisibleLines().size() >= 1);
    FUZZ_CHECK(reread.VisibleLines().back() == "' saved");
    return 0;
}
