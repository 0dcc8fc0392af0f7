#include "report/form2.h"

#include <QDate>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTextDocument>
#include <QTextEdit>
#include <array>
#include <cmath>
#include <memory>

#include "app/faces.h"
#include "app/qt_text.h"
#include "app/twips.h"

namespace corvane {

namespace {

constexpr int kClientWidth = 10515;
constexpr int kClientHeight = 11115;

enum class Kind { Label, WrappingLabel, LineEdit, TextBox, Button };
enum class Face { Hei14, Hei12, Kai12, Song12, Song14, Plain };

struct Control {
    const char* name;
    Kind kind;
    std::array<int, 4> twips;  // left, top, width, height
    const char* text;
    Face face;
};

// The report's controls, top to bottom, as the page is laid out.
constexpr std::array<Control, 19> kControls = {{
    {"Label4", Kind::Label, {1200, 960, 1215, 255}, "会员姓名", Face::Hei14},
    {"Text2", Kind::LineEdit, {2520, 960, 855, 270}, "", Face::Kai12},
    {"Label5", Kind::Label, {3600, 960, 735, 255}, "性别", Face::Hei14},
    {"Text3", Kind::LineEdit, {4440, 960, 615, 270}, "", Face::Kai12},
    {"Label6", Kind::Label, {5280, 960, 735, 255}, "年龄", Face::Hei14},
    {"Text4", Kind::LineEdit, {6120, 960, 615, 270}, "", Face::Kai12},
    {"Label2", Kind::Label, {7200, 1080, 495, 255}, "日期", Face::Song12},
    {"Label1", Kind::Label, {7800, 1080, 1815, 255}, "", Face::Song12},
    {"Label9",
     Kind::WrappingLabel,
     {720, 1800, 9015, 735},
     "    根据Halvenor专家团专家对您体质的会诊，现将您的体质情况报告如下，并希望您能及时进行调理，如果在调理中有什么问题需要咨询，请及时与工作人员联系，如果您的体质较复杂，症状也较多，为慎重起见建议您请专家当面为您诊治。",
     Face::Song12},
    {"Label7", Kind::Label, {720, 2640, 1455, 255}, "体质诊断结果", Face::Hei12},
    {"Text1", Kind::TextBox, {720, 3000, 8895, 735}, "", Face::Kai12},
    {"Label8", Kind::Label, {720, 3840, 975, 255}, "调理建议", Face::Hei12},
    {"Text7", Kind::TextBox, {720, 4200, 8895, 3975}, "", Face::Kai12},
    {"Label3", Kind::Label, {720, 8280, 975, 375}, "性格调整", Face::Hei12},
    {"Text5", Kind::TextBox, {720, 8640, 8895, 1215}, "", Face::Song12},
    {"Command1", Kind::Button, {960, 10080, 855, 495}, " 打印", Face::Plain},
    {"Command2", Kind::Button, {2280, 10080, 855, 495}, "取消", Face::Plain},
    {"Text6", Kind::LineEdit, {5880, 10080, 3855, 285}, "Halvenor    工作部", Face::Song14},
    {"Label10", Kind::Label, {6720, 10440, 2415, 255}, "", Face::Song14},
}};

// Headings that name a text box, and the label that shows the heading.
struct Caption {
    const char* box;
    const char* heading;
    const char* label;
};
constexpr std::array<Caption, 7> kCaptions = {{
    {"Text2", "会员姓名", "Label4"},
    {"Text3", "性别", "Label5"},
    {"Text4", "年龄", "Label6"},
    {"Text1", "体质诊断结果", "Label7"},
    {"Text7", "调理建议", "Label8"},
    {"Text5", "性格调整", "Label3"},
    {"Text6", "签名", nullptr},
}};

// The ruling lines between the page's sections: top, left end and right end.
struct Ruling {
    int top;
    int left;
    int right;
};
constexpr std::array<Ruling, 7> kRulings = {{
    {720, 720, 9795},
    {1560, 720, 9795},
    {2580, 720, 9795},
    {3780, 720, 9795},
    {8220, 720, 9795},
    {9960, 720, 9795},
    {10800, 5880, 9795},
}};

// A paragraph of the page: wraps like a label, with the lines as close as the
// Windows faces set them, so the introduction fits its designed height.
class Paragraph : public QLabel {
public:
    using QLabel::QLabel;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override {
        return static_cast<int>(std::ceil(layout(width)->size().height()));
    }
    QSize sizeHint() const override { return {width(), heightForWidth(width())}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        layout(width())->drawContents(&painter);
    }

private:
    std::unique_ptr<QTextDocument> layout(int width) const {
        auto document = std::make_unique<QTextDocument>();
        document->setDocumentMargin(0);
        document->setDefaultFont(font());
        document->setPlainText(text());
        setLinePitch(*document, linePitch(font()));
        document->setTextWidth(width);
        return document;
    }
};

QFont fontOf(Face face) {
    switch (face) {
        case Face::Hei14: return heiti(14.25);
        case Face::Hei12: return heiti(12);
        case Face::Kai12: return kaiti(12);
        case Face::Song12: return songti(12);
        case Face::Song14: return songti(14.25);
        case Face::Plain: break;
    }
    return plainFace();
}

QWidget* createControl(const Control& control, QWidget* parent) {
    const QString text = QString::fromUtf8(control.text);
    switch (control.kind) {
        case Kind::Label: return plainLabel(text, parent);
        case Kind::WrappingLabel: {
            auto* paragraph = new Paragraph(text, parent);
            paragraph->setWordWrap(true);
            return paragraph;
        }
        case Kind::LineEdit: {
            auto* field = new QLineEdit(text, parent);
            field->setTextMargins(0, 0, 0, 0);
            return field;
        }
        case Kind::TextBox: {
            auto* box = new QTextEdit(parent);
            box->setAcceptRichText(false);
            box->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
            box->setTabChangesFocus(true);
            box->document()->setDocumentMargin(2);
            return box;
        }
        case Kind::Button: {
            auto* button = new QPushButton(text, parent);
            button->setAutoDefault(false);
            return button;
        }
    }
    return nullptr;
}

const char* boxName(Box box) {
    switch (box) {
        case Box::Text1: return "Text1";
        case Box::Text5: return "Text5";
        case Box::Text7: return "Text7";
    }
    return "";
}

}  // namespace

Form2::Form2(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("form2");
    setWindowTitle("诊断结果");
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(plainFace());
    const Twips twips(*this);
    setFixedSize(twips.size(kClientWidth, kClientHeight));
    addRulingLines(twips);
    addControls(twips);
    setDates();
    printButton_ = findChild<QPushButton*>("Command1");
    cancelButton_ = findChild<QPushButton*>("Command2");
    connect(printButton_, &QPushButton::clicked, this, &Form2::print);
    connect(cancelButton_, &QPushButton::clicked, this, &Form2::cancel);
}

void Form2::addControls(const Twips& twips) {
    for (const Control& control : kControls) {
        QWidget* widget = createControl(control, this);
        widget->setObjectName(control.name);
        widget->setFont(fontOf(control.face));
        const auto& [left, top, width, height] = control.twips;
        const QRect designed = twips.rect(left, top, width, height);
        if (control.kind == Kind::TextBox) {
            // The result boxes scroll; only one-line controls grow to show their text whole.
            widget->setGeometry(designed);
            setLinePitch(*static_cast<QTextEdit*>(widget)->document(), linePitch(widget->font()));
        } else {
            // The signature sits on the line above the date under it.
            const bool signature = control.name == std::string_view("Text6");
            placeAt(*widget, designed, signature ? Grow::Up : Grow::Down);
        }
    }
    drawSignatureAsLine();
    nameBoxesByHeadings();
}

// The signature is a line of the page, not a box to fill in.
void Form2::drawSignatureAsLine() {
    auto* signature = findChild<QLineEdit*>("Text6");
    signature->setFrame(false);
    QPalette page = signature->palette();
    page.setColor(QPalette::Base, Qt::transparent);
    signature->setPalette(page);
}

// Screen readers announce each text box by the heading above it.
void Form2::nameBoxesByHeadings() {
    for (const Caption& caption : kCaptions) {
        QWidget* box = findChild<QWidget*>(caption.box);
        box->setAccessibleName(QString::fromUtf8(caption.heading));
        if (caption.label) findChild<QLabel*>(caption.label)->setBuddy(box);
    }
}

void Form2::addRulingLines(const Twips& twips) {
    for (std::size_t i = 0; i < kRulings.size(); ++i) {
        const Ruling& ruling = kRulings[i];
        auto* line = new QFrame(this);
        line->setObjectName(QString("Line%1").arg(i + 1));
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Plain);
        line->setLineWidth(1);
        line->setForegroundRole(QPalette::WindowText);
        const QRect span = twips.rect(ruling.left, ruling.top, ruling.right - ruling.left, 0);
        line->setGeometry(span.left(), span.top(), span.width(), 1);
    }
}

// The load step: both date labels show today as the system's short date.
void Form2::setDates() {
    const QString today = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    findChild<QLabel*>("Label1")->setText(today);
    findChild<QLabel*>("Label10")->setText(today);
}

QTextEdit* Form2::resultBox(Box box) const {
    return findChild<QTextEdit*>(boxName(box));
}

void Form2::setResult(Box box, const QString& text) {
    QTextEdit* edit = resultBox(box);
    edit->setPlainText(text);
    setLinePitch(*edit->document(), linePitch(edit->font()));
}

QString Form2::result(Box box) const {
    return resultBox(box)->toPlainText();
}

// Prints the page without its two buttons; they stay hidden after a good print.
void Form2::print() {
    printButton_->hide();
    cancelButton_->hide();
    const PrintOutcome outcome = pagePrinter_(*this);
    if (outcome.printed) return;
    printButton_->show();
    cancelButton_->show();
    showPrintProblem(outcome.problem);
}

void Form2::showPrintProblem(const QString& problem) {
    auto* box = new QMessageBox(QMessageBox::Warning, "打印", problem, QMessageBox::Ok, this);
    box->setObjectName("printProblem");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->button(QMessageBox::Ok)->setText("确定");
    box->open();
}

// 取消 hides the report and empties the diagnosis; everything else stays.
void Form2::cancel() {
    hide();
    resultBox(Box::Text1)->clear();
}

}  // namespace corvane
