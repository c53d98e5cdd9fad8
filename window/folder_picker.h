#pragma once
// The folder picker behind `cmdChangeFolder`: a folder tree dialog opened on
// `CurrentFolder`, and the trailing separator rule for the folder text.

#include <QString>
#include <functional>

class QWidget;

namespace trawlex::window {

inline constexpr const char* kFolderPickerTitle = "Please select a folder:";

// Shows the folder dialog; the chosen folder, or empty when cancelled.
QString BrowseForFolder(QWidget* owner, const QString& startFolder, const QString& title);

// The new `CurrentFolder` after a pick: `chosen` unless it is empty, then `current`;
// in every case ending in exactly one "/" added when missing.
QString ApplyFolderChoice(const QString& current, const QString& chosen);

// `cmdChangeFolder_Click`: picks a folder starting at `currentFolder` and returns the new
// `CurrentFolder`. `browse` stands in for the dialog in tests.
using FolderBrowser = std::function<QString(QWidget*, const QString&, const QString&)>;
QString ChangeFolder(QWidget* owner, const QString& currentFolder,
                     const FolderBrowser& browse = BrowseForFolder);

}  // namespace trawlex::window
