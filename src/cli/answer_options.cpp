#include "cli/answer_options.h"

#include <CLI/CLI.hpp>

namespace corvane::cli {

Assessment AnswerOptions::assessment() const {
    Assessment assessment;
    assessment.scores =
        ticks ? computeScores(parseTickList(*ticks)) : parseScoreList(scores.value_or(""));
    if (personality) assessment.personality = parsePersonality(*personality);
    return assessment;
}

void addAnswerOptions(CLI::App& app, AnswerOptions& options) {
    options.ticksOption =
        app.add_option("--ticks", options.ticks,
                       "Ticked symptoms: control names (check1 ... Check79) or numbers 1-79, "
                       "separated by commas");
    options.scoresOption =
        app.add_option("--scores", options.scores,
                       "Scores instead of ticks, e.g. Yin=12,Yang=15 (missing scores are 0)");
    options.personalityOption =
        app.add_option("--personality", options.personality, "Personality type 1-5");
    options.ticksOption->excludes(options.scoresOption);
}

}  // namespace corvane::cli
