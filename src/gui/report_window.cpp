#include "gui/report_window.h"

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

#include "engine/report.h"
#include "gui/faces.h"
#include "gui/twips.h"
#include "gui/widgets.h"

namespace corvane {

namespace {

constexpr int kClientWidth = 10515;
constexpr int kClientHeight = 11115;

constexpr const char* kIntroduction =
    "    根据Halvenor专家团专家对您体质的会诊，现将您的体质情况报告如下，并希望您能及时进行调理，如果在调理中有什么问题需要咨询，请及时与工作人员联系，如果您的体质较复杂，症状也较多，为慎重起见建议您请专家当面为您诊治。";

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

// Controls of the page, each at its designed rectangle. Labels and one-line
// fields grow when the free faces would clip their text; the result boxes keep
// their size and scroll.
QLabel* addLabel(QWidget* page, const char* name, const QString& text, const QFont& font,
                 const QRect& rect) {
    QLabel* label = plainLabel(text, page);
    label->setObjectName(name);
    label->setFont(font);
    placeAt(*label, rect);
    return label;
}

QLineEdit* addField(QWidget* page, const char* name, const char* text, const QFont& font,
                    const QRect& rect, Grow grow = Grow::Down) {
    auto* field = new QLineEdit(QString::fromUtf8(text), page);
    field->setObjectName(name);
    field->setFont(font);
    field->setTextMargins(0, 0, 0, 0);
    placeAt(*field, rect, grow);
    return field;
}

QTextEdit* addTextBox(QWidget* page, const char* name, const QFont& font, const QRect& rect) {
    auto* box = new QTextEdit(page);
    box->setObjectName(name);
    box->setFont(font);
    box->setAcceptRichText(false);
    box->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    box->setTabChangesFocus(true);
    box->document()->setDocumentMargin(2);
    box->setGeometry(rect);
    setLinePitch(*box->document(), linePitch(font));
    return box;
}

QPushButton* addButton(QWidget* page, const char* name, const char* caption, const QRect& rect) {
    auto* button = new QPushButton(QString::fromUtf8(caption), page);
    button->setObjectName(name);
    button->setFont(plainFace());
    button->setAutoDefault(false);
    button->setGeometry(rect);
    return button;
}

// Screen readers announce a text box by the heading above it.
void nameByHeading(QWidget& box, QLabel& heading) {
    box.setAccessibleName(heading.text());
    heading.setBuddy(&box);
}

}  // namespace

ReportWindow::ReportWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("form2");
    setWindowTitle("诊断结果");
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(plainFace());
    const Twips twips(*this);
    setFixedSize(twips.size(kClientWidth, kClientHeight));
    addRulingLines(twips);
    addParticulars(twips);
    addResultBoxes(twips);
    addFooter(twips);
    setDate(QDate::currentDate());
    connect(printButton_, &QPushButton::clicked, this, &ReportWindow::print);
    connect(cancelButton_, &QPushButton::clicked, this, &ReportWindow::cancel);
}

void ReportWindow::addRulingLines(const Twips& twips) {
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

// The header: name, sex and age typed by the user, and the date.
void ReportWindow::addParticulars(const Twips& twips) {
    QLabel* nameHeading =
        addLabel(this, "Label4", "会员姓名", heiti(14.25), twips.rect(1200, 960, 1215, 255));
    name_ = addField(this, "Text2", "", kaiti(12), twips.rect(2520, 960, 855, 270));
    QLabel* sexHeading =
        addLabel(this, "Label5", "性别", heiti(14.25), twips.rect(3600, 960, 735, 255));
    sex_ = addField(this, "Text3", "", kaiti(12), twips.rect(4440, 960, 615, 270));
    QLabel* ageHeading =
        addLabel(this, "Label6", "年龄", heiti(14.25), twips.rect(5280, 960, 735, 255));
    age_ = addField(this, "Text4", "", kaiti(12), twips.rect(6120, 960, 615, 270));
    addLabel(this, "Label2", "日期", songti(12), twips.rect(7200, 1080, 495, 255));
    date_ = addLabel(this, "Label1", "", songti(12), twips.rect(7800, 1080, 1815, 255));
    nameByHeading(*name_, *nameHeading);
    nameByHeading(*sex_, *sexHeading);
    nameByHeading(*age_, *ageHeading);
}

// The introduction and the three result boxes under their headings.
void ReportWindow::addResultBoxes(const Twips& twips) {
    auto* introduction = new Paragraph(QString::fromUtf8(kIntroduction), this);
    introduction->setObjectName("Label9");
    introduction->setFont(songti(12));
    introduction->setWordWrap(true);
    placeAt(*introduction, twips.rect(720, 1800, 9015, 735));
    QLabel* diagnosisHeading = addLabel(this, "Label7", toQString(heading(Box::Diagnosis)),
                                        heiti(12), twips.rect(720, 2640, 1455, 255));
    diagnosis_ = addTextBox(this, "Text1", kaiti(12), twips.rect(720, 3000, 8895, 735));
    QLabel* dietHeading = addLabel(this, "Label8", toQString(heading(Box::Diet)), heiti(12),
                                   twips.rect(720, 3840, 975, 255));
    diet_ = addTextBox(this, "Text7", kaiti(12), twips.rect(720, 4200, 8895, 3975));
    QLabel* personalityHeading = addLabel(this, "Label3", toQString(heading(Box::Personality)),
                                          heiti(12), twips.rect(720, 8280, 975, 375));
    personality_ = addTextBox(this, "Text5", songti(12), twips.rect(720, 8640, 8895, 1215));
    nameByHeading(*diagnosis_, *diagnosisHeading);
    nameByHeading(*diet_, *dietHeading);
    nameByHeading(*personality_, *personalityHeading);
}

// The buttons, and the signature on its line with the date under it.
void ReportWindow::addFooter(const Twips& twips) {
    printButton_ = addButton(this, "Command1", " 打印", twips.rect(960, 10080, 855, 495));
    cancelButton_ = addButton(this, "Command2", "取消", twips.rect(2280, 10080, 855, 495));
    signature_ = addField(this, "Text6", "Halvenor    工作部", songti(14.25),
                          twips.rect(5880, 10080, 3855, 285), Grow::Up);
    signatureDate_ =
        addLabel(this, "Label10", "", songti(14.25), twips.rect(6720, 10440, 2415, 255));
    // The signature is a line of the page, not a box to fill in.
    signature_->setFrame(false);
    QPalette page = signature_->palette();
    page.setColor(QPalette::Base, Qt::transparent);
    signature_->setPalette(page);
    signature_->setAccessibleName("签名");
}

void ReportWindow::setDate(const QDate& date) {
    const QString text = QLocale::system().toString(date, QLocale::ShortFormat);
    date_->setText(text);
    signatureDate_->setText(text);
}

QTextEdit* ReportWindow::resultBox(Box box) const {
    switch (box) {
        case Box::Diagnosis: return diagnosis_;
        case Box::Personality: return personality_;
        case Box::Diet: return diet_;
    }
    return diagnosis_;
}

void ReportWindow::setResult(Box box, const QString& text) {
    QTextEdit* edit = resultBox(box);
    edit->setPlainText(text);
    setLinePitch(*edit->document(), linePitch(edit->font()));
}

QString ReportWindow::result(Box box) const {
    return resultBox(box)->toPlainText();
}

// Prints the page without its two buttons; they stay hidden after a good print.
void ReportWindow::print() {
    printButton_->hide();
    cancelButton_->hide();
    const PrintOutcome outcome = pagePrinter_(*this);
    if (outcome.printed) return;
    printButton_->show();
    cancelButton_->show();
    showPrintProblem(outcome.problem);
}

void ReportWindow::showPrintProblem(const QString& problem) {
    auto* box = new QMessageBox(QMessageBox::Warning, "打印", problem, QMessageBox::Ok, this);
    box->setObjectName("printProblem");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->button(QMessageBox::Ok)->setText("确定");
    box->open();
}

// 取消 hides the report and empties the diagnosis; everything else stays.
void ReportWindow::cancel() {
    hide();
    diagnosis_->clear();
}

}  // namespace corvane
