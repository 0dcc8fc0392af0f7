// The about window; 系统信息 asks a fake system for the tool.
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "gui/about_window.h"
#include "gui/desktop_sysinfo.h"
#include "support/fake_system_info.h"
#include "support/gui_support.h"

using namespace corvane;
using namespace corvane::testing;

class AboutWindowTest : public QObject {
    Q_OBJECT

private slots:
    void showsTitleDescriptionAndButtons();
    void okDestroysTheWindow();
    void sysInfoButtonStartsTheToolOrSaysItIsMissing();
    void sysInfoMessageDoesNotWaitForItsAnswer();
};

void AboutWindowTest::showsTitleDescriptionAndButtons() {
    AboutWindow about;
    QCOMPARE(about.windowTitle(), "说明");
    QCOMPARE(control<QLabel>(about, "lblTitle").text(), "Corvane1.0");
    QVERIFY(control<QLabel>(about, "lblVersion").text().isEmpty());
    const QLabel& description = control<QLabel>(about, "lblDescription");
    QVERIFY(description.text().startsWith("简介：本软件通过简单选择后即可自动诊断人体体质，"));
    QVERIFY(description.text().endsWith("凡是病情较重或较复杂的人请遵医嘱。"));
    QVERIFY(description.wordWrap());
    QVERIFY(description.heightForWidth(description.width()) <= description.height());
    QVERIFY(!control<QLabel>(about, "picIcon").pixmap().isNull());
    QCOMPARE(control<QAbstractButton>(about, "cmdOK").text(), "确定");
    QCOMPARE(control<QAbstractButton>(about, "cmdSysInfo").text(), "系统信息(&S)...");
    const auto& sysInfo = control<QAbstractButton>(about, "cmdSysInfo");
    QVERIFY(sysInfo.sizeHint().width() <= sysInfo.width());
    QCOMPARE(about.findChildren<QWidget*>("Line1").size(), 2);
}

void AboutWindowTest::okDestroysTheWindow() {
    QPointer<AboutWindow> about = new AboutWindow();
    about->show();
    click(*about, "cmdOK");
    runDeferredDeletes();
    QVERIFY(about.isNull());
}

void AboutWindowTest::sysInfoButtonStartsTheToolOrSaysItIsMissing() {
    AboutWindow about;
    about.show();
    about.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&about));
    auto system = std::make_unique<FakeSystemInfo>();
    FakeSystemInfo& fake = *system;
    about.setSystemInfoHost(std::move(system));
    click(about, "cmdSysInfo");
    QCOMPARE(fake.messages, std::vector<std::string>{"此时系统信息不可用"});

    fake.path["kinfocenter"] = "/usr/bin/kinfocenter";
    QTest::keyClick(&about, Qt::Key_S, Qt::AltModifier);  // the accelerator clicks a moment later
    QTRY_COMPARE(fake.started, std::vector<std::string>{"/usr/bin/kinfocenter"});
    QCOMPARE(fake.messages.size(), 1u);
}

// The desktop's message opens over the window and returns at once: a box
// that waited for its answer would hold the button's click, and everything
// after it, until the user answers.
void AboutWindowTest::sysInfoMessageDoesNotWaitForItsAnswer() {
    AboutWindow about;
    about.show();
    bool returned = false;
    QTimer::singleShot(2000, [&returned] {
        if (QWidget* waiting = QApplication::activeModalWidget(); waiting && !returned) {
            waiting->close();
        }
    });
    desktopSystemInfoHost(&about)->showMessage("此时系统信息不可用");
    returned = true;
    QPointer<QMessageBox> box = about.findChild<QMessageBox*>("sysInfoMessage");
    QVERIFY(box);
    QVERIFY(box->isVisible());
    QCOMPARE(box->windowTitle(), "Corvane1.0");
    QCOMPARE(box->text(), "此时系统信息不可用");
    box->button(QMessageBox::Ok)->click();
    runDeferredDeletes();
    QVERIFY(box.isNull());
}

QTEST_MAIN(AboutWindowTest)
#include "about_window_test.moc"
