#include "app/pdf_export.h"

#include <QDate>
#include <istream>
#include <iterator>
#include <memory>
#include <ostream>
#include <string>

#include "app/batch_progress.h"
#include "app/interruption.h"
#include "engine/evaluation.h"
#include "export/member_page.h"
#include "export/page_batch.h"
#include "input/member_values.h"
#include "input/members.h"
#include "language/translation.h"
#include "report/pdf_file.h"
#include "report/report_page.h"
#include "report/utf8.h"

namespace corvane::app {

namespace {

ExistingPages existingPages(const Command& command) {
    if (command.overwrite) return ExistingPages::Replace;
    return command.skipExisting ? ExistingPages::Skip : ExistingPages::Refuse;
}

std::string summary(const input::BatchTally& tally) {
    return fillIn(
        tr("pages written {}, skipped {}, failed {}"),
        {std::to_string(tally.done), std::to_string(tally.skipped), std::to_string(tally.failed)});
}

}  // namespace

int exportPdf(const Command& command, std::ostream& err) {
    const QString path = pdfFilePath(toQString(command.pdfFile));
    std::string problem;
    try {
        const input::Assessment answers = command.answers.assessment();
        const std::optional<std::string> age =
            command.age ? input::ageFromText(*command.age) : std::nullopt;
        const ReportContent content =
            memberReport(evaluate(answers.scores, answers.personality), QDate::currentDate(),
                         {command.name, command.sex, age});
        for (const std::string& note : pageNotes(content)) err << "corvane: " << note << '\n';
        problem = writeMemberPage(path, content, command.overwrite, false);
    } catch (const input::InputError& error) {
        problem = error.what();
    }
    if (problem.empty()) return 0;
    err << "corvane: " << problem << '\n';
    return 1;
}

int exportPdfBatch(const Command& command, std::istream& in, std::ostream& err,
                   const BatchDisplay& display) {
    std::unique_ptr<input::MembersInput> members;
    try {
        members = std::make_unique<input::MembersInput>(
            std::string(std::istreambuf_iterator<char>(in), {}), tr("standard input"));
    } catch (const input::InputError& error) {
        err << "corvane: " << error.what() << '\n';
        return 1;
    }
    BatchProgress progress(err, display.progress, members->size());
    const InterruptionGuard guard;
    const PageBatchHooks hooks{
        {"corvane", [&progress](const std::string& line) { progress.write(line); }},
        [&progress](const input::BatchTally& tally) { progress.update(tally); },
        [] { return InterruptionGuard::interrupted(); }};
    const PageBatchOutcome outcome =
        writePageBatch(*members, {toQString(command.pdfFolder), existingPages(command)}, hooks);
    progress.end();
    if (!outcome.begun) return 1;  // and it was said why
    // Ctrl-C after the last line was read may still have left pages undone.
    if (outcome.stopped) {
        hooks.messages.say(
            fillIn(tr("interrupted: the lines up to input line {} are done; give the "
                      "same command with --skip-existing to go on"),
                   {std::to_string(outcome.tally.finishedUpTo)}));
    }
    hooks.messages.say(summary(outcome.tally));
    if (outcome.stopped) return kInterrupted;
    return outcome.tally.failed > 0 || outcome.failed ? 1 : 0;
}

}  // namespace corvane::app
