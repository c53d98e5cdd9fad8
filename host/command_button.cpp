#include "host/command_button.h"

#include <optional>

#include "host/host_app.h"

namespace trawlex::host {

std::shared_ptr<CommandBarControl> AddToCommandBar(HostApp& host, std::string_view barName,
                                                   bool beforeLast) {
    Result<std::shared_ptr<CommandBars>> bars = host.CommandBars();
    if (!bars || !*bars) return nullptr;
    std::shared_ptr<CommandBar> bar;
    if (auto found = (*bars)->Item(barName); found && *found) {
        bar = *found;
    } else if (auto added = (*bars)->Add(barName); added) {
        bar = *added;
    }
    if (!bar) return nullptr;
    Result<std::shared_ptr<CommandBarControls>> controls = bar->Controls();
    if (!controls || !*controls) return nullptr;
    std::optional<int> before;
    if (beforeLast) before = (*controls)->Count().value_or(0);
    Result<std::shared_ptr<CommandBarControl>> control = (*controls)->Add(msoControlButton, before);
    return control ? *control : nullptr;
}

void CommandButton::Add(HostApp& host, std::string_view barName, bool beforeLast,
                        std::string_view caption, const Bitmap& face, std::function<void()> click) {
    control_ = AddToCommandBar(host, barName, beforeLast);
    if (!control_) return;
    // Each step below is left out when the host refuses it.
    (void)control_->SetCaption(caption);
    if (host.SetClipboardPicture(face)) (void)control_->PasteFace();
    Result<std::shared_ptr<Events>> events = host.Events();
    if (!events || !*events) return;
    if (auto source = (*events)->CommandBarEvents(control_); source && *source) {
        events_ = *source;
        if (auto subscription = events_->OnClick(std::move(click))) {
            click_ = std::move(*subscription);
        }
    }
}

void CommandButton::Remove() {
    click_.Cancel();
    events_.reset();
    if (control_ && control_->Delete()) control_.reset();
}

}  // namespace trawlex::host
