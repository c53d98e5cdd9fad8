#pragma once
// Fiber: runs a piece of work on a stack of its own, on the calling thread, so the work can
// give control back from deep inside (Suspend) and be taken up again later (Resume) where
// it left off. The search window scans a text in one: it suspends between stretches of
// lines and the event loop runs until the next slice resumes it.

#include <cstddef>
#include <exception>
#include <functional>
#include <memory>

namespace trawlex::window {

class Fiber {
  public:
    explicit Fiber(std::size_t stackBytes = 8 * 1024 * 1024);
    // Must not be destroyed while it has unfinished work.
    ~Fiber();
    Fiber(const Fiber&) = delete;
    Fiber& operator=(const Fiber&) = delete;

    // Gives the fiber new work; it starts with the next Resume. Only when idle.
    void Start(std::function<void()> work);
    // Runs the work until it suspends or ends; true when it has ended (the fiber is idle
    // again). An exception the work lets out is thrown here once it has ended.
    bool Resume();
    // From inside the work: back to the caller of Resume.
    void Suspend();

    bool Idle() const { return !work_; }
    bool Running() const { return running_; }

  private:
    struct Context;
    static void Enter(unsigned int high, unsigned int low);
    void SwitchIn();

    std::unique_ptr<Context> context_;
    std::function<void()> work_;
    std::exception_ptr failure_;
    bool running_ = false;
    bool ended_ = false;
};

}  // namespace trawlex::window
