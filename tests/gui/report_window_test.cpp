// The report window on its own: its page, its load step, 取消 and 打印 with
// the failures a printer can bring.
#ifndef _WIN32
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>
#endif
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QDate>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFontInfo>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPaintEngine>
#include <QPointer>
#include <QPrintEngine>
#include <QPrinter>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QThread>
#include <QThreadPool>
#include <QTimer>
#include <atomic>
#include <memory>
#include <vector>

#include "engine/evaluation.h"
#include "gui/qt_translations.h"
#include "gui/report_window.h"
#include "gui/twips.h"
#include "print/page_printer.h"
#include "support/gui_support.h"

using namespace corvane;
using namespace corvane::testing;
using namespace Qt::StringLiterals;

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

#ifndef _WIN32
// A print server that does not answer, named by CUPS_SERVER while this
// lives: Silent takes the connection and never answers; Dropping is on a
// host that drops packets, so the connection times out (a server on this host
// whose queue of connections is full: the kernel drops the next one's packets).
class StandInServer {
public:
    enum Kind { Silent, Dropping };
    explicit StandInServer(Kind kind) : previous_(qgetenv("CUPS_SERVER")) {
        if (kind == Silent) {
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            const QByteArray path = QFile::encodeName(dir_.filePath("cups.sock"));
            qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);
            listen(AF_UNIX, reinterpret_cast<const sockaddr*>(&address), sizeof address, 8);
            qputenv("CUPS_SERVER", path);
            return;
        }
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        listen(AF_INET, reinterpret_cast<const sockaddr*>(&address), sizeof address, 0);
        socklen_t length = sizeof address;
        getsockname(fds_.front(), reinterpret_cast<sockaddr*>(&address), &length);
        for (int i = 0; i < 4; ++i) {
            fds_.push_back(socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0));
            ::connect(fds_.back(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
        }
        qputenv("CUPS_SERVER", "127.0.0.1:" + QByteArray::number(ntohs(address.sin_port)));
    }
    ~StandInServer() {
        qputenv("CUPS_SERVER", previous_);
        for (const int fd : fds_) close(fd);
    }
    StandInServer(const StandInServer&) = delete;
    StandInServer& operator=(const StandInServer&) = delete;

private:
    void listen(int family, const sockaddr* address, socklen_t size, int backlog) {
        fds_.push_back(socket(family, SOCK_STREAM, 0));
        if (bind(fds_.front(), address, size) != 0 || ::listen(fds_.front(), backlog) != 0) {
            qFatal("the stand-in print server cannot listen");
        }
    }

    QTemporaryDir dir_;
    QByteArray previous_;
    std::vector<int> fds_;
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
    void printerEndingInErrorIsAFailure();
    void enterPressesTheFocusedPrintAndCancel();
    void twoQuickPressesSendOneJob();
#ifndef _WIN32
    void closingWhileTheServerIsSilentEndsTheJobAtOnce();
    void serverDroppingTheConnectionIsNotAnswering();
#endif
    void failureMessageSavesTheReportThatFailed();
    void savesWithCtrlSAndThePagesMenu();
    void rareCharactersShowAndPrintOrAreTold();
    void rareCharactersKeepAnInputMethodsComposition();

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
    QTest::newRow("typed with .PDF") << "报告.PDF"
                                     << "报告.PDF" << qint64(0);
    // A file that cannot be replaced (on Windows one open in a PDF viewer).
    QTest::newRow("a folder in the way") << "folder.pdf"
                                         << "" << qint64(0);
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
    QVERIFY(QDir(dir.path()).mkpath("folder.pdf/inside"));
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
        QVERIFY2(QDir(dir.path()).entryList(QDir::Files).contains(saved), qPrintable(saved));
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
    const StandInServer server(StandInServer::Silent);
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

namespace {

// A print engine whose job the spooler ends in the state given.
class EndingEngine : public QPaintEngine, public QPrintEngine {
public:
    explicit EndingEngine(QPrinter::PrinterState ending) : ending_(ending) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override {
        ended_ = true;
        return true;
    }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawTextItem(const QPointF&, const QTextItem&) override {}
    Type type() const override { return QPaintEngine::User; }
    void setProperty(PrintEnginePropertyKey, const QVariant&) override {}
    QVariant property(PrintEnginePropertyKey) const override { return {}; }
    bool newPage() override { return true; }
    bool abort() override { return false; }
    int metric(QPaintDevice::PaintDeviceMetric metric) const override {
        switch (metric) {
            case QPaintDevice::PdmWidth: return 2480;
            case QPaintDevice::PdmHeight: return 3508;
            case QPaintDevice::PdmDpiX:
            case QPaintDevice::PdmDpiY:
            case QPaintDevice::PdmPhysicalDpiX:
            case QPaintDevice::PdmPhysicalDpiY: return 300;
            default: return 1;
        }
    }
    QPrinter::PrinterState printerState() const override {
        return ended_ ? ending_ : QPrinter::Active;
    }

private:
    QPrinter::PrinterState ending_;
    bool ended_ = false;
};

class EndingPrinter : public QPrinter {
public:
    explicit EndingPrinter(QPrinter::PrinterState ending) : engine_(ending) {
        setEngines(&engine_, &engine_);
    }

private:
    EndingEngine engine_;
};

}  // namespace

// A job the spooler ends in an error or aborts (Windows prints through Qt's
// engine, which tells it so) is a failure, not a print.
void ReportWindowTest::printerEndingInErrorIsAFailure() {
    fillIn();
    for (const auto ending : {QPrinter::Error, QPrinter::Aborted, QPrinter::Idle}) {
        EndingPrinter printer(ending);
        QCOMPARE(printOnPrinter(form_->content(), printer).printed(), ending == QPrinter::Idle);
    }
}

// Enter and Return on the report's own buttons press them, as on the questionnaire's.
void ReportWindowTest::enterPressesTheFocusedPrintAndCancel() {
    int printed = 0;
    form_->printJob().setPagePrinter([&](const ReportContent&, std::stop_token) {
        ++printed;
        return PrintResult{};
    });
    QSignalSpy finished(form_.get(), &ReportWindow::printFinished);
    QTest::keyClick(&control(*form_, "Command1"), Qt::Key_Return);
    QTRY_COMPARE(finished.count(), 1);
    QCOMPARE(printed, 1);
    form_->showDiagnosis(evaluate(Scores{}, kNoPersonality), QDate::currentDate());
    QTest::keyClick(&control(*form_, "Command2"), Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(!form_->isVisible());
}

// A screen reader may press 打印 twice in quick succession: one job is sent,
// and its outcome is the one told.
void ReportWindowTest::twoQuickPressesSendOneJob() {
    std::atomic<int> jobs = 0;
    std::atomic<bool> release = false;
    form_->printJob().setPagePrinter([&](const ReportContent&, std::stop_token) {
        ++jobs;
        while (!release) QThread::msleep(5);
        return PrintResult{PrintOutcome::Failed, {}};
    });
    auto& print = control<QAbstractButton>(*form_, "Command1");
    QSignalSpy finished(form_.get(), &ReportWindow::printFinished);
    print.click();
    print.click();  // the second press of a screen reader reaches the hidden button
    QTest::qWait(100);
    release = true;
    QTRY_COMPARE(finished.count(), 1);
    QTest::qWait(100);
    QCOMPARE(jobs.load(), 1);
    QCOMPARE(finished.count(), 1);
    QVERIFY(printProblem());
}

#ifndef _WIN32
// Closing the report while its job waits for a server that does not answer,
// connected or still connecting, ends the job at once, whatever the bound: the
// program can quit without waiting for it.
void ReportWindowTest::closingWhileTheServerIsSilentEndsTheJobAtOnce() {
    for (const auto kind : {StandInServer::Silent, StandInServer::Dropping}) {
        const StandInServer server(kind);
        form_->printJob().setPagePrinter([](const ReportContent& content, std::stop_token stop) {
            return printOnDefaultPrinter(content, std::move(stop), kPrintServerBound);
        });
        click(*form_, "Command1");
        QTest::qWait(300);
        QVERIFY(form_->isPrinting());
        QElapsedTimer sinceClosed;
        sinceClosed.start();
        form_.reset();
        QVERIFY(QThreadPool::globalInstance()->waitForDone(3000));
        QVERIFY2(sinceClosed.elapsed() < 1500, "the job went on waiting for the server");
        form_ = shownWindow<ReportWindow>();
    }
}

// A print server on a host that drops packets is a server that does not
// answer, not a system without printers.
void ReportWindowTest::serverDroppingTheConnectionIsNotAnswering() {
    const StandInServer server(StandInServer::Dropping);
    form_->printJob().setPagePrinter([](const ReportContent& content, std::stop_token stop) {
        return printOnDefaultPrinter(content, std::move(stop), std::chrono::milliseconds(2000));
    });
    fillIn();
    printAndWait();
    QVERIFY(printProblem());
    QCOMPARE(printProblem()->text(), QString::fromUtf8(kServerNotAnswering));
}
#endif

// A failure's message outlives the report it was about: the staff diagnose
// the next member, and 另存为PDF… in the earlier message still saves the
// earlier member's report under that member's name.
void ReportWindowTest::failureMessageSavesTheReportThatFailed() {
    fillIn();
    form_->setDate(QDate(2024, 3, 5));
    printAndWait();  // no default printer here
    QPointer<QMessageBox> earlier = printProblem();
    QVERIFY(earlier);
    control<QLineEdit>(*form_, "Text2").setText("李四");
    form_->setResult(Box::Diagnosis, "    李四的诊断");
    QTemporaryDir dir;
    QString offered;
    form_->setFileNameAsker([&](QWidget*, const QString& suggestion) {
        offered = suggestion;
        return dir.filePath("saved.pdf");
    });
    click(*earlier, "saveAsPdf");
    QTRY_VERIFY(!offered.isEmpty());
    QVERIFY(offered.endsWith("体质报告_张三_20240305.pdf"));
    QProcess pdftotext;
    pdftotext.start("pdftotext", {dir.filePath("saved.pdf"), "-"});
    if (!pdftotext.waitForFinished()) QSKIP("pdftotext (poppler-utils) is not installed");
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    QVERIFY(text.contains("张三") && text.contains("诊断"));
    QVERIFY(!text.contains("李四"));
}

// 另存为PDF… without a failed print: Ctrl+S in any field, and the menu of
// the page itself, in Chinese; the fields keep their own menus.
void ReportWindowTest::savesWithCtrlSAndThePagesMenu() {
    fillIn();
    int asked = 0;
    QString offered;
    form_->setFileNameAsker([&](QWidget*, const QString& suggestion) {
        ++asked;
        offered = suggestion;
        return QString();
    });
    QTest::keyClick(&control(*form_, "Text3"), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(asked, 1);
    QVERIFY(offered.endsWith(reportFileName("张三", QDate::currentDate())));
    QCOMPARE(form_->page()->contextMenuPolicy(), Qt::ActionsContextMenu);
    const QList<QAction*> actions = form_->page()->actions();
    QCOMPARE(actions.size(), 1);
    QCOMPARE(actions.front()->text(), "另存为PDF…(&S)");
    actions.front()->trigger();
    QCOMPARE(asked, 2);
    QCOMPARE(control(*form_, "Text2").contextMenuPolicy(), Qt::DefaultContextMenu);
    QVERIFY(!printProblem());
}

namespace {

// How many columns of the widget as drawn hold ink.
int inkedColumns(QWidget& widget) {
    const QImage image = widget.grab().toImage().convertToFormat(QImage::Format_Grayscale8);
    int columns = 0;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 2; y < image.height() - 2; ++y) {
            if (qGray(image.pixel(x, y)) < 192 && x > 2 && x < image.width() - 3) {
                ++columns;
                break;
            }
        }
    }
    return columns;
}

}  // namespace

// A rare character in a name shows in the field as it prints (with a face
// that draws it, where the field's own lacks it or leaves it blank); one no
// installed face draws is told when the report is printed. The test's
// environment names the characters no face draws (CORVANE_EXPECT_UNDRAWABLE).
void ReportWindowTest::rareCharactersShowAndPrintOrAreTold() {
    const QString undrawable = qEnvironmentVariable("CORVANE_EXPECT_UNDRAWABLE");
    fillIn();
    form_->printJob().setPagePrinter(
        [](const ReportContent&, std::stop_token) { return PrintResult{}; });
    auto& name = control<QLineEdit>(*form_, "Text2");
    for (const QString& rare : {QString("王䶮"), QString("李𠮷")}) {
        const QString character = rare.mid(1);
        name.setText(rare.left(1));
        const int first = inkedColumns(name);
        name.setText(rare);
        // Thin strokes of a face of rare characters ink fewer columns; one no
        // face draws may show as a box.
        if (!undrawable.contains(character)) QVERIFY(inkedColumns(name) > first * 5 / 4);
        QVERIFY(form_->isVisible());
        click(*form_, "Command1");
        QSignalSpy finished(form_.get(), &ReportWindow::printFinished);
        QTRY_COMPARE(finished.count(), 1);
        auto* told = form_->findChild<QMessageBox*>("undrawnCharacters");
        QCOMPARE(told != nullptr, undrawable.contains(character));
        if (told) {
            QVERIFY2(told->text().contains(u"会员姓名“%1”中的“%2”"_s.arg(rare, character)),
                     qPrintable(told->text()));
            told->close();
            runDeferredDeletes();
        }
        form_->showDiagnosis(evaluate(Scores{}, kNoPersonality), QDate::currentDate());
    }
}

// An input method that commits a rare character and goes on composing the
// next: the composition shows, and once it is given up the rare character
// still shows as when typed alone.
void ReportWindowTest::rareCharactersKeepAnInputMethodsComposition() {
#ifdef _WIN32
    // Under wine the platform's input context takes the formats back after the
    // input method's event; real Windows is yet to be tried.
    QSKIP("the input context of wine's platform resets the formats");
#endif
    auto& name = control<QLineEdit>(*form_, "Text2");
    name.setText(u"䶮"_s);
    const int typed = inkedColumns(name);
    name.clear();
    name.setFocus();
    QInputMethodEvent commitAndCompose(u"wang"_s, {});
    commitAndCompose.setCommitString(u"䶮"_s);
    QApplication::sendEvent(&name, &commitAndCompose);
    QCOMPARE(name.text(), "䶮");
    const int composing = inkedColumns(name);
    QInputMethodEvent givenUp;
    QApplication::sendEvent(&name, &givenUp);
    QCOMPARE(inkedColumns(name), typed);
    QVERIFY2(typed < composing, "the composition did not show");
}

QTEST_MAIN(ReportWindowTest)
#include "report_window_test.moc"
