#include "window/fiber.h"

#include <sys/mman.h>
#include <ucontext.h>
#include <unistd.h>

#include <cstdint>
#include <new>
#include <stdexcept>
#include <utility>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#define TRAWLEX_FIBER_ASAN 1
#endif

namespace trawlex::window {

struct Fiber::Context {
    ucontext_t caller{};
    ucontext_t fiber{};
    void* stack = nullptr;  // the mapping, its lowest page a guard
    std::size_t mapped = 0;
    std::size_t guard = 0;
    // The address sanitizer is told of every switch between the two stacks.
    void* fakeStack = nullptr;
    const void* callerBottom = nullptr;
    std::size_t callerSize = 0;
};

Fiber::Fiber(std::size_t stackBytes) : context_(std::make_unique<Context>()) {
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    context_->guard = page;
    context_->mapped = (stackBytes + page - 1) / page * page + page;
    void* stack = ::mmap(nullptr, context_->mapped, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (stack == MAP_FAILED) throw std::bad_alloc();
    ::mprotect(stack, page, PROT_NONE);  // an overflow faults instead of writing past
    context_->stack = stack;
}

Fiber::~Fiber() {
    ::munmap(context_->stack, context_->mapped);
}

void Fiber::Start(std::function<void()> work) {
    if (!Idle()) throw std::logic_error("fiber busy");
    work_ = std::move(work);
    ended_ = false;
    failure_ = nullptr;
    Context& c = *context_;
    ::getcontext(&c.fiber);
    c.fiber.uc_stack.ss_sp = static_cast<char*>(c.stack) + c.guard;
    c.fiber.uc_stack.ss_size = c.mapped - c.guard;
    c.fiber.uc_link = &c.caller;
    // makecontext passes ints: the pointer goes in two halves.
    const auto self = reinterpret_cast<std::uintptr_t>(this);
    ::makecontext(&c.fiber, reinterpret_cast<void (*)()>(&Fiber::Enter), 2,
                  static_cast<unsigned int>(self >> 32), static_cast<unsigned int>(self));
}

void Fiber::Enter(unsigned int high, unsigned int low) {
    auto* self = reinterpret_cast<Fiber*>((static_cast<std::uintptr_t>(high) << 32) | low);
#ifdef TRAWLEX_FIBER_ASAN
    __sanitizer_finish_switch_fiber(nullptr, &self->context_->callerBottom,
                                    &self->context_->callerSize);
#endif
    try {
        self->work_();
    } catch (...) {
        self->failure_ = std::current_exception();
    }
    self->ended_ = true;
    // Returning goes on at uc_link: the caller of the last Resume.
#ifdef TRAWLEX_FIBER_ASAN
    __sanitizer_start_switch_fiber(nullptr, self->context_->callerBottom,
                                   self->context_->callerSize);
#endif
}

void Fiber::SwitchIn() {
    Context& c = *context_;
#ifdef TRAWLEX_FIBER_ASAN
    void* fake = nullptr;
    __sanitizer_start_switch_fiber(&fake, static_cast<char*>(c.stack) + c.guard,
                                   c.mapped - c.guard);
#endif
    ::swapcontext(&c.caller, &c.fiber);
#ifdef TRAWLEX_FIBER_ASAN
    __sanitizer_finish_switch_fiber(fake, nullptr, nullptr);
#endif
}

bool Fiber::Resume() {
    if (Idle() || running_) throw std::logic_error("fiber not resumable");
    running_ = true;
    SwitchIn();
    running_ = false;
    if (!ended_) return false;
    work_ = nullptr;
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
    return true;
}

void Fiber::Suspend() {
    Context& c = *context_;
#ifdef TRAWLEX_FIBER_ASAN
    __sanitizer_start_switch_fiber(&c.fakeStack, c.callerBottom, c.callerSize);
#endif
    ::swapcontext(&c.fiber, &c.caller);
#ifdef TRAWLEX_FIBER_ASAN
    __sanitizer_finish_switch_fiber(c.fakeStack, &c.callerBottom, &c.callerSize);
#endif
}

}  // namespace trawlex::window
