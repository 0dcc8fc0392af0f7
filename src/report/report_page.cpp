#include "report/report_page.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>
#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>

#include "report/faces.h"
#include "report/report_content.h"
#include "report/report_layout.h"
#include "report/utf8.h"

namespace corvane {

using namespace Qt::StringLiterals;

namespace layout = report_layout;

namespace {

// Inside a field the text keeps two pixels from the left edge, as in a line edit.
constexpr int kFieldInset = 30;
// A ruling line is one pixel of a 96-dpi screen.
constexpr int kRulingWidth = 15;
// The width a line of a one-line text is laid out in: more than any page.
constexpr int kUnbounded = 1 << 20;

// A typed particular wraps in its room at its designed size over as many
// lines as the header has room for; a longer one at the smallest legible
// size over at most a few more lines, which grow the header; past them it is
// cut, ending in "…". A pasted paragraph is cut before it is laid out.
constexpr int kHeaderLines = 2;
constexpr qreal kSmallestPoints = 8;
constexpr int kMostParticularLines = 36;
constexpr qsizetype kMostParticularCharacters = 2000;
// The header keeps clear of the ruling line under it by this much.
constexpr int kHeaderClearance = 60;

// The face of an item at its size on paper: in twips, 20 to the point.
QFont paperFont(const layout::Item& item, qreal scale = 1.0, qreal points = 0) {
    QFont font = item.font();
    const qreal size = points > 0 ? points : item.points;
    font.setPixelSize(std::max(1, static_cast<int>(size * 20 * scale)));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// The text up to the most characters a particular keeps, never half of one.
QString keptOf(const QString& typed) {
    const qsizetype kept = typed.size() > kMostParticularCharacters &&
                                   typed[kMostParticularCharacters - 1].isHighSurrogate()
                               ? kMostParticularCharacters - 1
                               : kMostParticularCharacters;
    return typed.left(kept);
}

// A one-line field shows no line breaks or other control characters.
QString oneLine(QString text) {
    for (QChar& c : text) {
        if (c.category() == QChar::Other_Control) c = u' ';
    }
    return text;
}

}  // namespace

// One thing the page shows: a text laid out in lines, or a ruling line.
struct ReportPage::Block {
    QString name;
    QRect rect;
    QStringList lines;
    std::vector<std::unique_ptr<QTextLayout>> paragraphs;
    QPointF origin;  // where the paragraphs' lines are positioned from
    QLine ruling;
    bool cut = false;  // a typed particular too long to show whole

    // Lays the text out from the origin: wrapped at width with lines pitch
    // apart, or in one unwrapped line when pitch is 0. A typed text draws the
    // characters its face cannot draw with a face that can. Returns the
    // height the lines take.
    int layOut(const QString& text, const QFont& font, int width, int pitch, bool typed = false) {
        QTextOption option;
        option.setWrapMode(pitch > 0 ? QTextOption::WrapAtWordBoundaryOrAnywhere
                                     : QTextOption::NoWrap);
        qreal y = 0;
        qreal bottom = 0;
        for (const QString& paragraph : text.split(u'\n')) {
            auto laid = std::make_unique<QTextLayout>(paragraph, font);
            laid->setTextOption(option);
            laid->setCacheEnabled(true);
            if (typed) laid->setFormats(substituteFaces(paragraph, font));
            laid->beginLayout();
            for (QTextLine line = laid->createLine(); line.isValid(); line = laid->createLine()) {
                line.setLineWidth(pitch > 0 ? width : kUnbounded);
                line.setPosition(QPointF(0, y));
                lines.append(paragraph.mid(line.textStart(), line.textLength()));
                bottom = std::max(bottom, y + line.height());
                y += pitch > 0 ? pitch : line.height();
            }
            laid->endLayout();
            paragraphs.push_back(std::move(laid));
        }
        return static_cast<int>(std::ceil(std::max(y, bottom)));
    }

    qreal ascent() const { return paragraphs.front()->lineAt(0).ascent(); }
    qreal baseline() const { return origin.y() + ascent(); }

    qreal naturalWidth() const {
        qreal widest = 0;
        for (const auto& paragraph : paragraphs) {
            for (int i = 0; i < paragraph->lineCount(); ++i) {
                widest = std::max(widest, paragraph->lineAt(i).naturalTextWidth());
            }
        }
        return widest;
    }
};

namespace {

using BlockPtr = std::unique_ptr<ReportPage::Block>;

BlockPtr newBlock(const layout::Item& item, int shift) {
    auto block = std::make_unique<ReportPage::Block>();
    block->name = toQString(item.name);
    block->rect = QRect(item.rect.left, item.rect.top + shift, item.rect.width, item.rect.height);
    return block;
}

// A label: its text from the top left of its place; it takes what its text takes.
BlockPtr label(const layout::Item& item, const QString& text, int shift) {
    BlockPtr block = newBlock(item, shift);
    block->origin = block->rect.topLeft();
    const int height = block->layOut(text, paperFont(item), 0, 0);
    const int width = static_cast<int>(std::ceil(block->naturalWidth()));
    block->rect.setSize(QSize(std::max(width, 1), height));
    return block;
}

// A one-line field, the signature: its text centred on the field's height;
// made smaller when it is wider than the field, so that it still shows whole.
BlockPtr oneLineField(const layout::Item& item, const QString& typed, int shift) {
    const QString text = oneLine(typed);
    const int room = item.rect.width - kFieldInset;
    BlockPtr block = newBlock(item, shift);
    int height = block->layOut(text, paperFont(item), 0, 0, true);
    if (const qreal width = block->naturalWidth(); width > room) {
        block = newBlock(item, shift);
        height = block->layOut(text, paperFont(item, room / width), 0, 0, true);
    }
    const int top = block->rect.top() + (block->rect.height() - height) / 2;
    block->origin = QPointF(block->rect.left() + kFieldInset, top);
    block->rect = block->rect.united(QRect(block->rect.left(), top, block->rect.width(), height));
    return block;
}

BlockPtr wrappedLine(const layout::Item& item, const QString& text, qreal points, int room) {
    BlockPtr block = newBlock(item, 0);
    block->layOut(text, paperFont(item, 1.0, points), room, linePitchTwips(points), true);
    return block;
}

// The text of the first lines, shortened until it ends in "…" within as
// many lines at the smallest size.
BlockPtr cutToLines(const layout::Item& item, const QString& text, int room, int lines) {
    const BlockPtr whole = wrappedLine(item, text, kSmallestPoints, room);
    const QTextLine last = whole->paragraphs.front()->lineAt(lines - 1);
    QString kept = text.left(last.textStart() + last.textLength());
    for (;;) {
        kept.chop(kept.size() > 1 && kept.back().isLowSurrogate() ? 2 : 1);
        BlockPtr block = wrappedLine(item, kept + u'…', kSmallestPoints, room);
        if (block->lines.size() <= lines || kept.isEmpty()) {
            block->cut = true;
            return block;
        }
    }
}

// The name, sex or age typed in, on the baseline of its heading and wrapped
// in the room up to the next heading on the line.
BlockPtr particular(const layout::Item& item, const QString& typed, int roomRight, qreal baseline) {
    const int room = roomRight - item.rect.left - kFieldInset;
    const QString text = oneLine(keptOf(typed));
    qreal points = item.points;
    BlockPtr block = wrappedLine(item, text, points, room);
    if (block->lines.size() > kHeaderLines) {
        points = kSmallestPoints;
        block = wrappedLine(item, text, points, room);
    }
    if (block->lines.size() > kMostParticularLines) {
        block = cutToLines(item, text, room, kMostParticularLines);
    }
    const int top = static_cast<int>(std::floor(baseline - block->ascent()));
    const int height = static_cast<int>(block->lines.size()) * linePitchTwips(points);
    block->origin = QPointF(block->rect.left() + kFieldInset, top);
    block->rect = block->rect.united(QRect(block->rect.left(), top, room + kFieldInset, height));
    return block;
}

// The typed particulars beside their headings, each with its room.
struct Particular {
    const char* key;
    const layout::Item* heading;
    const layout::Item* field;
    QString ReportContent::*text;
    int roomRight;  // where the next heading on the line starts
};
constexpr std::array<Particular, 3> kParticulars = {{
    {"name", &layout::kNameHeading, &layout::kName, &ReportContent::name,
     layout::kSexHeading.rect.left},
    {"sex", &layout::kSexHeading, &layout::kSex, &ReportContent::sex,
     layout::kAgeHeading.rect.left},
    {"age", &layout::kAgeHeading, &layout::kAge, &ReportContent::age,
     layout::kDateHeading.rect.left},
}};

// The heading and the typed text of a particular.
std::pair<BlockPtr, BlockPtr> particularBlocks(const Particular& place,
                                               const ReportContent& content) {
    BlockPtr heading = label(*place.heading, toQString(place.heading->caption), 0);
    BlockPtr typed =
        particular(*place.field, content.*place.text, place.roomRight, heading->baseline());
    return {std::move(heading), std::move(typed)};
}

// Wrapped text inset by margin on every side, lines pitch apart; the block
// grows downward as far as the text needs.
BlockPtr wrapped(const layout::Item& item, const QString& text, int margin, int shift) {
    BlockPtr block = newBlock(item, shift);
    block->origin = block->rect.topLeft() + QPoint(margin, margin);
    const int height = block->layOut(text, paperFont(item), item.rect.width - 2 * margin,
                                     linePitchTwips(item.points));
    block->rect.setHeight(std::max(block->rect.height(), height + 2 * margin));
    return block;
}

BlockPtr ruling(int index, const layout::Ruling& line, int shift) {
    auto block = std::make_unique<ReportPage::Block>();
    block->name = u"Line%1"_s.arg(index + 1);
    block->rect = QRect(line.left, line.top + shift, line.right - line.left, kRulingWidth);
    const int y = block->rect.top() + kRulingWidth / 2;
    block->ruling = QLine(line.left, y, line.right, y);
    return block;
}

}  // namespace

ReportPage::ReportPage(const ReportContent& content) {
    // The particulars first: what they need beyond the header's room moves
    // everything under the header, and what each result box grows moves
    // everything under it.
    std::vector<BlockPtr> header;
    int headerBottom = 0;
    for (const Particular& place : kParticulars) {
        auto [heading, typed] = particularBlocks(place, content);
        headerBottom = std::max(headerBottom, typed->rect.bottom());
        header.push_back(std::move(heading));
        header.push_back(std::move(typed));
    }
    const int headerGrowth = std::max(0, headerBottom + kHeaderClearance - layout::kRulings[1].top);
    PerBox<int> growth;
    PerBox<BlockPtr> boxes;
    int shift = headerGrowth;
    for (Box box : kReportBoxes) {
        const layout::Item& text = layout::kResults[box].text;
        boxes[box] = wrapped(text, content.results[box], layout::kBoxInset, shift);
        growth[box] = boxes[box]->rect.height() - text.rect.height;
        shift += growth[box];
    }
    const auto shiftAt = [&](int top) {
        int by = top >= layout::kRulings[1].top ? headerGrowth : 0;
        for (Box box : kReportBoxes) {
            if (top >= layout::kResults[box].text.rect.bottom()) by += growth[box];
        }
        return by;
    };

    for (std::size_t i = 0; i < layout::kRulings.size(); ++i) {
        blocks_.push_back(
            ruling(static_cast<int>(i), layout::kRulings[i], shiftAt(layout::kRulings[i].top)));
    }
    for (BlockPtr& block : header) blocks_.push_back(std::move(block));
    const QString date = reportDateText(content.date);
    blocks_.push_back(label(layout::kDateHeading, toQString(layout::kDateHeading.caption), 0));
    blocks_.push_back(label(layout::kDate, date, 0));
    blocks_.push_back(wrapped(layout::kIntroduction, toQString(layout::kIntroductionText), 0,
                              shiftAt(layout::kIntroduction.rect.top)));
    for (Box box : kReportBoxes) {
        const layout::Item& heading = layout::kResults[box].heading;
        blocks_.push_back(
            label(heading, toQString(corvane::heading(box)), shiftAt(heading.rect.top)));
        blocks_.push_back(std::move(boxes[box]));
    }
    blocks_.push_back(
        oneLineField(layout::kSignature, content.signature, shiftAt(layout::kSignature.rect.top)));
    blocks_.push_back(
        label(layout::kSignatureDate, date, shiftAt(layout::kSignatureDate.rect.top)));
    size_ = QSize(layout::kWidth, layout::kHeight + shift);
}

ReportPage::~ReportPage() = default;

std::vector<ReportPage::Item> ReportPage::items() const {
    std::vector<Item> items;
    for (const auto& block : blocks_) items.push_back({block->name, block->rect, block->lines});
    return items;
}

void ReportPage::paint(QPainter& painter) const {
    painter.save();
    painter.setPen(QPen(Qt::black, kRulingWidth, Qt::SolidLine, Qt::FlatCap));
    for (const auto& block : blocks_) {
        if (!block->ruling.isNull()) painter.drawLine(block->ruling);
        for (const auto& paragraph : block->paragraphs) paragraph->draw(&painter, block->origin);
    }
    painter.restore();
}

bool ReportPage::drawOn(QPagedPaintDevice& device) const {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const qreal perTwipX = device.logicalDpiX() / 1440.0;
    const qreal perTwipY = device.logicalDpiY() / 1440.0;
    const qreal fit = std::min({1.0, device.width() / (size_.width() * perTwipX),
                                device.height() / (size_.height() * perTwipY)});
    painter.translate((device.width() - size_.width() * perTwipX * fit) / 2, 0);
    painter.scale(perTwipX * fit, perTwipY * fit);
    paint(painter);
    return painter.end();
}

bool nameIsCut(const ReportContent& content) {
    return particularBlocks(kParticulars.front(), content).second->cut;
}

std::vector<UndrawableText> undrawableTexts(const ReportContent& content) {
    std::vector<UndrawableText> found;
    const auto check = [&found](const layout::Item& item, const char* field, const QString& heading,
                                const QString& text) {
        const QString shown = keptOf(text);
        QString characters = undrawableCharacters(shown, paperFont(item));
        if (!characters.isEmpty()) found.push_back({field, heading, shown, std::move(characters)});
    };
    for (const Particular& place : kParticulars) {
        check(*place.field, place.key, toQString(place.heading->caption), content.*place.text);
    }
    check(layout::kSignature, "signature", u"签名"_s, content.signature);
    return found;
}

QPageLayout a4Paper() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

QByteArray reportPdf(const ReportContent& content, const QPageLayout& paper) {
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(paper);
        writer.setTitle(reportTitle(content.name, content.date));
        writer.setCreator(u"Corvane"_s);
        if (!ReportPage(content).drawOn(writer)) return {};
    }
    return pdf;
}

}  // namespace corvane
