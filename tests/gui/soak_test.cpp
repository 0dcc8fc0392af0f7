// Ten thousand diagnoses in one session of the desktop program, with 取消,
// closing and reopening the report, 清空 and typed particulars mixed in at
// random. After every step the report window must hold exactly what the
// engine's evaluation of the same answers decided (less the diagnosis after
// 取消); no window may pile up and memory must stay flat.
//
// CORVANE_SOAK_SEED=N repeats a sequence; CORVANE_SOAK_RUNS=N changes the
// number of diagnoses (the sanitizer build uses fewer, see CMakeLists.txt).
#include <unistd.h>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTextEdit>
#include <cstdio>
#include <memory>
#include <random>

#include "engine/advice/personality_advice.h"
#include "engine/evaluation.h"
#include "gui/about_window.h"
#include "gui/questionnaire_window.h"
#include "gui/report_window.h"
#include "support/gui_support.h"

#if defined(__SANITIZE_ADDRESS__)
#define CORVANE_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CORVANE_ASAN 1
#endif
#endif
#ifndef CORVANE_ASAN
#define CORVANE_ASAN 0
#endif

using namespace corvane;
using namespace corvane::testing;

namespace {

constexpr int kDefaultRuns = 10'000;
constexpr int kEarlySampleRun = 1'000;
// Room for allocator slack and Qt's caches filling up; a report window or a
// few bytes kept per run would exceed it long before the end.
constexpr double kMaxGrowthMiB = 8.0;

int runsWanted() {
    bool ok = false;
    const int runs = qEnvironmentVariableIntValue("CORVANE_SOAK_RUNS", &ok);
    return ok && runs > 0 ? runs : kDefaultRuns;
}

std::uint32_t seedWanted() {
    bool ok = false;
    const auto seed = qEnvironmentVariable("CORVANE_SOAK_SEED").toUInt(&ok);
    return ok ? seed : std::random_device{}();
}

double residentMiB() {
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) /
           (1024.0 * 1024.0);
}

// What the event loop does between two clicks of the user: the events the
// step posted (polishing, exposing, closing) and then the deletions it asked
// for. Without it they queue up for the whole session, which costs memory
// and time that the program itself never spends.
void letEventLoopRun() {
    QCoreApplication::processEvents();
    runDeferredDeletes();
}

// Top-level widgets still alive once everything closed has been deleted.
int liveWindows() {
    letEventLoopRun();
    return static_cast<int>(QApplication::topLevelWidgets().size());
}

QByteArray latin1(std::string_view name) {
    return QByteArray(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

class SoakTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void tenThousandRunsMatchTheEngineAlone();

private:
    enum class Step { Run, Cancel, CloseReport, Clear, TypeName, About };

    Step chooseStep();
    void changeAnswers();
    void perform(Step step);
    QString checkState(Step step) const;
    QString where() const;

    ReportWindow* report() const { return form_->report(); }
    bool chance(double p) { return std::bernoulli_distribution(p)(random_); }
    int pick(int from, int to) { return std::uniform_int_distribution<int>(from, to)(random_); }

    std::unique_ptr<QuestionnaireWindow> form_;
    std::mt19937 random_;
    std::uint32_t seed_ = 0;
    long step_ = 0;
    int runs_ = 0;
    int baseline_ = 0;

    // What the program should show, kept without the windows: the last
    // diagnosis's evaluation, whether 取消 emptied its diagnosis since, and
    // whether the report is shown.
    Evaluation evaluation_;
    bool diagnosisCancelled_ = false;
    bool reportShown_ = false;
    Ticks ticks_;
    int personality_ = kNoPersonality;
    QString typedName_;
    bool reportMade_ = false;
};

// The offscreen platform cannot raise windows and says so on every diagnosis;
// ten thousand of those would drown whatever else is said.
QtMessageHandler forwardMessage = nullptr;

void SoakTest::initTestCase() {
    forwardMessage = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (message != "This plugin does not support raise()")
                forwardMessage(type, context, message);
        });
}

void SoakTest::init() {
    form_ = shownWindow<QuestionnaireWindow>();
    baseline_ = liveWindows();
    seed_ = seedWanted();
    random_.seed(seed_);
    step_ = 0;
    runs_ = 0;
    evaluation_ = {};
    diagnosisCancelled_ = false;
    reportShown_ = false;
    ticks_.reset();
    personality_ = kNoPersonality;
    typedName_.clear();
    reportMade_ = false;
}

void SoakTest::cleanup() {
    form_.reset();
    QCOMPARE(liveWindows(), 0);
}

QString SoakTest::where() const {
    return QString("seed %1 (CORVANE_SOAK_SEED=%1), step %2, run %3: ")
        .arg(seed_)
        .arg(step_)
        .arg(runs_);
}

// Mostly diagnoses; the rest only where a user could do them at that moment.
SoakTest::Step SoakTest::chooseStep() {
    const bool reportShown = report() && report()->isVisible();
    for (;;) {
        const int roll = pick(0, 999);
        if (roll < 780) return Step::Run;
        if (roll < 860 && reportShown) return Step::Cancel;
        if (roll < 920 && reportShown) return Step::CloseReport;
        if (roll < 970) return Step::Clear;
        if (roll < 995 && reportShown) return Step::TypeName;
        if (roll >= 995) return Step::About;
    }
}

// Ticks and the personality as a user would change them between diagnoses:
// a few boxes clicked, or a whole new set, sometimes another type.
void SoakTest::changeAnswers() {
    const int how = pick(0, 9);
    if (how < 5) {
        for (int flips = pick(1, 4); flips > 0; --flips) {
            const int i = pick(0, kSymptomCount - 1);
            const QByteArray name = latin1(kSymptoms[static_cast<std::size_t>(i)].control);
            QTest::mouseClick(&control<QCheckBox>(*form_, name.constData()), Qt::LeftButton);
            ticks_.flip(static_cast<std::size_t>(i));
        }
    } else if (how < 8) {
        // Sparse to dense, so that single, combined and five-group rows all come up.
        const double density =
            std::array{0.04, 0.1, 0.25, 0.5}[static_cast<std::size_t>(pick(0, 3))];
        for (std::size_t i = 0; i < kSymptoms.size(); ++i) {
            ticks_[i] = chance(density);
            control<QCheckBox>(*form_, latin1(kSymptoms[i].control).constData())
                .setChecked(ticks_[i]);
        }
    }
    if (chance(0.3)) {
        personality_ = pick(1, kPersonalityCount);
        const QByteArray name = QString("Option%1").arg(personality_).toLatin1();
        QTest::mouseClick(&control<QRadioButton>(*form_, name.constData()), Qt::LeftButton);
    }
}

void SoakTest::perform(Step step) {
    switch (step) {
        case Step::Run:
            changeAnswers();
            click(*form_, "Command1");
            evaluation_ = evaluate(computeScores(ticks_), personality_);
            diagnosisCancelled_ = false;
            reportShown_ = true;
            reportMade_ = true;
            ++runs_;
            break;
        case Step::Cancel:
            click(*report(), "Command2");
            diagnosisCancelled_ = true;
            reportShown_ = false;
            break;
        case Step::CloseReport:
            report()->close();  // what the frame's close control does
            reportShown_ = false;
            reportMade_ = false;
            typedName_.clear();
            break;
        case Step::Clear:
            click(*form_, "Command4");
            ticks_.reset();
            break;
        case Step::TypeName:
            typedName_ = QString("客户%1").arg(pick(1, 99));
            control<QLineEdit>(*report(), "Text2").setText(typedName_);
            break;
        case Step::About:
            click(*form_, "Command5");
            if (chance(0.5)) click(*form_->about(), "cmdOK");
            break;
    }
    letEventLoopRun();
}

// What is wrong with the windows after a step, or nothing.
QString SoakTest::checkState(Step step) const {
    if (form_->ticks() != ticks_) return "the questionnaire's ticks are not the ones given";
    if (form_->personality() != personality_) return "the personality type changed";

    const int allowed = baseline_ + 1 + (form_->about() ? 1 : 0);
    if (const int windows = liveWindows(); windows > allowed) {
        return QString("%1 windows, at most %2 expected").arg(windows).arg(allowed);
    }

    ReportWindow* window = report();
    if (step == Step::CloseReport) return window ? "the closed report still exists" : QString();
    if (!window) return reportMade_ ? "the report window is gone" : QString();
    if (step == Step::Run && !window->isVisible()) return "the diagnosis left the report hidden";
    if (step == Step::Cancel && window->isVisible()) return "取消 left the report shown";
    if (window->isVisible() != reportShown_) return "the report is shown or hidden wrongly";

    for (const auto& [box, name] :
         {std::pair{Box::Diagnosis, "Text1"}, std::pair{Box::Personality, "Text5"},
          std::pair{Box::Diet, "Text7"}}) {
        const QString shown = control<QTextEdit>(*window, name).toPlainText();
        const bool emptied = box == Box::Diagnosis && diagnosisCancelled_;
        const QString expected = emptied ? QString() : qs(evaluation_.text(box));
        if (shown != expected) {
            return QString("%1 shows \"%2\" where the engine wrote \"%3\" (ticks %4, type %5)")
                .arg(name, shown, expected, QString::fromStdString(ticks_.to_string()))
                .arg(personality_);
        }
    }
    if (const QString name = control<QLineEdit>(*window, "Text2").text(); name != typedName_) {
        return QString("the name box shows \"%1\", not \"%2\"").arg(name, typedName_);
    }
    return {};
}

void SoakTest::tenThousandRunsMatchTheEngineAlone() {
    const int runs = runsWanted();
    qInfo("seed %u (CORVANE_SOAK_SEED=%u repeats this sequence), %d diagnoses", seed_, seed_, runs);
    QCOMPARE(baseline_, 1);  // the questionnaire

    QElapsedTimer timer;
    timer.start();
    double earlyMiB = 0;
    int recreated = 0;
    while (runs_ < runs) {
        ++step_;
        const Step step = chooseStep();
        const bool hadWindow = report() != nullptr;
        perform(step);
        recreated += step == Step::Run && !hadWindow;
        const QString problem = checkState(step);
        QVERIFY2(problem.isEmpty(), qPrintable(where() + problem));
        if (step == Step::Run && runs_ == kEarlySampleRun) earlyMiB = residentMiB();
    }
    const double lateMiB = residentMiB();
    qInfo(
        "%d diagnoses in %ld steps, %d report windows created, %.1f s; "
        "resident %.1f MiB after %d diagnoses, %.1f MiB at the end",
        runs_, step_, recreated, static_cast<double>(timer.elapsed()) / 1000.0, earlyMiB,
        kEarlySampleRun, lateMiB);
    QVERIFY2(recreated > 1, qPrintable(where() + "the report was never created anew"));

    if (report()) report()->close();
    if (form_->about()) form_->about()->close();
    QCOMPARE(liveWindows(), baseline_);

    if (CORVANE_ASAN) {
        // The sanitizer holds freed memory back, so the resident size says nothing
        // here; LeakSanitizer looks at the heap when the process ends instead.
        qInfo("resident memory is not compared under AddressSanitizer");
        return;
    }
    if (runs < kDefaultRuns) {
        qInfo("resident memory is compared only over the full %d runs", kDefaultRuns);
        return;
    }
    QVERIFY2(lateMiB - earlyMiB <= kMaxGrowthMiB,
             qPrintable(QString("seed %1: resident memory grew from %2 MiB to %3 MiB")
                            .arg(seed_)
                            .arg(earlyMiB)
                            .arg(lateMiB)));
}

QTEST_MAIN(SoakTest)
#include "soak_test.moc"
