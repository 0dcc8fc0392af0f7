#pragma once

#include <chrono>
#include <cstddef>
#include <iosfwd>
#include <string>

#include "input/batch.h"

namespace corvane::app {

// The progress line of a batch on a terminal: the lines done of all of them
// and the pages written a second, redrawn in place. Messages are written
// above it. Off, it writes the messages alone.
class BatchProgress {
public:
    BatchProgress(std::ostream& err, bool shown, std::size_t lines);

    // A whole message line, with its newline.
    void write(const std::string& message);
    void update(const input::BatchTally& tally);
    // Takes the progress line away.
    void end();

private:
    void draw(const std::string& text);

    std::ostream& err_;
    bool shown_;
    std::size_t lines_;
    std::chrono::steady_clock::time_point started_;
    std::chrono::steady_clock::time_point drawn_;
    std::string line_;  // what the terminal shows now
};

}  // namespace corvane::app
