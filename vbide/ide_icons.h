#pragma once
// The editor's own small pictures, drawn in code: the editor's window icon and the icon of
// a code window.

#include <QIcon>

namespace trawlex::vbide {

// A window with a title bar and the letters "VB".
QIcon EditorIcon();
// A sheet of code: a page with a folded corner and lines of text.
QIcon CodeWindowIcon();

}  // namespace trawlex::vbide
