// corvane-eval: runs the Diagnose button's evaluation without the windows.
#include <CLI/CLI.hpp>
#include <iostream>
#include <string>

#include "cli/json_batch.h"
#include "cli/output.h"
#include "cli/write_failure.h"
#include "input/answer_options.h"
#include "input/assessment.h"
#include "input/command_line_texts.h"
#include "language/translation.h"
#include "platform/standard_streams.h"

namespace {

using namespace corvane;
using namespace corvane::cli;
using namespace corvane::input;

constexpr int kBadInput = 1;

struct Options {
    AnswerOptions answers;
    bool json = false;
    bool batch = false;
};

std::string evaluateToText(const Assessment& assessment, bool json) {
    const Evaluation evaluation = evaluate(assessment.scores, assessment.personality);
    return json ? jsonReport(evaluation) : readableReport(evaluation);
}

int runSingle(const Options& options) {
    std::string report;
    try {
        report = evaluateToText(options.answers.assessment(), options.json);
    } catch (const InputError& error) {
        std::cerr << "corvane-eval: " << error.what() << '\n';
        return kBadInput;
    }
    std::cout << report << '\n' << std::flush;
    if (std::cout) return 0;
    const std::string reason = writeFailure(tr("the report to standard output"));
    std::cerr << "corvane-eval: " << reason << '\n';
    return kBadInput;
}

}  // namespace

int main(int argc, char** argv) {
    const platform::Utf8Arguments arguments(argc, argv);
    platform::useStandardStreams();
    useUserLanguage();
    CLI::App app{tr("Evaluates a constitution self-assessment the way the Diagnose button does.")};
    usePlainHelp(app);
    translateCommandLine(app);
    app.set_version_flag("--version", "corvane-eval " CORVANE_VERSION,
                         tr("Print the program's version and exit"));
    Options options;
    const AddedAnswerOptions answers = addAnswerOptions(app, options.answers);
    app.add_flag("--json", options.json,
                 tr("Print one JSON object instead of the readable report"));
    auto* batch =
        app.add_flag("--batch", options.batch,
                     tr("Read members from standard input instead of --ticks, --scores and "
                        "--personality, write one JSON object per member. The input is JSON "
                        "Lines, a line giving \"ticks\" or \"scores\", optionally "
                        "\"personality\", and the \"name\", \"sex\", \"age\" and \"file\" that "
                        "corvane's PDF export reads, or CSV with a header row, in UTF-8 or "
                        "GB18030, as corvane --help describes it; the name is passed on into the "
                        "output"));
    batch->excludes(answers.ticks)->excludes(answers.scores)->excludes(answers.personality);
    try {
        app.parse(arguments.argc(), arguments.argv());
        if (!options.batch && !options.answers.given()) {
            throw CLI::RequiredError(tr("one of --ticks, --scores or --batch"));
        }
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error);
        return status == 0 ? 0 : 2;
    }
    if (options.batch) {
        return evaluateBatch(std::cin, standardOutput(), std::cerr);
    }
    return runSingle(options);
}
