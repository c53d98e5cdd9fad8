#include "addin/commands.h"

#include <QApplication>
#include <QMainWindow>
#include <optional>

#include "addin/frm_about.h"
#include "addin/shared_state.h"
#include "window/frm_add_in.h"
#include "window/frm_option.h"
#include "window/window_placement.h"

namespace trawlex::addin {

namespace {

// Windows need the host's application object; a host without one gets no windows rather
// than an abort.
bool CanShowWindows() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

void ShowModeless(QWidget& window) {
    window.show();
    window.raise();
    window.activateWindow();
}

// The editor's main window: the active window when it is a main window, else the first
// visible one.
QWidget* EditorMainWindow() {
    if (auto* active = qobject_cast<QMainWindow*>(QApplication::activeWindow())) return active;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* main = qobject_cast<QMainWindow*>(widget);
        if (main && main->isVisible()) return main;
    }
    return nullptr;
}

// A tool window of the editor's main window, so it stays above it (a jump into a code pane
// does not bury it). Shown whole on the screen: first near the editor, later where the user
// left it.
void ShowSearchWindow(window::frmAddIn& window) {
    if (window.isVisible()) {
        ShowModeless(window);
        return;
    }
    QWidget* editor = EditorMainWindow();
    if (editor && window.parentWidget() != editor) {
        window.setParent(editor, window.windowFlags() | Qt::Tool);
    }
    if (std::optional<QPoint> left = SearchWindowPosition()) {
        window::MoveOnScreen(window, *left);
    } else if (editor) {
        window::MoveNear(window, *editor);
    } else {
        window::MoveOnScreen(window, window.pos());
    }
    ShowModeless(window);
}

}  // namespace

void RunSearchCommand() {
    if (!CanShowWindows()) return;
    window::frmAddIn& window = SearchWindow();
    ShowSearchWindow(window);
    window.Search();
}

void ShowOptionsDialog() {
    if (!CanShowWindows()) return;
    ShowModeless(OptionsWindow());
}

void ShowVersionDialog() {
    if (!CanShowWindows()) return;
    ShowModeless(AboutWindow());
}

}  // namespace trawlex::addin
