#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>
#include <string_view>

namespace corvane {

// The program's own texts are UTF-8; the windows show them as QString.
inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The program's name and version, as its questionnaire, its about window and
// its messages are titled.
inline QString programTitle() {
    using namespace Qt::StringLiterals;
    return u"Corvane1.0"_s;
}

// A label that shows its text as it stands (never as rich text), from the top left.
inline QLabel* plainLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// The program's windows keep the size they were designed at, so their frames
// offer no maximise button: a title, the system menu, minimise and close.
inline constexpr Qt::WindowFlags kFixedSizeWindow =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

// Shows a window, restored if it was minimised, in front of the others.
inline void bringToFront(QWidget& window) {
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace corvane
