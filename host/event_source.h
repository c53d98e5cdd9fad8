#pragma once
// Click notification plumbing shared by the hosts: handlers subscribe and get a handle that
// unsubscribes when cancelled or destroyed.

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace trawlex::host {

// Owns one subscription. Destroying or cancelling it removes the handler; it is safe to
// outlive the event it came from.
class [[nodiscard]] Subscription {
  public:
    Subscription() = default;
    explicit Subscription(std::function<void()> cancel) : cancel_(std::move(cancel)) {}
    Subscription(Subscription&& other) noexcept : cancel_(std::exchange(other.cancel_, {})) {}
    Subscription& operator=(Subscription&& other) noexcept;
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription() { Cancel(); }

    void Cancel();
    bool Active() const { return static_cast<bool>(cancel_); }

  private:
    std::function<void()> cancel_;
};

// A click event with any number of handlers. Fire calls each handler subscribed at that
// moment exactly once; handlers may subscribe or cancel (themselves or others) while it runs.
class ClickEvent {
  public:
    using Handler = std::function<void()>;

    ClickEvent();
    Subscription Subscribe(Handler handler);
    void Fire();
    int HandlerCount() const;

  private:
    struct State {
        int nextId = 1;
        std::vector<std::pair<int, std::shared_ptr<Handler>>> handlers;
    };
    std::shared_ptr<State> state_;
};

}  // namespace trawlex::host
