#pragma once
// The stand-in editor's set-up: what installing Visual Basic 6.0 and Office leaves on a
// machine that other programs look for (the installer's checks among them):
//   - Visual Basic 6.0: the value
//     HKLM\SOFTWARE\Microsoft\Visual Basic\6.0\External Tools\HTML Editor;
//   - the Office VBA editor: <Program Files>/Common Files/Microsoft Shared/VBA/VBA6/vbe6.dll.
// Run by `vbide --setup`.

#include <string>

#include "base/result.h"

namespace trawlex::vbide {

// The path of the VBA editor's library in the machine root's Program Files.
std::string VbaEditorLibraryPath();

// Writes both markers; a marker already there is kept.
Status SetUpEditorMarkers();

}  // namespace trawlex::vbide
