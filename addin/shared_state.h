#pragma once
// What the whole library shares: the connected host, the search window's state (the
// external editor template, the folder offered for folder searches, the per-tab control
// values), and the one instance of each window. The windows are made on first use and live
// until ReleaseWindows; the rest lives as long as the library, which is never unloaded.

#include <QPoint>
#include <optional>
#include <string>

#include "addin/connected_host.h"

namespace trawlex::window {
class frmAddIn;
class frmOption;
}  // namespace trawlex::window

namespace trawlex::addin {

class frmAbout;

// The host the windows call; its target is the host of the latest connection.
ConnectedHost& SharedHost();

std::string EditorTemplate();
void SetEditorTemplate(const std::string& editorTemplate);

// The folder picker of the search window changes it too.
std::string CurrentFolder();
void SetCurrentFolder(const std::string& folder);

// Where the search window was last left on screen while this process runs (its frame's
// top-left), or nothing before it was first shown.
std::optional<QPoint> SearchWindowPosition();

window::frmAddIn& SearchWindow();
window::frmAddIn* ExistingSearchWindow();
frmAbout& AboutWindow();
frmAbout* ExistingAboutWindow();
// The options dialog deletes itself when it closes; the next call makes a fresh one.
window::frmOption& OptionsWindow();

// Destroys the windows, keeping the search window's folder. Without the host's application
// object (already gone at exit) the windows are left as they are. A search window in the
// middle of a search is stopped and goes when that search has finished.
void ReleaseWindows();

}  // namespace trawlex::addin
