#include "addin/shared_state.h"

#include <QCoreApplication>
#include <QPointer>

#include "addin/frm_about.h"
#include "window/frm_add_in.h"
#include "window/frm_option.h"
#include "window/search_window_state.h"

namespace trawlex::addin {

namespace {

struct SharedState {
    ConnectedHost host;
    // The search window works with this one; it outlives the window.
    window::SearchWindowState windowState;
    QPointer<window::frmAddIn> searchWindow;
    QPointer<frmAbout> aboutWindow;
    QPointer<window::frmOption> optionsWindow;
    std::optional<QPoint> searchWindowPosition;
};

SharedState& State() {
    static SharedState state;
    return state;
}

}  // namespace

ConnectedHost& SharedHost() {
    return State().host;
}

std::string EditorTemplate() {
    return State().windowState.editorTemplate;
}

void SetEditorTemplate(const std::string& editorTemplate) {
    State().windowState.editorTemplate = editorTemplate;
}

std::string CurrentFolder() {
    return State().windowState.currentFolder.toStdString();
}

void SetCurrentFolder(const std::string& folder) {
    State().windowState.currentFolder = QString::fromStdString(folder);
}

std::optional<QPoint> SearchWindowPosition() {
    SharedState& state = State();
    // A window shown before stands where the user left it, hidden or not.
    if (state.searchWindow && state.searchWindow->testAttribute(Qt::WA_WState_ExplicitShowHide)) {
        return state.searchWindow->pos();
    }
    return state.searchWindowPosition;
}

window::frmAddIn& SearchWindow() {
    SharedState& state = State();
    if (!state.searchWindow) {
        state.searchWindow = new window::frmAddIn(&state.host, state.windowState);
    }
    return *state.searchWindow;
}

window::frmAddIn* ExistingSearchWindow() {
    return State().searchWindow.data();
}

frmAbout& AboutWindow() {
    SharedState& state = State();
    if (!state.aboutWindow) state.aboutWindow = new frmAbout;
    return *state.aboutWindow;
}

frmAbout* ExistingAboutWindow() {
    return State().aboutWindow.data();
}

window::frmOption& OptionsWindow() {
    SharedState& state = State();
    if (!state.optionsWindow) {
        window::OptionLinks links;
        links.host = &state.host;
        links.existingSearchWindow = [] { return ExistingSearchWindow(); };
        links.searchWindow = []() -> window::frmAddIn& { return SearchWindow(); };
        links.editorTemplateChanged = [](const std::string& editor) { SetEditorTemplate(editor); };
        state.optionsWindow = new window::frmOption(std::move(links));
    }
    return *state.optionsWindow;
}

void ReleaseWindows() {
    SharedState& state = State();
    if (!QCoreApplication::instance()) return;
    if (window::frmAddIn* window = state.searchWindow.data()) {
        state.searchWindowPosition = SearchWindowPosition();
        state.searchWindow = nullptr;
        window->Release();
    }
    delete state.aboutWindow.data();
    delete state.optionsWindow.data();
}

}  // namespace trawlex::addin
