#include "app/batch_progress.h"

#include <cstdio>
#include <ostream>

namespace corvane::app {

namespace {

constexpr auto kRedrawEvery = std::chrono::milliseconds(200);

}  // namespace

BatchProgress::BatchProgress(std::ostream& err, bool shown, std::size_t lines)
    : err_(err), shown_(shown), lines_(lines), started_(std::chrono::steady_clock::now()) {}

void BatchProgress::write(const std::string& message) {
    const std::string shown = line_;
    draw({});
    err_ << message;
    draw(shown);
}

void BatchProgress::update(const input::BatchTally& tally) {
    const auto now = std::chrono::steady_clock::now();
    const std::size_t done = tally.done + tally.skipped + tally.failed;
    // The last line is always drawn, so that the count is seen to reach the end.
    if (!shown_ || (now - drawn_ < kRedrawEvery && done < lines_)) return;
    drawn_ = now;
    const double seconds = std::chrono::duration<double>(now - started_).count();
    char rate[32];
    std::snprintf(rate, sizeof rate, "%.1f", seconds > 0 ? tally.done / seconds : 0.0);
    draw("corvane: " + std::to_string(done) + " of " + std::to_string(lines_) + " lines done, " +
         rate + " pages/s");
}

void BatchProgress::end() {
    draw({});
}

void BatchProgress::draw(const std::string& text) {
    if (!shown_) return;
    // Back to the line's start, over the old text with blanks (the line is
    // ASCII, a column a character), then the new one.
    err_ << '\r' << std::string(line_.size(), ' ') << '\r' << text << std::flush;
    line_ = text;
}

}  // namespace corvane::app
