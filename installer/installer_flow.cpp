#include "installer/installer_flow.h"

#include <QCoreApplication>

#include "installer/frm_iapps.h"
#include "installer/frm_imain.h"
#include "installer/frm_imdfy.h"
#include "installer/installer_look.h"
#include "platform/settings.h"
#include "registration/addin_libraries.h"

namespace trawlex::installer {

InstallerFlow::InstallerFlow(InstallerSettings settings, InstallerMessages& messages)
    : settings_(std::move(settings)), messages_(messages) {
    MapDesignFonts();
}

InstallerFlow::~InstallerFlow() = default;

void InstallerFlow::Start() {
    splash_ = std::make_unique<FrmIMain>(*this);
    splash_->show();
}

namespace {

// A window is unloaded from its own handlers, so it is deleted once they have returned.
template <typename Window>
void Unload(std::unique_ptr<Window>& window) {
    if (!window) return;
    window->hide();
    window.release()->deleteLater();
}

}  // namespace

void InstallerFlow::LeaveSplash() {
    Unload(splash_);
    const std::string bootEditor = platform::GetSetting(
        registration::kSettingsApp, registration::kMainLibrary.section, "BootEditor", "");
    if (bootEditor.empty()) {
        ShowInstallOptions();
    } else {
        ShowMaintenance();
    }
}

void InstallerFlow::Reinstall() {
    maintenance_->hide();
    ShowInstallOptions();
    Unload(maintenance_);
}

void InstallerFlow::ShowInstallOptions() {
    installOptions_ = std::make_unique<FrmIApps>(*this);
    installOptions_->show();
}

void InstallerFlow::ShowMaintenance() {
    maintenance_ = std::make_unique<FrmIMdfy>(*this);
    maintenance_->show();
}

void InstallerFlow::EndProgram() {
    if (ended_) return;
    ended_ = true;
    for (QWidget* window :
         {static_cast<QWidget*>(splash_.get()), static_cast<QWidget*>(installOptions_.get()),
          static_cast<QWidget*>(maintenance_.get())}) {
        if (window) window->hide();
    }
    if (settings_.endProgram) {
        settings_.endProgram();
    } else {
        QCoreApplication::exit(0);
    }
}

}  // namespace trawlex::installer
