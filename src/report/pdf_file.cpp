#include "report/pdf_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>

#include "report/utf8.h"

namespace corvane {

using namespace Qt::StringLiterals;

namespace fs = std::filesystem;

namespace {

fs::path fileSystemPath(const QString& path) {
    return fs::path(path.toStdU16String());
}

// Why the file failed, as the system says it in the user's language. Qt words
// the commonest reasons itself, in English whatever the language; the error
// number of the call that failed says the same where the system's C library
// has it in the user's language. Windows words Qt's reasons in the user's
// language already.
QString failureOf(const QFileDevice& file, int error) {
#ifndef _WIN32
    if (error != 0) return toQString(std::generic_category().message(error));
#endif
    (void)error;
    return file.errorString();
}

FileOutcome failed(const QString& reason) {
    return {FileOutcome::Kind::Failed, reason};
}

// A device or a pipe takes the bytes as they come and cannot be replaced by a
// file; nor can a name under /dev, where /dev/stdout leads to whatever the
// shell opened, a file included.
bool isDeviceOrPipe(const QString& path) {
#ifndef _WIN32
    if (QFileInfo(path).absoluteFilePath().startsWith(u"/dev/"_s)) return true;
#endif
    std::error_code error;
    const fs::file_status target = fs::status(fileSystemPath(path), error);
    return fs::exists(target) && !fs::is_regular_file(target) && !fs::is_directory(target);
}

// Writes every byte to the open file and flushes them. Returns why that
// failed, or nothing: after part of the bytes went (a disk that fills up, a
// file size limit) the system's reason, where Qt alone says "Unknown error".
std::optional<QString> writeWhole(QFileDevice& file, const QByteArray& bytes) {
    // A write cut short carries no reason; the next one fails with it.
    errno = 0;
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 wrote = file.write(bytes.constData() + done, bytes.size() - done);
        if (wrote <= 0) return failureOf(file, errno);
        done += wrote;
    }
    if (!file.flush()) return failureOf(file, errno);
    file.close();
    if (file.error() != QFileDevice::NoError) return failureOf(file, errno);
    return std::nullopt;
}

FileOutcome writeDirectly(const QString& path, const QByteArray& pdf) {
    QFile device(path);
    errno = 0;
    if (!device.open(QIODevice::WriteOnly | QIODevice::Append)) {
        return failed(failureOf(device, errno));
    }
    if (const std::optional<QString> failure = writeWhole(device, pdf)) return failed(*failure);
    return {};
}

// A new file beside path for the bytes to be written to before it is moved
// into place: opened as new, so never an existing file or a link, and with
// the permissions any new file gets.
bool openPart(QFile& part, const QString& path) {
    const QDir folder = QFileInfo(path).dir();
    for (int attempt = 0; attempt < 16; ++attempt) {
        const quint64 random = QRandomGenerator::global()->generate64();
        part.setFileName(folder.filePath(u".corvane-%1.part"_s.arg(random, 16, 16, QChar(u'0'))));
        if (part.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return true;
        const int error = errno;
        if (!entryExists(part.fileName())) {  // the folder refuses, not a name taken
            errno = error;
            return false;
        }
    }
    return false;
}

// Moves the finished file to its name without replacing anything there: a
// hard link fails when the name is taken, even by a link that leads nowhere.
// Where hard links cannot be made, the name is looked at first.
std::error_code moveWithoutReplacing(const fs::path& from, const fs::path& to) {
    std::error_code error;
    fs::create_hard_link(from, to, error);
    if (!error) {
        fs::remove(from, error);
        return {};
    }
    if (error == std::errc::file_exists) return error;
    if (fs::exists(fs::symlink_status(to))) return std::make_error_code(std::errc::file_exists);
    error.clear();
    fs::rename(from, to, error);
    return error;
}

// Moves the finished file over whatever is at `to`, the entry itself: a
// symbolic link is replaced, not followed. A regular file's permissions stay.
std::error_code moveReplacing(const fs::path& from, const fs::path& to) {
    std::error_code error;
    const fs::file_status replaced = fs::symlink_status(to, error);
    if (fs::is_regular_file(replaced)) fs::permissions(from, replaced.permissions(), error);
    error.clear();
    fs::rename(from, to, error);
    return error;
}

}  // namespace

bool entryExists(const QString& path) {
    const QFileInfo entry(path);
    return entry.exists() || entry.isSymLink();
}

FileOutcome writePdfFile(const QString& path, const QByteArray& pdf, bool replace) {
    if (isDeviceOrPipe(path)) return writeDirectly(path, pdf);
    if (!replace && entryExists(path)) return {FileOutcome::Kind::ExistsAlready, {}};
    QFile part;
    errno = 0;
    if (!openPart(part, path)) return failed(failureOf(part, errno));
    if (const std::optional<QString> failure = writeWhole(part, pdf)) {
        part.remove();
        return failed(*failure);
    }
    const fs::path from = fileSystemPath(part.fileName());
    const fs::path to = fileSystemPath(path);
    const std::error_code error =
        replace ? moveReplacing(from, to) : moveWithoutReplacing(from, to);
    if (!error) return {};
    part.remove();
    if (error == std::errc::file_exists) return {FileOutcome::Kind::ExistsAlready, {}};
    return failed(toQString(error.message()));
}

}  // namespace corvane
