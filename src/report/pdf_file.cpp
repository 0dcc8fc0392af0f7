#include "report/pdf_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>

#include "input/file_names.h"
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

// Writes every byte to the open file. Returns why that failed, or nothing:
// after part of the bytes went (a disk that fills up, a file size limit) the
// system's reason, where Qt alone says "Unknown error".
std::optional<QString> writeAll(QFileDevice& file, const QByteArray& bytes) {
    // A write cut short carries no reason; the next one fails with it.
    errno = 0;
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 wrote = file.write(bytes.constData() + done, bytes.size() - done);
        if (wrote <= 0) return failureOf(file, errno);
        done += wrote;
    }
    return std::nullopt;
}

// Flushes and closes the file; why that failed, or nothing.
std::optional<QString> closeWhole(QFileDevice& file) {
    errno = 0;
    if (!file.flush()) return failureOf(file, errno);
    file.close();
    if (file.error() != QFileDevice::NoError) return failureOf(file, errno);
    return std::nullopt;
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

bool isDeviceOrPipe(const QString& path) {
#ifndef _WIN32
    // A name under /dev, where /dev/stdout leads to whatever the shell opened,
    // a file included, cannot be replaced by a file either.
    if (QFileInfo(path).absoluteFilePath().startsWith(u"/dev/"_s)) return true;
#endif
    std::error_code error;
    const fs::file_status target = fs::status(fileSystemPath(path), error);
    return fs::exists(target) && !fs::is_regular_file(target) && !fs::is_directory(target);
}

QString pdfFilePath(const QString& path) {
    if (path.isEmpty() || isDeviceOrPipe(path) || QFileInfo(path).isDir()) return path;
    return toQString(input::withPdfSuffix(path.toStdString()));
}

bool entryExists(const QString& path) {
    const QFileInfo entry(path);
    return entry.exists() || entry.isSymLink();
}

WholeFile::WholeFile(const QString& path) : path_(path), direct_(isDeviceOrPipe(path)) {
    bool opened = false;
    errno = 0;
    if (direct_) {
        file_.setFileName(path);
        opened = file_.open(QIODevice::WriteOnly | QIODevice::Append);
    } else {
        opened = openPart(file_, path);
    }
    if (opened) return;
    failure_ = failureOf(file_, errno);
    if (!direct_) file_.setFileName(QString());  // no new file of ours to take away
}

WholeFile::~WholeFile() {
    if (!direct_ && !file_.fileName().isEmpty()) file_.remove();
}

bool WholeFile::append(const QByteArray& bytes) {
    if (!failure_) failure_ = writeAll(file_, bytes);
    return !failure_;
}

FileOutcome WholeFile::finish(bool replace) {
    if (!failure_) failure_ = closeWhole(file_);
    if (failure_) return failed(*failure_);
    if (direct_) return {};
    const fs::path from = fileSystemPath(file_.fileName());
    const fs::path to = fileSystemPath(path_);
    const std::error_code error =
        replace ? moveReplacing(from, to) : moveWithoutReplacing(from, to);
    if (!error) {
        file_.setFileName(QString());  // moved: nothing left to take away
        return {};
    }
    if (error == std::errc::file_exists) return {FileOutcome::Kind::ExistsAlready, {}};
    return failed(toQString(error.message()));
}

FileOutcome writePdfFile(const QString& path, const QByteArray& pdf, bool replace) {
    if (!replace && !isDeviceOrPipe(path) && entryExists(path)) {
        return {FileOutcome::Kind::ExistsAlready, {}};
    }
    WholeFile file(path);
    file.append(pdf);
    return file.finish(replace);
}

}  // namespace corvane
