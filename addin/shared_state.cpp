#include "addin/shared_state.h"

#include <dlfcn.h>

#include <QCoreApplication>
#include <QPointer>

#include "addin/frm_about.h"
#include "host/addin_loader.h"
#include "window/frm_add_in.h"
#include "window/frm_option.h"

namespace trawlex::addin {

namespace {

struct SharedState {
    ConnectedHost host;
    std::string editorTemplate;
    std::string currentFolder;
    QPointer<window::frmAddIn> searchWindow;
    QPointer<frmAbout> aboutWindow;
    QPointer<window::frmOption> optionsWindow;
};

SharedState& State() {
    static SharedState state;
    return state;
}

// A search window released during its run outlives the add-in object, and the host may
// unload the library right after: pin the library so its code stays mapped until then.
void KeepLibraryLoaded() {
    static bool pinned = false;
    if (pinned) return;
    const std::string path =
        platform::ThisLibraryPath(reinterpret_cast<const void*>(&KeepLibraryLoaded));
    if (path.empty()) return;
    // NOLOAD: this marks the library already loaded; it never loads a second copy.
    pinned = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE) != nullptr;
}

}  // namespace

ConnectedHost& SharedHost() {
    return State().host;
}

std::string EditorTemplate() {
    if (window::frmAddIn* window = ExistingSearchWindow()) return window->EditorTemplate();
    return State().editorTemplate;
}

void SetEditorTemplate(const std::string& editorTemplate) {
    State().editorTemplate = editorTemplate;
    if (window::frmAddIn* window = ExistingSearchWindow())
        window->SetEditorTemplate(editorTemplate);
}

std::string CurrentFolder() {
    if (window::frmAddIn* window = ExistingSearchWindow()) {
        return window->CurrentFolder().toStdString();
    }
    return State().currentFolder;
}

void SetCurrentFolder(const std::string& folder) {
    State().currentFolder = folder;
    if (window::frmAddIn* window = ExistingSearchWindow()) {
        window->SetCurrentFolder(QString::fromStdString(folder));
    }
}

window::frmAddIn& SearchWindow() {
    SharedState& state = State();
    if (!state.searchWindow) {
        state.searchWindow =
            new window::frmAddIn(&state.host, QString::fromStdString(state.currentFolder));
        state.searchWindow->SetEditorTemplate(state.editorTemplate);
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
    if (state.searchWindow) {
        state.currentFolder = state.searchWindow->CurrentFolder().toStdString();
        state.editorTemplate = state.searchWindow->EditorTemplate();
    }
    if (window::frmAddIn* window = state.searchWindow.data()) {
        state.searchWindow = nullptr;
        if (window->IsSearching()) KeepLibraryLoaded();
        window->Release();
    }
    delete state.aboutWindow.data();
    delete state.optionsWindow.data();
}

}  // namespace trawlex::addin
