// Opens the three windows as a user would see them after one diagnosis and
// saves each as a PNG into the directory given on the command line.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "gui/about_window.h"
#include "gui/questionnaire_window.h"
#include "gui/report_window.h"

namespace {

void save(QWidget& window, const QDir& dir, const QString& name) {
    window.grab().save(dir.filePath(name + ".png"));
}

void type(QWidget& window, const char* field, const QString& text) {
    window.findChild<QLineEdit*>(field)->setText(text);
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    corvane::QuestionnaireWindow questionnaire;
    questionnaire.show();
    for (const char* box : {"check1", "check6", "check13", "check15", "check22", "Check61"}) {
        questionnaire.findChild<QCheckBox*>(box)->setChecked(true);
    }
    questionnaire.findChild<QRadioButton*>("Option1")->setChecked(true);
    questionnaire.findChild<QPushButton*>("Command1")->click();
    questionnaire.findChild<QPushButton*>("Command5")->click();
    corvane::ReportWindow& report = *questionnaire.report().window();
    type(report, "Text2", "张三");
    type(report, "Text3", "男");
    type(report, "Text4", "45");
    QApplication::processEvents();
    save(questionnaire, dir, "form0");
    save(report, dir, "form2");
    save(*questionnaire.about(), dir, "frmAbout");
    return 0;
}
