// The report window on its own: its page, its load step, 取消 and 打印 with
// the failures a printer can bring.
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>
#endif
#include <QDate>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPrinter>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <memory>

#include "gui/qt_translations.h"
#include "gui/report_window.h"
#include "gui/twips.h"
#include "print/page_printer.h"
#include "support/gui_support.h"

using namespace corvane;
using namespace corvane::testing;

namespace {

#ifndef _WIN32
// While it lives, no file this process writes grows past the limit; 0 is none.
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes) {
        getrlimit(RLIMIT_FSIZE, &previous_);
        if (bytes == 0) return;
        signal(SIGXFSZ, SIG_IGN);  // the write fails instead
        rlimit limit = previous_;
        limit.rlim_cur = static_cast<rlim_t>(bytes);
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &previous_); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
};
#endif

QString describe(const QWidget& widget) {
    const QRect r = widget.geometry();
    return QString("%1 (%2,%3 %4x%5)")
        .arg(widget.objectName())
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height());
}

bool chinese(const QString& text) {
    return std::ranges::any_of(text, [](QChar c) { return c >= u'\u4e00' && c <= u'\u9fff'; });
}

// What the save dialog shows: its title, labels and buttons.
QStringList textsOf(const QFileDialog& dialog) {
    QStringList texts = {dialog.windowTitle()};
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) texts << label->text();
    }
    for (const QAbstractButton* button :
         dialog.findChild<QDialogButtonBox*>()->findChildren<QAbstractButton*>()) {
        texts << button->text();
    }
    return texts;
}

}  // namespace

class ReportWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void showsThePageAtItsPlaces();
    void usesTheFaceOfEachRole();
    void controlsNeitherOverlapNorClip();
    void loadStepDatesTheReport();
    void cancelHidesAndEmptiesTheDiagnosisOnly();

    void printsWithoutTheButtons();
    void withoutDefaultPrinterSaysSoAndKeepsTheReport();
    void withoutDefaultPrinterSavesThePageAsPdf_data();
    void withoutDefaultPrinterSavesThePageAsPdf();
    void qtsOwnTextsAreChinese();
    void failedPrintJobSaysSoAndKeepsTheReport();
#ifndef _WIN32
    // The print server is CUPS's; Windows prints through Qt.
    void silentPrintServerLeavesTheWindowAnswering();
#endif
    void printsOnePageScaledToFit();

private:
    void fillIn();
    void printAndWait();
    QMessageBox* printProblem() const {
        return form_->findChild<QMessageBox*>("printProblem");
    }
    bool buttonsShown() const {
        return control(*form_, "Command1").isVisibleTo(form_.get()) &&
               control(*form_, "Command2").isVisibleTo(form_.get());
    }

    std::unique_ptr<ReportWindow> form_;
};

void ReportWindowTest::init() {
    form_ = shownWindow<ReportWindow>();
}

void ReportWindowTest::cleanup() {
    form_.reset();
    runDeferredDeletes();
}

void ReportWindowTest::fillIn() {
    form_->setResult(Box::Diagnosis, "    诊断");
    form_->setResult(Box::Personality, "    性格");
    form_->setResult(Box::Diet, "    调理");
    control<QLineEdit>(*form_, "Text2").setText("张三");
    control<QLineEdit>(*form_, "Text3").setText("男");
    control<QLineEdit>(*form_, "Text4").setText("45");
}

// Presses 打印 and waits for its job to end.
void ReportWindowTest::printAndWait() {
    QSignalSpy finished(form_.get(), &ReportWindow::printFinished);
    click(*form_, "Command1");
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 15000);
}

void ReportWindowTest::showsThePageAtItsPlaces() {
    const Twips twips(*form_);
    QCOMPARE(form_->windowTitle(), "诊断结果");
    QCOMPARE(form_->size(), twips.size(10515, 11115));
    QCOMPARE(control<QLabel>(*form_, "Label7").text(), "体质诊断结果");
    const QString intro = control<QLabel>(*form_, "Label9").text();
    QVERIFY(intro.startsWith("    根据Halvenor专家团专家对您体质的会诊，"));
    QVERIFY(intro.endsWith("为慎重起见建议您请专家当面为您诊治。"));
    QCOMPARE(control<QAbstractButton>(*form_, "Command1").text(), " 打印");
    QCOMPARE(control<QAbstractButton>(*form_, "Command2").text(), "取消");
    QCOMPARE(control<QLineEdit>(*form_, "Text6").text(), "Halvenor    工作部");
    for (const char* box : {"Text2", "Text3", "Text4"}) {
        QVERIFY(control<QLineEdit>(*form_, box).text().isEmpty());
    }
    for (Box box : {Box::Diagnosis, Box::Personality, Box::Diet})
        QVERIFY(form_->result(box).isEmpty());

    QCOMPARE(control(*form_, "Text1").geometry(), twips.rect(720, 3000, 8895, 735));
    QCOMPARE(control(*form_, "Text7").geometry(), twips.rect(720, 4200, 8895, 3975));
    QCOMPARE(control(*form_, "Text5").geometry(), twips.rect(720, 8640, 8895, 1215));
    QCOMPARE(control(*form_, "Command2").geometry(), twips.rect(2280, 10080, 855, 495));
    QCOMPARE(control(*form_, "Label10").pos(), twips.rect(6720, 10440, 0, 0).topLeft());
    for (int line = 1; line <= 7; ++line) {
        QVERIFY(form_->findChild<QWidget*>(QString("Line%1").arg(line)));
    }
}

void ReportWindowTest::usesTheFaceOfEachRole() {
    auto faceOf = [this](const char* name) {
        return QFontInfo(control(*form_, name).font()).family();
    };
    const QStringList heiti = {"SimHei", "黑体", "WenQuanYi Zen Hei"};
    const QStringList kaiti = {"KaiTi_GB2312", "楷体_GB2312", "KaiTi", "楷体", "AR PL UKai CN"};
    const QStringList songti = {"SimSun", "宋体", "NSimSun", "AR PL UMing CN"};
    for (const char* name : {"Label4", "Label5", "Label6", "Label3", "Label7", "Label8"}) {
        QVERIFY2(heiti.contains(faceOf(name)), name);
    }
    for (const char* name : {"Text1", "Text2", "Text3", "Text4", "Text7"}) {
        QVERIFY2(kaiti.contains(faceOf(name)), name);
    }
    for (const char* name : {"Text5", "Label1", "Label2", "Label9", "Text6", "Label10"}) {
        QVERIFY2(songti.contains(faceOf(name)), name);
    }
    QCOMPARE(control(*form_, "Label4").font().pointSizeF(), 14.25);
    QCOMPARE(control(*form_, "Label7").font().pointSizeF(), 12.0);
    QCOMPARE(control(*form_, "Text6").font().pointSizeF(), 14.25);
    QCOMPARE(control(*form_, "Text1").font().pointSizeF(), 12.0);
}

void ReportWindowTest::controlsNeitherOverlapNorClip() {
    fillIn();
    QList<QWidget*> controls;
    for (QWidget* widget : form_->page()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!widget->objectName().startsWith("Line")) controls.append(widget);
    }
    for (qsizetype i = 0; i < controls.size(); ++i) {
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            // Neighbours designed edge to edge may share a pixel after rounding.
            const QRect shared = controls[i]->geometry() & controls[j]->geometry();
            const bool apart = shared.isEmpty() || std::min(shared.width(), shared.height()) <= 1;
            QVERIFY2(apart, qPrintable(describe(*controls[i]) + " " + describe(*controls[j])));
        }
    }
    for (const QLabel* label : form_->findChildren<QLabel*>()) {
        const QSize needed =
            label->wordWrap() ? QSize(0, label->heightForWidth(label->width())) : label->sizeHint();
        QVERIFY2(needed.width() <= label->width(), qPrintable(label->objectName()));
        QVERIFY2(needed.height() <= label->height(), qPrintable(label->objectName()));
    }
    for (const QLineEdit* field : form_->findChildren<QLineEdit*>()) {
        QVERIFY2(field->minimumSizeHint().height() <= field->height(),
                 qPrintable(field->objectName()));
    }
}

void ReportWindowTest::loadStepDatesTheReport() {
    const QString today = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    QCOMPARE(control<QLabel>(*form_, "Label1").text(), today);
    QCOMPARE(control<QLabel>(*form_, "Label10").text(), today);
}

void ReportWindowTest::cancelHidesAndEmptiesTheDiagnosisOnly() {
    fillIn();
    control<QLineEdit>(*form_, "Text6").setText("Halvenor    工作部 王医生");
    click(*form_, "Command2");
    QVERIFY(!form_->isVisible());
    QVERIFY(form_->result(Box::Diagnosis).isEmpty());
    QCOMPARE(form_->result(Box::Personality), "    性格");
    QCOMPARE(form_->result(Box::Diet), "    调理");
    QCOMPARE(control<QLineEdit>(*form_, "Text2").text(), "张三");
    QCOMPARE(control<QLineEdit>(*form_, "Text4").text(), "45");
    QCOMPARE(control<QLineEdit>(*form_, "Text6").text(), "Halvenor    工作部 王医生");
    runDeferredDeletes();
    QPointer<ReportWindow> kept = form_.get();
    QVERIFY(!kept.isNull());  // hidden, not destroyed
}

void ReportWindowTest::printsWithoutTheButtons() {
    fillIn();
    form_->setDate(QDate(2024, 3, 5));
    control<QLineEdit>(*form_, "Text6").setText("Halvenor    工作部 王医生");
    ReportContent printed;
    form_->printJob().setPagePrinter([&](const ReportContent& content, std::stop_token) {
        printed = content;
        return PrintResult{};
    });
    click(*form_, "Command1");
    QVERIFY(!buttonsShown());
    QSignalSpy finished(form_.get(), &ReportWindow::printFinished);
    QTRY_COMPARE(finished.count(), 1);
    const QStringList expected = {"张三",     "男",       "45",      "Halvenor    工作部 王医生",
                                  "    诊断", "    调理", "    性格"};
    QCOMPARE(QStringList({printed.name, printed.sex, printed.age, printed.signature,
                          printed.results[Box::Diagnosis], printed.results[Box::Diet],
                          printed.results[Box::Personality]}),
             expected);
    QCOMPARE(printed.date, QDate(2024, 3, 5));
    QVERIFY(!control(*form_, "Command1").isVisibleTo(form_.get()));
    QVERIFY(!control(*form_, "Command2").isVisibleTo(form_.get()));
    QVERIFY(!printProblem());
    QCOMPARE(form_->result(Box::Diagnosis), "    诊断");
}

// The tests reach no CUPS server, so there is no default printer here.
void ReportWindowTest::withoutDefaultPrinterSaysSoAndKeepsTheReport() {
    fillIn();
    printAndWait();
    QMessageBox* message = printProblem();
    QVERIFY(message && message->isVisible());
    QCOMPARE(message->text(), QString::fromUtf8(kNoDefaultPrinter));
    QVERIFY(buttonsShown());
    QCOMPARE(form_->result(Box::Diagnosis), "    诊断");
    QCOMPARE(form_->result(Box::Diet), "    调理");
    QCOMPARE(control<QLineEdit>(*form_, "Text2").text(), "张三");
    QVERIFY(form_->isVisible());

    QTest::mouseClick(message->button(QMessageBox::Ok), Qt::LeftButton);
    QCOMPARE(message->button(QMessageBox::Ok)->text(), "确定");
}

// 另存为PDF… in the message asks where to save, offering the documents folder
// and a name from the member's name and the report's date, and writes the page
// there; a file that cannot be written is told, and nothing asked, nothing written.
void ReportWindowTest::withoutDefaultPrinterSavesThePageAsPdf_data() {
    QTest::addColumn<QString>("answer");    // in the temporary folder; empty: cancelled
    QTest::addColumn<QString>("saved");     // the file written, or empty
    QTest::addColumn<qint64>("sizeLimit");  // bytes a process may write to a file, or 0
    QTest::newRow("a new file") << "report.pdf"
                                << "report.pdf" << qint64(0);
    QTest::newRow("replacing a file") << "existing.pdf"
                                      << "existing.pdf" << qint64(0);
    QTest::newRow("typed without .pdf") << "report"
                                        << "report.pdf" << qint64(0);
    QTest::newRow("a folder that is not there") << "no/such/folder/report.pdf"
                                                << "" << qint64(0);
    QTest::newRow("cancelled") << ""
                               << "" << qint64(0);
#ifndef _WIN32
    // Like a full disk, the file stops growing part of the way.
    QTest::newRow("a file size limit") << "report.pdf"
                                       << "" << qint64(8192);
#endif
}

void ReportWindowTest::withoutDefaultPrinterSavesThePageAsPdf() {
    QFETCH(QString, answer);
    QFETCH(QString, saved);
    QFETCH(qint64, sizeLimit);
    fillIn();
    control<QLineEdit>(*form_, "Text2").setText("张/三");
    form_->setDate(QDate(2024, 3, 5));
    QTemporaryDir dir;
    QFile existing(dir.filePath("existing.pdf"));
    QVERIFY(existing.open(QIODevice::WriteOnly) && existing.write("old") == 3);
    existing.close();
    const QString path = answer.isEmpty() ? QString() : dir.filePath(answer);
    QString offered;
    QWidget* askedOver = nullptr;
    form_->setFileNameAsker([&](QWidget* parent, const QString& suggestion) {
        askedOver = parent;
        offered = suggestion;
        return path;
    });

    printAndWait();
    QVERIFY(printProblem());
#ifdef _WIN32
    Q_UNUSED(sizeLimit);
#else
    const FileSizeLimit limit(sizeLimit);
#endif
    click(*printProblem(), "saveAsPdf");
    QTRY_VERIFY(!offered.isEmpty());
    QCOMPARE(askedOver, form_.get());
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QCOMPARE(offered, QDir(documents).filePath("体质报告_张_三_20240305.pdf"));
    QCoreApplication::processEvents();

    auto* problem = form_->findChild<QMessageBox*>("saveProblem");
    QCOMPARE(!problem, !saved.isEmpty() || answer.isEmpty());
    if (problem) QVERIFY2(!problem->text().contains("Unknown error"), qPrintable(problem->text()));
    if (!saved.isEmpty()) {
        QFile pdf(dir.filePath(saved));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray content = pdf.readAll();
        QVERIFY(content.startsWith("%PDF"));
        QVERIFY(content.contains("/Count 1"));
    }
    QVERIFY(buttonsShown());
    QCOMPARE(form_->result(Box::Diet), "    调理");
    QCOMPARE(control<QLineEdit>(*form_, "Text2").text(), "张/三");
}

// Whatever the locale, Qt's own texts are Chinese like the program's: a text
// field's context menu, and the save dialog of 另存为PDF with its question
// before it replaces a file.
void ReportWindowTest::qtsOwnTextsAreChinese() {
    QVERIFY(installQtChineseTranslations());
    // Qt's own dialog, which Windows would replace with its native one, already
    // in the system's language.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QStringList texts;
    const std::unique_ptr<QMenu> menu(
        control<QLineEdit>(*form_, "Text2").createStandardContextMenu());
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator()) texts << action->text();
    }

    QTemporaryDir dir;
    QFile existing(dir.filePath("existing.pdf"));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.close();
    bool asked = false;
    QTimer user;  // answers the dialogs as they open
    connect(&user, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* question = qobject_cast<QMessageBox*>(modal)) {
            texts << question->text() << question->button(QMessageBox::No)->text();
            question->button(QMessageBox::No)->click();
            asked = true;
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            if (asked) return dialog->reject();
            texts << textsOf(*dialog);
            qobject_cast<QLineEdit*>(dialog->focusWidget())->setText(existing.fileName());
            // As the save button does, once this answer is over.
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        }
    });
    printAndWait();  // no default printer here
    click(*printProblem(), "saveAsPdf");
    user.start(20);
    QTRY_VERIFY(asked && !QApplication::activeModalWidget());

    QVERIFY(texts.size() > 8);  // the menu's, the dialog's and the question's
    for (const QString& text : texts) QVERIFY2(chinese(text), qPrintable(text));
    QCOMPARE(existing.size(), 0);
}

void ReportWindowTest::failedPrintJobSaysSoAndKeepsTheReport() {
    fillIn();
    QTemporaryDir dir;
    form_->printJob().setPagePrinter([&](const ReportContent& content, std::stop_token) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("no/such/folder/report.pdf"));
        return printOnPrinter(content, printer);
    });
    printAndWait();
    QVERIFY(printProblem());
    QCOMPARE(printProblem()->text(), QString::fromUtf8(kPrintFailed));
    QVERIFY(buttonsShown());
    QCOMPARE(form_->result(Box::Personality), "    性格");
}

// A print server that takes the connection and never answers: 打印 returns at
// once, the window goes on painting with a busy cursor, and once the wait's
// bound has passed it says that the server does not answer.
#ifndef _WIN32
void ReportWindowTest::silentPrintServerLeavesTheWindowAnswering() {
    QTemporaryDir dir;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(dir.filePath("cups.sock"));
    qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);
    const int server = socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(bind(server, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0);
    QVERIFY(listen(server, 8) == 0);
    const QByteArray previousServer = qgetenv("CUPS_SERVER");
    qputenv("CUPS_SERVER", path);
    const std::chrono::milliseconds bound(2000);
    form_->printJob().setPagePrinter([bound](const ReportContent& content, std::stop_token stop) {
        return printOnDefaultPrinter(content, std::move(stop), bound);
    });

    fillIn();
    QElapsedTimer sinceClick;
    sinceClick.start();
    click(*form_, "Command1");
    QVERIFY(form_->isPrinting());
    QCOMPARE(form_->cursor().shape(), Qt::BusyCursor);
    form_->repaint();
    QTest::qWait(100);
    QVERIFY2(sinceClick.elapsed() < 1000, "the window did not answer while printing");
    QTRY_VERIFY_WITH_TIMEOUT(printProblem(), 6000);
    QCOMPARE(printProblem()->text(), QString::fromUtf8(kServerNotAnswering));
    QVERIFY(sinceClick.elapsed() >= bound.count() && sinceClick.elapsed() < bound.count() + 3000);
    QVERIFY(printProblem()->findChild<QAbstractButton*>("saveAsPdf"));
    QCOMPARE(form_->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(buttonsShown());

    qputenv("CUPS_SERVER", previousServer);
    close(server);
}
#endif

void ReportWindowTest::printsOnePageScaledToFit() {
    fillIn();
    QTemporaryDir dir;
    const QString file = dir.filePath("report.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setPageSize(QPageSize(QPageSize::A5));  // smaller than the window at printer resolution
    QVERIFY(printOnPrinter(form_->content(), printer).printed());

    QFile pdf(file);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray content = pdf.readAll();
    QVERIFY(content.startsWith("%PDF"));
    QVERIFY(content.contains("/Count 1"));
}

QTEST_MAIN(ReportWindowTest)
#include "report_window_test.moc"
