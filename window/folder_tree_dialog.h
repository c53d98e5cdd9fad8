#pragma once
// The folder picker's dialog: a tree of the file system's folders under a title line, a
// status line showing the full path of the folder under the cursor, OK and キャンセル.
// Folders are read when their branch is opened.

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace trawlex::window {

class FolderTreeDialog : public QDialog {
    Q_OBJECT
  public:
    // Opens on `startFolder` (with or without its trailing "/"); where that folder does
    // not exist, on the nearest existing folder above it.
    FolderTreeDialog(QWidget* owner, const QString& startFolder, const QString& title);

    // The folder under the cursor without a trailing "/" (the root stays "/"); empty when
    // none is.
    QString CurrentPath() const;
    // Moves the cursor to a folder, opening the branches on the way; false when the
    // folder cannot be reached.
    bool SelectPath(const QString& folder);
    QString StatusText() const;

    QTreeWidget* Tree() const { return tree_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

  private:
    QTreeWidgetItem* AddFolder(QTreeWidgetItem* parent, const QString& path, const QString& label);
    void Populate(QTreeWidgetItem* item);
    QTreeWidgetItem* Child(QTreeWidgetItem* item, const QString& name);

    QLabel* title_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace trawlex::window
