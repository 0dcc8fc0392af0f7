#pragma once

#include <QByteArray>
#include <QPageLayout>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace corvane {

struct ReportContent;

// The report window's layout drawn from its content, as a document: text as
// text, the ruling lines, and no controls. Each result box holds its whole
// text, wrapped as in the window, and grows downward as far as the text needs;
// everything under it moves down as much.
class ReportPage {
public:
    explicit ReportPage(const ReportContent& content);
    ~ReportPage();
    ReportPage(const ReportPage&) = delete;
    ReportPage& operator=(const ReportPage&) = delete;

    // The page in twips: the window's width, and its height with the growth.
    QSize size() const { return size_; }

    // What the page shows, in twips: each control by its designer name (a
    // ruling line as Line1 ... Line7), the rectangle it takes (a label its
    // text's, a field or box at least its designed one) and its text as
    // broken into lines.
    struct Item {
        QString name;
        QRect rect;
        QStringList lines;
    };
    std::vector<Item> items() const;

    // Draws the page with its top left at the painter's origin, one twip a unit.
    void paint(QPainter& painter) const;

    // Draws the page on the device's current page: true size, centred across
    // the printable area, scaled down as a whole when it is larger. False when
    // the device could not be painted on or finished with an error.
    bool drawOn(QPagedPaintDevice& device) const;

    struct Block;  // one text or line as laid out, kept for drawing

private:
    std::vector<std::unique_ptr<Block>> blocks_;
    QSize size_;
};

// Whether the page shows the typed name cut short, ending in "…": a name
// longer than a few lines at the smallest size the page prints it in.
bool nameIsCut(const ReportContent& content);

// A typed text of the page, by its field (name, sex, age, signature) and
// heading (会员姓名, 性别, 年龄, 签名), and those of its characters, each
// once, that no installed face draws: the page shows them blank.
struct UndrawableText {
    const char* field;
    QString heading;
    QString text;
    QString characters;
};
std::vector<UndrawableText> undrawableTexts(const ReportContent& content);

// A4 with 10 mm margins: the paper of a report saved as PDF.
QPageLayout a4Paper();

// The page as a one-page PDF document on the paper given; empty if it could
// not be made.
QByteArray reportPdf(const ReportContent& content, const QPageLayout& paper = a4Paper());

}  // namespace corvane
