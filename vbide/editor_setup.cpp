#include "vbide/editor_setup.h"

#include <fstream>

#include "platform/machine.h"
#include "platform/registry.h"

namespace trawlex::vbide {

namespace {

constexpr const char* kHtmlEditorValue =
    "HKLM\\SOFTWARE\\Microsoft\\Visual Basic\\6.0\\External Tools\\HTML Editor";
constexpr const char* kHtmlEditor = "notepad.exe";
constexpr const char* kVbaFolder = "/Common Files/Microsoft Shared/VBA/VBA6";

}  // namespace

std::string VbaEditorLibraryPath() {
    return platform::ProgramFilesDir() + kVbaFolder + "/vbe6.dll";
}

Status SetUpEditorMarkers() {
    Result<std::string> htmlEditor = platform::RegRead(kHtmlEditorValue);
    if (!htmlEditor || htmlEditor->empty()) {
        if (Status written = platform::RegWrite(kHtmlEditorValue, kHtmlEditor); !written) {
            return written;
        }
    }
    const std::string library = VbaEditorLibraryPath();
    if (std::ifstream(library)) return {};
    if (Status made = platform::MakeDirectories(platform::ProgramFilesDir() + kVbaFolder); !made) {
        return made;
    }
    std::ofstream file(library, std::ios::binary);
    file << "vbide: stands for the Visual Basic for Applications 6.0 editor library\n";
    file.close();
    if (!file) return Failure{"cannot write " + library};
    return {};
}

}  // namespace trawlex::vbide
