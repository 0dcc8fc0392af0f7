// The questionnaire driven as a user drives it: ticking, choosing a type and
// pressing its four buttons, with the report and about windows it opens.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextEdit>
#include <memory>

#include "engine/advice/personality_advice.h"
#include "engine/evaluation.h"
#include "gui/about_window.h"
#include "gui/questionnaire_window.h"
#include "gui/report_window.h"
#include "gui/twips.h"
#include "report/faces.h"
#include "support/gui_support.h"

using namespace corvane;
using namespace corvane::testing;
using namespace Qt::StringLiterals;

class QuestionnaireWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void showsColumnsPersonalitiesAndButtonsInPlace();
    void captionsFitTheirControls();
    void windowsOpenInsideTheScreen();
    void namesEveryControlForScreenReaders();
    void diagnosisThroughAccessibilityActions();
    void enterPressesTheFocusedButtonAndEscLeaves();
    void keyHeldOnAButtonStaysOutOfTheWindowItOpens();
    void clickingATypesNameChoosesIt();
    void saysWhenNoChineseFontIsFound();

    void diagnosisWritesTheThreeTexts();
    void everyDiagnosisShowsTheReport();
    void clearUnticksTheBoxesOnly();
    void eachRunShowsOnlyWhatItDecided();
    void everyRunDatesTheReportToday();
    void closedReportIsCreatedAnew();
    void afterAPrintNothingTypedIsLostAndTheNextRunCanPrint();
    void typedParticularsSurviveCancelAndRuns();
    void aboutWindowStaysSingle();
    void windowsKeepTheirSizeAndTheAboutWindowOpensCentred();
    void exitClosesEveryWindow();
    void closingTheQuestionnaireClosesTheOthers();

private:
    void tick(std::initializer_list<const char*> boxes);
    ReportWindow& report();
    QString text(const char* box) { return control<QTextEdit>(report(), box).toPlainText(); }

    std::unique_ptr<QuestionnaireWindow> form_;
};

void QuestionnaireWindowTest::init() {
    form_ = shownWindow<QuestionnaireWindow>();
}

void QuestionnaireWindowTest::cleanup() {
    form_.reset();
    runDeferredDeletes();
}

void QuestionnaireWindowTest::tick(std::initializer_list<const char*> boxes) {
    for (const char* box : boxes)
        QTest::mouseClick(&control<QCheckBox>(*form_, box), Qt::LeftButton);
}

ReportWindow& QuestionnaireWindowTest::report() {
    ReportWindow* window = form_->report();
    if (!window) qFatal("the report window does not exist");
    return *window;
}

void QuestionnaireWindowTest::showsColumnsPersonalitiesAndButtonsInPlace() {
    const Twips twips(*form_);
    QCOMPARE(form_->windowTitle(), "Corvane1.0");
    QCOMPARE(form_->size(), twips.size(9975, 9330));
    for (std::size_t i = 0; i < kGroupHeadings.size(); ++i) {
        const auto name = QString("Label%1").arg(i + 1).toLatin1();
        const auto& heading = control<QLabel>(*form_, name.constData());
        QCOMPARE(heading.text(), qs(kGroupHeadings[i]));
        QCOMPARE(heading.pos(), twips.rect(600 + 1560 * static_cast<int>(i), 960, 0, 0).topLeft());
    }
    const auto names = form_->findChildren<QCheckBox*>();
    QCOMPARE(names.size(), kSymptomCount);
    for (const Symptom& symptom : kSymptoms) {
        const auto& box = control<QCheckBox>(*form_, qs(symptom.control).toLatin1().constData());
        QCOMPARE(box.text(), qs(symptom.caption));
        QVERIFY(!box.isChecked());
    }
    // The first box of each column, and the seventeenth of the longest.
    QCOMPARE(control(*form_, "check1").pos(), twips.rect(600, 1320, 0, 0).topLeft());
    QCOMPARE(control(*form_, "check15").pos(), twips.rect(2160, 1320, 0, 0).topLeft());
    QCOMPARE(control(*form_, "Check72").pos(), twips.rect(8400, 1320, 0, 0).topLeft());
    QCOMPARE(control(*form_, "Check60").pos(), twips.rect(5280, 7080, 0, 0).topLeft());

    QCOMPARE(control<QLabel>(*form_, "Label7").text(), "性格判定");
    const auto& frame = control(*form_, "Frame1");
    QCOMPARE(frame.geometry(), twips.rect(360, 7320, 9135, 855));
    for (int type = 1; type <= kPersonalityCount; ++type) {
        const auto name = QString("Option%1").arg(type).toLatin1();
        const auto& option = control<QRadioButton>(frame, name.constData());
        QVERIFY(option.text().isEmpty());
        QVERIFY(!option.isChecked());
        QCOMPARE(option.width(), twips(255));
    }
    QCOMPARE(control(frame, "Option1").x(), twips(1320));
    QCOMPARE(control(frame, "Option5").x(), twips(8640));

    const std::array<std::pair<const char*, QString>, 4> buttons = {
        {{"Command1", "诊断"}, {"Command4", "清空"}, {"Command3", "退出"}, {"Command5", "说明"}}};
    for (const auto& [name, caption] : buttons) {
        QCOMPARE(control<QAbstractButton>(*form_, name).text(), caption);
        QCOMPARE(control(*form_, name).y(), twips(8520));
    }
}

void QuestionnaireWindowTest::captionsFitTheirControls() {
    for (const QCheckBox* box : form_->findChildren<QCheckBox*>()) {
        QVERIFY2(box->sizeHint().width() <= box->width(), qPrintable(box->objectName()));
        QVERIFY2(box->sizeHint().height() <= box->height(), qPrintable(box->objectName()));
    }
    for (const QLabel* label : form_->findChildren<QLabel*>()) {
        if (label->text().isEmpty()) continue;
        QVERIFY2(label->sizeHint().width() <= label->width(), qPrintable(label->objectName()));
    }
    // Each personality label ends before its option button begins.
    const auto& frame = control(*form_, "Frame1");
    for (int i = 0; i < kPersonalityCount; ++i) {
        const auto label = QString("Label%1").arg(8 + i).toLatin1();
        const auto option = QString("Option%1").arg(1 + i).toLatin1();
        const auto& caption = control<QLabel>(frame, label.constData());
        QVERIFY(caption.x() + caption.sizeHint().width() <= control(frame, option.constData()).x());
    }
}

// On whatever screen, each window opens wholly inside the available area; a
// window cut to that area scrolls, and each of its buttons scrolls into view
// when it takes the focus. Where the screen has room, the report leaves the
// questionnaire free.
void QuestionnaireWindowTest::windowsOpenInsideTheScreen() {
    click(*form_, "Command1");
    click(*form_, "Command5");
    const QRect available = form_->screen()->availableGeometry();
    const std::array<PageWindow*, 3> windows = {form_.get(), &report(), form_->about()};
    for (PageWindow* window : windows) {
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QByteArray name = window->objectName().toLatin1();
        const QRect frame = window->frameGeometry();
        QVERIFY2(available.contains(frame), name);
        // A scroll bar shows only where the page and the frame are larger than the area.
        const QSize page = window->page()->size() + frame.size() - window->size();
        const auto* scrolling = window->findChild<QScrollArea*>();
        QVERIFY2(!scrolling->horizontalScrollBar()->isVisible() || page.width() > available.width(),
                 name);
        QVERIFY2(!scrolling->verticalScrollBar()->isVisible() || page.height() > available.height(),
                 name);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        for (QPushButton* button : window->page()->findChildren<QPushButton*>()) {
            button->setFocus(Qt::TabFocusReason);
            QVERIFY2(button->visibleRegion() == QRegion(button->rect()),
                     qPrintable(button->objectName()));
        }
    }
    const QRect questionnaire = form_->frameGeometry();
    if (questionnaire.width() + report().frameGeometry().width() <= available.width()) {
        QVERIFY(!questionnaire.intersects(report().frameGeometry()));
        // The two open side by side, centred as a pair (within what a frame
        // not yet measured may differ by).
        const QRect pair = questionnaire | report().frameGeometry();
        const int leftGap = pair.left() - available.left();
        const int rightGap = available.right() - pair.right();
        QVERIFY2(qAbs(leftGap - rightGap) <= 40, qPrintable(u"%1 %2"_s.arg(leftGap).arg(rightGap)));
    }
}

void QuestionnaireWindowTest::namesEveryControlForScreenReaders() {
    auto accessibleName = [](QWidget& widget) {
        return QAccessible::queryAccessibleInterface(&widget)->text(QAccessible::Name);
    };
    QCOMPARE(accessibleName(control(*form_, "check6")), "五心烦热");
    QCOMPARE(accessibleName(control(*form_, "Check79")), qs(kSymptoms[78].caption));
    QCOMPARE(accessibleName(control(*form_, "Option2")), "2、急躁易怒");
    QCOMPARE(accessibleName(control(*form_, "Command5")), "说明");

    click(*form_, "Command1");
    const std::array<std::pair<const char*, QString>, 7> boxes = {{{"Text2", "会员姓名"},
                                                                   {"Text3", "性别"},
                                                                   {"Text4", "年龄"},
                                                                   {"Text1", "体质诊断结果"},
                                                                   {"Text7", "调理建议"},
                                                                   {"Text5", "性格调整"},
                                                                   {"Text6", "签名"}}};
    for (const auto& [box, heading] : boxes)
        QCOMPARE(accessibleName(control(report(), box)), heading);

    click(*form_, "Command5");
    for (QWidget* window : {static_cast<QWidget*>(form_.get()), static_cast<QWidget*>(&report()),
                            static_cast<QWidget*>(form_->about())}) {
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            const QString name = accessibleName(*widget);
            QVERIFY2(name == name.trimmed(), qPrintable(widget->objectName() + ": " + name));
            if (!widget->focusPolicy() || !widget->isVisible()) continue;
            QVERIFY2(!name.isEmpty(), qPrintable(widget->objectName()));
        }
    }

    // A caption may stand in two groups (自汗 in 阳虚体质 and in 气虚体质): each
    // box is described by the heading of its column.
    const auto headings = form_->findChildren<QLabel*>(QRegularExpression("^Label[1-6]$"));
    for (QCheckBox* box : form_->findChildren<QCheckBox*>()) {
        const auto heading = std::ranges::find_if(
            headings, [box](const QLabel* label) { return label->x() == box->x(); });
        const QString description =
            QAccessible::queryAccessibleInterface(box)->text(QAccessible::Description);
        QCOMPARE(description, (*heading)->text());
    }
}

// What a screen reader's user does: every step through the accessibility
// actions the desktop's AT-SPI bridge offers, none through the mouse.
void QuestionnaireWindowTest::diagnosisThroughAccessibilityActions() {
    auto act = [](QWidget& widget, const QString& action) {
        QAccessibleActionInterface* actions =
            QAccessible::queryAccessibleInterface(&widget)->actionInterface();
        QVERIFY(actions && actions->actionNames().contains(action));
        actions->doAction(action);
    };
    act(control(*form_, "check1"), QAccessibleActionInterface::toggleAction());
    act(control(*form_, "check6"), QAccessibleActionInterface::toggleAction());
    act(control(*form_, "Option3"), QAccessibleActionInterface::toggleAction());
    act(control(*form_, "Command1"), QAccessibleActionInterface::pressAction());

    QTRY_VERIFY(form_->report());  // a pressed button clicks a moment later
    QCOMPARE(form_->personality(), 3);
    QVERIFY(report().isVisible());
    QVERIFY(text("Text1").contains("阴虚"));
    QCOMPARE(text("Text5"), qs(kPersonalityTypes[2].advice));
    act(control(report(), "Command2"), QAccessibleActionInterface::pressAction());
    QTRY_VERIFY(!report().isVisible());
}

// Enter and Return press the button with the focus, as Space does; Esc leaves
// the about window as 确定 does and the report as 取消 does.
void QuestionnaireWindowTest::enterPressesTheFocusedButtonAndEscLeaves() {
    QTest::keyClick(&control(*form_, "Command5"), Qt::Key_Return);
    QPointer<AboutWindow> about = form_->about();
    QVERIFY(about && about->isVisible());
    QTest::keyClick(&control(*about, "cmdSysInfo"), Qt::Key_Escape);
    runDeferredDeletes();
    QVERIFY(about.isNull());

    tick({"check1", "check6"});
    QTest::keyClick(&control(*form_, "Command1"), Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(report().isVisible());
    QVERIFY(!text("Text1").isEmpty());
    QTest::keyClick(&control(report(), "Text2"), Qt::Key_Escape);
    QVERIFY(!report().isVisible());
    QVERIFY(text("Text1").isEmpty());
}

// Space held on 诊断, as X delivers it: repeats come as a release and a press
// sharing a time stamp, marked as repeats or not, and on other systems as
// marked presses alone. 诊断 clicks on the first release; nothing of the held
// key may type into the report it opened, while a key pressed and held there
// does.
void QuestionnaireWindowTest::keyHeldOnAButtonStaysOutOfTheWindowItOpens() {
    auto send = [](QWidget& to, QEvent::Type type, quint64 time, bool repeat = false) {
        QKeyEvent key(type, Qt::Key_Space, Qt::NoModifier, " ", repeat);
        key.setTimestamp(time);
        QApplication::sendEvent(&to, &key);
    };
    QWidget& diagnose = control(*form_, "Command1");
    send(diagnose, QEvent::KeyPress, 1000);
    send(diagnose, QEvent::KeyRelease, 1500);
    QWidget& name = control(report(), "Text2");
    send(name, QEvent::KeyPress, 1500);
    send(name, QEvent::KeyRelease, 1540, true);
    send(name, QEvent::KeyPress, 1540, true);
    send(name, QEvent::KeyPress, 1580, true);
    send(name, QEvent::KeyRelease, 1600);
    QCOMPARE(control<QLineEdit>(report(), "Text2").text(), QString());

    send(name, QEvent::KeyPress, 2500);
    send(name, QEvent::KeyPress, 2540, true);  // held there, it repeats there
    QCOMPARE(control<QLineEdit>(report(), "Text2").text(), "  ");

    // Synthetic input and accessibility tools give no time stamps: every key
    // typed after 诊断 is typed.
    control<QLineEdit>(report(), "Text2").clear();
    send(diagnose, QEvent::KeyPress, 0);
    send(diagnose, QEvent::KeyRelease, 0);
    for (int i = 0; i < 3; ++i) {
        send(name, QEvent::KeyPress, 0);
        send(name, QEvent::KeyRelease, 0);
    }
    QCOMPARE(control<QLineEdit>(report(), "Text2").text(), "   ");
}

// Without a Chinese font every text is a box: the questionnaire says so once
// it is up, naming the packages in letters. The test's environment says
// whether the fonts are there (CORVANE_EXPECT_NO_CHINESE_FONT).
void QuestionnaireWindowTest::saysWhenNoChineseFontIsFound() {
    const bool withoutFonts = qEnvironmentVariableIsSet("CORVANE_EXPECT_NO_CHINESE_FONT");
    QCOMPARE(!facesDrawChinese(), withoutFonts);
    QuestionnaireWindow started;
    started.show();
    QTest::qWait(50);
    const auto* message = started.findChild<QMessageBox*>("noChineseFont");
    QCOMPARE(message != nullptr, withoutFonts);
    if (message) QVERIFY(message->isVisible() && message->text().contains("fonts-wqy-zenhei"));
}

void QuestionnaireWindowTest::clickingATypesNameChoosesIt() {
    for (int type = 1; type <= kPersonalityCount; ++type) {
        const auto label = QString("Label%1").arg(7 + type).toLatin1();
        QTest::mouseClick(&control(*form_, label.constData()), Qt::LeftButton);
        QCOMPARE(form_->personality(), type);
    }
}

void QuestionnaireWindowTest::diagnosisWritesTheThreeTexts() {
    tick({"check1", "check6", "check13"});  // 口干咽燥, 五心烦热, 舌红少苔: Yin 9
    QTest::mouseClick(&control(*form_, "Option1"), Qt::LeftButton);
    click(*form_, "Command1");

    QVERIFY(report().isVisible());
    const Evaluation expected = evaluate(computeScores(form_->ticks()), 1);
    QCOMPARE(expected.scores[Score::Yin], 9);
    QVERIFY(text("Text1").contains("阴虚体质"));
    QCOMPARE(text("Text1"), qs(expected.text(Box::Diagnosis)));
    QCOMPARE(text("Text5"), qs(kPersonalityTypes[0].advice));
    QCOMPARE(text("Text7"), qs(expected.text(Box::Diet)));

    click(*form_, "Command1");  // the same answers again give the same report
    QCOMPARE(text("Text1"), qs(expected.text(Box::Diagnosis)));
}

void QuestionnaireWindowTest::everyDiagnosisShowsTheReport() {
    click(*form_, "Command1");  // nothing ticked, no type chosen
    QVERIFY(report().isVisible());
    QVERIFY(text("Text1").isEmpty());
    QVERIFY(text("Text5").isEmpty());

    click(report(), "Command2");
    QVERIFY(!report().isVisible());
    click(*form_, "Command1");
    QVERIFY(report().isVisible());

    report().showMinimized();
    click(*form_, "Command1");
    QVERIFY(!report().isMinimized());
}

void QuestionnaireWindowTest::clearUnticksTheBoxesOnly() {
    click(*form_, "Command4");  // nothing ticked: nothing changes
    QVERIFY(form_->ticks().none());

    tick({"check2", "check15", "Check44", "Check79"});
    QTest::mouseClick(&control(*form_, "Option4"), Qt::LeftButton);
    click(*form_, "Command1");
    const QString diagnosis = text("Text1");
    QVERIFY(!diagnosis.isEmpty());

    click(*form_, "Command4");
    QVERIFY(form_->ticks().none());
    QCOMPARE(form_->personality(), 4);
    QVERIFY(report().isVisible());
    QCOMPARE(text("Text1"), diagnosis);

    click(*form_, "Command1");  // the kept type still gives its advice
    QCOMPARE(text("Text5"), qs(kPersonalityTypes[3].advice));
}

void QuestionnaireWindowTest::eachRunShowsOnlyWhatItDecided() {
    tick({"check1", "check6", "check13"});
    QTest::mouseClick(&control(*form_, "Option2"), Qt::LeftButton);
    click(*form_, "Command1");
    QVERIFY(!text("Text1").isEmpty() && !text("Text7").isEmpty());

    click(report(), "Command2");
    click(*form_, "Command4");
    tick({"check8", "check15"});  // 喜冷饮 and 畏寒肢冷: Yin 10 and Yang 10, no diet row
    click(*form_, "Command1");
    QVERIFY(report().isVisible());
    QVERIFY(!text("Text1").isEmpty());
    QCOMPARE(text("Text7"), QString());
    QCOMPARE(text("Text5"), qs(kPersonalityTypes[1].advice));

    click(*form_, "Command4");
    click(*form_, "Command1");  // nothing ticked: no diagnosis row holds
    QCOMPARE(text("Text1"), QString());
}

// A program left open overnight dates the next morning's reports that morning.
void QuestionnaireWindowTest::everyRunDatesTheReportToday() {
    QDate today(2026, 12, 8);
    form_->setClock([&today] { return today; });
    const auto shortDate = [](const QDate& date) {
        return QLocale::system().toString(date, QLocale::ShortFormat);
    };
    click(*form_, "Command1");
    QCOMPARE(control<QLabel>(report(), "Label1").text(), shortDate(today));

    today = today.addDays(1);
    click(*form_, "Command1");
    QCOMPARE(control<QLabel>(report(), "Label1").text(), shortDate(today));
    QCOMPARE(control<QLabel>(report(), "Label10").text(), shortDate(today));
}

void QuestionnaireWindowTest::closedReportIsCreatedAnew() {
    tick({"check1"});
    click(*form_, "Command1");
    QPointer<ReportWindow> first = &report();
    control<QLineEdit>(*first, "Text2").setText("李四");
    first->printJob().setPagePrinter(
        [](const ReportContent&, std::stop_token) { return PrintResult{}; });
    QSignalSpy printed(first.data(), &ReportWindow::printFinished);
    click(*first, "Command1");  // a good print leaves both buttons hidden
    QTRY_COMPARE(printed.count(), 1);
    QVERIFY(!control(*first, "Command1").isVisibleTo(first));
    first->close();  // what the frame's close control does
    runDeferredDeletes();
    QVERIFY(first.isNull());
    QVERIFY(!form_->report());

    click(*form_, "Command4");
    click(*form_, "Command1");  // a run that writes nothing
    QVERIFY(report().isVisible());
    QVERIFY(control<QLineEdit>(report(), "Text2").text().isEmpty());
    QVERIFY(text("Text1").isEmpty() && text("Text5").isEmpty() && text("Text7").isEmpty());
    QVERIFY(control(report(), "Command1").isVisibleTo(&report()));
    QVERIFY(control(report(), "Command2").isVisibleTo(&report()));
}

// 打印 pressed from the keyboard: a key pressed after the print lands in no
// field, and the next member's diagnosis shows both buttons again.
void QuestionnaireWindowTest::afterAPrintNothingTypedIsLostAndTheNextRunCanPrint() {
    tick({"check1"});
    click(*form_, "Command1");
    ReportWindow& window = report();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    control<QLineEdit>(window, "Text2").setText("张三");
    window.printJob().setPagePrinter(
        [](const ReportContent&, std::stop_token) { return PrintResult{}; });
    QSignalSpy printed(&window, &ReportWindow::printFinished);
    auto& print = control<QAbstractButton>(window, "Command1");
    print.setFocus(Qt::TabFocusReason);
    QTest::keyClick(&print, Qt::Key_Space);
    QTRY_COMPARE(printed.count(), 1);

    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : &window, Qt::Key_X);
    QCOMPARE(control<QLineEdit>(window, "Text6").text(), "Halvenor    工作部");
    QCOMPARE(control<QLineEdit>(window, "Text2").text(), "张三");
    QVERIFY(control<QLineEdit>(window, "Text3").text().isEmpty());

    click(*form_, "Command1");
    QCOMPARE(&report(), &window);
    QVERIFY(control(window, "Command1").isVisibleTo(&window));
    QVERIFY(control(window, "Command2").isVisibleTo(&window));
}

void QuestionnaireWindowTest::typedParticularsSurviveCancelAndRuns() {
    click(*form_, "Command1");
    // The next member's name is typed at once; a name typed keeps the focus where it was.
    QVERIFY(QTest::qWaitForWindowActive(&report()));
    QCOMPARE(QApplication::focusWidget(), &control(report(), "Text2"));
    control<QLineEdit>(report(), "Text2").setText("张三");
    control(*form_, "Command1").setFocus();
    click(*form_, "Command1");
    QCOMPARE(report().focusWidget(), &control(report(), "Text2"));
    control<QLineEdit>(report(), "Text2").clear();
    control(report(), "Text4").setFocus();
    click(*form_, "Command1");
    QCOMPARE(report().focusWidget(), &control(report(), "Text2"));
    control<QLineEdit>(report(), "Text2").setText("张三");
    control(report(), "Text4").setFocus();
    click(*form_, "Command1");
    QCOMPARE(report().focusWidget(), &control(report(), "Text4"));
    control<QLineEdit>(report(), "Text2").clear();
    QTest::keyClicks(&control(report(), "Text2"), "Wang");
    control<QLineEdit>(report(), "Text3").setText("女");
    QTest::keyClicks(&control(report(), "Text4"), "52");
    click(report(), "Command2");
    tick({"Check61", "Check62"});
    click(*form_, "Command1");
    click(*form_, "Command1");
    QCOMPARE(control<QLineEdit>(report(), "Text2").text(), "Wang");
    QCOMPARE(control<QLineEdit>(report(), "Text3").text(), "女");
    QCOMPARE(control<QLineEdit>(report(), "Text4").text(), "52");
}

void QuestionnaireWindowTest::aboutWindowStaysSingle() {
    click(*form_, "Command5");
    QPointer<AboutWindow> about = form_->about();
    QVERIFY(about && about->isVisible());
    click(*form_, "Command5");
    QCOMPARE(form_->about(), about.data());
    int aboutWindows = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        aboutWindows += window->objectName() == "frmAbout";
    }
    QCOMPARE(aboutWindows, 1);
    QVERIFY(form_->isEnabled());  // the questionnaire stays usable meanwhile
    tick({"check3"});
    QVERIFY(form_->ticks()[2]);

    click(*about, "cmdOK");
    runDeferredDeletes();
    QVERIFY(about.isNull());
    click(*form_, "Command5");
    QVERIFY(form_->about() && form_->about()->isVisible());
}

// The three windows have a fixed size, so none offers a maximise button; the
// about window opens centred over the questionnaire, wherever that stands.
void QuestionnaireWindowTest::windowsKeepTheirSizeAndTheAboutWindowOpensCentred() {
    for (const QPoint& at : {QPoint(310, 170), QPoint(20, 400)}) {
        form_->move(at);
        click(*form_, "Command1");
        click(*form_, "Command5");
        QPointer<AboutWindow> about = form_->about();
        QVERIFY(about);
        QVERIFY(QTest::qWaitForWindowExposed(about));
        QVERIFY(std::abs(about->geometry().center().x() - form_->geometry().center().x()) <= 1);
        QVERIFY(std::abs(about->geometry().center().y() - form_->geometry().center().y()) <= 1);
        for (const QWidget* window :
             {static_cast<QWidget*>(form_.get()), static_cast<QWidget*>(&report()),
              static_cast<QWidget*>(about)}) {
            const Qt::WindowFlags flags = window->windowFlags();
            QVERIFY2(!(flags & Qt::WindowMaximizeButtonHint), qPrintable(window->objectName()));
            QVERIFY2(flags & Qt::CustomizeWindowHint, qPrintable(window->objectName()));
            QVERIFY2(flags & Qt::WindowCloseButtonHint, qPrintable(window->objectName()));
            QVERIFY2(flags & Qt::WindowMinimizeButtonHint, qPrintable(window->objectName()));
        }
        click(*about, "cmdOK");
        runDeferredDeletes();
    }
}

void QuestionnaireWindowTest::exitClosesEveryWindow() {
    click(*form_, "Command1");
    click(*form_, "Command5");
    click(*form_, "Command3");
    runDeferredDeletes();
    QVERIFY(!form_->isVisible());
    QVERIFY(!form_->report());
    QVERIFY(!form_->about());
}

void QuestionnaireWindowTest::closingTheQuestionnaireClosesTheOthers() {
    click(*form_, "Command1");
    click(*form_, "Command5");
    form_->close();  // the frame's close control
    runDeferredDeletes();
    QVERIFY(!form_->report());
    QVERIFY(!form_->about());
}

QTEST_MAIN(QuestionnaireWindowTest)
#include "questionnaire_window_test.moc"
