#pragma once
// What the add-in's buttons and menu items do. Each shows the one shared instance of its
// window, modeless, and brings it forward when it is already open.

namespace trawlex::addin {

// Shows the search window and searches for the selection of the active code pane.
void RunSearchCommand();
// The options dialog is not part of this library yet: the options commands do nothing.
void ShowOptionsDialog();
void ShowVersionDialog();

}  // namespace trawlex::addin
