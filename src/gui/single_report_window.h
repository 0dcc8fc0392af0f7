#pragma once

#include <QDate>
#include <QPointer>
#include <functional>

#include "engine/report.h"

class QWidget;

namespace corvane {

class ReportWindow;

// The single report window as the evaluation run sees it: the window is
// created the first time a run shows it, and again after the user closed it
// with the frame's close control. Every run that shows it dates it today
// and shows its buttons, also after a print.
class SingleReportWindow : public Report {
public:
    explicit SingleReportWindow(QWidget* owner) : owner_(owner) {}
    ~SingleReportWindow() override;
    SingleReportWindow(const SingleReportWindow&) = delete;
    SingleReportWindow& operator=(const SingleReportWindow&) = delete;

    void show() override;
    void setText(Box box, std::string_view text) override;

    // Closes the window as its frame's close control does; it is destroyed.
    void close();

    // The window while it exists, else null.
    ReportWindow* window() const;

    // Where today's date comes from; the system clock unless a test says otherwise.
    using Clock = std::function<QDate()>;
    void setClock(Clock clock) { today_ = std::move(clock); }

private:
    ReportWindow& ensureWindow();

    QWidget* owner_;
    QPointer<ReportWindow> window_;
    Clock today_ = &QDate::currentDate;
};

}  // namespace corvane
