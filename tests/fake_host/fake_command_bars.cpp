#include "tests/fake_host/fake_command_bars.h"

#include <algorithm>

#include "tests/fake_host/fake_state.h"

namespace trawlex::host::fake {
namespace {

class FakeControls : public CommandBarControls {
  public:
    FakeControls(std::weak_ptr<FakeHostState> host, std::weak_ptr<FakeCommandBar> bar)
        : host_(std::move(host)), bar_(std::move(bar)) {}

    Result<int> Count() const override {
        TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "CommandBarControls.Count"));
        auto bar = bar_.lock();
        if (!bar) return Failure{"The command bar has been removed"};
        return static_cast<int>(bar->controls().size());
    }

    Result<std::shared_ptr<CommandBarControl>> Item(int index) override {
        TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "CommandBarControls.Item"));
        auto bar = bar_.lock();
        if (!bar) return Failure{"The command bar has been removed"};
        const int count = static_cast<int>(bar->controls().size());
        if (index < 1 || index > count) return OutOfRange("Control", index, count);
        return std::shared_ptr<CommandBarControl>(bar->controls()[index - 1]);
    }

    Result<std::shared_ptr<CommandBarControl>> Add(int type, std::optional<int> before) override {
        TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "CommandBarControls.Add"));
        auto bar = bar_.lock();
        if (!bar) return Failure{"The command bar has been removed"};
        if (type != msoControlButton) {
            return Failure{"Control type " + std::to_string(type) + " cannot be added"};
        }
        const int count = static_cast<int>(bar->controls().size());
        const int position = before.value_or(0) == 0 ? count + 1 : *before;
        if (position < 1 || position > count + 1) return OutOfRange("Before", position, count + 1);
        return std::shared_ptr<CommandBarControl>(bar->InsertControl(position, ""));
    }

  private:
    std::weak_ptr<FakeHostState> host_;
    std::weak_ptr<FakeCommandBar> bar_;
};

class FakeCommandBarEvents : public CommandBarEvents {
  public:
    FakeCommandBarEvents(std::weak_ptr<FakeHostState> host, std::weak_ptr<FakeControl> control)
        : host_(std::move(host)), control_(std::move(control)) {}

    Result<Subscription> OnClick(std::function<void()> handler) override {
        TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "CommandBarEvents.OnClick"));
        auto control = control_.lock();
        if (!control || control->deleted()) return Failure{"The control has been deleted"};
        return control->click().Subscribe(std::move(handler));
    }

  private:
    std::weak_ptr<FakeHostState> host_;
    std::weak_ptr<FakeControl> control_;
};

class FakeBars : public CommandBars {
  public:
    explicit FakeBars(std::weak_ptr<FakeHostState> host) : host_(std::move(host)) {}

    Result<std::shared_ptr<CommandBar>> Item(std::string_view name) override {
        TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "CommandBars.Item"));
        if (auto bar = FindBar(*host_.lock(), name)) return std::shared_ptr<CommandBar>(bar);
        return Failure{"No command bar named \"" + std::string(name) + "\""};
    }

    Result<std::shared_ptr<CommandBar>> Add(std::string_view name) override {
        TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "CommandBars.Add"));
        auto state = host_.lock();
        if (FindBar(*state, name)) {
            return Failure{"A command bar named \"" + std::string(name) + "\" already exists"};
        }
        state->bars.push_back(std::make_shared<FakeCommandBar>(host_, std::string(name)));
        return std::shared_ptr<CommandBar>(state->bars.back());
    }

  private:
    std::weak_ptr<FakeHostState> host_;
};

class FakeEvents : public Events {
  public:
    explicit FakeEvents(std::weak_ptr<FakeHostState> host) : host_(std::move(host)) {}

    Result<std::shared_ptr<host::CommandBarEvents>> CommandBarEvents(
        const std::shared_ptr<CommandBarControl>& control) override {
        TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "Events.CommandBarEvents"));
        auto fake = std::dynamic_pointer_cast<FakeControl>(control);
        if (!fake || !fake->BelongsTo(*host_.lock())) {
            return Failure{"The control does not belong to this host"};
        }
        if (fake->deleted()) return Failure{"The control has been deleted"};
        return std::shared_ptr<host::CommandBarEvents>(
            std::make_shared<FakeCommandBarEvents>(host_, fake));
    }

  private:
    std::weak_ptr<FakeHostState> host_;
};

}  // namespace

std::shared_ptr<FakeCommandBar> FindBar(const FakeHostState& state, std::string_view name) {
    for (const auto& bar : state.bars) {
        if (bar->name() == name) return bar;
    }
    return nullptr;
}

std::shared_ptr<CommandBars> MakeFakeCommandBars(std::weak_ptr<FakeHostState> host) {
    return std::make_shared<FakeBars>(std::move(host));
}

std::shared_ptr<Events> MakeFakeEvents(std::weak_ptr<FakeHostState> host) {
    return std::make_shared<FakeEvents>(std::move(host));
}

// --- FakeControl

FakeControl::FakeControl(std::weak_ptr<FakeHostState> host, std::weak_ptr<FakeCommandBar> bar,
                         std::string caption)
    : host_(std::move(host)), bar_(std::move(bar)), caption_(std::move(caption)) {}

bool FakeControl::BelongsTo(const FakeHostState& state) const {
    return host_.lock().get() == &state;
}

Status FakeControl::Check(const char* member) const {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, member));
    if (deleted_) return Failure{"The control has been deleted"};
    return {};
}

Result<std::string> FakeControl::Caption() const {
    TRAWLEX_RETURN_IF_FAILED(Check("CommandBarControl.Caption"));
    return caption_;
}

Status FakeControl::SetCaption(std::string_view caption) {
    TRAWLEX_RETURN_IF_FAILED(Check("CommandBarControl.SetCaption"));
    caption_ = caption;
    return {};
}

Status FakeControl::PasteFace() {
    TRAWLEX_RETURN_IF_FAILED(Check("CommandBarControl.PasteFace"));
    const auto& clipboard = host_.lock()->clipboard;
    if (!clipboard) return Failure{"The clipboard holds no picture"};
    face_ = *clipboard;
    return {};
}

Status FakeControl::Delete() {
    TRAWLEX_RETURN_IF_FAILED(Check("CommandBarControl.Delete"));
    deleted_ = true;
    if (auto bar = bar_.lock()) {
        auto& controls = bar->controls_;
        auto it = std::find_if(controls.begin(), controls.end(),
                               [this](const auto& control) { return control.get() == this; });
        if (it != controls.end()) {
            bar->deleted_.push_back(*it);
            controls.erase(it);
        }
    }
    return {};
}

// --- FakeCommandBar

FakeCommandBar::FakeCommandBar(std::weak_ptr<FakeHostState> host, std::string name)
    : host_(std::move(host)), name_(std::move(name)) {}

Result<std::string> FakeCommandBar::Name() const {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "CommandBar.Name"));
    return name_;
}

Result<std::shared_ptr<CommandBarControls>> FakeCommandBar::Controls() {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "CommandBar.Controls"));
    return std::shared_ptr<CommandBarControls>(
        std::make_shared<FakeControls>(host_, weak_from_this()));
}

std::vector<std::string> FakeCommandBar::captions() const {
    std::vector<std::string> captions;
    for (const auto& control : controls_) captions.push_back(control->caption());
    return captions;
}

std::shared_ptr<FakeControl> FakeCommandBar::AddBuiltInControl(std::string caption) {
    return InsertControl(static_cast<int>(controls_.size()) + 1, std::move(caption));
}

std::shared_ptr<FakeControl> FakeCommandBar::InsertControl(int position, std::string caption) {
    auto control = std::make_shared<FakeControl>(host_, weak_from_this(), std::move(caption));
    controls_.insert(controls_.begin() + (position - 1), control);
    return control;
}

}  // namespace trawlex::host::fake
