#include "app/pdf_export.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QThread>
#include <QThreadPool>
#include <cerrno>
#include <filesystem>
#include <future>
#include <istream>
#include <memory>
#include <ostream>
#include <system_error>

#include "app/batch_progress.h"
#include "app/interruption.h"
#include "engine/evaluation.h"
#include "gui/report_page.h"
#include "input/batch.h"

namespace corvane::app {

namespace {

using input::LineOutcome;

// A particular as given: JSON Lines are UTF-8, and so is the command line here.
QString text(const std::optional<std::string>& value) {
    return value ? QString::fromUtf8(value->data(), static_cast<qsizetype>(value->size()))
                 : QString();
}

std::string shown(const QString& path) {
    return input::quoted(QDir::toNativeSeparators(path).toStdString());
}

std::string cannotWrite(const QString& path, const QString& reason) {
    return "cannot write " + shown(path) + ": " + reason.toStdString();
}

std::string existsAlready(const QString& path, bool batch) {
    return shown(path) + " exists already; give --overwrite to replace it" +
           (batch ? " or --skip-existing to leave it" : "");
}

// Writes every byte and flushes them; returns why that failed, or nothing.
// QFile keeps the system's reason only when nothing at all could be written:
// after a part was written (a disk that fills up, a file size limit) it says
// "Unknown error". The reason is read right after the failing call instead.
std::optional<QString> writeWhole(QFileDevice& file, const QByteArray& bytes) {
    errno = 0;
    if (file.write(bytes) == bytes.size() && file.flush()) return std::nullopt;
    const int reason = errno;
    if (reason == 0) return file.errorString();
    return QString::fromStdString(std::error_code(reason, std::generic_category()).message());
}

// A file, a folder or a symbolic link, even one that leads nowhere.
bool entryExists(const QString& path) {
    const QFileInfo entry(path);
    return entry.exists() || entry.isSymLink();
}

std::filesystem::path fileSystemPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

// Moves the finished file to its name without replacing anything there: a
// hard link fails when the name is taken, even by a link that leads nowhere.
// Where hard links cannot be made, the name is looked at first.
std::error_code moveWithoutReplacing(const std::filesystem::path& from,
                                     const std::filesystem::path& to) {
    std::error_code error;
    std::filesystem::create_hard_link(from, to, error);
    if (!error) {
        std::filesystem::remove(from, error);
        return {};
    }
    if (error == std::errc::file_exists) return error;
    if (std::filesystem::exists(std::filesystem::symlink_status(to))) {
        return std::make_error_code(std::errc::file_exists);
    }
    error.clear();
    std::filesystem::rename(from, to, error);
    return error;
}

// The page of an assessment, dated today, with the particulars given.
ReportContent contentOf(const input::Assessment& assessment, const QDate& today,
                        const std::optional<std::string>& name,
                        const std::optional<std::string>& sex,
                        const std::optional<std::string>& age) {
    ReportContent content =
        reportContent(evaluate(assessment.scores, assessment.personality), today);
    content.name = text(name);
    content.sex = text(sex);
    content.age = text(age);
    return content;
}

// corvane's part of a batch: each good line's page drawn on a thread of the
// pool and moved into the folder.
class PageJob : public input::BatchJob {
public:
    PageJob(const Command& command, BatchProgress& progress)
        : command_(command),
          folder_(QString::fromStdString(command.pdfFolder)),
          progress_(progress) {
        pool_.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    }

    // Lines read ahead of the one whose outcome is awaited, so no thread waits.
    std::size_t ahead() const { return 4 * static_cast<std::size_t>(pool_.maxThreadCount()); }

    input::PendingOutcome start(const input::BatchLine& line) override {
        const QString path = folder_.filePath(QString::fromStdString(line.file));
        if (entryExists(path)) {
            if (command_.skipExisting) return LineOutcome{LineOutcome::Kind::Skipped, {}};
            if (!command_.overwrite) throw input::InputError(existsAlready(path, true));
        }
        const input::BatchRecord& record = line.record;
        auto outcome = std::make_shared<std::promise<LineOutcome>>();
        std::future<LineOutcome> later = outcome->get_future();
        pool_.start([outcome, path, replace = command_.overwrite,
                     content = contentOf(record.assessment, today_, record.field("name"),
                                         record.field("sex"), record.field("age"))] {
            outcome->set_value(writePage(content, path, replace));
        });
        return later;
    }

    void finish(std::size_t, const LineOutcome&, const input::BatchTally& tally) override {
        progress_.update(tally);
    }

    bool stopped() const override { return InterruptionGuard::interrupted(); }

private:
    // Runs on a thread of the pool. A page not begun when Ctrl-C came is left.
    static LineOutcome writePage(const ReportContent& content, const QString& path, bool replace) {
        if (InterruptionGuard::interrupted()) return {LineOutcome::Kind::Cancelled, {}};
        try {
            const QByteArray pdf = reportPdf(content);
            if (pdf.isEmpty()) return LineOutcome::failed("cannot make the page of " + shown(path));
            std::string problem = placeFile(path, pdf, replace);
            if (problem.empty()) return {};
            return LineOutcome::failed(std::move(problem));
        } catch (const std::exception& error) {
            return LineOutcome::failed(error.what());
        }
    }

    const Command& command_;
    const QDir folder_;
    const QDate today_ = QDate::currentDate();
    BatchProgress& progress_;
    QThreadPool pool_;
};

std::string summary(const input::BatchTally& tally) {
    return "pages written " + std::to_string(tally.done) + ", skipped " +
           std::to_string(tally.skipped) + ", failed " + std::to_string(tally.failed);
}

}  // namespace

std::string writeFile(const QString& path, const QByteArray& bytes, bool replace) {
    QFile file(path);
    const bool created = file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
    if (!created) {
        if (!entryExists(path)) return cannotWrite(path, file.errorString());
        if (!replace) return existsAlready(path, false);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return cannotWrite(path, file.errorString());
        }
    }
    std::optional<QString> failure = writeWhole(file, bytes);
    if (!failure) {
        file.close();
        if (file.error() == QFileDevice::NoError) return {};
        failure = file.errorString();
    }
    const std::string problem = cannotWrite(path, *failure);
    // A file begun here and not finished is no report; one that was there stays.
    if (created) file.remove();
    return problem;
}

std::string placeFile(const QString& path, const QByteArray& bytes, bool replace) {
    QTemporaryFile part(QFileInfo(path).dir().filePath(".corvane-XXXXXX.part"));
    if (!part.open()) return cannotWrite(path, part.errorString());
    if (const std::optional<QString> failure = writeWhole(part, bytes)) {
        return cannotWrite(path, *failure);
    }
    part.close();
    if (part.error() != QFileDevice::NoError) return cannotWrite(path, part.errorString());
    const std::filesystem::path from = fileSystemPath(part.fileName());
    const std::filesystem::path to = fileSystemPath(path);
    std::error_code error;
    if (replace) {
        std::filesystem::rename(from, to, error);
    } else {
        error = moveWithoutReplacing(from, to);
    }
    if (error == std::errc::file_exists) return existsAlready(path, true);
    if (error) return cannotWrite(path, QString::fromStdString(error.message()));
    // Moved away: nothing is left for the temporary file to remove.
    part.setAutoRemove(false);
    return {};
}

int exportPdf(const Command& command, std::ostream& err) {
    const QString path = QString::fromStdString(command.pdfFile);
    std::string problem;
    try {
        const ReportContent content = contentOf(command.answers.assessment(), QDate::currentDate(),
                                                command.name, command.sex, command.age);
        if (!command.overwrite && entryExists(path)) {
            problem = existsAlready(path, false);
        } else if (const QByteArray pdf = reportPdf(content); pdf.isEmpty()) {
            problem = "cannot make the page of " + shown(path);
        } else {
            problem = writeFile(path, pdf, command.overwrite);
        }
    } catch (const input::InputError& error) {
        problem = error.what();
    }
    if (problem.empty()) return 0;
    err << "corvane: " << problem << '\n';
    return 1;
}

int exportPdfBatch(const Command& command, std::istream& in, std::ostream& err,
                   const BatchDisplay& display) {
    const QString folderName = QString::fromStdString(command.pdfFolder);
    // Nothing can be written without the folder: one message instead of one a line.
    if (!QDir().mkpath(folderName) || !QFileInfo(folderName).isDir()) {
        err << "corvane: cannot make the folder " << shown(folderName) << '\n';
        return 1;
    }
    if (!QFileInfo(folderName).isWritable()) {
        err << "corvane: cannot write into the folder " << shown(folderName) << '\n';
        return 1;
    }
    BatchProgress progress(err, display.progress, display.lines);
    const input::Messages messages{"corvane",
                                   [&progress](const std::string& line) { progress.write(line); }};
    const InterruptionGuard guard;
    PageJob job(command, progress);
    const input::BatchTally tally = input::runBatch(in, job, messages, job.ahead());
    progress.end();
    // Ctrl-C after the last line was read may still have left pages undone.
    const bool interrupted = InterruptionGuard::interrupted();
    if (interrupted) {
        messages.say("interrupted: the lines up to input line " +
                     std::to_string(tally.finishedUpTo) +
                     " are done; give the same command with --skip-existing to go on");
    }
    messages.say(summary(tally));
    if (interrupted) return kInterrupted;
    return tally.failed > 0 ? 1 : 0;
}

}  // namespace corvane::app
