#include "report/faces.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>
#include <QStringList>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace corvane {

using namespace Qt::StringLiterals;

namespace {

QFont fontOf(const QStringList& families, qreal pointSize) {
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    return font;
}

}  // namespace

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
    for (const Face each : {Face::Heiti, Face::Kaiti, Face::Songti}) {
        const QRawFont font = QRawFont::fromFont(face(each, 12), QFontDatabase::SimplifiedChinese);
        // Qt's stand-in that draws boxes has no font tables and claims every character.
        if (font.fontTable("cmap").isEmpty() || !font.supportsCharacter(U'诊')) return false;
    }
    return true;
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
