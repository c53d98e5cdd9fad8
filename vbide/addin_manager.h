#pragma once
// Loads, connects and disconnects the add-ins of the editor and serves the host's add-in
// collection. Libraries come through the platform loader, which keeps every add-in library
// mapped once loaded; a disconnected add-in's object is destroyed.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/addin_instance.h"
#include "host/addin_loader.h"
#include "host/addins.h"
#include "vbide/addin_records.h"

namespace trawlex::vbide {

class AddinManager : public std::enable_shared_from_this<AddinManager> {
  public:
    AddinManager(Flavour flavour, host::HostApp& host);
    ~AddinManager();
    AddinManager(const AddinManager&) = delete;
    AddinManager& operator=(const AddinManager&) = delete;

    Flavour EditorFlavour() const { return flavour_; }
    // Connects every recorded add-in whose record asks for start-up loading, with
    // ext_cm_Startup. Returns one line per add-in that could not be loaded.
    std::vector<std::string> ConnectStartupAddins();
    // Nothing happens when it is already connected.
    Status Connect(const std::string& progId, host::ConnectMode mode);
    // Nothing happens when it is not connected.
    Status Disconnect(const std::string& progId, host::DisconnectMode mode);
    // Every connected add-in, in the order they were connected.
    void DisconnectAll(host::DisconnectMode mode);
    bool IsConnected(const std::string& progId) const;
    std::vector<std::string> ConnectedProgIds() const;

    std::shared_ptr<host::Addins> Addins();

    // While `busy` answers true (say, an add-in's click handler is on the call stack), a
    // disconnected add-in's object is kept; UnloadDisconnected lets it go.
    void SetUnloadGuard(std::function<bool()> busy) { busy_ = std::move(busy); }
    void UnloadDisconnected();

  private:
    struct Connected {
        std::string progId;
        platform::LoadedAddin addin;
    };
    std::vector<Connected>::iterator Find(const std::string& progId);

    Flavour flavour_;
    host::HostApp& host_;
    std::vector<Connected> connected_;
    std::function<bool()> busy_;
    std::vector<platform::LoadedAddin> disconnected_;
};

}  // namespace trawlex::vbide
