#pragma once

class QLineEdit;

namespace corvane {

// Draws the characters of the field's text that its face cannot draw (a rare
// character its face lacks, or claims and leaves blank) with an installed
// face that can, as the printed page does, whenever the text changes.
void drawWithSubstituteFaces(QLineEdit& field);

}  // namespace corvane
