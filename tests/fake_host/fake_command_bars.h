#pragma once
// Command bars of the fake host that record what add-ins do to them.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/bitmap.h"
#include "host/command_bars.h"
#include "host/event_source.h"

namespace trawlex::host::fake {

struct FakeHostState;
class FakeCommandBar;

class FakeControl : public CommandBarControl {
  public:
    FakeControl(std::weak_ptr<FakeHostState> host, std::weak_ptr<FakeCommandBar> bar,
                std::string caption);

    Result<std::string> Caption() const override;
    Status SetCaption(std::string_view caption) override;
    Status PasteFace() override;
    Status Delete() override;

    // For tests.
    const std::string& caption() const { return caption_; }
    const std::optional<Bitmap>& face() const { return face_; }
    bool deleted() const { return deleted_; }
    std::shared_ptr<FakeCommandBar> bar() const { return bar_.lock(); }
    ClickEvent& click() { return click_; }
    bool BelongsTo(const FakeHostState& state) const;

  private:
    Status Check(const char* member) const;

    std::weak_ptr<FakeHostState> host_;
    std::weak_ptr<FakeCommandBar> bar_;
    std::string caption_;
    std::optional<Bitmap> face_;
    bool deleted_ = false;
    ClickEvent click_;
};

class FakeCommandBar : public CommandBar, public std::enable_shared_from_this<FakeCommandBar> {
  public:
    FakeCommandBar(std::weak_ptr<FakeHostState> host, std::string name);

    Result<std::string> Name() const override;
    Result<std::shared_ptr<CommandBarControls>> Controls() override;

    // For tests.
    const std::string& name() const { return name_; }
    // Present controls in order.
    const std::vector<std::shared_ptr<FakeControl>>& controls() const { return controls_; }
    std::vector<std::string> captions() const;
    // Controls deleted from this bar, in the order of deletion.
    const std::vector<std::shared_ptr<FakeControl>>& deletedControls() const { return deleted_; }
    // A control the host itself put there.
    std::shared_ptr<FakeControl> AddBuiltInControl(std::string caption);
    // A new control at 1-based `position` (1 to the number of controls + 1).
    std::shared_ptr<FakeControl> InsertControl(int position, std::string caption);

  private:
    friend class FakeControl;
    std::weak_ptr<FakeHostState> host_;
    std::string name_;
    std::vector<std::shared_ptr<FakeControl>> controls_;
    std::vector<std::shared_ptr<FakeControl>> deleted_;
};

}  // namespace trawlex::host::fake
