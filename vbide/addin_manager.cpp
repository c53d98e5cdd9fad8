#include "vbide/addin_manager.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "base/ascii_case.h"

namespace trawlex::vbide {
namespace {

class IdeAddin : public host::Addin {
  public:
    IdeAddin(std::weak_ptr<AddinManager> manager, std::string progId)
        : manager_(std::move(manager)), progId_(std::move(progId)) {}

    Result<std::string> ProgId() const override { return progId_; }
    Result<bool> Installed() const override {
        auto m = manager_.lock();
        if (!m) return Failure{"the editor is closing"};
        auto r = ReadAddinRecord(m->flavour(), progId_);
        if (!r) return Failure{r.error()};
        return r->loadAtStartup();
    }
    Status SetInstalled(bool installed) override {
        auto m = manager_.lock();
        if (!m) return Failure{"the editor is closing"};
        return SetLoadAtStartup(m->flavour(), progId_, installed);
    }
    Result<bool> Connect() const override {
        auto m = manager_.lock();
        if (!m) return Failure{"the editor is closing"};
        return m->IsConnected(progId_);
    }
    Status SetConnect(bool connect) override {
        auto m = manager_.lock();
        if (!m) return Failure{"the editor is closing"};
        return connect ? m->Connect(progId_, host::ext_cm_AfterStartup)
                       : m->Disconnect(progId_, host::ext_dm_UserClosed);
    }

  private:
    std::weak_ptr<AddinManager> manager_;
    std::string progId_;
};

class IdeAddins : public host::Addins {
  public:
    explicit IdeAddins(std::weak_ptr<AddinManager> manager) : manager_(std::move(manager)) {}
    Result<std::shared_ptr<host::Addin>> Item(std::string_view progId) override {
        auto m = manager_.lock();
        if (!m) return Failure{"the editor is closing"};
        const std::string id(progId);
        auto record = ReadAddinRecord(m->flavour(), id);
        if (!record && !m->IsConnected(id)) return Failure{"Subscript out of range"};
        return std::shared_ptr<host::Addin>(
            std::make_shared<IdeAddin>(m, record ? record->progId : id));
    }

  private:
    std::weak_ptr<AddinManager> manager_;
};

}  // namespace

AddinManager::AddinManager(Flavour flavour, host::HostApp& host, std::function<void()> beforeUnload)
    : flavour_(flavour), host_(host), beforeUnload_(std::move(beforeUnload)) {}

AddinManager::~AddinManager() {
    DisconnectAll(host::ext_dm_HostShutdown);
    busy_ = nullptr;
    UnloadDisconnected();
}

std::vector<AddinManager::Connected>::iterator AddinManager::Find(const std::string& progId) {
    return std::find_if(connected_.begin(), connected_.end(),
                        [&](const Connected& c) { return EqualsIgnoringCase(c.progId, progId); });
}

bool AddinManager::IsConnected(const std::string& progId) const {
    return std::any_of(connected_.begin(), connected_.end(),
                       [&](const Connected& c) { return EqualsIgnoringCase(c.progId, progId); });
}

std::vector<std::string> AddinManager::ConnectedProgIds() const {
    std::vector<std::string> ids;
    for (const auto& c : connected_) ids.push_back(c.progId);
    return ids;
}

std::vector<std::string> AddinManager::ConnectStartupAddins() {
    std::vector<std::string> failures;
    for (const auto& record : ListAddinRecords(flavour_)) {
        if (!record.loadAtStartup()) continue;
        if (Status s = Connect(record.progId, host::ext_cm_Startup); !s)
            failures.push_back(record.progId + ": " + s.error());
    }
    return failures;
}

Status AddinManager::Connect(const std::string& progId, host::ConnectMode mode) {
    if (IsConnected(progId)) return {};
    auto loaded = platform::LoadAddin(progId);
    if (!loaded) return Failure{loaded.error()};
    if (!*loaded) return Failure{"the library made no add-in object for " + progId};
    host::AddinInstance* addin = loaded->get();
    // Listed before OnConnection, so an add-in asking about itself there sees it connected.
    connected_.push_back({progId, std::move(*loaded)});
    try {
        addin->OnConnection(host_, mode);
    } catch (const std::exception& e) {
        // The connection's own failure is the one to report.
        static_cast<void>(Disconnect(progId, host::ext_dm_UserClosed));
        return Failure{progId + ": " + e.what()};
    }
    return {};
}

Status AddinManager::Disconnect(const std::string& progId, host::DisconnectMode mode) {
    auto it = Find(progId);
    if (it == connected_.end()) return {};
    platform::LoadedAddin addin = std::move(it->addin);
    connected_.erase(it);
    try {
        addin->OnDisconnection(mode);
    } catch (const std::exception&) {
        // The add-in goes anyway; the host never sees its failure.
    }
    disconnected_.push_back(std::move(addin));
    UnloadDisconnected();
    return {};
}

void AddinManager::UnloadDisconnected() {
    if (disconnected_.empty() || (busy_ && busy_())) return;
    if (beforeUnload_) beforeUnload_();
    // Destroying an add-in object may disconnect others: take the list first.
    auto unloading = std::exchange(disconnected_, {});
    for (auto& addin : unloading) addin.reset();
}

void AddinManager::DisconnectAll(host::DisconnectMode mode) {
    // A handler may disconnect others while this runs; take them one at a time.
    // Disconnect always takes the add-in off the list, whatever its handler reported.
    while (!connected_.empty()) static_cast<void>(Disconnect(connected_.front().progId, mode));
}

std::shared_ptr<host::Addins> AddinManager::Addins() {
    return std::make_shared<IdeAddins>(weak_from_this());
}

}  // namespace trawlex::vbide
