#include "report/faces.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QPainterPath>
#include <QRawFont>
#include <QStringList>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <map>
#include <mutex>
#include <optional>

namespace corvane {

using namespace Qt::StringLiterals;

namespace {

QFont fontOf(const QStringList& families, qreal pointSize) {
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
#ifndef _WIN32
    // Otherwise FreeType's auto-hinter goes over every glyph of the free Song
    // and Kai faces, once to measure it and once to draw it: for the two
    // hundred characters of the questionnaire, a seventh of the start-up.
    // Text is laid out by the faces' design widths either way, so every
    // control keeps its size and place; WenQuanYi asks for no hinting in its
    // own fontconfig settings, and the printed page has none. (On Windows Qt
    // would take the preference as a reason to change its font engine.)
    font.setHintingPreference(QFont::PreferNoHinting);
#endif
    return font;
}

// Whether the face draws the character with ink: it maps it to a glyph that
// has an outline. (Windows gives a blank glyph a bounding box of a pixel.)
bool inks(const QRawFont& face, char32_t character) {
    if (!face.isValid() || !face.supportsCharacter(character)) return false;
    const QList<quint32> glyphs = face.glyphIndexesForString(QString::fromUcs4(&character, 1));
    return !glyphs.isEmpty() && glyphs.front() != 0 && !face.pathForGlyph(glyphs.front()).isEmpty();
}

// Blanks and invisible characters draw no ink in any face.
bool needsInk(char32_t character) {
    const QChar::Category category = QChar::category(character);
    return !QChar::isSpace(character) && category != QChar::Other_Control &&
           category != QChar::Other_Format;
}

// The family that draws the character in place of the font's face: none
// (an empty name) when the face itself does, nothing when no installed face does.
std::optional<QString> drawingFamily(const QFont& font, char32_t character) {
    if (!needsInk(character) || inks(QRawFont::fromFont(font), character)) {
        return QString();
    }
    QStringList candidates = font.families();
    candidates.append(QFontDatabase::families());
    for (const QString& family : candidates) {
        QFont other(family);
        other.setPixelSize(64);
        const QRawFont face = QRawFont::fromFont(other);
        if (face.familyName() == family && inks(face, character)) return family;
    }
    return std::nullopt;
}

// What drawingFamily() found, asked once for each face and character: a page
// of a batch asks on any thread, a window field at every key.
std::optional<QString> cachedDrawingFamily(const QFont& font, char32_t character) {
    static std::mutex mutex;
    static std::map<std::pair<QString, char32_t>, std::optional<QString>> found;
    const std::pair key{font.families().join(u','), character};
    {
        const std::lock_guard lock(mutex);
        if (const auto known = found.find(key); known != found.end()) return known->second;
    }
    std::optional<QString> family = drawingFamily(font, character);
    const std::lock_guard lock(mutex);
    return found.try_emplace(key, std::move(family)).first->second;
}

// Calls back with each character of the text, its place and its length in UTF-16.
template <typename Each>
void forEachCharacter(const QString& text, Each each) {
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2
                                                                                             : 1;
        each(length == 2 ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode(), i,
             length);
        i += length;
    }
}

}  // namespace

QList<QTextLayout::FormatRange> substituteFaces(const QString& text, const QFont& font) {
    QList<QTextLayout::FormatRange> ranges;
    forEachCharacter(text, [&](char32_t character, qsizetype at, qsizetype length) {
        const std::optional<QString> family = cachedDrawingFamily(font, character);
        if (!family || family->isEmpty()) return;
        QTextLayout::FormatRange range;
        range.start = static_cast<int>(at);
        range.length = static_cast<int>(length);
        range.format.setFontFamilies(QStringList{*family});
        ranges.append(range);
    });
    return ranges;
}

QString undrawableCharacters(const QString& text, const QFont& font) {
    QString characters;
    forEachCharacter(text, [&](char32_t character, qsizetype at, qsizetype length) {
        const QStringView one = QStringView(text).mid(at, length);
        if (!cachedDrawingFamily(font, character) && !characters.contains(one)) {
            characters.append(one);
        }
    });
    return characters;
}

QFont heiti(qreal pointSize) {
    return fontOf({u"SimHei"_s, u"黑体"_s, u"WenQuanYi Zen Hei"_s, u"Noto Sans CJK SC"_s,
                   u"Droid Sans Fallback"_s},
                  pointSize);
}

QFont kaiti(qreal pointSize) {
    return fontOf({u"KaiTi_GB2312"_s, u"楷体_GB2312"_s, u"KaiTi"_s, u"楷体"_s, u"AR PL UKai CN"_s,
                   u"AR PL KaitiM GB"_s},
                  pointSize);
}

QFont songti(qreal pointSize) {
    return fontOf(
        {u"SimSun"_s, u"宋体"_s, u"NSimSun"_s, u"AR PL UMing CN"_s, u"Noto Serif CJK SC"_s},
        pointSize);
}

QFont face(Face face, qreal pointSize) {
    switch (face) {
        case Face::Heiti: return heiti(pointSize);
        case Face::Kaiti: return kaiti(pointSize);
        case Face::Songti: return songti(pointSize);
    }
    return songti(pointSize);
}

bool facesDrawChinese() {
    // Each face's families end with ones of the free packages, and where none
    // of them is installed fontconfig (or Windows) gives the face another
    // family that writes Chinese; asking the font database costs nothing at
    // start-up, unlike opening the three faces' character maps.
    return !QFontDatabase::families(QFontDatabase::SimplifiedChinese).isEmpty();
}

int linePitch(const QFont& font) {
    return QFontInfo(font).pixelSize() + 1;
}

void setLinePitch(QTextDocument& document, int pitch) {
    QTextBlockFormat format;
    format.setLineHeight(pitch, QTextBlockFormat::FixedHeight);
    QTextCursor cursor(&document);
    cursor.select(QTextCursor::Document);
    cursor.mergeBlockFormat(format);
}

}  // namespace corvane
