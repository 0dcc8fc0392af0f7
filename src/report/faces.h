#pragma once

#include <QFont>
#include <QList>
#include <QTextLayout>

class QTextDocument;

namespace corvane {

// The three Chinese type faces of the report and the windows. Each names the
// Windows face first and then the nearest free face of the same role, so every system
// uses the best one it has.
QFont heiti(qreal pointSize);   // bold-looking headings (黑体)
QFont kaiti(qreal pointSize);   // brush script of the result boxes (楷体_GB2312)
QFont songti(qreal pointSize);  // regular text (宋体)

enum class Face { Heiti, Kaiti, Songti };
QFont face(Face face, qreal pointSize);

// Whether an installed font writes Simplified Chinese, so that the three
// faces draw their text. Without one Qt draws a box for each character, so a
// page made then has no text on it.
bool facesDrawChinese();

// A face may not draw a character of a typed text: it lacks it, or it claims
// it and draws nothing (AR PL UKai has blank glyphs for rare characters such
// as 䶮). Such a character is drawn with an installed face that really draws
// it: these are the ranges of the text to draw with another face, as formats
// of a text layout in `font`.
QList<QTextLayout::FormatRange> substituteFaces(const QString& text, const QFont& font);

// The characters of the text, each once, that no installed face draws.
QString undrawableCharacters(const QString& text, const QFont& font);

// The distance between lines of wrapped text in a face: the Windows faces set
// lines one em apart, the free ones much wider, so the report's boxes would
// hold fewer lines than they were drawn for. One em and a pixel keeps them.
int linePitch(const QFont& font);
void setLinePitch(QTextDocument& document, int pitch);

// The same pitch on paper, in twips (20 to the point): one em and one pixel of
// a 96-dpi screen, so a printed box breaks its lines where the window does.
constexpr int linePitchTwips(qreal pointSize) {
    return static_cast<int>(pointSize * 20 + 0.5) + 15;
}

}  // namespace corvane
