#pragma once

namespace corvane::app {

// Ctrl-C (SIGINT) while a batch runs: while a guard lives, an interruption
// only sets a flag, which the batch checks between pages, so that no page is
// left half written. The guard puts the usual handling back.
class InterruptionGuard {
public:
    InterruptionGuard();
    ~InterruptionGuard();
    InterruptionGuard(const InterruptionGuard&) = delete;
    InterruptionGuard& operator=(const InterruptionGuard&) = delete;

    // Whether an interruption came since the guard was made.
    static bool interrupted();
};

}  // namespace corvane::app
