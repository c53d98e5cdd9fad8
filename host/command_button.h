#pragma once
// A command an add-in puts on the host's bars: one button with its caption, its face and its
// click binding. Both add-in libraries make their commands this way.

#include <functional>
#include <memory>
#include <string_view>

#include "host/bitmap.h"
#include "host/command_bars.h"
#include "host/event_source.h"

namespace trawlex::host {

class HostApp;

// The bar of that name (made when the host has none), and on it a new button: just before
// the bar's last control when `beforeLast` is set, else at the end. nullptr when the host
// refuses.
std::shared_ptr<CommandBarControl> AddToCommandBar(HostApp& host, std::string_view barName,
                                                   bool beforeLast);

class CommandButton {
  public:
    // Adds the button, sets its caption, pastes `face` through the host's clipboard (the
    // clipboard keeps it) and binds `click` to the host's click source of the button. A step
    // the host refuses is left out and the next one runs.
    void Add(HostApp& host, std::string_view barName, bool beforeLast, std::string_view caption,
             const Bitmap& face, std::function<void()> click);
    // Ends the click binding and deletes the button. A button the host refused to delete is
    // kept, so a later Remove tries again; ForgetControl lets it go.
    void Remove();
    void ForgetControl() { control_.reset(); }

    const std::shared_ptr<CommandBarControl>& control() const { return control_; }

  private:
    std::shared_ptr<CommandBarControl> control_;
    std::shared_ptr<CommandBarEvents> events_;
    Subscription click_;
};

}  // namespace trawlex::host
