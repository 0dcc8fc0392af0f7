#include "input/answer_options.h"

#include <CLI/CLI.hpp>
#include <memory>

#include "language/translation.h"

namespace corvane::input {

namespace {

class PlainFormatter : public CLI::Formatter {
public:
    std::string make_option_opts(const CLI::Option* option) const override {
        if (option->get_type_size() == 0) return {};
        return " " + option->get_type_name();
    }
};

}  // namespace

Assessment AnswerOptions::assessment() const {
    Assessment assessment;
    assessment.scores =
        ticks ? computeScores(parseTickList(*ticks)) : parseScoreList(scores.value_or(""));
    if (personality) assessment.personality = parsePersonality(*personality);
    return assessment;
}

AddedAnswerOptions addAnswerOptions(CLI::App& app, AnswerOptions& options) {
    AddedAnswerOptions added{};
    added.ticks = app.add_option("--ticks", options.ticks,
                                 tr("Ticked symptoms, separated by commas: control names (check1 "
                                    "... Check79), numbers 1-79 or captions (口干咽燥)"))
                      ->type_name("LIST");
    added.scores =
        app.add_option("--scores", options.scores,
                       tr("Scores instead of ticks, e.g. Yin=12,Yang=15 (missing scores are 0)"))
            ->type_name("LIST");
    added.personality =
        app.add_option("--personality", options.personality, tr("Personality type 1-5"))
            ->type_name("N");
    added.ticks->excludes(added.scores);
    return added;
}

void usePlainHelp(CLI::App& app) {
    app.formatter(std::make_shared<PlainFormatter>());
}

}  // namespace corvane::input
