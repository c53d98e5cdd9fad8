#pragma once
// frmChkExt: the modal chooser of the file extensions to search, listing every extension
// found under the folder and ticking them from the settings "ExtType_<ext>".

#include <QDialog>
#include <QString>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace trawlex::window {

// The extension of a file name with its dot ('.gz' for 'a.tar.gz'); empty when the name
// has no dot or ends with one.
std::string GetExt(const std::string& name);

// Every extension of the files under `folder` and all its subfolders, each once, in the
// order first found: a folder's files in name order, then its subfolders in name order.
// Letter case matters ('.bas' and '.BAS' are two). Unreadable subfolders are skipped.
std::vector<std::string> ScanExtensions(const std::string& folder);

class FrmChkExt : public QDialog {
    Q_OBJECT
  public:
    // Lists the extensions under `folder` and ticks them from the settings.
    explicit FrmChkExt(const QString& folder, QWidget* parent = nullptr);

    // Shows the dialog modally; the chosen `ExtList` ("*.bas;*.cls"), or empty when
    // nothing was ticked or the dialog was closed without confirming.
    static QString Choose(const QString& folder, QWidget* parent = nullptr);

    QString ExtList() const { return extList_; }
    QListWidget* List() const { return lstExt_; }

    // Button handlers.
    void cmdFindStart_Click();
    void Command1_Click();
    void cmdSelectAll_Click();
    void cmdRemoveAll_Click();

  private:
    QListWidget* lstExt_;
    QString extList_;
};

}  // namespace trawlex::window
