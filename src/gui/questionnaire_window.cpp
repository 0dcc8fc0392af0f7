#include "gui/questionnaire_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "engine/advice/personality_advice.h"
#include "engine/evaluation.h"
#include "gui/about_window.h"
#include "gui/held_keys.h"
#include "gui/report_window.h"
#include "gui/twips.h"
#include "gui/widgets.h"
#include "report/faces.h"
#include "report/report_layout.h"
#include "report/utf8.h"

namespace corvane {

using namespace Qt::StringLiterals;

namespace {

// Designer geometry of the questionnaire, in twips.
constexpr int kClientWidth = 9975;
constexpr int kClientHeight = 9330;
constexpr int kFirstColumnLeft = 600;
constexpr int kColumnPitch = 1560;
constexpr int kHeadingTop = 960;
constexpr int kFirstBoxTop = 1320;
constexpr int kRowPitch = 360;
constexpr int kBoxWidth = 1215;
constexpr int kBoxHeight = 225;
constexpr int kButtonTop = 8520;
constexpr int kButtonHeight = 495;

// Inside the personality frame: where each type's label and option button sit.
struct OptionPlace {
    const char* label;
    int labelLeft;
    int optionLeft;
    int labelWidth;
};
constexpr std::array<OptionPlace, kPersonalityCount> kOptionPlaces = {{
    {"Label8", 240, 1320, 1080},
    {"Label9", 2280, 3360, 1080},
    {"Label10", 4200, 5280, 1080},
    {"Label11", 6120, 7200, 1080},
    {"Label12", 7920, 8640, 720},
}};
constexpr int kOptionTop = 360;
constexpr int kOptionWidth = 255;
constexpr int kOptionHeight = 255;

QLabel* addHeading(QWidget* parent, const char* name, const QString& caption, const QRect& rect) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setFont(heiti(12));
    placeAt(*label, rect);
    return label;
}

// The name of a personality type beside its option button: clicking the name
// chooses the type, as clicking a radio button's own text does.
class OptionLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override {
        auto* option = qobject_cast<QAbstractButton*>(buddy());
        if (!option || event->button() != Qt::LeftButton ||
            !rect().contains(event->position().toPoint())) {
            return;
        }
        option->setFocus(Qt::MouseFocusReason);
        option->click();
    }
};

}  // namespace

QuestionnaireWindow::QuestionnaireWindow(QWidget* parent) : PageWindow(parent) {
    setObjectName("form0");
    setWindowTitle(programTitle());
    setFont(plainFace());
    keepHeldKeysInTheirWindow();
    const Twips twips(*this);
    setPageSize(twips.size(kClientWidth, kClientHeight));
    addBanner(twips);
    addColumns(twips);
    addPersonalityFrame(twips);
    addButtons(twips);
    // Without a Chinese font every text shows as boxes; once the window is up,
    // a message says why, naming the packages in letters any font draws.
    if (!facesDrawChinese()) {
        QTimer::singleShot(0, this, [this] {
            auto* box = new QMessageBox(
                QMessageBox::Warning, programTitle(),
                u"没有找到中文字体，窗口和报告中的文字都无法显示。请安装 fonts-wqy-zenhei、"
                u"fonts-arphic-ukai 和 fonts-arphic-uming (Debian)，或宋体、黑体和楷体 "
                u"(Windows)。"_s,
                QMessageBox::Ok, this);
            box->setObjectName("noChineseFont");
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->open();
        });
    }
}

QuestionnaireWindow::~QuestionnaireWindow() {
    delete report_;
    delete about_;
}

ReportWindow* QuestionnaireWindow::report() const {
    return report_;
}

AboutWindow* QuestionnaireWindow::about() const {
    return about_;
}

void QuestionnaireWindow::addBanner(const Twips& twips) {
    auto* banner = new QLabel(page());
    banner->setObjectName("Image1");
    banner->setPixmap(QPixmap(u":/corvane/banner.png"_s));
    banner->setScaledContents(true);
    banner->setGeometry(twips.rect(0, 0, kClientWidth, 840));
}

void QuestionnaireWindow::addColumns(const Twips& twips) {
    for (std::size_t column = 0; column < kGroupHeadings.size(); ++column) {
        const int left = kFirstColumnLeft + static_cast<int>(column) * kColumnPitch;
        const auto name = u"Label%1"_s.arg(column + 1).toLatin1();
        addHeading(page(), name.constData(), toQString(kGroupHeadings[column]),
                   twips.rect(left, kHeadingTop, kBoxWidth, 300));
    }
    std::array<int, kScoreCount> rowsUsed{};
    for (std::size_t i = 0; i < kSymptoms.size(); ++i) {
        const Symptom& symptom = kSymptoms[i];
        const auto column = Scores::index(symptom.group);
        const int row = rowsUsed[column]++;
        auto* box = new QCheckBox(toQString(symptom.caption), page());
        box->setObjectName(toQString(symptom.control));
        box->setAccessibleName(toQString(symptom.caption));
        // A few symptoms stand in two groups; the group tells them apart.
        box->setAccessibleDescription(toQString(kGroupHeadings[column]));
        placeAt(*box, twips.rect(kFirstColumnLeft + static_cast<int>(column) * kColumnPitch,
                                 kFirstBoxTop + row * kRowPitch, kBoxWidth, kBoxHeight));
        boxes_[i] = box;
    }
}

void QuestionnaireWindow::addPersonalityFrame(const Twips& twips) {
    addHeading(page(), "Label7", u"性格判定"_s, twips.rect(600, 7080, kBoxWidth, 255));
    auto* frame = new QGroupBox(page());
    frame->setObjectName("Frame1");
    frame->setGeometry(twips.rect(360, 7320, 9135, 855));
    personalities_ = new QButtonGroup(this);
    for (std::size_t i = 0; i < kOptionPlaces.size(); ++i) {
        const OptionPlace& place = kOptionPlaces[i];
        const int type = static_cast<int>(i) + 1;
        const QString caption = toQString(kPersonalityTypes[i].caption);
        auto* label = new OptionLabel(caption, frame);
        label->setObjectName(place.label);
        placeAt(*label, twips.rect(place.labelLeft, kOptionTop, place.labelWidth, kOptionHeight));
        auto* option = new QRadioButton(frame);
        option->setObjectName(u"Option%1"_s.arg(type));
        option->setAccessibleName(caption);
        placeAt(*option, twips.rect(place.optionLeft, kOptionTop, kOptionWidth, kOptionHeight));
        label->setBuddy(option);
        personalities_->addButton(option, type);
    }
}

void QuestionnaireWindow::addButtons(const Twips& twips) {
    const auto at = [&twips](int left, int width) {
        return twips.rect(left, kButtonTop, width, kButtonHeight);
    };
    createButton("Command1", "诊断", at(1440, 855), &QuestionnaireWindow::diagnose);
    createButton("Command4", "清空", at(3360, 855), &QuestionnaireWindow::clear);
    createButton("Command3", "退出", at(5160, 975), &QuestionnaireWindow::exitProgram);
    createButton("Command5", "说明", at(6960, 975), &QuestionnaireWindow::showAbout);
}

void QuestionnaireWindow::createButton(const char* name, const char* caption, const QRect& rect,
                                       void (QuestionnaireWindow::*slot)()) {
    auto* button = new QPushButton(toQString(caption), page());
    button->setObjectName(name);
    button->setAutoDefault(true);  // Enter presses the button with the focus
    button->setGeometry(rect);
    connect(button, &QPushButton::clicked, this, slot);
}

Ticks QuestionnaireWindow::ticks() const {
    Ticks ticks;
    for (std::size_t i = 0; i < boxes_.size(); ++i) ticks[i] = boxes_[i]->isChecked();
    return ticks;
}

int QuestionnaireWindow::personality() const {
    const int checked = personalities_->checkedId();
    return checked == -1 ? kNoPersonality : checked;
}

// Shows the report of the answers as they stand, in the one report window.
void QuestionnaireWindow::diagnose() {
    const Evaluation evaluation = evaluate(computeScores(ticks()), personality());
    if (!report_) {
        report_ = new ReportWindow();
        // Beside the questionnaire where the screen has room, so that its
        // buttons stay free.
        report_->placeBeside(*this);
    }
    report_->showDiagnosis(evaluation, today_());
}

void QuestionnaireWindow::clear() {
    for (QCheckBox* box : boxes_) box->setChecked(false);
}

void QuestionnaireWindow::exitProgram() {
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

void QuestionnaireWindow::showAbout() {
    if (!about_) {
        about_ = new AboutWindow();
        // It opens centred over the questionnaire, not wherever the window manager puts it.
        about_->placeCentredOver(*this);
    }
    bringToFront(*about_);
}

// The questionnaire opens where the report has room beside it: the two side by
// side, centred in the available area as far as it holds them.
QPoint QuestionnaireWindow::openingPosition(const QRect& available, const QMargins& frame) const {
    const QSize reportPage = Twips(*this).size(report_layout::kWidth, report_layout::kHeight);
    const QSize report = openingSize(reportPage, available, frame).grownBy(frame);
    const QSize own = size().grownBy(frame);
    const QSize pair(own.width() + report.width(), std::max(own.height(), report.height()));
    const QSize spare = (available.size() - pair).expandedTo(QSize(0, 0));
    return available.topLeft() + QPoint(spare.width() / 2, spare.height() / 2);
}

void QuestionnaireWindow::closeEvent(QCloseEvent* event) {
    if (report_) report_->close();
    if (about_) about_->close();
    event->accept();
}

}  // namespace corvane
