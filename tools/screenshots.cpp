// Opens the three windows as a user would see them after one diagnosis, and
// the batch window after a batch of a few members, and saves each as a PNG
// into the directory given on the command line. With
// --screen FILE it saves the whole screen instead, window frames included,
// with the questionnaire and the report where the program places them.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QIcon>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include "gui/about_window.h"
#include "gui/batch_window.h"
#include "gui/questionnaire_window.h"
#include "gui/report_window.h"

namespace {

void save(QWidget& window, const QDir& dir, const QString& name) {
    window.grab().save(dir.filePath(name + ".png"));
}

void type(QWidget& window, const char* field, const QString& text) {
    window.findChild<QLineEdit*>(field)->setText(text);
}

// Ticks six symptoms and the first type, presses 诊断 and fills in the
// member's particulars.
corvane::ReportWindow& diagnose(corvane::QuestionnaireWindow& questionnaire) {
    for (const char* box : {"check1", "check6", "check13", "check15", "check22", "Check61"}) {
        questionnaire.findChild<QCheckBox*>(box)->setChecked(true);
    }
    questionnaire.findChild<QRadioButton*>("Option1")->setChecked(true);
    questionnaire.findChild<QPushButton*>("Command1")->click();
    corvane::ReportWindow& report = *questionnaire.report();
    type(report, "Text2", "张三");
    type(report, "Text3", "男");
    type(report, "Text4", "45");
    return report;
}

// The batch window after writing the pages of a members' list with a line
// that cannot be read.
void saveBatchWindow(const QDir& dir) {
    QTemporaryDir work;
    QFile members(work.filePath("会员名单.csv"));
    members.open(QIODevice::WriteOnly);
    members.write("编号,姓名,性别,年龄,性格,症状,电话\r\n");
    for (int k = 1; k <= 12; ++k) {
        members.write(QByteArray::number(k) + ",会员" + QByteArray::number(k) + ",男,4" +
                      QByteArray::number(k % 10) + ",1,\"口干咽燥、" + QByteArray::number(k + 10) +
                      "\",\r\n");
    }
    members.write("13,王五,女,45.5,2,自汗,\r\n");
    members.close();
    corvane::BatchWindow window;
    window.show();
    type(window, "membersFile", QDir::toNativeSeparators(members.fileName()));
    type(window, "outputFolder", QDir::toNativeSeparators(work.filePath("报告")));
    QEventLoop loop;
    QObject::connect(&window, &corvane::BatchWindow::batchFinished, &loop, &QEventLoop::quit);
    window.findChild<QPushButton*>("start")->click();
    loop.exec();
    save(window, dir, "batch-window");
}

// Lets the window manager frame and place the windows.
void settle() {
    QEventLoop loop;
    QTimer::singleShot(1000, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const bool wholeScreen = arguments.value(1) == "--screen";
    QApplication::setWindowIcon(QIcon(":/corvane/icon.png"));
    corvane::QuestionnaireWindow questionnaire;
    questionnaire.show();
    if (wholeScreen) settle();  // framed, as when the user presses 诊断
    corvane::ReportWindow& report = diagnose(questionnaire);
    if (wholeScreen) {
        settle();
        return questionnaire.screen()->grabWindow(0).save(arguments.value(2)) ? 0 : 1;
    }
    const QDir dir(arguments.value(1, QDir::currentPath()));
    questionnaire.findChild<QPushButton*>("Command5")->click();
    QApplication::processEvents();
    save(questionnaire, dir, "form0");
    save(report, dir, "form2");
    save(*questionnaire.about(), dir, "frmAbout");
    saveBatchWindow(dir);
    return 0;
}
