#pragma once
// A code pane of the editor: a CodeEditor in an MDI window, with the selection the host
// interface speaks of (lines 1-based, columns in ANSI bytes).

#include <QMdiSubWindow>
#include <QPointer>
#include <memory>

#include "host/code_pane.h"
#include "vbide/code_editor.h"
#include "vbide/ide_project.h"

namespace trawlex::vbide {

class IdeWorkspace;

class IdeCodePane : public host::CodePane, public std::enable_shared_from_this<IdeCodePane> {
  public:
    IdeCodePane(IdeWorkspace& workspace, const std::shared_ptr<IdeComponent>& component);
    ~IdeCodePane() override;

    Result<host::Selection> GetSelection() const override;
    Status SetSelection(const host::Selection& selection) override;
    Status Show() override;
    Result<std::shared_ptr<host::Window>> Window() override;
    Result<std::shared_ptr<host::CodeModule>> CodeModule() override;

    std::shared_ptr<IdeComponent> Component() const { return component_.lock(); }
    CodeEditor* Editor() const { return editor_; }
    QMdiSubWindow* SubWindow() const { return subWindow_; }
    bool Closed() const { return closed_; }
    // Called by the workspace when it puts the pane in an MDI window or the window goes.
    void Attach(QMdiSubWindow* subWindow) {
        subWindow_ = subWindow;
        attached_ = true;
    }
    void MarkClosed();

  private:
    Status Check() const;

    QPointer<IdeWorkspace> workspace_;
    std::weak_ptr<IdeComponent> component_;
    QPointer<CodeEditor> editor_;
    QPointer<QMdiSubWindow> subWindow_;
    bool attached_ = false;  // the MDI window owns the editor from then on
    bool closed_ = false;
};

class IdeCodePanes : public host::CodePanes {
  public:
    explicit IdeCodePanes(QPointer<IdeWorkspace> workspace) : workspace_(std::move(workspace)) {}
    Result<int> Count() const override;
    Result<std::shared_ptr<host::CodePane>> Item(int index) override;

  private:
    QPointer<IdeWorkspace> workspace_;
};

}  // namespace trawlex::vbide
