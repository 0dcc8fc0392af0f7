#pragma once

#include <string>

namespace CLI {
class App;
}  // namespace CLI

namespace corvane::input {

// CLI11's own texts in the user's language: the help's headings, the help
// flag, and its usage errors (an unknown option, a value missing, options that
// do not go together) with the hint to --help. Call after usePlainHelp, which
// gives the app its formatter, and before adding options, so that they go
// under the translated heading.
void translateCommandLine(CLI::App& app);

// One of CLI11's error messages in the user's language; a message it does not
// know stays as it is.
std::string translatedError(const std::string& message);

}  // namespace corvane::input
