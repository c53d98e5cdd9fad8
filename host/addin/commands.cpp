#include "host/addin/commands.h"

#include "host/addin/frm_about.h"
#include "host/addin/shared_state.h"
#include "window/frm_add_in.h"

namespace trawlex::addin {

namespace {

void ShowModeless(QWidget& window) {
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace

void RunSearchCommand() {
    window::frmAddIn& window = SearchWindow();
    ShowModeless(window);
    window.Search();
}

void ShowOptionsDialog() {}

void ShowVersionDialog() {
    ShowModeless(AboutWindow());
}

}  // namespace trawlex::addin
