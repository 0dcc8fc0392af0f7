// The report page as PDF: one page made in memory, with the whole faces and
// with faces cut down to its characters; the floor under it, the same lines
// drawn by QPainter alone; corvane --pdf-dir DIR --batch over 1,000 members,
// written by as many threads as there are cores, from JSON Lines and from a
// GB18030 CSV with a column per symptom; and the same CSV through the batch
// window, with its progress bar.
#include <benchmark/benchmark.h>
#include <iconv.h>
#include <sys/resource.h>

#include <QApplication>
#include <QBuffer>
#include <QDate>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <map>
#include <memory>
#include <random>
#include <sstream>

#include "app/pdf_export.h"
#include "engine/evaluation.h"
#include "gui/batch_window.h"
#include "input/members.h"
#include "report/face_subsets.h"
#include "report/report_content.h"
#include "report/report_layout.h"
#include "report/report_page.h"

namespace {

using namespace corvane;
using namespace Qt::StringLiterals;

constexpr int kBatchLines = 1000;

// A member as a day's list might bring them: random ticks, a type, an age.
struct Member {
    std::vector<std::size_t> ticks;  // catalogue indices
    int personality;
    int age;
};

std::vector<Member> batchMembers(int count) {
    std::mt19937 random(11);
    std::vector<Member> members(static_cast<std::size_t>(count));
    for (Member& member : members) {
        for (std::size_t tick = 0; tick < kSymptoms.size(); ++tick) {
            if (random() % 6 == 0) member.ticks.push_back(tick);
        }
        member.personality = static_cast<int>(1 + random() % 5);
        member.age = static_cast<int>(20 + random() % 60);
    }
    return members;
}

std::string asJsonLines(const std::vector<Member>& members) {
    std::string input;
    for (const Member& member : members) {
        input.append(R"({"ticks": [)");
        for (const std::size_t tick : member.ticks) {
            input.append(tick == member.ticks.front() ? "" : ",").append(std::to_string(tick + 1));
        }
        input.append(R"(], "personality": )").append(std::to_string(member.personality));
        input.append(R"(, "name": "张三", "sex": "男", "age": )");
        input.append(std::to_string(member.age)).append("}\n");
    }
    return input;
}

// A symptom's column heading: its caption, or its number where two groups
// share the caption.
std::string heading(std::size_t symptom) {
    const std::string_view caption = kSymptoms[symptom].caption;
    const auto same = std::count_if(kSymptoms.begin(), kSymptoms.end(),
                                    [&](const Symptom& other) { return other.caption == caption; });
    return same == 1 ? std::string(caption) : std::to_string(symptom + 1);
}

std::string toGb18030(const std::string& text) {
    iconv_t converter = iconv_open("GB18030", "UTF-8");
    std::string out(text.size() * 2, '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* to = out.data();
    std::size_t outLeft = out.size();
    iconv(converter, &in, &inLeft, &to, &outLeft);
    iconv_close(converter);
    out.resize(out.size() - outLeft);
    return out;
}

// The same members as a survey tool exports them: GB18030, a column per
// symptom marked 是 where ticked, the type by its number, a column nobody reads.
std::string asGb18030Csv(const std::vector<Member>& members) {
    std::string csv = "编号,姓名,性别,年龄,性格";
    for (std::size_t symptom = 0; symptom < kSymptoms.size(); ++symptom) {
        csv.append(",").append(heading(symptom));
    }
    csv.append("\r\n");
    for (std::size_t number = 0; number < members.size(); ++number) {
        const Member& member = members[number];
        csv.append(std::to_string(number + 1)).append(",张三,男,");
        csv.append(std::to_string(member.age)).append(",");
        csv.append(std::to_string(member.personality));
        std::vector<bool> ticked(kSymptoms.size());
        for (const std::size_t tick : member.ticks) ticked[tick] = true;
        for (const bool tick : ticked) csv.append(tick ? ",是" : ",");
        csv.append("\r\n");
    }
    return toGb18030(csv);
}

// The benchmark's input: 0 JSON Lines, 1 the GB18030 CSV.
std::string batchInput(const benchmark::State& state) {
    const std::vector<Member> members = batchMembers(kBatchLines);
    return state.range(0) == 0 ? asJsonLines(members) : asGb18030Csv(members);
}

Ticks benchTicks() {
    Ticks ticks;
    for (int tick : {1, 6, 13, 15, 22, 61}) ticks.set(static_cast<std::size_t>(tick - 1));
    return ticks;
}

// With the argument 1 the faces are cut down to the page's characters, as a
// batch has them; with 0 they are whole.
std::unique_ptr<FaceSubsets> facesFor(const benchmark::State& state, const ReportContent& content) {
    if (state.range(0) == 0) return nullptr;
    return std::make_unique<FaceSubsets>(reportPageCharacters() + content.name +
                                         reportDateText(content.date));
}

void BM_ReportPdf(benchmark::State& state) {
    ReportContent content =
        reportContent(evaluate(computeScores(benchTicks()), 1), QDate(2024, 3, 5));
    content.name = "张三";
    const auto cut = facesFor(state, content);
    for (auto _ : state) {
        QByteArray pdf = reportPdf(content);
        benchmark::DoNotOptimize(pdf);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReportPdf)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The floor under BM_ReportPdf: the same lines of text in the same faces and
// places, drawn by QPainter::drawText into a QPdfWriter, without the page's
// own layout. What stays is Qt's: drawing, font subsetting, compression.
void BM_PdfWriterFloor(benchmark::State& state) {
    namespace layout = report_layout;
    ReportContent content =
        reportContent(evaluate(computeScores(benchTicks()), 1), QDate(2024, 3, 5));
    content.name = "张三";
    std::map<QString, QFont> faces;
    for (const layout::Item* item :
         {&layout::kNameHeading, &layout::kName, &layout::kSexHeading, &layout::kSex,
          &layout::kAgeHeading, &layout::kAge, &layout::kDateHeading, &layout::kDate,
          &layout::kIntroduction, &layout::kSignature, &layout::kSignatureDate}) {
        faces[item->name] = item->font();
    }
    for (const layout::ResultPlace& place : layout::kResults) {
        faces[place.heading.name] = place.heading.font();
        faces[place.text.name] = place.text.font();
    }
    const auto cut = facesFor(state, content);
    const std::vector<ReportPage::Item> items = ReportPage(content).items();
    for (auto _ : state) {
        QByteArray pdf;
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&buffer);
            writer.setPageLayout(a4Paper());
            QPainter painter(&writer);
            painter.scale(writer.logicalDpiX() / 1440.0, writer.logicalDpiY() / 1440.0);
            for (const ReportPage::Item& item : items) {
                const auto face = faces.find(item.name);
                if (face == faces.end()) continue;  // a ruling line
                QFont font = face->second;
                font.setPixelSize(static_cast<int>(font.pointSizeF() * 20));
                painter.setFont(font);
                int y = item.rect.top() + font.pixelSize();
                for (const QString& line : item.lines) {
                    painter.drawText(item.rect.left(), y, line);
                    y += font.pixelSize() + 15;
                }
            }
        }
        benchmark::DoNotOptimize(pdf);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PdfWriterFloor)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The processor time of the whole process so far, every thread's, in seconds.
double processSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& time) { return time.tv_sec + time.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Processor time a page, of every thread: steadier than the time by the
// clock on a machine shared with other work.
void countProcessTime(benchmark::State& state, double seconds) {
    state.counters["cpu_ms_per_page"] =
        1000 * seconds / static_cast<double>(state.iterations() * kBatchLines);
}

// Reading the members alone, every one decoded and parsed: what the CSV in
// GB18030 adds to a batch before any page.
void BM_ReadMembers(benchmark::State& state) {
    const std::string input = batchInput(state);
    for (auto _ : state) {
        const input::MembersInput members(input, "input");
        for (std::size_t number = 1; number <= members.size(); ++number) {
            benchmark::DoNotOptimize(members.member(number));
        }
    }
    state.SetItemsProcessed(state.iterations() * kBatchLines);
}
BENCHMARK(BM_ReadMembers)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_PdfBatch(benchmark::State& state) {
    const std::string input = batchInput(state);
    QTemporaryDir folder;
    app::Command command;
    command.mode = app::Command::Mode::PdfBatch;
    command.pdfFolder = folder.path().toStdString();
    command.overwrite = true;
    const double started = processSeconds();
    for (auto _ : state) {
        std::istringstream in(input);
        std::ostringstream err;
        if (app::exportPdfBatch(command, in, err) != 0) state.SkipWithError(err.str().c_str());
    }
    countProcessTime(state, processSeconds() - started);
    state.SetItemsProcessed(state.iterations() * kBatchLines);
}
BENCHMARK(BM_PdfBatch)->Arg(0)->Arg(1)->Unit(benchmark::kSecond)->UseRealTime();

// The GB18030 CSV through the batch window, which shows the progress as it goes.
void BM_BatchWindow(benchmark::State& state) {
    QTemporaryDir work;
    QFile members(work.filePath(u"members.csv"_s));
    members.open(QIODevice::WriteOnly);
    members.write(QByteArray::fromStdString(batchInput(state)));
    members.close();
    BatchWindow window;
    window.show();
    window.findChild<QLineEdit*>(u"membersFile"_s)->setText(members.fileName());
    window.findChild<QLineEdit*>(u"outputFolder"_s)->setText(work.filePath(u"pages"_s));
    window.findChild<QRadioButton*>(u"replaceExisting"_s)->setChecked(true);
    const double started = processSeconds();
    for (auto _ : state) {
        QEventLoop loop;
        QObject::connect(&window, &BatchWindow::batchFinished, &loop, &QEventLoop::quit);
        window.findChild<QPushButton*>(u"start"_s)->click();
        loop.exec();
    }
    countProcessTime(state, processSeconds() - started);
    state.SetItemsProcessed(state.iterations() * kBatchLines);
}
BENCHMARK(BM_BatchWindow)->Arg(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
