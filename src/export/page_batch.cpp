#include "export/page_batch.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <filesystem>
#include <future>
#include <map>
#include <memory>

#include "export/member_page.h"
#include "export/results_table.h"
#include "input/members.h"
#include "language/translation.h"
#include "report/face_subsets.h"
#include "report/pdf_file.h"
#include "report/report_content.h"
#include "report/report_page.h"
#include "report/utf8.h"

namespace corvane {

namespace {

using input::LineOutcome;

// The batch's part of each line: its page drawn on a thread of the pool and
// moved into the folder, and its row of the results table.
class PageJob : public input::BatchJob {
public:
    PageJob(const PageBatchSettings& settings, const PageBatchHooks& hooks, ResultsTable& table)
        : settings_(settings), folder_(settings.folder), hooks_(hooks), table_(table) {
        pool_.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    }

    // Lines read ahead of the one whose outcome is awaited, so no thread waits.
    std::size_t ahead() const { return 16 * static_cast<std::size_t>(pool_.maxThreadCount()); }

    input::PendingOutcome start(const input::BatchLine& line) override {
        const input::Assessment& answers = line.record.assessment;
        MemberResult& result = results_[line.number];
        result = {line.number,
                  Particulars::of(line.record),
                  line.file,
                  evaluate(answers.scores, answers.personality),
                  {}};
        const QString path = folder_.filePath(toQString(line.file));
        if (entryExists(path)) {
            if (settings_.existing == ExistingPages::Skip) return LineOutcome::skipped();
            if (settings_.existing == ExistingPages::Refuse) {
                throw input::InputError(existsAlready(path, true));
            }
        }
        auto outcome = std::make_shared<std::promise<LineOutcome>>();
        std::future<LineOutcome> later = outcome->get_future();
        pool_.start([this, outcome, path,
                     content = memberReport(*result.evaluation, today_, result.particulars)] {
            outcome->set_value(makePage(content, path));
        });
        return later;
    }

    void finish(std::size_t line, const LineOutcome& outcome,
                const input::BatchTally& tally) override {
        MemberResult result;
        result.line = line;
        if (const auto found = results_.find(line); found != results_.end()) {
            result = std::move(found->second);
            results_.erase(found);
        }
        if (outcome.kind == LineOutcome::Kind::Failed) result.error = outcome.text;
        if (outcome.kind != LineOutcome::Kind::Cancelled) table_.add(result);
        hooks_.progress(tally);
    }

    bool stopped() const override { return hooks_.stopped(); }

private:
    // Runs on a thread of the pool. A page not begun when the batch was
    // asked to stop is left.
    LineOutcome makePage(const ReportContent& content, const QString& path) const {
        if (hooks_.stopped()) return LineOutcome::cancelled();
        try {
            std::string problem =
                writeMemberPage(path, content, settings_.existing == ExistingPages::Replace, true);
            if (!problem.empty()) return LineOutcome::failed(std::move(problem));
            return LineOutcome::done({}, joinedNotes(pageNotes(content)));
        } catch (const std::exception& error) {
            return LineOutcome::failed(error.what());
        }
    }

    const PageBatchSettings& settings_;
    const QDir folder_;
    const QDate today_ = QDate::currentDate();
    const PageBatchHooks& hooks_;
    ResultsTable& table_;
    std::map<std::size_t, MemberResult> results_;  // of the lines in work
    QThreadPool pool_;
};

// Every character the pages of the input can show: the page's own, today's
// date and the particulars of each member that can be read.
QString pageCharacters(const input::MembersInput& members) {
    QString characters = reportPageCharacters() + reportDateText(QDate::currentDate());
    for (std::size_t number = 1; number <= members.size(); ++number) {
        try {
            const input::BatchRecord record = members.member(number);
            for (const char* key : {"name", "sex", "age"}) {
                characters.append(toQString(record.field(key).value_or("")));
            }
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
    if (error)
        return fillIn(tr("cannot make the folder {}: {}"), {shownPath(folder), error.message()});
    if (!QFileInfo(folder).isWritable()) {
        return fillIn(
            tr("cannot write into the folder {}: {}"),
            {shownPath(folder), std::make_error_code(std::errc::permission_denied).message()});
    }
    return {};
}

}  // namespace

PageBatchOutcome writePageBatch(const input::MembersInput& members,
                                const PageBatchSettings& settings, const PageBatchHooks& hooks) {
    PageBatchOutcome outcome;
    // Nothing can be written without the folder: one message instead of one a line.
    if (const std::string problem = folderProblem(settings.folder); !problem.empty()) {
        hooks.messages.say(problem);
        outcome.failed = true;
        return outcome;
    }
    outcome.begun = true;
    const FaceSubsets faces(pageCharacters(members));
    ResultsTable table(settings.folder);
    {
        PageJob job(settings, hooks, table);
        outcome.tally = input::runBatch(members, job, hooks.messages, job.ahead());
    }
    const std::string tableProblem = table.finish(settings.existing != ExistingPages::Refuse);
    if (!tableProblem.empty()) hooks.messages.say(tableProblem);
    outcome.failed = !tableProblem.empty();
    outcome.stopped = hooks.stopped();
    return outcome;
}

}  // namespace corvane
