#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>

#include "report/faces.h"

namespace corvane {

// The program's name and version, as its questionnaire, its about window and
// its messages are titled: Corvane1.0.
inline QString programTitle() {
    using namespace Qt::StringLiterals;
    return u"Corvane"_s + QString::fromLatin1(CORVANE_VERSION);
}

// The windows' ordinary text: 宋体 at 9 pt.
inline QFont plainFace() {
    return songti(9);
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
