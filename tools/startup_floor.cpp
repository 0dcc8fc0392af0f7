// The floor that tools/measure_startup.sh holds corvane's start-up against: the
// least a Qt Widgets program does to show a window with Chinese text. A
// coloured band at the top stands where the questionnaire has its banner, so
// the probe sees it painted; under it three labels, one in each of the three
// faces the windows use, at the questionnaire's sizes, so that the floor loads
// the same fonts and the difference is what the program itself does.
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QVBoxLayout>
#include <QWidget>
#include <utility>

#include "report/faces.h"

using namespace Qt::StringLiterals;

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* band = new QLabel(&window);
    band->setFixedHeight(56);
    band->setAutoFillBackground(true);
    QPalette palette = band->palette();
    palette.setColor(QPalette::Window, QColor(0x2f, 0x6f, 0x9f));
    band->setPalette(palette);
    layout->addWidget(band);
    const std::pair<QString, QFont> labels[] = {{u"阴虚体质"_s, corvane::heiti(12)},
                                                {u"口干咽燥"_s, corvane::songti(9)},
                                                {u"体质诊断结果"_s, corvane::kaiti(12)}};
    for (const auto& [text, font] : labels) {
        auto* label = new QLabel(text, &window);
        label->setFont(font);
        layout->addWidget(label);
    }
    window.show();
    return QApplication::exec();
}
