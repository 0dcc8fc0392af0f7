#pragma once

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>

#include "app/command_line.h"

namespace corvane::app {

// corvane --pdf FILE: writes the page of the one assessment the options give.
// Messages go to err; returns the exit status (0, or 1 for a bad value or a
// file not written).
int exportPdf(const Command& command, std::ostream& err);

// What a batch shows while it runs: a progress line, on a terminal only.
struct BatchDisplay {
    bool progress = false;
};

// The exit status of a batch that Ctrl-C stopped.
inline constexpr int kInterrupted = 130;

// corvane --pdf-dir DIR --batch: one page per good line of in, drawn by as
// many threads as there are cores. The input is read whole before the first
// page, and the faces are cut down to the characters its pages can show. Whether a page's file
// exists is decided before it is drawn. A bad line, or one whose file cannot be written, is told on
// err with its number, in input order; the other lines are still written. One line at the end tells
// the pages written, skipped and failed. Returns 0, 1 when any line failed, or kInterrupted after
// Ctrl-C.
int exportPdfBatch(const Command& command, std::istream& in, std::ostream& err,
                   const BatchDisplay& display = {});

}  // namespace corvane::app
