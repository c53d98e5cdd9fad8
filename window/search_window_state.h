#pragma once
// What the search window shares with the rest of its library and what outlives the window:
// the external editor template, the folder offered for folder searches and the per-tab
// control values. The add-in holds the one instance and passes it to the window it makes.

#include <QString>
#include <string>

#include "window/control_settings.h"

namespace trawlex::window {

struct SearchWindowState {
    // EditorTemplate: read from "BootEditor" at connection and again by every file jump.
    std::string editorTemplate;
    // CurrentFolder: set at connection and by the folder picker; always ends in a separator.
    QString currentFolder;
    TabStateStore tabStates;
};

}  // namespace trawlex::window
