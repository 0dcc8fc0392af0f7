#include "app/pdf_export.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <filesystem>
#include <future>
#include <istream>
#include <iterator>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/batch_progress.h"
#include "app/interruption.h"
#include "engine/evaluation.h"
#include "input/batch.h"
#include "language/translation.h"
#include "report/face_subsets.h"
#include "report/pdf_file.h"
#include "report/report_content.h"
#include "report/report_page.h"
#include "report/utf8.h"

namespace corvane::app {

using namespace Qt::StringLiterals;

namespace {

using input::LineOutcome;

// A particular as given: JSON Lines are UTF-8, and so is the command line here.
QString givenText(const std::optional<std::string>& value) {
    return value ? toQString(*value) : QString();
}

std::string shown(const QString& path) {
    return input::quoted(QDir::toNativeSeparators(path).toStdString());
}

// What the page cannot show as given: a name cut short, and each character no
// installed font draws, by the text it stands in (U+20BB7 …); one note a line
// of a batch, its parts joined by "; ".
std::vector<std::string> pageNotes(const ReportContent& content) {
    std::vector<std::string> notes;
    if (nameIsCut(content)) {
        notes.emplace_back(tr("the name is too long for the page and is printed cut short"));
    }
    for (const UndrawableText& text : undrawableTexts(content)) {
        QStringList characters;
        for (const char32_t character : text.characters.toUcs4()) {
            characters.append(u"'%1' (U+%2)"_s.arg(
                QString::fromUcs4(&character, 1),
                QString::number(character, 16).toUpper().rightJustified(4, u'0')));
        }
        const char* pattern =
            // TRANSLATORS: {1} is the batch line's key (name, sex, age), {2} the
            // page's heading of it (会员姓名, 性别, 年龄), {3} its text, {4} the characters.
            tr("the {1} {3} has characters no installed font can draw, printed blank: {4}");
        notes.push_back(fill(pattern, {text.field, text.heading.toStdString(),
                                       input::quoted(text.text.toStdString()),
                                       characters.join(u", "_s).toStdString()}));
    }
    return notes;
}

std::string joined(const std::vector<std::string>& notes) {
    std::string all;
    for (const std::string& note : notes)
        all = all.empty() ? note : fill(tr("{}; {}"), {all, note});
    return all;
}

std::string cannotWrite(const QString& path, const QString& reason) {
    return fill(tr("cannot write {}: {}"), {shown(path), reason.toStdString()});
}

std::string existsAlready(const QString& path, bool batch) {
    return fill(batch ? tr("{} exists already; give --overwrite to replace it or --skip-existing "
                           "to leave it")
                      : tr("{} exists already; give --overwrite to replace it"),
                {shown(path)});
}

std::string cannotMakePage(const QString& path) {
    return fill(tr("cannot make the page of {}"), {shown(path)});
}

// Writes the page as the file at path, and says what went wrong, or nothing.
std::string writePage(const QString& path, const QByteArray& pdf, bool replace, bool batch) {
    const FileOutcome outcome = writePdfFile(path, pdf, replace);
    switch (outcome.kind) {
        case FileOutcome::Kind::Written: return {};
        case FileOutcome::Kind::ExistsAlready: return existsAlready(path, batch);
        case FileOutcome::Kind::Failed: break;
    }
    return cannotWrite(path, outcome.reason);
}

// The page of an assessment, dated today, with the particulars given.
ReportContent contentOf(const input::Assessment& assessment, const QDate& today,
                        const std::optional<std::string>& name,
                        const std::optional<std::string>& sex,
                        const std::optional<std::string>& age) {
    ReportContent content =
        reportContent(evaluate(assessment.scores, assessment.personality), today);
    content.name = givenText(name);
    content.sex = givenText(sex);
    content.age = givenText(age);
    return content;
}

// corvane's part of a batch: each good line's page drawn on a thread of the
// pool and moved into the folder.
class PageJob : public input::BatchJob {
public:
    PageJob(const Command& command, BatchProgress& progress)
        : command_(command), folder_(toQString(command.pdfFolder)), progress_(progress) {
        pool_.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    }

    // Lines read ahead of the one whose outcome is awaited, so no thread waits.
    std::size_t ahead() const { return 16 * static_cast<std::size_t>(pool_.maxThreadCount()); }

    input::PendingOutcome start(const input::BatchLine& line) override {
        const QString path = folder_.filePath(toQString(line.file));
        if (entryExists(path)) {
            if (command_.skipExisting) return LineOutcome::skipped();
            if (!command_.overwrite) throw input::InputError(existsAlready(path, true));
        }
        const input::BatchRecord& record = line.record;
        auto outcome = std::make_shared<std::promise<LineOutcome>>();
        std::future<LineOutcome> later = outcome->get_future();
        pool_.start([outcome, path, replace = command_.overwrite,
                     content = contentOf(record.assessment, today_, record.field("name"),
                                         record.field("sex"), record.field("age"))] {
            outcome->set_value(makePage(content, path, replace));
        });
        return later;
    }

    void finish(std::size_t, const LineOutcome&, const input::BatchTally& tally) override {
        progress_.update(tally);
    }

    bool stopped() const override { return InterruptionGuard::interrupted(); }

private:
    // Runs on a thread of the pool. A page not begun when Ctrl-C came is left.
    static LineOutcome makePage(const ReportContent& content, const QString& path, bool replace) {
        if (InterruptionGuard::interrupted()) return LineOutcome::cancelled();
        try {
            const QByteArray pdf = reportPdf(content);
            if (pdf.isEmpty()) return LineOutcome::failed(cannotMakePage(path));
            std::string problem = writePage(path, pdf, replace, true);
            if (!problem.empty()) return LineOutcome::failed(std::move(problem));
            return LineOutcome::done({}, joined(pageNotes(content)));
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

// Lines as std::getline reads them: a last line needs no newline.
std::size_t lineCount(std::string_view text) {
    const auto newlines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    return newlines + (!text.empty() && text.back() != '\n' ? 1 : 0);
}

// Every character the pages of the input can show: the page's own, today's
// date and the particulars of each line that can be read.
QString pageCharacters(const std::string& input) {
    QString characters = reportPageCharacters() + reportDateText(QDate::currentDate());
    std::istringstream lines(input);
    std::string line;
    while (std::getline(lines, line)) {
        try {
            const input::BatchRecord record = input::parseBatchRecord(line, input::kParticularKeys);
            for (const char* key : {"name", "sex", "age"})
                characters.append(givenText(record.field(key)));
        } catch (const input::InputError&) {
            // The batch tells it in its place.
        }
    }
    return characters;
}

// Why pages cannot be written into the folder, made when needed, or nothing.
std::string folderProblem(const QString& folder) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(folder.toStdU16String()), error);
    if (!error && !QFileInfo(folder).isDir())
        error = std::make_error_code(std::errc::not_a_directory);
    if (error) return fill(tr("cannot make the folder {}: {}"), {shown(folder), error.message()});
    if (!QFileInfo(folder).isWritable()) {
        return fill(tr("cannot write into the folder {}: {}"),
                    {shown(folder), std::make_error_code(std::errc::permission_denied).message()});
    }
    return {};
}

std::string summary(const input::BatchTally& tally) {
    return fill(
        tr("pages written {}, skipped {}, failed {}"),
        {std::to_string(tally.done), std::to_string(tally.skipped), std::to_string(tally.failed)});
}

}  // namespace

int exportPdf(const Command& command, std::ostream& err) {
    const QString path = toQString(command.pdfFile);
    std::string problem;
    try {
        const ReportContent content = contentOf(command.answers.assessment(), QDate::currentDate(),
                                                command.name, command.sex, command.age);
        for (const std::string& note : pageNotes(content)) err << "corvane: " << note << '\n';
        if (const QByteArray pdf = reportPdf(content); pdf.isEmpty()) {
            problem = cannotMakePage(path);
        } else {
            problem = writePage(path, pdf, command.overwrite, false);
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
    // Nothing can be written without the folder: one message instead of one a line.
    if (const std::string problem = folderProblem(toQString(command.pdfFolder)); !problem.empty()) {
        err << "corvane: " << problem << '\n';
        return 1;
    }
    // The input is read whole first, for the characters its pages can show and
    // for the number of its lines.
    const std::string wholeInput(std::istreambuf_iterator<char>(in), {});
    const FaceSubsets faces(pageCharacters(wholeInput));
    std::istringstream lines(wholeInput);
    BatchProgress progress(err, display.progress, lineCount(wholeInput));
    const input::Messages messages{"corvane",
                                   [&progress](const std::string& line) { progress.write(line); }};
    const InterruptionGuard guard;
    PageJob job(command, progress);
    const input::BatchTally tally = input::runBatch(lines, job, messages, job.ahead());
    progress.end();
    // Ctrl-C after the last line was read may still have left pages undone.
    const bool interrupted = InterruptionGuard::interrupted();
    if (interrupted) {
        messages.say(fill(tr("interrupted: the lines up to input line {} are done; give the same "
                             "command with --skip-existing to go on"),
                          {std::to_string(tally.finishedUpTo)}));
    }
    messages.say(summary(tally));
    if (interrupted) return kInterrupted;
    return tally.failed > 0 ? 1 : 0;
}

}  // namespace corvane::app
