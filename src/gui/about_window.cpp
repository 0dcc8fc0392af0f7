#include "gui/about_window.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <array>

#include "gui/twips.h"
#include "gui/widgets.h"
#include "report/faces.h"

namespace corvane {

using namespace Qt::StringLiterals;

namespace {

constexpr int kClientWidth = 6120;
constexpr int kClientHeight = 4080;

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, const QRect& rect) {
    auto* label = plainLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(rect);
    return label;
}

}  // namespace

AboutWindow::AboutWindow(QWidget* parent) : PageWindow(parent) {
    setObjectName("frmAbout");
    setWindowTitle(u"说明"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(plainFace());
    setPageSize(Twips(*this).size(kClientWidth, kClientHeight));
    host_ = desktopSystemInfoHost(this);
    addTexts();
    addRulingLines();
    addButtons();
}

void AboutWindow::addTexts() {
    const Twips twips(*this);
    auto* icon = new QLabel(page());
    icon->setObjectName("picIcon");
    icon->setPixmap(QPixmap(u":/corvane/icon.png"_s));
    icon->setScaledContents(true);
    icon->setGeometry(twips.rect(240, 240, 540, 540));

    addLabel(page(), "lblTitle", programTitle(), twips.rect(1050, 240, 4830, 480))
        ->setFont(heiti(14.25));
    addLabel(page(), "lblVersion", QString(), twips.rect(1050, 780, 4830, 225));
    addLabel(
        page(), "lblDescription",
        u"简介：本软件通过简单选择后即可自动诊断人体体质，可迅速为您指导调理体质，由于患者的病情千变万化，所以对于病情非常重的人，请在医生指导下调理用药，不可随意调理，凡是病情较重或较复杂的人请遵医嘱。"_s,
        twips.rect(1050, 1080, 4830, 1680))
        ->setWordWrap(true);
}

// Line1: a dark and a light line, one etched rule above the buttons.
void AboutWindow::addRulingLines() {
    const Twips twips(*this);
    const std::array<std::pair<int, QPalette::ColorRole>, 2> strokes = {{
        {2880, QPalette::Dark},
        {2895, QPalette::Light},
    }};
    for (const auto& [top, role] : strokes) {
        auto* line = new QFrame(page());
        line->setObjectName("Line1");
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Plain);
        line->setForegroundRole(role);
        const QRect span = twips.rect(120, top, kClientWidth - 240, 0);
        line->setGeometry(span.left(), span.top(), span.width(), 1);
    }
}

void AboutWindow::addButtons() {
    const Twips twips(*this);
    auto* ok = new QPushButton(u"确定"_s, page());
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    ok->setAutoDefault(true);  // Enter presses the button with the focus
    ok->setGeometry(twips.rect(4560, 3060, 1380, 375));
    auto* sysInfo = new QPushButton(u"系统信息(&S)..."_s, page());
    sysInfo->setObjectName("cmdSysInfo");
    sysInfo->setAutoDefault(true);
    sysInfo->setGeometry(twips.rect(4560, 3540, 1380, 375));
    // 确定 unloads the window; the next 说明 creates it again.
    connect(ok, &QPushButton::clicked, this, &QWidget::close);
    setEscapeAction([this] { close(); });  // Esc does what 确定 does
    connect(sysInfo, &QPushButton::clicked, this, [this] { startSysInfo(*host_); });
}

}  // namespace corvane
