#include "host/event_source.h"

#include <algorithm>

namespace trawlex::host {

Subscription& Subscription::operator=(Subscription&& other) noexcept {
    if (this != &other) {
        Cancel();
        cancel_ = std::exchange(other.cancel_, {});
    }
    return *this;
}

void Subscription::Cancel() {
    if (auto cancel = std::exchange(cancel_, {})) cancel();
}

ClickEvent::ClickEvent() : state_(std::make_shared<State>()) {}

Subscription ClickEvent::Subscribe(Handler handler) {
    const int id = state_->nextId++;
    state_->handlers.emplace_back(id, std::make_shared<Handler>(std::move(handler)));
    std::weak_ptr<State> weak = state_;
    return Subscription([weak, id] {
        if (auto state = weak.lock()) {
            std::erase_if(state->handlers, [id](const auto& entry) { return entry.first == id; });
        }
    });
}

void ClickEvent::Fire() {
    // Work from a snapshot so handlers may change the subscriptions while we run; a handler
    // cancelled by an earlier one in this round is skipped.
    const auto snapshot = state_->handlers;
    const std::weak_ptr<State> weak = state_;
    for (const auto& [id, handler] : snapshot) {
        auto state = weak.lock();
        if (!state) return;
        const bool stillSubscribed =
            std::any_of(state->handlers.begin(), state->handlers.end(),
                        [id = id](const auto& entry) { return entry.first == id; });
        if (stillSubscribed && *handler) (*handler)();
    }
}

int ClickEvent::HandlerCount() const {
    return static_cast<int>(state_->handlers.size());
}

}  // namespace trawlex::host
