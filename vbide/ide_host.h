#pragma once
// The editor as the add-ins see it: the host interface over the workspace, the command bars,
// the add-in manager and the clipboard.

#include <memory>
#include <string>

#include "host/host_app.h"
#include "vbide/ide_flavour.h"

namespace trawlex::vbide {

class IdeWorkspace;
class IdeCommandBarSet;
class AddinManager;

class IdeHost : public host::HostApp {
  public:
    IdeHost(Flavour flavour, IdeWorkspace& workspace, IdeCommandBarSet& bars);
    ~IdeHost() override;

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

    Flavour EditorFlavour() const { return flavour_; }
    AddinManager& Manager() { return *addins_; }
    // The folder of the project opened last (Visual Basic 6.0 flavour).
    void SetLastUsedPath(std::string folder) { lastUsedPath_ = std::move(folder); }

  private:
    Flavour flavour_;
    IdeWorkspace& workspace_;
    IdeCommandBarSet& bars_;
    std::shared_ptr<AddinManager> addins_;
    std::string lastUsedPath_;
};

}  // namespace trawlex::vbide
