#include "app/command_line.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <string_view>

#include "input/command_line_texts.h"
#include "language/translation.h"

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

constexpr const char* kDescription = tr_noop(
    "corvane: self-assessment of body constitution in the terms of traditional Chinese "
    "medicine.\n\n"
    "Without options corvane opens its questionnaire window, with --batch-window the batch "
    "export window (Corvane 批量导出); Qt's standard options, such as -style Fusion, -platform xcb "
    "or -reverse, go to Qt for the windows. With --pdf or --pdf-dir "
    "it opens no window and needs no display: it writes the report page of an assessment, dated "
    "today, as a one-page A4 PDF, the page that the report window prints.\n");

// Sections as help2man reads them: a heading ending in a colon over indented
// paragraphs.
constexpr const char* kFooter = tr_noop(
    "\nBatch input:\n"
    "  With --pdf-dir DIR --batch standard input holds the members, read whole first. Either "
    "JSON Lines as for corvane-eval --batch, a JSON object a line: \"ticks\" (an array of control "
    "names, numbers or captions) or \"scores\" (an object of score names and values), an "
    "optional \"personality\" (1-5 or a type's name such as 开朗平和) and optionally \"name\", "
    "\"sex\", \"age\" (a whole number; 45.0 is 45) and \"file\". Or CSV as a spreadsheet saves "
    "it, cells separated by commas, semicolons or tabs, a header row naming the columns: "
    "姓名/name, 性别/sex, 年龄/age, 文件/file, 性格/personality, 症状/ticks (symptoms separated by "
    "、，, or blanks), or a column per symptom headed by its caption or number and marked 是, 1, "
    "√, ✓ or x (blank, 否 or 0: not ticked). Other keys and columns are ignored and named once. "
    "The text is UTF-8, with or without a byte order mark, or GB18030 (which takes in GBK), "
    "decided for the whole input and said on standard error unless it is UTF-8 JSON Lines. The "
    "members are numbered from 1 (a CSV's header row and empty rows not counted). corvane-eval "
    "--batch reads the same input, so a members file can be checked with it first.\n\n"
    "  A page goes into DIR, created when it does not exist, under the \"file\" given (\".pdf\" "
    "is added when missing); else, for a member with a name, <line>_<name>.pdf, the line number "
    "padded to the input's length (0042_张三.pdf among 1000 to 9999 members) and each character "
    "a file name cannot hold turned into _; else the line number alone, as in 000042.pdf. A "
    "\"file\" with a slash, a backslash, a control character or any of : * ? \" < > |, one "
    "that starts with a dot or starts or ends with a blank, is an error, as is a name that "
    "another line of the same input writes already. Beside the pages goes the results table "
    "汇总.csv (UTF-8 with a byte order mark): a row per line in input order with the line, the "
    "particulars, the file, the six scores, the three texts and the error of a line that "
    "failed.\n\n"
    "  A line that cannot be evaluated or written is reported on standard error as "
    "\"corvane: line N: message\"; the other lines are still written. At the end one line says "
    "how many pages were written, skipped and failed. On a terminal a progress line shows the "
    "pages done of the lines in all and the pages a second.\n"
    "\nFiles:\n"
    "  An existing file is never replaced unless --overwrite is given; without it that page is "
    "an error, or, with --skip-existing, left alone and counted as skipped, so that a run that "
    "was cut off is taken up again by giving the same command with --skip-existing. In a batch, "
    "whether a page's file exists is decided before the page is drawn. The results table is "
    "written anew with either (a skipped page's row from its evaluation); without them an "
    "existing one is left and that is an error.\n\n"
    "  --pdf FILE adds \".pdf\" to a file name that lacks it (in any letter case), as the "
    "window's 另存为PDF… and a batch do.\n\n"
    "  Every page, of --pdf as of a batch, is written to a new file in its folder and moved into "
    "place. A file that cannot be written whole, on a full disk or in a folder that cannot be "
    "written, is an error: it leaves no partial file, the file it was to replace stays as it "
    "was, and it is never reported as written. --overwrite replaces a symbolic link rather than "
    "the file it points to, so nothing is written outside DIR. A device or a pipe, such as --pdf "
    "/dev/stdout, is written into directly.\n"
    "\nInterruption:\n"
    "  Ctrl-C (SIGINT) stops the batch after the pages in hand; it leaves no partial file, says "
    "up to which input line the pages are done and exits with status 130.\n"
    "\nExit status:\n"
    "  0   every page was written or skipped (or the windows were closed)\n"
    "  1   a value on the command line or a batch line was bad, or a file could not be "
    "written\n"
    "  2   usage error: an unknown option, or options that do not go together\n"
    "  130 the batch was interrupted\n"
    "\nExamples:\n"
    "  corvane --pdf report.pdf --ticks check1,check6,舌红少苔 --personality 1 --name 张三 "
    "--sex 男 --age 45\n"
    "\n"
    "  corvane-eval --batch < members.jsonl > /dev/null && corvane --pdf-dir reports --batch "
    "< members.jsonl\n"
    "\n"
    "  corvane --pdf-dir reports --batch --skip-existing < members.jsonl\n"
    "\n"
    "  corvane --pdf-dir reports --batch < 会员名单.csv\n"
    "\nSee also:\n"
    "  corvane-eval(1), which runs the same evaluation and writes the report as text or JSON.\n");

}  // namespace

ParsedCommandLine parseCommandLine(int argc, const char* const* argv) {
    ParsedCommandLine parsed;
    Command& command = parsed.command;
    CLI::App app{tr(kDescription), "corvane"};
    input::usePlainHelp(app);
    input::translateCommandLine(app);
    app.footer(tr(kFooter));
    app.set_version_flag("--version", "corvane " CORVANE_VERSION,
                         tr("Print the program's version and exit"));
    auto* pdf = app.add_option("--pdf", command.pdfFile,
                               tr("Write the report page of the assessment given by --ticks or "
                                  "--scores, --personality, --name, --sex and --age to FILE as a "
                                  "PDF"))
                    ->type_name("FILE");
    auto* folder = app.add_option("--pdf-dir", command.pdfFolder,
                                  tr("With --batch (and only with it): write one PDF per member "
                                     "of standard input, and the results table, into DIR"))
                       ->type_name("DIR");
    bool inWindow = false;
    auto* batchWindow = app.add_flag(
        "--batch-window", inWindow,
        tr("Open the batch export window (Corvane 批量导出): choose the members' file and the "
           "folder, and watch the pages written, as --pdf-dir DIR --batch writes them"));
    bool batch = false;
    auto* batchFlag = app.add_flag("--batch", batch,
                                   tr("With --pdf-dir: read the members from standard input, JSON "
                                      "Lines or CSV (see Batch input below)"));
    const input::AddedAnswerOptions answers = input::addAnswerOptions(app, command.answers);
    auto* name =
        app.add_option("--name", command.name, tr("The member's name, printed on the page"));
    auto* sex = app.add_option("--sex", command.sex, tr("The member's sex, printed on the page"));
    auto* age =
        app.add_option("--age", command.age,
                       tr("The member's age in years (a whole number), printed on the page"));
    auto* overwrite =
        app.add_flag("--overwrite", command.overwrite, tr("Replace PDF files that exist already"));
    auto* skipExisting = app.add_flag("--skip-existing", command.skipExisting,
                                      tr("With --pdf-dir: leave PDF files that exist already alone "
                                         "and count them as skipped"));
    pdf->excludes(folder);
    batchWindow->excludes(pdf)->excludes(folder);
    overwrite->excludes(skipExisting);
    skipExisting->needs(folder);
    folder->needs(batchFlag);
    batchFlag->needs(folder);
    for (CLI::Option* single :
         {answers.ticks, answers.scores, answers.personality, name, sex, age}) {
        single->needs(pdf);
    }
    SplitArguments arguments = splitQtOptions(argc, argv);
    command.qtOptions = std::move(arguments.qt);
    try {
        app.parse(arguments.ownReversed);
        if (pdf->count() > 0 && !command.answers.given()) {
            throw CLI::RequiredError(tr("one of --ticks or --scores"));
        }
        if (overwrite->count() > 0 && pdf->count() == 0 && folder->count() == 0) {
            throw CLI::RequiresError("--overwrite", tr("--pdf or --pdf-dir"));
        }
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error);
        parsed.exitStatus = status == 0 ? 0 : 2;
        return parsed;
    }
    if (inWindow) command.mode = Command::Mode::BatchWindow;
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
