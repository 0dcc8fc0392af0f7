#include <QApplication>
#include <QIcon>
#include <iostream>
#include <memory>
#include <string>

#include "app/command_line.h"
#include "app/pdf_export.h"
#include "gui/batch_window.h"
#include "gui/qt_translations.h"
#include "gui/questionnaire_window.h"
#include "language/translation.h"
#include "platform/standard_streams.h"
#include "report/faces.h"

using namespace Qt::StringLiterals;

namespace {

using corvane::app::Command;

// Without options the questionnaire, with --batch-window the batch window,
// as the desktop shows them.
int runWindows(const char* program, const Command& command) {
    corvane::app::QtArguments arguments(program, command.qtOptions);
    QApplication application(arguments.argc(), arguments.argv());
    QApplication::setApplicationName(u"Corvane"_s);
    QApplication::setWindowIcon(QIcon(u":/corvane/icon.png"_s));
    corvane::installQtChineseTranslations();
    std::unique_ptr<QWidget> window;
    if (command.mode == Command::Mode::BatchWindow) {
        window = std::make_unique<corvane::BatchWindow>();
    } else {
        window = std::make_unique<corvane::QuestionnaireWindow>();
    }
    window->show();
    return QApplication::exec();
}

// Standard error of the export carries the program's own messages only: what
// fails is checked and told in its words, while Qt's remarks about the desktop
// session (such as a missing XDG_RUNTIME_DIR) are no concern of a command line.
void keepQtQuiet(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::cerr << "corvane: " << message.toStdString() << '\n';
    }
}

// The PDF export draws with Qt's fonts but shows nothing. On Linux it runs on
// the offscreen platform whatever the environment names, so no display is
// needed; Windows' own platform needs none, and it alone finds the system's
// fonts there.
int runExport(char* program, const Command& command) {
#ifndef _WIN32
    qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    qInstallMessageHandler(keepQtQuiet);
    int argc = 1;
    char* argv[] = {program, nullptr};
    QGuiApplication application(argc, argv);
    QGuiApplication::setApplicationName(u"Corvane"_s);
    if (!corvane::facesDrawChinese()) {
        std::cerr << "corvane: "
                  << corvane::tr("no Chinese font is installed, so the page's text cannot be drawn")
                  << '\n';
        return 1;
    }
    if (command.mode == Command::Mode::Pdf) return corvane::app::exportPdf(command, std::cerr);
    return corvane::app::exportPdfBatch(command, std::cin, std::cerr,
                                        {corvane::platform::standardErrorIsTerminal()});
}

}  // namespace

int main(int argc, char* argv[]) {
    const corvane::platform::Utf8Arguments arguments(argc, argv);
    // Messages of a command-line run go to the terminal that started it.
    if (arguments.argc() > 1) {
        corvane::platform::useStartingConsole();
        corvane::platform::useStandardStreams();
        corvane::useUserLanguage();
    }
    const corvane::app::ParsedCommandLine parsed =
        corvane::app::parseCommandLine(arguments.argc(), arguments.argv());
    if (parsed.exitStatus) return *parsed.exitStatus;
    const Command::Mode mode = parsed.command.mode;
    if (mode == Command::Mode::Windows || mode == Command::Mode::BatchWindow) {
        return runWindows(argv[0], parsed.command);
    }
    return runExport(argv[0], parsed.command);
}
