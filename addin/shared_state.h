#pragma once
// What the whole library shares: the connected host, the external editor template, the
// folder offered for folder searches, and the one instance of each window. The windows are
// made on first use and live until ReleaseWindows.

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

// Once the search window exists, it holds the folder (the folder picker changes it there).
std::string CurrentFolder();
void SetCurrentFolder(const std::string& folder);

window::frmAddIn& SearchWindow();
window::frmAddIn* ExistingSearchWindow();
frmAbout& AboutWindow();
frmAbout* ExistingAboutWindow();
// The options dialog deletes itself when it closes; the next call makes a fresh one.
window::frmOption& OptionsWindow();

// Destroys the windows, keeping the search window's folder. The window classes' code lives
// in this library, so this must happen before the library is unloaded; without the host's
// application object (already gone at exit) the windows are left as they are. A search
// window in the middle of a search is stopped and goes when that search has finished; the
// library then stays mapped for the rest of the process.
void ReleaseWindows();

}  // namespace trawlex::addin
