#pragma once
// The host as the library's windows see it: a stand-in that passes every call on to the
// host of the latest connection. The windows keep pointing at this one object, so they
// follow a reconnection and never call a host that the library has let go of.

#include "host/host_app.h"

namespace trawlex::addin {

class ConnectedHost : public host::HostApp {
  public:
    // nullptr: not connected; every member then fails.
    void SetTarget(host::HostApp* target) { target_ = target; }
    host::HostApp* Target() const { return target_; }

    Result<std::shared_ptr<host::CodePane>> ActiveCodePane() override;
    Result<std::shared_ptr<host::CodePanes>> CodePanes() override;
    Result<std::shared_ptr<host::VBProject>> ActiveVBProject() override;
    Result<std::shared_ptr<host::CommandBars>> CommandBars() override;
    Result<std::shared_ptr<host::Events>> Events() override;
    Result<std::shared_ptr<host::Addins>> Addins() override;
    Result<std::string> LastUsedPath() const override;
    Result<std::string> DefaultValue() const override;
    Status SetClipboardPicture(const host::Bitmap& picture) override;
    Result<host::Bitmap> ClipboardPicture() const override;

  private:
    host::HostApp* target_ = nullptr;
};

}  // namespace trawlex::addin
