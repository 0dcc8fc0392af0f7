#include "gui/faces.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>
#include <QStringList>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace corvane {

namespace {

QFont face(const QStringList& families, qreal pointSize) {
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    return font;
}

}  // namespace

QFont heiti(qreal pointSize) {
    return face({"SimHei", "黑体", "WenQuanYi Zen Hei", "Noto Sans CJK SC", "Droid Sans Fallback"},
                pointSize);
}

QFont kaiti(qreal pointSize) {
    return face(
        {"KaiTi_GB2312", "楷体_GB2312", "KaiTi", "楷体", "AR PL UKai CN", "AR PL KaitiM GB"},
        pointSize);
}

QFont songti(qreal pointSize) {
    return face({"SimSun", "宋体", "NSimSun", "AR PL UMing CN", "Noto Serif CJK SC"}, pointSize);
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

QFont plainFace() {
    return songti(9);
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
