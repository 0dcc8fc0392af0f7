#include <QApplication>
#include <QIcon>
#include <iostream>

#include "app/command_line.h"
#include "app/pdf_export.h"
#include "gui/qt_translations.h"
#include "gui/questionnaire_window.h"

namespace {

using corvane::app::Command;

// Without options: the questionnaire, as the desktop shows it.
int runWindows(const char* program, const Command& command) {
    corvane::app::QtArguments arguments(program, command.qtOptions);
    QApplication application(arguments.argc(), arguments.argv());
    QApplication::setApplicationName("Corvane");
    QApplication::setWindowIcon(QIcon(":/corvane/icon.png"));
    corvane::installQtChineseTranslations();
    corvane::QuestionnaireWindow questionnaire;
    questionnaire.show();
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

// The PDF export draws with Qt's fonts but shows nothing, so it runs on the
// offscreen platform whatever the environment names: no display is needed.
int runExport(char* program, const Command& command) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(keepQtQuiet);
    int argc = 1;
    char* argv[] = {program, nullptr};
    QGuiApplication application(argc, argv);
    QGuiApplication::setApplicationName("Corvane");
    if (command.mode == Command::Mode::Pdf) return corvane::app::exportPdf(command, std::cerr);
    std::ios::sync_with_stdio(false);
    return corvane::app::exportPdfBatch(command, std::cin, std::cerr);
}

}  // namespace

int main(int argc, char* argv[]) {
    const corvane::app::ParsedCommandLine parsed = corvane::app::parseCommandLine(argc, argv);
    if (parsed.exitStatus) return *parsed.exitStatus;
    if (parsed.command.mode == Command::Mode::Windows) return runWindows(argv[0], parsed.command);
    return runExport(argv[0], parsed.command);
}
