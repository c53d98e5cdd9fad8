#pragma once
// An in-memory host editor for tests, in either flavour. Tests build projects and panes,
// inspect what add-ins did to the command bars and add-ins, fire clicks, and make any
// member fail with a chosen description.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/fake_host/fake_addins.h"
#include "tests/fake_host/fake_code.h"
#include "tests/fake_host/fake_command_bars.h"
#include "host/host_app.h"

namespace trawlex::host::fake {

enum class HostFlavour {
    VisualBasic6,  // LastUsedPath and a non-empty default value
    OfficeEditor,  // neither: both fail
};

// The default value of the Visual Basic 6.0 flavour.
inline constexpr const char* kVisualBasic6DefaultValue = "Microsoft Visual Basic";

// Command bars every fake host starts with, each holding a few built-in controls.
inline constexpr const char* kStandardBar = "標準";
inline constexpr const char* kAddInsMenu = "Add-Ins";
inline constexpr const char* kToolsMenu = "Tools";
inline constexpr const char* kHelpMenu = "Help";

class FakeHost : public HostApp {
  public:
    explicit FakeHost(HostFlavour flavour = HostFlavour::VisualBasic6);
    ~FakeHost() override;
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    Result<std::shared_ptr<CodePane>> ActiveCodePane() override;
    Result<std::shared_ptr<host::CodePanes>> CodePanes() override;
    Result<std::shared_ptr<VBProject>> ActiveVBProject() override;
    Result<std::shared_ptr<host::CommandBars>> CommandBars() override;
    Result<std::shared_ptr<host::Events>> Events() override;
    Result<std::shared_ptr<host::Addins>> Addins() override;
    Result<std::string> LastUsedPath() const override;
    Result<std::string> DefaultValue() const override;
    Status SetClipboardPicture(const Bitmap& picture) override;
    Result<Bitmap> ClipboardPicture() const override;

    // --- Setting up
    HostFlavour flavour() const;
    // The first project added becomes the active one.
    std::shared_ptr<FakeProject> AddProject(std::string name);
    // nullptr: no active project.
    void SetActiveProject(const std::shared_ptr<FakeProject>& project);
    // Opens a new pane on a component with code, after the open ones, and activates it
    // (a component may be open in several panes). nullptr for a component without code.
    std::shared_ptr<FakeCodePane> OpenPane(const std::shared_ptr<FakeComponent>& component);
    // Makes an open pane the active one and its project the active project; nullptr: none.
    void ActivatePane(const std::shared_ptr<FakeCodePane>& pane);
    // The pane leaves CodePanes and its members fail from now on; when it was the active
    // pane, no pane is active until one is activated or shown.
    void ClosePane(const std::shared_ptr<FakeCodePane>& pane);
    // Visual Basic 6.0 flavour only; the Office editor keeps failing.
    void SetLastUsedPath(std::string path);
    std::shared_ptr<FakeAddin> AddAddin(std::string progId, bool installed = false,
                                        bool connected = false);

    // --- Failure injection. `member` is "Class.Member" as declared in the interface, e.g.
    // "HostApp.ActiveCodePane", "CodeModule.ReplaceLine", "CommandBarControl.PasteFace",
    // "CommandBars.Item", "CommandBarControls.Add", "Events.CommandBarEvents",
    // "Addin.SetConnect". Every object of that class fails the member with `description`
    // until it is restored.
    void FailMember(std::string member, std::string description);
    void RestoreMember(const std::string& member);

    // --- Inspection
    std::shared_ptr<FakeCommandBar> bar(std::string_view name) const;
    std::vector<std::string> barNames() const;
    std::shared_ptr<FakeCodePane> activePane() const;
    std::vector<std::shared_ptr<FakeCodePane>> openPanes() const;
    std::shared_ptr<FakeProject> activeProject() const;
    std::shared_ptr<FakeAddin> addin(std::string_view progId) const;
    std::optional<Bitmap> clipboardPicture() const;
    // Clicks a control: every click handler bound to it runs once. False when the control
    // is deleted or does not belong to this host.
    bool FireClick(const std::shared_ptr<CommandBarControl>& control);

  private:
    std::shared_ptr<FakeHostState> state_;
};

}  // namespace trawlex::host::fake
