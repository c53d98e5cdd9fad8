#include "tests/fake_host/fake_state.h"

namespace trawlex::host::fake {

Status CheckMember(const std::weak_ptr<FakeHostState>& host, const char* member) {
    const auto state = host.lock();
    if (!state) return Failure{"The host editor has closed"};
    if (auto it = state->failures.find(member); it != state->failures.end()) {
        return Failure{it->second};
    }
    return {};
}

Failure OutOfRange(const char* what, int index, int count) {
    return Failure{std::string(what) + " index " + std::to_string(index) + " is outside 1 to " +
                   std::to_string(count)};
}

}  // namespace trawlex::host::fake
