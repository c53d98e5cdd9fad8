#pragma once
// Connect: the add-in object the host creates for "Trawlex.Connect". On connection it loads
// the editor template and the start folder and puts five commands on the host's bars; on
// disconnection it takes them off again and closes the search window.

#include <array>
#include <memory>
#include <string_view>

#include "host/addin_instance.h"
#include "host/command_button.h"

namespace trawlex::addin {

class Connect : public host::AddinInstance {
  public:
    Connect();
    ~Connect() override;
    Connect(const Connect&) = delete;
    Connect& operator=(const Connect&) = delete;

    void OnConnection(host::HostApp& host, host::ConnectMode mode) override;
    void OnDisconnection(host::DisconnectMode mode) override;

  private:
    static constexpr int kCommandCount = 5;

    void RemoveCommands();

    host::HostApp* host_ = nullptr;
    // In the order they are made: tool-bar search button, tool-bar options button, Add-Ins
    // item, Tools item, Help item.
    std::array<host::CommandButton, kCommandCount> commands_;
};

}  // namespace trawlex::addin
