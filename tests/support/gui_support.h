#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QString>
#include <QTest>
#include <QWidget>
#include <memory>
#include <string_view>

#include "report/utf8.h"

namespace corvane::testing {

inline QString qs(std::string_view text) {
    return toQString(text);
}

// The control of a window by its object name; fails the test when missing.
template <typename T = QWidget>
T& control(const QWidget& window, const char* name) {
    T* found = window.findChild<T*>(name);
    if (!found) qFatal("no control %s in %s", name, qPrintable(window.objectName()));
    return *found;
}

inline void click(const QWidget& window, const char* button) {
    QTest::mouseClick(&control<QAbstractButton>(window, button), Qt::LeftButton);
}

// A new top-level window of the given kind, shown and exposed.
template <typename Window>
std::unique_ptr<Window> shownWindow() {
    auto window = std::make_unique<Window>();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) qFatal("the window was never exposed");
    return window;
}

// Runs what deleteLater scheduled, so closed windows are really gone.
inline void runDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace corvane::testing
