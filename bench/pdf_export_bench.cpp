// The report page as PDF: one page made in memory, with the whole faces and
// with faces cut down to its characters; the floor under it, the same lines
// drawn by QPainter alone; and corvane --pdf-dir DIR --batch over 1,000 lines,
// written by as many threads as there are cores.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QDate>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <map>
#include <memory>
#include <random>
#include <sstream>

#include "app/pdf_export.h"
#include "engine/evaluation.h"
#include "report/face_subsets.h"
#include "report/report_content.h"
#include "report/report_layout.h"
#include "report/report_page.h"

namespace {

using namespace corvane;

constexpr int kBatchLines = 1000;

// Lines as a day's members might bring them: random ticks, a type, a name.
std::string batchInput(int lines) {
    std::mt19937 random(11);
    std::string input;
    for (int line = 0; line < lines; ++line) {
        input.append(R"({"ticks": [)");
        bool first = true;
        for (int tick = 1; tick <= kSymptomCount; ++tick) {
            if (random() % 6 != 0) continue;
            input.append(first ? "" : ",").append(std::to_string(tick));
            first = false;
        }
        input.append(R"(], "personality": )").append(std::to_string(1 + random() % 5));
        input.append(R"(, "name": "张三", "sex": "男", "age": )");
        input.append(std::to_string(20 + random() % 60)).append("}\n");
    }
    return input;
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

void BM_PdfBatch(benchmark::State& state) {
    const std::string input = batchInput(kBatchLines);
    QTemporaryDir folder;
    app::Command command;
    command.mode = app::Command::Mode::PdfBatch;
    command.pdfFolder = folder.path().toStdString();
    command.overwrite = true;
    for (auto _ : state) {
        std::istringstream in(input);
        std::ostringstream err;
        if (app::exportPdfBatch(command, in, err) != 0) state.SkipWithError(err.str().c_str());
    }
    state.SetItemsProcessed(state.iterations() * kBatchLines);
}
BENCHMARK(BM_PdfBatch)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
