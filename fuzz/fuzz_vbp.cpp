// The project reader: any .vbp or .vbg text loads or fails with a message, never hangs on
// what its lines name, and every module it loads has valid UTF-8 code and a name.
// The input's first byte chooses a project (even) or a group (odd); the project's folder
// holds a few modules, a subfolder, a pipe and a link to a device for the lines to name.
// The input's file is removed after each run, so a group never reads the project an earlier
// input left behind: every input gives the same result on its own.

#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include "base/text_decode.h"
#include "fuzz/fuzz_check.h"
#include "vbfiles/vb_project.h"

namespace {

void Write(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

const std::string& Folder() {
    static const std::string folder = [] {
        std::string pattern = "/tmp/trawlex-fuzz-vbp-XXXXXX";
        if (const char* shm = std::getenv("TRAWLEX_FUZZ_DIR"))
            pattern = std::string(shm) + "/XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        Write(pattern + "/a.bas", "Attribute VB_Name = \"modA\"\r\nSub A()\r\nEnd Sub\r\n");
        Write(pattern + "/B.cls",
              "VERSION 1.0 CLASS\r\nBEGIN\r\nEND\r\nAttribute VB_Name = \"B\"\r\nPublic X\r\n");
        Write(pattern + "/\x83\x65\x83\x58\x83\x67.bas", "Sub T()\r\nEnd Sub\r\n");  // テスト
        Write(pattern + "/inner.vbp", "Type=Exe\r\nModule=modA; a.bas\r\n");
        ::mkdir((pattern + "/sub").c_str(), 0700);
        Write(pattern + "/sub/c.frm", "VERSION 5.00\r\nBegin VB.Form F\r\nEnd\r\nDim c\r\n");
        ::mkfifo((pattern + "/fifo").c_str(), 0600);
        ::symlink("/dev/zero", (pattern + "/zero.bas").c_str());
        return pattern;
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool group = (data[0] & 1) != 0;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string path = Folder() + (group ? "/fuzz.vbg" : "/fuzz.vbp");
    Write(path, text);
    const auto loaded = trawlex::LoadVbAny(path);
    ::unlink(path.c_str());
    if (!loaded) {
        FUZZ_CHECK(!loaded.error().empty());
        return 0;
    }
    FUZZ_CHECK(!loaded->projects.empty());
    FUZZ_CHECK(loaded->startup < loaded->projects.size());
    for (const trawlex::VbProject& project : loaded->projects) {
        for (const trawlex::VbModule& module : project.modules) {
            FUZZ_CHECK(trawlex::IsValidUtf8(module.Text()));
            FUZZ_CHECK(trawlex::IsValidUtf8(module.name));
        }
    }
    return 0;
}
