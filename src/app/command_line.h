#pragma once

#include <optional>
#include <string>
#include <vector>

#include "input/answer_options.h"

namespace corvane::app {

// What one run of corvane does: open the questionnaire or the batch window,
// or write report pages as PDF files without any window.
struct Command {
    enum class Mode { Windows, BatchWindow, Pdf, PdfBatch };
    Mode mode = Mode::Windows;

    std::string pdfFile;    // --pdf FILE
    std::string pdfFolder;  // --pdf-dir DIR, with --batch
    bool overwrite = false;
    bool skipExisting = false;  // --skip-existing, with --pdf-dir
    input::AnswerOptions answers;
    std::optional<std::string> name;
    std::optional<std::string> sex;
    std::optional<std::string> age;

    // Qt's standard options (-style Fusion, -platform xcb, -reverse, …) with
    // their values, as given; they go to Qt when the windows open.
    std::vector<std::string> qtOptions;
};

// The command line read, or the exit status when it has been answered
// already: --help and --version (0) or a usage error, told on standard error (2).
struct ParsedCommandLine {
    Command command;
    std::optional<int> exitStatus;
};
ParsedCommandLine parseCommandLine(int argc, const char* const* argv);

// argc and argv for QApplication: the program's name and Qt's options. Qt
// keeps pointers into them, so they must live as long as the application.
class QtArguments {
public:
    QtArguments(const char* program, const std::vector<std::string>& options);
    int& argc() { return argc_; }
    char** argv() { return pointers_.data(); }

private:
    std::vector<std::string> texts_;
    std::vector<char*> pointers_;
    int argc_;
};

}  // namespace corvane::app
