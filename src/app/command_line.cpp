#include "app/command_line.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <string_view>

namespace corvane::app {

namespace {

// Qt's standard options, which every Qt program accepts, with one dash or two:
// these take a value, as the next argument or after "=" ...
constexpr std::array<std::string_view, 12> kQtOptionsWithValue = {
    "platform",        "platformpluginpath", "platformtheme", "plugin",
    "qwindowgeometry", "qwindowicon",        "qwindowtitle",  "session",
    "style",           "stylesheet",         "display",       "geometry",
};
// ... and these stand alone.
constexpr std::array<std::string_view, 2> kQtFlags = {"reverse", "widgetcount"};

// The name of an option as Qt reads it: without its dashes and without "=value".
std::string_view optionName(std::string_view argument) {
    if (!argument.starts_with('-')) return {};
    argument.remove_prefix(argument.starts_with("--") ? 2 : 1);
    return argument.substr(0, argument.find('='));
}

bool among(const auto& names, std::string_view name) {
    return std::ranges::find(names, name) != names.end();
}

// The arguments split into Qt's options, in order, and the program's own,
// reversed as CLI11 reads them.
struct SplitArguments {
    std::vector<std::string> qt;
    std::vector<std::string> ownReversed;
};

SplitArguments splitQtOptions(int argc, const char* const* argv) {
    SplitArguments split;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        const std::string_view name = optionName(argument);
        // "-style Fusion" or "-style=Fusion"; a "-style" with nothing after it
        // is left for CLI11 to report.
        const bool valueAfter = argument.find('=') == std::string_view::npos;
        const bool withValue = among(kQtOptionsWithValue, name) && (!valueAfter || i + 1 < argc);
        if (!withValue && !among(kQtFlags, name)) {
            split.ownReversed.emplace_back(argument);
            continue;
        }
        split.qt.emplace_back(argument);
        if (withValue && valueAfter) split.qt.emplace_back(argv[++i]);
    }
    std::ranges::reverse(split.ownReversed);
    return split;
}

constexpr const char* kDescription =
    "corvane: self-assessment of body constitution in the terms of traditional Chinese "
    "medicine.\n\n"
    "Without options corvane opens its questionnaire window; Qt's standard options, such as "
    "-style Fusion, -platform xcb or -reverse, go to Qt for the windows. With --pdf or --pdf-dir "
    "it opens no window and needs no display: it writes the report page of an assessment, dated "
    "today, as a one-page A4 PDF, the page that the report window prints.\n";

// Sections as help2man reads them: a heading ending in a colon over indented
// paragraphs.
constexpr const char* kFooter =
    "\nBatch input:\n"
    "  With --pdf-dir DIR --batch each line of standard input is a JSON object as for "
    "corvane-eval --batch: \"ticks\" (an array of control names or numbers) or \"scores\" (an "
    "object of score names and values), an optional \"personality\" (1-5), and optionally "
    "\"name\", \"sex\" and \"age\" (strings or integers, printed on the page) and \"file\", the "
    "name of the PDF file inside DIR (by default the line number, as in 000042.pdf). DIR is "
    "created when it does not exist.\n\n"
    "  A file name with a slash or a backslash, \".\" or \"..\" is an error, as is a name that "
    "another line of the same input writes already. A line that cannot be evaluated or "
    "written is reported on standard error as \"corvane: line N: message\"; the other lines "
    "are still written.\n"
    "\nFiles:\n"
    "  An existing file is never replaced unless --overwrite is given; without it that page is "
    "an error. A file that cannot be written whole, on a full disk or in a folder that cannot "
    "be written, is an error and is never reported as written.\n"
    "\nExit status:\n"
    "  0   every page was written (or the windows were closed)\n"
    "  1   a value on the command line or a batch line was bad, or a file could not be "
    "written\n"
    "  2   usage error: an unknown option, or options that do not go together\n"
    "\nExamples:\n"
    "  corvane --pdf report.pdf --ticks check1,check6,check13 --personality 1 --name 张三 "
    "--sex 男 --age 45\n"
    "\n"
    "  corvane --pdf-dir reports --batch < members.jsonl\n"
    "\nSee also:\n"
    "  corvane-eval(1), which runs the same evaluation and writes the report as text or JSON.\n";

}  // namespace

ParsedCommandLine parseCommandLine(int argc, const char* const* argv) {
    ParsedCommandLine parsed;
    Command& command = parsed.command;
    CLI::App app{kDescription, "corvane"};
    app.footer(kFooter);
    app.set_version_flag("--version", "corvane " CORVANE_VERSION,
                         "Print the program's version and exit");
    auto* pdf = app.add_option("--pdf", command.pdfFile,
                               "Write the report page of the assessment given by --ticks or "
                               "--scores and --personality to FILE as a PDF")
                    ->type_name("FILE");
    auto* folder = app.add_option("--pdf-dir", command.pdfFolder,
                                  "With --batch: write one PDF per line of standard input "
                                  "into DIR")
                       ->type_name("DIR");
    bool batch = false;
    auto* batchFlag = app.add_flag("--batch", batch,
                                   "Read JSON Lines from standard input, one assessment a line "
                                   "(see Batch input below)");
    cli::addAnswerOptions(app, command.answers);
    auto* name = app.add_option("--name", command.name, "The member's name, printed on the page");
    auto* sex = app.add_option("--sex", command.sex, "The member's sex, printed on the page");
    auto* age = app.add_option("--age", command.age, "The member's age, printed on the page");
    auto* overwrite =
        app.add_flag("--overwrite", command.overwrite, "Replace PDF files that exist already");
    pdf->excludes(folder);
    folder->needs(batchFlag);
    batchFlag->needs(folder);
    for (CLI::Option* single : {command.answers.ticksOption, command.answers.scoresOption,
                                command.answers.personalityOption, name, sex, age}) {
        single->needs(pdf);
    }
    SplitArguments arguments = splitQtOptions(argc, argv);
    command.qtOptions = std::move(arguments.qt);
    try {
        app.parse(arguments.ownReversed);
        if (pdf->count() > 0 && !command.answers.given()) {
            throw CLI::RequiredError("one of --ticks or --scores");
        }
        if (overwrite->count() > 0 && pdf->count() == 0 && folder->count() == 0) {
            throw CLI::RequiresError("--overwrite", "--pdf or --pdf-dir");
        }
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error);
        parsed.exitStatus = status == 0 ? 0 : 2;
        return parsed;
    }
    if (pdf->count() > 0) command.mode = Command::Mode::Pdf;
    if (folder->count() > 0) command.mode = Command::Mode::PdfBatch;
    return parsed;
}

QtArguments::QtArguments(const char* program, const std::vector<std::string>& options)
    : texts_(options), argc_(static_cast<int>(options.size()) + 1) {
    texts_.insert(texts_.begin(), program);
    for (std::string& text : texts_) pointers_.push_back(text.data());
    pointers_.push_back(nullptr);
}

}  // namespace corvane::app
