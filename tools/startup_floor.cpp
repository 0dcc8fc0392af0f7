// The floor that tools/measure_startup.sh holds corvane's start-up against: the
// least a Qt Widgets program does to show a window with Chinese text. A
// coloured band at the top stands where the questionnaire has its banner, so
// the probe sees it painted; under it three labels in a Chinese face.
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QVBoxLayout>
#include <QWidget>

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
    QFont font(u"WenQuanYi Zen Hei"_s, 12);
    for (const QString& text : {u"诊断"_s, u"清空"_s, u"退出"_s}) {
        auto* label = new QLabel(text, &window);
        label->setFont(font);
        layout->addWidget(label);
    }
    window.show();
    return QApplication::exec();
}
