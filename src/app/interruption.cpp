#include "app/interruption.h"

#include <atomic>
#include <csignal>

namespace corvane::app {

namespace {

// Lock-free, so that the handler may set it and any thread may read it.
std::atomic<bool> interruptedFlag{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void noteInterruption(int) {
    interruptedFlag.store(true);
}

}  // namespace

InterruptionGuard::InterruptionGuard() {
    interruptedFlag.store(false);
    std::signal(SIGINT, noteInterruption);
}

InterruptionGuard::~InterruptionGuard() {
    std::signal(SIGINT, SIG_DFL);
}

bool InterruptionGuard::interrupted() {
    return interruptedFlag.load();
}

}  // namespace corvane::app
