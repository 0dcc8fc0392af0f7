// Fills in a report as after one diagnosis (check1, check6, check13 and
// Option1) and presses its 打印, which prints on the system's default printer.
//   report_print_job printed   exits 0 when the window reported a good print
//                              and keeps both buttons hidden
//   report_print_job refused   exits 0 when the window said the queue refused
//                              the job and why, offered 另存为PDF…, showed both
//                              buttons again and kept the report
//   report_print_job texts     prints nothing; writes the three result boxes,
//                              diagnosis, diet and personality, one a line
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTextStream>
#include <QTimer>

#include "gui/questionnaire_window.h"
#include "gui/report_window.h"
#include "print/print_result.h"

namespace {

// Counts the paints of a window.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return QObject::eventFilter(watched, event);
    }
};

// Through CUPS the message gives the spooler's reason; Qt's Windows print
// engine gives none.
bool saysRefused(const QString& message) {
#ifdef Q_OS_WIN
    return message == QString::fromUtf8(corvane::kPrintFailed);
#else
    const QString prefix = QString::fromUtf8(corvane::kPrintRefused).section("%1", 0, 0);
    const QString suffix = QString::fromUtf8(corvane::kPrintRefused).section("%1", 1);
    return message.startsWith(prefix) && message.endsWith(suffix) &&
           message.size() > prefix.size() + suffix.size();
#endif
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QTextStream out(stdout);
    const bool expectRefusal = argc > 1 && QString(argv[1]) == "refused";
    corvane::QuestionnaireWindow questionnaire;
    questionnaire.show();
    for (const char* box : {"check1", "check6", "check13"}) {
        questionnaire.findChild<QCheckBox*>(box)->setChecked(true);
    }
    questionnaire.findChild<QRadioButton*>("Option1")->setChecked(true);
    questionnaire.findChild<QPushButton*>("Command1")->click();
    corvane::ReportWindow& report = *questionnaire.report();
    report.findChild<QLineEdit*>("Text2")->setText("张三");
    const QString diagnosis = report.result(corvane::Box::Diagnosis);
    if (argc > 1 && QString(argv[1]) == "texts") {
        for (const corvane::Box box :
             {corvane::Box::Diagnosis, corvane::Box::Diet, corvane::Box::Personality}) {
            out << report.result(box) << "\n";
        }
        return 0;
    }
    // While the job is prepared and sent the window is asked to repaint
    // every 20 ms; how often it did shows that it kept answering.
    PaintCounter counter;
    report.installEventFilter(&counter);
    QTimer repaints;
    QObject::connect(&repaints, &QTimer::timeout, &report, [&] { report.update(); });
    QSignalSpy finished(&report, &corvane::ReportWindow::printFinished);
    QElapsedTimer sincePressed;
    sincePressed.start();
    report.findChild<QPushButton*>("Command1")->click();
    repaints.start(20);
    finished.wait(30'000);
    out << "the job ended " << sincePressed.elapsed() << " ms after 打印; the window painted "
        << counter.paints << " times meanwhile\n";
    repaints.stop();

    const auto* problem = report.findChild<QMessageBox*>("printProblem");
    const bool buttonsShown = report.findChild<QPushButton*>("Command1")->isVisibleTo(&report) &&
                              report.findChild<QPushButton*>("Command2")->isVisibleTo(&report);
    if (expectRefusal) {
        if (!problem || !saysRefused(problem->text())) {
            out << "the refused job was not reported as refused with the spooler's reason\n";
            return 1;
        }
        if (!problem->findChild<QPushButton*>("saveAsPdf")) {
            out << "the failed print does not offer to save the page as PDF\n";
            return 1;
        }
        if (!buttonsShown) {
            out << "the buttons did not come back after the failed print\n";
            return 1;
        }
        if (report.findChild<QLineEdit*>("Text2")->text() != "张三" ||
            report.result(corvane::Box::Diagnosis) != diagnosis) {
            out << "the report lost what it held\n";
            return 1;
        }
        out << "refused: " << problem->text() << "\n";
        return 0;
    }
    if (problem) {
        out << "print failed: " << problem->text() << "\n";
        return 1;
    }
    if (buttonsShown) {
        out << "the buttons are still shown after printing\n";
        return 1;
    }
    out << "printed\n";
    return 0;
}
