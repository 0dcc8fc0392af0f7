#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <optional>

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

// A file written the one way every part of the program writes one, a piece
// at a time. A regular file is written to a new file in its folder and moved
// into place when finished, so that a failure at any point leaves an existing
// file byte for byte as it was and no partial file; a symbolic link is
// replaced, never written through; a file that is replaced keeps its
// permissions. A device or a pipe (/dev/stdout) is written into directly.
class WholeFile {
public:
    explicit WholeFile(const QString& path);
    // Takes away what was written when it was not finished.
    ~WholeFile();
    WholeFile(const WholeFile&) = delete;
    WholeFile& operator=(const WholeFile&) = delete;

    // Writes the bytes after those before; false once anything failed.
    bool append(const QByteArray& bytes);
    // Puts the file in its place: anything already there is replaced only
    // with `replace`, else the outcome is ExistsAlready.
    FileOutcome finish(bool replace);

private:
    QString path_;
    QFile file_;  // the new file beside path_, or the device itself
    bool direct_ = false;
    std::optional<QString> failure_;
};

// Whether a path names a device or a pipe, written into as it stands.
bool isDeviceOrPipe(const QString& path);

// The name a PDF file is written under: ".pdf" added to a file's name that
// lacks it (in any letter case); a device, a pipe or a folder as named.
QString pdfFilePath(const QString& path);

// Writes a PDF file whole, as WholeFile does. Anything already at path is
// replaced only with `replace`, else the outcome is ExistsAlready and no page
// is written; a device or a pipe is written into with or without `replace`.
FileOutcome writePdfFile(const QString& path, const QByteArray& pdf, bool replace);

}  // namespace corvane
