#pragma once

#include <iosfwd>

#include "app/command_line.h"

namespace corvane::app {

// corvane --pdf FILE: writes the page of the one assessment the options give,
// to FILE with ".pdf" added when its name lacks it (a device or a pipe as
// named). Messages go to err; returns the exit status (0, or 1 for a bad
// value or a file not written).
int exportPdf(const Command& command, std::ostream& err);

// What a batch shows while it runs: a progress line, on a terminal only.
struct BatchDisplay {
    bool progress = false;
};

// The exit status of a batch that Ctrl-C stopped.
inline constexpr int kInterrupted = 130;

// corvane --pdf-dir DIR --batch: the members of in (JSON Lines or CSV, read
// whole first) written as pages and a results table into DIR, as
// writePageBatch does, with a progress line on a terminal. One line at the
// end tells the pages written, skipped and failed. Returns 0, 1 when the
// input, any line or the table failed, or kInterrupted after Ctrl-C.
int exportPdfBatch(const Command& command, std::istream& in, std::ostream& err,
                   const BatchDisplay& display = {});

}  // namespace corvane::app
