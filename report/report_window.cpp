#include "report/report_window.h"

#include "app/qt_text.h"
#include "report/form2.h"

namespace corvane {

ReportWindow::~ReportWindow() {
    delete window_;
}

Form2* ReportWindow::window() const {
    return window_;
}

Form2& ReportWindow::ensureWindow() {
    if (!window_) {
        window_ = new Form2();
        // Open the report over the questionnaire the first time.
        if (owner_) window_->move(owner_->geometry().topLeft() + QPoint(40, 30));
    }
    return *window_;
}

void ReportWindow::show() {
    Form2& window = ensureWindow();
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);  // bring it forward
    window.show();
    window.raise();
    window.activateWindow();
}

void ReportWindow::setText(Box box, std::string_view text) {
    ensureWindow().setResult(box, toQString(text));
}

void ReportWindow::close() {
    if (window_) window_->close();
}

}  // namespace corvane
