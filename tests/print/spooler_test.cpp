// Handing the report to a print spooler, step by step, with a spooler that
// answers a chosen step with an error: what the window is told, and that a
// job the spooler was given is taken back unless it was completely sent.
#include <QRegularExpression>
#include <QSignalSpy>

#include <QTest>

#include "print/spooler.h"
#include "report/report_content.h"

using namespace corvane;

namespace {

// Records the steps asked of it; the step named failing answers with the
// problem given, every other one is accepted.
class FakeSpooler final : public Spooler {
public:
    FakeSpooler(QString failing, PrintResult problem)
        : failing_(std::move(failing)), problem_(std::move(problem)) {}

    bool findDefaultDestination() override { return step("find"); }
    QPageLayout defaultPaper() override {
        steps.append("paper");
        return QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF());
    }
    bool createJob(const QString& title) override {
        titles.append(title);
        return step("create");
    }
    bool startDocument(const QString& title) override {
        titles.append(title);
        return step("start");
    }
    bool writeDocument(const QByteArray& pdf) override {
        document = pdf;
        return step("write");
    }
    bool finishDocument() override { return step("finish"); }
    bool destinationPrints() override { return step("state"); }
    void cancelJob() override { steps.append("cancel"); }
    PrintResult problem() const override { return problem_; }

    QStringList steps;
    QStringList titles;  // of the job and of its document
    QByteArray document;

private:
    bool step(const QString& name) {
        steps.append(name);
        return name != failing_;
    }

    QString failing_;
    PrintResult problem_;
};

}  // namespace

class SpoolerTest : public QObject {
    Q_OBJECT

private slots:
    void eachStepsFailureIsTold_data();
    void eachStepsFailureIsTold();
};

void SpoolerTest::eachStepsFailureIsTold_data() {
    QTest::addColumn<QString>("failing");
    QTest::addColumn<int>("outcome");  // PrintOutcome
    QTest::addColumn<QString>("steps");
    const auto row = [](const char* name, const char* failing, PrintOutcome outcome,
                        const char* steps) {
        QTest::newRow(name) << failing << static_cast<int>(outcome) << steps;
    };
    row("printed", "", PrintOutcome::Printed, "find paper create start write finish state");
    row("no printer", "find", PrintOutcome::NoDefaultPrinter, "find");
    row("server silent", "find", PrintOutcome::ServerNotAnswering, "find");
    row("job refused", "create", PrintOutcome::Refused, "find paper create");
    row("document refused", "start", PrintOutcome::Refused, "find paper create start cancel");
    row("write broken off", "write", PrintOutcome::ServerNotAnswering,
        "find paper create start write cancel");
    row("document not finished", "finish", PrintOutcome::Refused,
        "find paper create start write finish cancel");
    // The job stays in the queue until the printer can print it.
    row("destination cannot print", "state", PrintOutcome::Waiting,
        "find paper create start write finish state");
}

void SpoolerTest::eachStepsFailureIsTold() {
    QFETCH(QString, failing);
    QFETCH(int, outcome);
    QFETCH(QString, steps);
    const auto expected = static_cast<PrintOutcome>(outcome);
    const QString reason = "Destination is not accepting jobs.";
    FakeSpooler spooler(failing, {expected, reason});
    ReportContent content;
    content.name = "张三";
    content.date = QDate(2024, 3, 5);

    const PrintResult result = printThroughSpooler(spooler, content);
    QCOMPARE(static_cast<int>(result.outcome), outcome);
    QCOMPARE(spooler.steps.join(' '), steps);
    if (expected == PrintOutcome::Refused) QVERIFY(printProblem(result).contains(reason));
    if (expected != PrintOutcome::Printed) QVERIFY(!printProblem(result).isEmpty());
    // In a queue of many, each job and document is known by its member.
    for (const QString& title : spooler.titles) QCOMPARE(title, reportTitle("张三", content.date));
    if (spooler.steps.contains("write")) {
        // One page on the spooler's own paper, US Letter here.
        QVERIFY(spooler.document.startsWith("%PDF"));
        QVERIFY(spooler.document.contains("/Count 1"));
        QVERIFY(spooler.document.contains("/MediaBox [0 0 612.000000 792.000000]"));
    }
}

QTEST_MAIN(SpoolerTest)
#include "spooler_test.moc"
