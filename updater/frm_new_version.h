#pragma once
// frmNewVersion ("Trawlex Plus Updates"): asks the user's leave, probes the update server for
// the versions of the main library, lists them, and installs the chosen one in place of the
// installed library, disconnecting the main add-in before and connecting it after. The
// window deletes itself when it is unloaded (closed).

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

#include "base/result.h"
#include "updater/message_boxes.h"
#include "updater/version_key.h"

class QListWidget;
class QPushButton;

namespace trawlex::host {
class HostApp;
}

namespace trawlex::updater {

class UpdateRequest;

struct CheckSettings {
    std::string server;  // base URL of the update server
    Version current;     // the version the list selects: the updater's own
    int timeoutMs;       // of every request
};

// The maker's server (or TRAWLEX_UPDATE_SERVER), the updater's version, 30 s.
CheckSettings DefaultCheckSettings();

class frmNewVersion : public QDialog {
    Q_OBJECT
  public:
    // `host` reaches the main add-in (may be nullptr); `boxes` shows the messages (nullptr:
    // real message boxes).
    frmNewVersion(host::HostApp* host, CheckSettings settings,
                  std::shared_ptr<MessageBoxes> boxes = nullptr, QWidget* parent = nullptr);
    ~frmNewVersion() override;

    // The version check. False when the window is to be unloaded: the user declined, the
    // check failed (after a message saying why) or was cancelled.
    bool Form_Load();
    void cmdVersion_Click();
    void cmdCancel_Click();
    // Replaces and re-registers the main library; the failure names the reason.
    Status InstallVersion(const std::string& key);

    // Ends a version check or download in progress, as its progress dialog's cancel does.
    void CancelRequests();
    bool busy() const { return busy_; }

    // "Version " + the updater's version.
    QString CurrentVersion;

    // Controls, named as their objectNames.
    QListWidget* lstVersions = nullptr;
    QPushButton* cmdVersion = nullptr;
    QPushButton* cmdCancel = nullptr;

  private:
    // Runs `work` while a progress dialog with a cancel button shows `label`.
    void WithProgress(const QString& label, const std::function<void()>& work);

    host::HostApp* host_;
    CheckSettings settings_;
    std::shared_ptr<MessageBoxes> boxes_;
    UpdateRequest* HttpReq = nullptr;
    bool busy_ = false;
};

}  // namespace trawlex::updater
