#pragma once

#include <QByteArray>
#include <QString>

namespace corvane {

// What became of writing a report's PDF file.
struct FileOutcome {
    enum class Kind { Written, ExistsAlready, Failed };
    Kind kind = Kind::Written;
    QString reason;  // the system's words, when it failed

    bool written() const { return kind == Kind::Written; }
};

// Whether anything stands at path: a file, a folder, or a symbolic link, even
// one that leads nowhere.
bool entryExists(const QString& path);

// Writes a PDF file the one way every part of the program does. A regular
// file is written to a new file in its folder and moved into place, so that a
// failure at any point leaves an existing file byte for byte as it was and no
// partial file; a symbolic link is replaced, never written through; a file
// that is replaced keeps its permissions. Anything already at path is
// replaced only with `replace`, else the outcome is ExistsAlready. A device
// or a pipe (/dev/stdout) is written into directly, with or without `replace`.
FileOutcome writePdfFile(const QString& path, const QByteArray& pdf, bool replace);

}  // namespace corvane
