#pragma once

#include <QPointer>
#include <QWidget>
#include <array>

#include "advice/personality_advice.h"
#include "questionnaire/catalogue.h"
#include "report/report_window.h"

class QCheckBox;
class QRadioButton;

namespace corvane {

class FrmAbout;
class Twips;

// The questionnaire, the program's main window: the user ticks the symptoms
// that apply, picks a personality type and presses 诊断 for the report.
class Form0 : public QWidget {
    Q_OBJECT

public:
    explicit Form0(QWidget* parent = nullptr);
    ~Form0() override;

    // The answers as they stand: the ticked boxes in catalogue order and the
    // chosen personality type, 1 to 5, or 0 while none is chosen.
    Ticks ticks() const;
    int personality() const;

    ReportWindow& report() { return report_; }
    FrmAbout* about() const;

protected:
    // Closing the questionnaire ends the program, so the other windows go too.
    void closeEvent(QCloseEvent* event) override;

private:
    void diagnose();
    void clear();
    void exitProgram();
    void showAbout();

    void addBanner(const Twips& twips);
    void addColumns(const Twips& twips);
    void addPersonalityFrame(const Twips& twips);
    void addButtons(const Twips& twips);

    std::array<QCheckBox*, kSymptomCount> boxes_{};
    std::array<QRadioButton*, kPersonalityCount> options_{};
    ReportWindow report_;
    QPointer<FrmAbout> about_;
};

}  // namespace corvane
