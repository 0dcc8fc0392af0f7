#pragma once

#include <QDate>
#include <QPointer>
#include <array>
#include <functional>

#include "engine/catalogue.h"
#include "gui/page_window.h"

class QButtonGroup;
class QCheckBox;
class QPushButton;

namespace corvane {

class AboutWindow;
class ReportWindow;
class Twips;

// The questionnaire, the program's main window: the user ticks the symptoms
// that apply, picks a personality type and presses 诊断 for the report.
class QuestionnaireWindow : public PageWindow {
    Q_OBJECT

public:
    explicit QuestionnaireWindow(QWidget* parent = nullptr);
    ~QuestionnaireWindow() override;

    // The answers as they stand: the ticked boxes in catalogue order and the
    // chosen personality type, 1 to 5, or 0 while none is chosen.
    Ticks ticks() const;
    int personality() const;

    // The report window while it exists, else null. A diagnosis creates it,
    // also after the user closed it with its frame's close control.
    ReportWindow* report() const;
    AboutWindow* about() const;

    // Where today's date comes from; the system clock unless a test says otherwise.
    using Clock = std::function<QDate()>;
    void setClock(Clock clock) { today_ = std::move(clock); }

protected:
    // Closing the questionnaire ends the program, so the other windows go too.
    void closeEvent(QCloseEvent* event) override;
    QPoint openingPosition(const QRect& available, const QMargins& frame) const override;

private:
    void diagnose();
    void clear();
    void exitProgram();
    void showAbout();

    void addBanner(const Twips& twips);
    void addColumns(const Twips& twips);
    void addPersonalityFrame(const Twips& twips);
    void addButtons(const Twips& twips);
    void createButton(const char* name, const char* caption, const QRect& rect,
                      void (QuestionnaireWindow::*slot)());

    std::array<QCheckBox*, kSymptomCount> boxes_{};
    QButtonGroup* personalities_ = nullptr;  // ids 1 to 5, as the types are numbered
    QPointer<ReportWindow> report_;
    QPointer<AboutWindow> about_;
    Clock today_ = &QDate::currentDate;
};

}  // namespace corvane
