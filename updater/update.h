#pragma once
// Update: the add-in object the host creates for "Trawlex.Update". On connection it puts one
// command into the host's Help menu, just above its last entry, which opens the version
// window; on disconnection it deletes the command and unloads the window.

#include "host/addin_instance.h"
#include "host/command_button.h"

namespace trawlex::updater {

inline constexpr const char* kUpdaterProgId = "Trawlex.Update";
// "Trawlex Plus" directly followed by "の アップデート(&U)".
inline constexpr const char* kUpdateCaption = "Trawlex Plusの アップデート(&U)";

class Update : public host::AddinInstance {
  public:
    Update() = default;
    ~Update() override;
    Update(const Update&) = delete;
    Update& operator=(const Update&) = delete;

    void OnConnection(host::HostApp& host, host::ConnectMode mode) override;
    void OnDisconnection(host::DisconnectMode mode) override;

  private:
    host::CommandButton mnuHUpdateItem;
};

// The click: shows the version window (its check runs first); an open window is only
// brought forward.
void ShowVersionWindow(host::HostApp* host);

}  // namespace trawlex::updater
