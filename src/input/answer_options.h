#pragma once

#include <optional>
#include <string>

#include "input/assessment.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace corvane::input {

// The answers of one assessment as command-line options: --ticks or --scores,
// and --personality. corvane-eval and corvane's PDF export share them.
struct AnswerOptions {
    std::optional<std::string> ticks;
    std::optional<std::string> scores;
    std::optional<std::string> personality;

    // Whether --ticks or --scores was given.
    bool given() const { return ticks || scores; }

    // The assessment the options describe (no --ticks and no --scores is an
    // empty questionnaire); InputError when a value is bad.
    Assessment assessment() const;
};

// The options addAnswerOptions added, for tying them to the caller's own
// options. They belong to the app, so they are for use while it lives; the
// values read stay in AnswerOptions, which may outlive it.
struct AddedAnswerOptions {
    CLI::Option* ticks;
    CLI::Option* scores;
    CLI::Option* personality;
};

// Adds --ticks, --scores (which exclude each other) and --personality to app.
AddedAnswerOptions addAnswerOptions(CLI::App& app, AnswerOptions& options);

// Help that shows each option with the name of its value only: which options
// go together is said in the descriptions, not in CLI11's "Needs:" and
// "Excludes:" notes, which the manual pages would repeat.
void usePlainHelp(CLI::App& app);

}  // namespace corvane::input
