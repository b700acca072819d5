// Kannada text in a PDF file that a reader can search and copy as Unicode.
//
// A PDF reader finds the text behind a glyph through the font's character map, and the shaped
// glyphs of Kannada (a consonant with its vowel sign, a conjunct, a repha) are in no character
// map: drawn as they are, most names come back with letters missing. So the text is drawn
// twice, in the same place: the shaped glyphs, seen, from a copy of their font that has no
// character map (they stand for no text), and the plain glyph of each character, unseen,
// from the font itself (each stands for its character). The reader shows the first and reads
// the second.
#pragma once

#include <QPointF>
#include <QString>

class QFont;
class QPainter;
class QPaintDevice;

namespace SearchableText {

// Whether text painted on the device ends up in a PDF file.
bool isPdf(const QPaintDevice *device);

// Draws one line of text whose baseline starts at `at`. False, with nothing drawn, when the
// font's copy cannot be made (the caller then draws the text as it is).
bool draw(QPainter &painter, const QPointF &at, const QString &text, const QFont &font);

}  // namespace SearchableText
