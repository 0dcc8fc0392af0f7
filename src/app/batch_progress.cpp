#include "app/batch_progress.h"

#include <cstdio>
#include <ostream>

#include "language/translation.h"

namespace corvane::app {

namespace {

constexpr auto kRedrawEvery = std::chrono::milliseconds(200);

// The columns a terminal gives the UTF-8 text: two for each character of three
// or four bytes (the line's Chinese), one for any other.
std::size_t columns(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80 || (byte >= 0xC0 && byte < 0xE0)) count += 1;
        if (byte >= 0xE0) count += 2;
    }
    return count;
}

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
    draw("corvane: " +
         fillIn(trn("{} of {} line done, {} pages/s", "{} of {} lines done, {} pages/s",
                    static_cast<unsigned long>(lines_)),
                {std::to_string(done), std::to_string(lines_), rate}));
}

void BatchProgress::end() {
    draw({});
}

void BatchProgress::draw(const std::string& text) {
    if (!shown_) return;
    // Back to the line's start, over the old text with blanks, then the new one.
    err_ << '\r' << std::string(columns(line_), ' ') << '\r' << text << std::flush;
    line_ = text;
}

}  // namespace corvane::app
