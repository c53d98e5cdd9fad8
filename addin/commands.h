#pragma once
// What the add-in's buttons and menu items do. Each shows the one shared instance of its
// window, modeless, and brings it forward when it is already open.

namespace trawlex::addin {

// Shows the search window and searches for the selection of the active code pane.
void RunSearchCommand();
// Shows the options dialog, modeless; a second call brings the open one forward.
void ShowOptionsDialog();
void ShowVersionDialog();

}  // namespace trawlex::addin
