// Fills in a report as after one diagnosis and presses its 打印 on the
// system's default printer. Exits 0 when the window reported a good print
// with both buttons hidden, and saves what it printed as a PNG for the
// script that checks the spooled page.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTextStream>

#include "gui/questionnaire_window.h"
#include "gui/report_window.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QTextStream out(stdout);
    corvane::QuestionnaireWindow questionnaire;
    questionnaire.show();
    for (const char* box : {"check1", "check6", "check13"}) {
        questionnaire.findChild<QCheckBox*>(box)->setChecked(true);
    }
    questionnaire.findChild<QRadioButton*>("Option1")->setChecked(true);
    questionnaire.findChild<QPushButton*>("Command1")->click();
    corvane::ReportWindow& report = *questionnaire.report().window();
    report.findChild<QLineEdit*>("Text2")->setText("张三");
    report.findChild<QPushButton*>("Command1")->click();

    if (auto* problem = report.findChild<QMessageBox*>("printProblem")) {
        out << "print failed: " << problem->text() << "\n";
        return 1;
    }
    if (report.findChild<QPushButton*>("Command1")->isVisibleTo(&report) ||
        report.findChild<QPushButton*>("Command2")->isVisibleTo(&report)) {
        out << "the buttons are still shown after printing\n";
        return 1;
    }
    out << "printed\n";
    return 0;
}
