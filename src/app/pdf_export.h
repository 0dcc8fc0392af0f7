#pragma once

#include <QByteArray>
#include <QString>
#include <iosfwd>
#include <string>

#include "app/command_line.h"

namespace corvane::app {

// corvane --pdf FILE: writes the page of the one assessment the options give.
// Messages go to err; returns the exit status (0, or 1 for a bad value or a
// file not written).
int exportPdf(const Command& command, std::ostream& err);

// corvane --pdf-dir DIR --batch: one page per good line of in, written by as
// many threads as there are cores. A bad line, or one whose file cannot be
// written, is told on err with its number, in input order; the other lines are
// still written. Returns 0, or 1 when any line failed.
int exportPdfBatch(const Command& command, std::istream& in, std::ostream& err);

// Writes the bytes as the file at path: an existing file only when replace is
// set. Returns what went wrong, or an empty text when every byte was written.
std::string writeFile(const QString& path, const QByteArray& bytes, bool replace);

}  // namespace corvane::app
