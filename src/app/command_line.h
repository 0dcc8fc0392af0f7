#pragma once

#include <optional>
#include <string>

#include "input/answer_options.h"

namespace corvane::app {

// What one run of corvane does: open the windows, or write report pages as
// PDF files without any window.
struct Command {
    enum class Mode { Windows, Pdf, PdfBatch };
    Mode mode = Mode::Windows;

    std::string pdfFile;    // --pdf FILE
    std::string pdfFolder;  // --pdf-dir DIR, with --batch
    bool overwrite = false;
    bool skipExisting = false;  // --skip-existing, with --pdf-dir
    input::AnswerOptions answers;
    std::optional<std::string> name;
    std::optional<std::string> sex;
    std::optional<std::string> age;
};

// The command line read, or the exit status when it has been answered
// already: --help and --version (0) or a usage error, told on standard error (2).
struct ParsedCommandLine {
    Command command;
    std::optional<int> exitStatus;
};
ParsedCommandLine parseCommandLine(int argc, const char* const* argv);

}  // namespace corvane::app
