#include "window/folder_picker.h"

#include <QDir>
#include <QFileDialog>

namespace trawlex::window {

QString BrowseForFolder(QWidget* owner, const QString& startFolder, const QString& title) {
    const QString chosen = QFileDialog::getExistingDirectory(owner, title, startFolder);
    return chosen.isEmpty() ? QString() : QDir::toNativeSeparators(chosen);
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
