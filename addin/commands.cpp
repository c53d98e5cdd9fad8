#include "addin/commands.h"

#include <QApplication>

#include "addin/frm_about.h"
#include "addin/shared_state.h"
#include "window/frm_add_in.h"
#include "window/frm_option.h"

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

}  // namespace

void RunSearchCommand() {
    if (!CanShowWindows()) return;
    window::frmAddIn& window = SearchWindow();
    ShowModeless(window);
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
