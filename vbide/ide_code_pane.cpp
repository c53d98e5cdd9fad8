#include "vbide/ide_code_pane.h"

#include <QMdiSubWindow>
#include <QTextBlock>
#include <QTextCursor>

#include "platform/ansi_columns.h"
#include "vbide/ide_workspace.h"

namespace trawlex::vbide {
namespace {

class PaneWindow : public host::Window {
  public:
    explicit PaneWindow(std::weak_ptr<IdeCodePane> pane) : pane_(std::move(pane)) {}
    Status SetFocus() override {
        auto pane = pane_.lock();
        if (!pane || pane->Closed() || !pane->SubWindow()) return Failure{"the window is closed"};
        pane->SubWindow()->window()->activateWindow();
        pane->SubWindow()->mdiArea()->setActiveSubWindow(pane->SubWindow());
        pane->Editor()->setFocus();
        return {};
    }

  private:
    std::weak_ptr<IdeCodePane> pane_;
};

}  // namespace

IdeCodePane::IdeCodePane(IdeWorkspace& workspace, const std::shared_ptr<IdeComponent>& component)
    : workspace_(&workspace),
      component_(component),
      editor_(new CodeEditor(component->Code()->Document())) {}

IdeCodePane::~IdeCodePane() {
    // An editor never put in a window has no Qt parent to delete it.
    if (!attached_) delete editor_;
}

void IdeCodePane::MarkClosed() {
    closed_ = true;
    if (!attached_) delete editor_;
}

Status IdeCodePane::Check() const {
    if (closed_ || !editor_ || component_.expired()) return Failure{"the code pane is closed"};
    return {};
}

Result<host::Selection> IdeCodePane::GetSelection() const {
    if (Status ok = Check(); !ok) return Failure{ok.error()};
    const QTextCursor cursor = editor_->textCursor();
    const QTextDocument* doc = editor_->document();
    auto place = [&](int position, int* line, int* column) {
        const QTextBlock block = doc->findBlock(position);
        *line = block.blockNumber() + 1;
        *column =
            platform::AnsiColumnOfChar(block.text().toStdString(), position - block.position());
    };
    host::Selection s;
    place(cursor.selectionStart(), &s.startLine, &s.startColumn);
    place(cursor.selectionEnd(), &s.endLine, &s.endColumn);
    return s;
}

Status IdeCodePane::SetSelection(const host::Selection& s) {
    if (Status ok = Check(); !ok) return ok;
    QTextDocument* doc = editor_->document();
    const int lines = doc->isEmpty() ? 0 : doc->blockCount();
    if (s.startLine < 1 || s.endLine < 1 || s.startLine > lines || s.endLine > lines)
        return Failure{"Invalid procedure call or argument"};
    auto position = [&](int line, int column) {
        const QTextBlock block = doc->findBlockByNumber(line - 1);
        return block.position() +
               platform::CharIndexOfAnsiColumn(block.text().toStdString(), column);
    };
    QTextCursor cursor(doc);
    cursor.setPosition(position(s.startLine, s.startColumn));
    cursor.setPosition(position(s.endLine, s.endColumn), QTextCursor::KeepAnchor);
    editor_->setTextCursor(cursor);
    editor_->centerCursor();
    return {};
}

Status IdeCodePane::Show() {
    if (Status ok = Check(); !ok) return ok;
    if (!workspace_) return Failure{"the editor is closing"};
    return workspace_->ShowPane(*this);
}

Result<std::shared_ptr<host::Window>> IdeCodePane::Window() {
    if (Status ok = Check(); !ok) return Failure{ok.error()};
    return std::shared_ptr<host::Window>(std::make_shared<PaneWindow>(weak_from_this()));
}

Result<std::shared_ptr<host::CodeModule>> IdeCodePane::CodeModule() {
    if (Status ok = Check(); !ok) return Failure{ok.error()};
    return component_.lock()->CodeModule();
}

Result<int> IdeCodePanes::Count() const {
    if (!workspace_) return Failure{"the editor is closing"};
    return static_cast<int>(workspace_->OpenPanes().size());
}

Result<std::shared_ptr<host::CodePane>> IdeCodePanes::Item(int index) {
    if (!workspace_) return Failure{"the editor is closing"};
    auto panes = workspace_->OpenPanes();
    if (index < 1 || index > static_cast<int>(panes.size()))
        return Failure{"Subscript out of range"};
    return std::shared_ptr<host::CodePane>(panes[static_cast<std::size_t>(index - 1)]);
}

}  // namespace trawlex::vbide
