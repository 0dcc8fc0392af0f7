#pragma once

#include <QPointer>

#include "report/report.h"

class QWidget;

namespace corvane {

class Form2;

// The single report window as the evaluation run sees it: the window is
// created the first time a run shows it, and again after the user closed it
// with the frame's close control.
class ReportWindow : public Report {
public:
    explicit ReportWindow(QWidget* owner) : owner_(owner) {}
    ~ReportWindow() override;
    ReportWindow(const ReportWindow&) = delete;
    ReportWindow& operator=(const ReportWindow&) = delete;

    void show() override;
    void setText(Box box, std::string_view text) override;

    // Closes the window as its frame's close control does; it is destroyed.
    void close();

    // The window while it exists, else null.
    Form2* window() const;

private:
    Form2& ensureWindow();

    QWidget* owner_;
    QPointer<Form2> window_;
};

}  // namespace corvane
