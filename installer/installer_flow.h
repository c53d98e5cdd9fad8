#pragma once
// The installer's run: the splash, then the install-options window (first installation) or
// the maintenance window (the setting "BootEditor" of the main library is set), and the end
// of the program. It owns the windows.

#include <QObject>
#include <functional>
#include <memory>
#include <string>

#include "installer/installer_messages.h"

namespace trawlex::installer {

class FrmIApps;
class FrmIMain;
class FrmIMdfy;

struct InstallerSettings {
    std::string folder;  // holds trawlex.dll and trawlexup.dll: the current directory
    int splashTickMs = 1500;
    int checkPausePercent = 100;  // the checks' pauses, scaled (0 in tests)
    // Ends the program at once; QCoreApplication::exit(0) when not set.
    std::function<void()> endProgram;
};

class InstallerFlow : public QObject {
    Q_OBJECT

  public:
    InstallerFlow(InstallerSettings settings, InstallerMessages& messages);
    ~InstallerFlow() override;

    // Shows the splash, whose timer leads on.
    void Start();
    // The splash's decision: unloads the splash, then shows the maintenance window when
    // "BootEditor" is set, else the install-options window.
    void LeaveSplash();
    // The maintenance window's reinstallation: the install-options window in its place.
    void Reinstall();
    // Hides every window and ends the program; no further window events run.
    void EndProgram();

    bool ended() const { return ended_; }
    const InstallerSettings& settings() const { return settings_; }
    InstallerMessages& messages() const { return messages_; }
    FrmIMain* splash() const { return splash_.get(); }
    FrmIApps* installOptions() const { return installOptions_.get(); }
    FrmIMdfy* maintenance() const { return maintenance_.get(); }

  private:
    void ShowInstallOptions();
    void ShowMaintenance();

    InstallerSettings settings_;
    InstallerMessages& messages_;
    std::unique_ptr<FrmIMain> splash_;
    std::unique_ptr<FrmIApps> installOptions_;
    std::unique_ptr<FrmIMdfy> maintenance_;
    bool ended_ = false;
};

}  // namespace trawlex::installer
