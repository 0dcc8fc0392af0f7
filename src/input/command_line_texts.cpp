#include "input/command_line_texts.h"

#include <CLI/CLI.hpp>
#include <array>
#include <regex>

#include "language/translation.h"

namespace corvane::input {

namespace {

// The messages of CLI11's errors that the programs' command lines can meet,
// each with its values as "{}"; the catalogue holds them as any other text.
const std::array<const char*, 11> kErrors = {
    tr_noop("The following argument was not expected: {}"),
    tr_noop("The following arguments were not expected: {}"),
    tr_noop("{} is required"),
    tr_noop("{} requires {}"),
    tr_noop("{} excludes {}"),
    tr_noop("{}: {} required {} missing"),
    tr_noop("{}: At Most {} required but received {}"),
    tr_noop("{}: too many inputs for a flag"),
    tr_noop("{}: Should be true/false or a number"),
    tr_noop("Expected exactly {} arguments to {}, got {}"),
    tr_noop("{} was given a disallowed flag override"),
};

// The English pattern as a regular expression whose groups are its values.
std::regex patternExpression(std::string_view pattern) {
    static const std::regex special(R"([.^$|()\[\]*+?\\])");
    std::string expression = std::regex_replace(std::string(pattern), special, R"(\$&)");
    expression = std::regex_replace(expression, std::regex(R"(\{\})"), "(.+?)");
    return std::regex(expression);
}

std::string failureMessage(const CLI::App* app, const CLI::Error& error) {
    std::string message = translatedError(error.what()) + "\n";
    if (const CLI::Option* help = app->get_help_ptr()) {
        message += fillIn(tr("Run with {} for more information."), {help->get_name()}) + "\n";
    }
    return message;
}

}  // namespace

std::string translatedError(const std::string& message) {
    for (const char* english : kErrors) {
        std::smatch values;
        if (!std::regex_match(message, values, patternExpression(english))) continue;
        std::array<std::string, 3> parts;
        for (std::size_t i = 1; i < values.size() && i <= parts.size(); ++i)
            parts[i - 1] = values[i];
        return fillIn(tr(english), {parts[0], parts[1], parts[2]});
    }
    return message;
}

void translateCommandLine(CLI::App& app) {
    const std::shared_ptr<CLI::FormatterBase> formatter = app.get_formatter();
    for (const char* label : {tr_noop("Usage"), tr_noop("OPTIONS"), tr_noop("REQUIRED")}) {
        formatter->label(label, tr(label));
    }
    app.option_defaults()->group(tr("Options"));
    app.set_help_flag("-h,--help", tr("Print this help message and exit"));
    app.failure_message(failureMessage);
}

}  // namespace corvane::input
