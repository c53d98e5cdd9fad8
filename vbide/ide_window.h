#pragma once
// The editor's main window: code panes in an MDI area, the project explorer, the status
// bar, the "標準" tool bar and the menus, and the add-ins it loads.

#include <QMainWindow>
#include <memory>

#include "base/result.h"
#include "vbide/ide_flavour.h"

class QLabel;
class QMdiArea;
class QTreeWidget;
class QTreeWidgetItem;

namespace trawlex::vbide {

class IdeCommandBarSet;
class IdeHost;
class IdeWorkspace;

class IdeWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit IdeWindow(Flavour flavour, QWidget* parent = nullptr);
    ~IdeWindow() override;

    // A .vbp, a .vbg or a module file; replaces what is open.
    Status OpenPath(const QString& path);
    // Connects the add-ins recorded for start-up; failures go to the status bar once.
    void ConnectStartupAddins();
    // Writes every changed module back. Characters a module's encoding cannot hold make
    // that module fail unless `allowLossy`.
    Status SaveAll(bool allowLossy = false);
    bool HasUnsavedChanges() const;

    IdeHost& Host() const { return *host_; }
    IdeWorkspace& Workspace() const { return *workspace_; }
    IdeCommandBarSet& Bars() const { return *bars_; }
    QTreeWidget* Explorer() const { return explorer_; }
    QMdiArea* MdiArea() const { return area_; }
    QLabel* CaretLabel() const { return caret_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildBars();
    void RefreshExplorer();
    void OpenItem(QTreeWidgetItem* item);
    void OnOpen();
    void OnSave();
    void OnAddinManager();
    void ShowAbout();
    void UpdateTitle();
    // Shows the active pane's caret line and ANSI column in the status bar.
    void WatchCaret();

    Flavour flavour_;
    QMdiArea* area_;
    QTreeWidget* explorer_;
    IdeWorkspace* workspace_;
    QLabel* caret_;
    QMetaObject::Connection caretConnection_;
    IdeCommandBarSet* bars_;
    std::unique_ptr<IdeHost> host_;
};

}  // namespace trawlex::vbide
