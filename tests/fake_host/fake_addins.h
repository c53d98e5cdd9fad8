#pragma once
// The fake host's add-in collection, recording every change an add-in asks for.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/addins.h"

namespace trawlex::host::fake {

struct FakeHostState;

class FakeAddin : public Addin {
  public:
    // Called when Connect is about to change; a failure keeps the add-in as it was and is
    // what SetConnect reports (a library that cannot load, for instance).
    using ConnectHandler = std::function<Status(bool connect)>;

    FakeAddin(std::weak_ptr<FakeHostState> host, std::string progId, bool installed,
              bool connected);

    Result<std::string> ProgId() const override;
    Result<bool> Installed() const override;
    Status SetInstalled(bool installed) override;
    Result<bool> Connect() const override;
    Status SetConnect(bool connect) override;

    // For tests.
    void SetConnectHandler(ConnectHandler handler) { onConnect_ = std::move(handler); }
    const std::string& progId() const { return progId_; }
    bool installed() const { return installed_; }
    bool connected() const { return connected_; }
    // Every assignment that succeeded, in order: "Installed=True", "Connect=False" and so on.
    const std::vector<std::string>& changes() const { return changes_; }

  private:
    Status Check(const char* member) const;

    std::weak_ptr<FakeHostState> host_;
    std::string progId_;
    bool installed_;
    bool connected_;
    ConnectHandler onConnect_;
    std::vector<std::string> changes_;
};

}  // namespace trawlex::host::fake
