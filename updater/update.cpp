#include "updater/update.h"

#include <QApplication>
#include <QPointer>

#include "host/host_app.h"
#include "updater/frm_new_version.h"
#include "updater/update_face.h"

namespace trawlex::updater {

namespace {

// The one version window of the library.
QPointer<frmNewVersion>& VersionWindow() {
    static QPointer<frmNewVersion> window;
    return window;
}

void UnloadVersionWindow() {
    frmNewVersion* window = VersionWindow().data();
    if (!window) return;
    VersionWindow() = nullptr;
    // A check in progress ends first; its load then finds the window unloaded.
    window->CancelRequests();
    if (window->busy()) {
        window->hide();
        window->deleteLater();
    } else {
        delete window;
    }
}

}  // namespace

Update::~Update() {
    UnloadVersionWindow();
}

void Update::OnConnection(host::HostApp& host, host::ConnectMode mode) {
    if (mode == host::ext_cm_External) return;
    host::HostApp* connected = &host;
    mnuHUpdateItem.Add(host, "Help", /*beforeLast=*/true, kUpdateCaption, UpdateFace(),
                       [connected] { ShowVersionWindow(connected); });
}

void Update::OnDisconnection(host::DisconnectMode) {
    mnuHUpdateItem.Remove();
    mnuHUpdateItem.ForgetControl();
    UnloadVersionWindow();
}

void ShowVersionWindow(host::HostApp* host) {
    // Windows need the host's application object.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
    if (frmNewVersion* open = VersionWindow().data()) {
        if (open->isVisible()) {
            open->raise();
            open->activateWindow();
        }
        return;
    }
    QPointer<frmNewVersion> window = new frmNewVersion(host, DefaultCheckSettings());
    VersionWindow() = window;
    const bool loaded = window->Form_Load();
    // The add-in may have been disconnected while the check ran.
    if (!window || VersionWindow() != window) return;
    if (!loaded) {
        VersionWindow() = nullptr;
        delete window.data();
        return;
    }
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace trawlex::updater
