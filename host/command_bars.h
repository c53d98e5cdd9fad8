#pragma once
// The host's tool bars and menus, their buttons, and the click events of those buttons.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "host/event_source.h"
#include "base/result.h"

namespace trawlex::host {

// Control type of a button (msoControlButton); the only type Add makes.
inline constexpr int msoControlButton = 1;

// A button. The object stays valid while held; after Delete its members fail.
class CommandBarControl {
  public:
    virtual ~CommandBarControl() = default;
    virtual Result<std::string> Caption() const = 0;
    virtual Status SetCaption(std::string_view caption) = 0;
    // Takes the face from the host's clipboard picture; fails when the clipboard holds none.
    virtual Status PasteFace() = 0;
    // Removes the control from its bar; fails when it is already gone.
    virtual Status Delete() = 0;
};

// The controls of one bar, in order.
class CommandBarControls {
  public:
    virtual ~CommandBarControls() = default;
    virtual Result<int> Count() const = 0;
    // 1-based; fails outside 1..Count.
    virtual Result<std::shared_ptr<CommandBarControl>> Item(int index) = 0;
    // Adds a control of `type` (only msoControlButton). With `before` n in 1..Count + 1 the
    // new control takes position n; without it, or with 0, it goes at the end; any other
    // position fails.
    virtual Result<std::shared_ptr<CommandBarControl>> Add(
        int type, std::optional<int> before = std::nullopt) = 0;
};

class CommandBar {
  public:
    virtual ~CommandBar() = default;
    virtual Result<std::string> Name() const = 0;
    virtual Result<std::shared_ptr<CommandBarControls>> Controls() = 0;
};

class CommandBars {
  public:
    virtual ~CommandBars() = default;
    // The bar of that exact name; fails when there is none.
    virtual Result<std::shared_ptr<CommandBar>> Item(std::string_view name) = 0;
    // Makes a new tool bar of that name.
    virtual Result<std::shared_ptr<CommandBar>> Add(std::string_view name) = 0;
};

// Click notifications of one control. Each click on the control calls every handler once.
class CommandBarEvents {
  public:
    virtual ~CommandBarEvents() = default;
    virtual Result<Subscription> OnClick(std::function<void()> handler) = 0;
};

class Events {
  public:
    virtual ~Events() = default;
    // Fails for a control that is not (or no longer) on a bar of this host.
    virtual Result<std::shared_ptr<host::CommandBarEvents>> CommandBarEvents(
        const std::shared_ptr<CommandBarControl>& control) = 0;
};

}  // namespace trawlex::host
