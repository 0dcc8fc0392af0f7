// Fills in a report as after one diagnosis (check1, check6, check13 and
// Option1, the name 张三) and presses its 打印, which prints on the system's
// default printer; says how long the job took and how the window answered
// meanwhile.
//   report_print_job printed        exits 0 when the window reported a good
//                                   print and keeps both buttons hidden
//   report_print_job EXPECTED WORDS exits 0 when the window said what became of
//                                   the job, offered 另存为PDF…, showed both
//                                   buttons again and kept the report; EXPECTED
//                                   is refused (the queue refused the job and
//                                   why, WORDS), waiting (the job waits in the
//                                   queue and why, WORDS), nodefault (no default
//                                   printer, naming the printers there are, one
//                                   of them WORDS) or failed (any failure)
//   report_print_job texts          prints nothing; writes the three result
//                                   boxes, diagnosis, diet and personality, one a line
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextStream>
#include <QTimer>

#include "gui/questionnaire_window.h"
#include "gui/report_window.h"
#include "print/print_result.h"
#include "report/utf8.h"

using namespace Qt::StringLiterals;

namespace {

using corvane::toQString;

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

#ifndef Q_OS_WIN
// Whether the message is the one given with a reason that holds the words.
bool saysWithReason(const QString& message, const char* format, const QString& words) {
    const QString prefix = toQString(format).section(u"%1"_s, 0, 0);
    const QString suffix = toQString(format).section(u"%1"_s, 1);
    return message.startsWith(prefix) && message.endsWith(suffix) && message.contains(words);
}
#endif

// Through CUPS the message gives the spooler's reason; Qt's Windows print
// engine gives none, and wine's spooler tells no printer's state.
bool saysWhatBecameOfTheJob(const QString& expected, const QString& message, const QString& words) {
    if (expected == u"failed"_s) return !message.isEmpty();
#ifdef Q_OS_WIN
    Q_UNUSED(words);
    return message == toQString(corvane::kPrintFailed);
#else
    if (expected == u"refused"_s) return saysWithReason(message, corvane::kPrintRefused, words);
    if (expected == u"waiting"_s) return saysWithReason(message, corvane::kPrintWaiting, words);
    if (expected == u"nodefault"_s)
        return saysWithReason(message, corvane::kNoDefaultChosen, words);
    return false;
#endif
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QTextStream out(stdout);
    const QString expected = argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"printed"_s;
    const QString words = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    corvane::QuestionnaireWindow questionnaire;
    questionnaire.show();
    for (const char* box : {"check1", "check6", "check13"}) {
        questionnaire.findChild<QCheckBox*>(box)->setChecked(true);
    }
    questionnaire.findChild<QRadioButton*>("Option1")->setChecked(true);
    questionnaire.findChild<QPushButton*>("Command1")->click();
    corvane::ReportWindow& report = *questionnaire.report();
    report.findChild<QLineEdit*>("Text2")->setText(u"张三"_s);
    const QString diagnosis = report.result(corvane::Box::Diagnosis);
    if (expected == u"texts"_s) {
        for (const corvane::Box box :
             {corvane::Box::Diagnosis, corvane::Box::Diet, corvane::Box::Personality}) {
            out << report.result(box) << "\n";
        }
        return 0;
    }
    if (!QTest::qWaitForWindowExposed(&report)) out << "the report was never exposed\n";
    // While the job is prepared and sent the window is asked to repaint
    // every 20 ms; how often it did, and the longest the event loop was kept
    // from a tick, show that it kept answering.
    PaintCounter counter;
    report.page()->installEventFilter(&counter);
    QTimer repaints;
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QObject::connect(&repaints, &QTimer::timeout, &report, [&] {
        longestGap = std::max(longestGap, sinceTick.restart());
        report.page()->update();
    });
    QSignalSpy finished(&report, &corvane::ReportWindow::printFinished);
    QElapsedTimer sincePressed;
    sincePressed.start();
    report.findChild<QPushButton*>("Command1")->click();
    sinceTick.start();
    repaints.start(20);
    finished.wait(30'000);
    out << "the job ended " << sincePressed.elapsed() << " ms after 打印; the window painted "
        << counter.paints << " times meanwhile, at most " << longestGap
        << " ms between two ticks of its 20 ms timer\n";
    repaints.stop();

    const auto* problem = report.findChild<QMessageBox*>("printProblem");
    const bool buttonsShown = report.findChild<QPushButton*>("Command1")->isVisibleTo(&report) &&
                              report.findChild<QPushButton*>("Command2")->isVisibleTo(&report);
    if (expected != u"printed"_s) {
        if (!problem || !saysWhatBecameOfTheJob(expected, problem->text(), words)) {
            out << "expected the window to say " << expected << " (" << words
                << "); it said: " << (problem ? problem->text() : u"nothing"_s) << "\n";
            return 1;
        }
        if (!problem->findChild<QPushButton*>("saveAsPdf")) {
            out << "the message does not offer to save the page as PDF\n";
            return 1;
        }
        if (!buttonsShown) {
            out << "the buttons did not come back\n";
            return 1;
        }
        if (report.findChild<QLineEdit*>("Text2")->text() != u"张三"_s ||
            report.result(corvane::Box::Diagnosis) != diagnosis) {
            out << "the report lost what it held\n";
            return 1;
        }
        out << expected << ": " << problem->text() << "\n";
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
