#include "gui/report_window.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTextEdit>

#include "engine/evaluation.h"
#include "gui/paragraph.h"
#include "gui/substitute_faces.h"
#include "gui/twips.h"
#include "gui/widgets.h"
#include "report/faces.h"
#include "report/pdf_file.h"
#include "report/report_layout.h"
#include "report/report_page.h"
#include "report/utf8.h"

namespace corvane {

using namespace Qt::StringLiterals;

namespace {

namespace layout = report_layout;

QRect placeOf(const Twips& twips, const layout::Item& item) {
    const layout::TwipRect& r = item.rect;
    return twips.rect(r.left, r.top, r.width, r.height);
}

// Controls of the page, each at its designed rectangle. Labels and one-line
// fields grow when the free faces would clip their text; the result boxes keep
// their size and scroll.
QLabel* addLabel(QWidget* page, const Twips& twips, const layout::Item& item, const QString& text) {
    QLabel* label = plainLabel(text, page);
    label->setObjectName(item.name);
    label->setFont(item.font());
    placeAt(*label, placeOf(twips, item));
    return label;
}

QLabel* addLabel(QWidget* page, const Twips& twips, const layout::Item& item) {
    return addLabel(page, twips, item, toQString(item.caption));
}

QLineEdit* addField(QWidget* page, const Twips& twips, const layout::Item& item,
                    const char* text = "", Grow grow = Grow::Down) {
    auto* field = new QLineEdit(toQString(text), page);
    field->setObjectName(item.name);
    field->setFont(item.font());
    field->setTextMargins(0, 0, 0, 0);
    placeAt(*field, placeOf(twips, item), grow);
    return field;
}

QTextEdit* addTextBox(QWidget* page, const Twips& twips, const layout::Item& item) {
    auto* box = new QTextEdit(page);
    box->setObjectName(item.name);
    box->setFont(item.font());
    box->setAcceptRichText(false);
    box->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    box->setTabChangesFocus(true);
    box->document()->setDocumentMargin(layout::kBoxDocumentMargin);
    box->setGeometry(placeOf(twips, item));
    setLinePitch(*box->document(), linePitch(box->font()));
    return box;
}

QPushButton* addButton(QWidget* page, const Twips& twips, const layout::Item& item) {
    const QString caption = toQString(item.caption);
    auto* button = new QPushButton(caption, page);
    button->setObjectName(item.name);
    button->setAccessibleName(caption.trimmed());  // " 打印" is read as 打印
    button->setFont(item.font());
    button->setAutoDefault(true);  // Enter presses the button with the focus
    button->setGeometry(placeOf(twips, item));
    return button;
}

QString askPdfFileName(QWidget* parent, const QString& offered) {
    QFileDialog dialog(parent, u"另存为PDF"_s, offered, u"PDF 文件 (*.pdf)"_s);
    dialog.setObjectName("savePdfDialog");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(u"pdf"_s);
    // The dialog itself asks before it lets an existing file be replaced.
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

// Saves the page as a PDF file, over whatever the user chose to replace.
// Returns what went wrong, or nothing.
QString savePdf(const QString& path, const ReportContent& content) {
    const QByteArray pdf = reportPdf(content);
    if (pdf.isEmpty()) return u"无法生成PDF文档。"_s;
    return writePdfFile(path, pdf, true).reason;
}

// The typed characters no installed face draws, each with the text it stands
// in and that text's heading: 会员姓名“李𠮷”中的“𠮷”; empty when there are none.
QString undrawnCharacters(const ReportContent& content) {
    QStringList parts;
    for (const UndrawableText& undrawable : undrawableTexts(content)) {
        QStringList characters;
        for (qsizetype i = 0; i < undrawable.characters.size(); ++i) {
            const qsizetype length = undrawable.characters[i].isHighSurrogate() ? 2 : 1;
            characters.append(u"“%1”"_s.arg(undrawable.characters.mid(i, length)));
            i += length - 1;
        }
        parts.append(
            u"%1“%2”中的%3"_s.arg(undrawable.heading, undrawable.text, characters.join(u'、')));
    }
    if (parts.isEmpty()) return {};
    return u"%1在报告上是空白：没有已安装的字体能显示，请在纸上用笔补写。"_s.arg(parts.join(u'；'));
}

// A warning over the window with a 确定 button, gone once it is closed; the
// caller opens it (window-modal, so the program goes on).
QMessageBox* warningBox(QWidget* parent, const char* name, const QString& title,
                        const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    box->setObjectName(name);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->button(QMessageBox::Ok)->setText(u"确定"_s);
    return box;
}

// Screen readers announce a text box by the heading above it.
void nameByHeading(QWidget& box, QLabel& heading) {
    box.setAccessibleName(heading.text());
    heading.setBuddy(&box);
}

}  // namespace

ReportWindow::ReportWindow(QWidget* parent) : PageWindow(parent), askFileName_(askPdfFileName) {
    setObjectName("form2");
    setWindowTitle(toQString(layout::kTitle));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(plainFace());
    const Twips twips(*this);
    setPageSize(twips.size(layout::kWidth, layout::kHeight));
    addRulingLines(twips);
    addParticulars(twips);
    addResultBoxes(twips);
    addFooter(twips);
    // Rare characters of a typed text show as they print.
    for (QLineEdit* field : {name_, sex_, age_, signature_}) drawWithSubstituteFaces(*field);
    setDate(QDate::currentDate());
    connect(printButton_, &QPushButton::clicked, this, &ReportWindow::print);
    connect(cancelButton_, &QPushButton::clicked, this, &ReportWindow::cancel);
    setEscapeAction([this] { cancel(); });  // Esc does what 取消 does
    addSaveAction();
    connect(&printJob_, &PrintJob::finished, this, &ReportWindow::finishPrint);
}

// 另存为PDF… without a failed print and without changing the designed page:
// Ctrl+S anywhere in the window, and the context menu of the page itself
// (the text fields keep their own).
void ReportWindow::addSaveAction() {
    auto* save = new QAction(u"另存为PDF…(&S)"_s, page());
    save->setObjectName("savePdfAction");
    save->setShortcut(QKeySequence::Save);
    save->setShortcutContext(Qt::WindowShortcut);
    connect(save, &QAction::triggered, this, [this] { saveAsPdf(content()); });
    page()->addAction(save);
    page()->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void ReportWindow::addRulingLines(const Twips& twips) {
    for (std::size_t i = 0; i < layout::kRulings.size(); ++i) {
        const layout::Ruling& ruling = layout::kRulings[i];
        auto* line = new QFrame(page());
        line->setObjectName(u"Line%1"_s.arg(i + 1));
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
    QLabel* nameHeading = addLabel(page(), twips, layout::kNameHeading);
    name_ = addField(page(), twips, layout::kName);
    QLabel* sexHeading = addLabel(page(), twips, layout::kSexHeading);
    sex_ = addField(page(), twips, layout::kSex);
    QLabel* ageHeading = addLabel(page(), twips, layout::kAgeHeading);
    age_ = addField(page(), twips, layout::kAge);
    addLabel(page(), twips, layout::kDateHeading);
    dateLabel_ = addLabel(page(), twips, layout::kDate);
    nameByHeading(*name_, *nameHeading);
    nameByHeading(*sex_, *sexHeading);
    nameByHeading(*age_, *ageHeading);
}

// The introduction and the three result boxes under their headings.
void ReportWindow::addResultBoxes(const Twips& twips) {
    const QString introductionText = toQString(layout::kIntroductionText);
    auto* introduction = new Paragraph(introductionText, page());
    introduction->setObjectName(layout::kIntroduction.name);
    introduction->setAccessibleName(introductionText.trimmed());  // without its indent
    introduction->setFont(layout::kIntroduction.font());
    placeAt(*introduction, placeOf(twips, layout::kIntroduction));
    for (Box box : kReportBoxes) {
        const layout::ResultPlace& place = layout::kResults[box];
        QLabel* heading = addLabel(page(), twips, place.heading, toQString(corvane::heading(box)));
        resultBoxes_[box] = addTextBox(page(), twips, place.text);
        nameByHeading(*resultBoxes_[box], *heading);
    }
}

// The buttons, and the signature on its line with the date under it.
void ReportWindow::addFooter(const Twips& twips) {
    printButton_ = addButton(page(), twips, layout::kPrintButton);
    cancelButton_ = addButton(page(), twips, layout::kCancelButton);
    signature_ = addField(page(), twips, layout::kSignature, layout::kSignatureText, Grow::Up);
    signatureDateLabel_ = addLabel(page(), twips, layout::kSignatureDate);
    // The signature is a line of the page, not a box to fill in.
    signature_->setFrame(false);
    QPalette palette = signature_->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    signature_->setPalette(palette);
    signature_->setAccessibleName(u"签名"_s);
}

void ReportWindow::setDate(const QDate& date) {
    date_ = date;
    const QString text = reportDateText(date);
    dateLabel_->setText(text);
    signatureDateLabel_->setText(text);
}

void ReportWindow::showDiagnosis(const Evaluation& evaluation, const QDate& today) {
    setDate(today);
    showButtons();
    for (Box box : kReportBoxes) setResult(box, toQString(evaluation.text(box)));
    bringToFront(*this);
    // The next member's name can be typed at once.
    if (name_->text().trimmed().isEmpty()) name_->setFocus(Qt::OtherFocusReason);
}

ReportContent ReportWindow::content() const {
    ReportContent content;
    content.name = name_->text();
    content.sex = sex_->text();
    content.age = age_->text();
    content.date = date_;
    content.signature = signature_->text();
    for (Box box : kReportBoxes) content.results[box] = result(box);
    return content;
}

void ReportWindow::setResult(Box box, const QString& text) {
    QTextEdit* edit = resultBoxes_[box];
    edit->setPlainText(text);
    setLinePitch(*edit->document(), linePitch(edit->font()));
}

QString ReportWindow::result(Box box) const {
    return resultBoxes_[box]->toPlainText();
}

void ReportWindow::showButtons() {
    printButton_->show();
    cancelButton_->show();
}

// Prints the page, which never shows the buttons; they stay hidden after a
// good print, as on paper, and come back when it fails.
void ReportWindow::print() {
    if (isPrinting()) return;
    // The hidden button's focus goes to the window itself rather than on to
    // the next field, where a keystroke would replace the selected text.
    if (printButton_->hasFocus() || cancelButton_->hasFocus()) setFocus(Qt::OtherFocusReason);
    printButton_->hide();
    cancelButton_->hide();
    setCursor(Qt::BusyCursor);
    printJob_.start(content());
}

void ReportWindow::finishPrint(const PrintResult& result, const ReportContent& printed) {
    unsetCursor();
    if (!result.printed()) {
        showButtons();
        showPrintProblem(result, printed);
    } else if (const QString undrawn = undrawnCharacters(printed); !undrawn.isEmpty()) {
        warningBox(this, "undrawnCharacters", u"打印"_s, undrawn)->open();
    }
    emit printFinished();
}

// Whatever went wrong, the page can still leave as a PDF file: the page of
// the report that was printed, even once the window shows the next member's.
void ReportWindow::showPrintProblem(const PrintResult& result, const ReportContent& printed) {
    const QString undrawn = undrawnCharacters(printed);
    QMessageBox* box =
        warningBox(this, "printProblem", u"打印"_s,
                   printProblem(result) + (undrawn.isEmpty() ? u""_s : u"\n\n"_s) + undrawn);
    QPushButton* save = box->addButton(u"另存为PDF…"_s, QMessageBox::AcceptRole);
    save->setObjectName("saveAsPdf");
    box->setDefaultButton(save);
    box->setEscapeButton(box->button(QMessageBox::Ok));
    // Asked once the message has closed.
    connect(
        save, &QPushButton::clicked, this, [this, printed] { saveAsPdf(printed); },
        Qt::QueuedConnection);
    box->open();
}

void ReportWindow::saveAsPdf(const ReportContent& report) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString offered = QDir(folder).filePath(reportFileName(report.name, report.date));
    // A name typed without the extension gets it, whichever dialog asked.
    const QString path = pdfFilePath(askFileName_(this, offered));
    if (path.isEmpty()) return;
    if (const QString problem = savePdf(path, report); !problem.isEmpty()) {
        warningBox(this, "saveProblem", u"另存为PDF"_s,
                   u"无法保存PDF文件 %1：%2"_s.arg(QDir::toNativeSeparators(path), problem))
            ->open();
    } else if (const QString undrawn = undrawnCharacters(report); !undrawn.isEmpty()) {
        warningBox(this, "undrawnCharacters", u"另存为PDF"_s, undrawn)->open();
    }
}

// 取消 hides the report and empties the diagnosis; everything else stays.
void ReportWindow::cancel() {
    hide();
    resultBoxes_[Box::Diagnosis]->clear();
}

}  // namespace corvane
