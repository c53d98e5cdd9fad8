#include "window/folder_picker.h"

#include <QDir>

#include "window/folder_tree_dialog.h"

namespace trawlex::window {

QString BrowseForFolder(QWidget* owner, const QString& startFolder, const QString& title) {
    FolderTreeDialog dialog(owner, startFolder, title);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.CurrentPath();
}

QString ApplyFolderChoice(const QString& current, const QString& chosen) {
    QString folder = chosen.isEmpty() ? current : chosen;
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder;
}

QString ChangeFolder(QWidget* owner, const QString& currentFolder, const FolderBrowser& browse) {
    const QString chosen = browse ? browse(owner, currentFolder, kFolderPickerTitle) : QString();
    return ApplyFolderChoice(currentFolder, chosen);
}

}  // namespace trawlex::window
