// Glyph-code text on screen: how a string of glyph codes shows as Kannada script, where its
// syllables begin and end, and the editing rules every glyph box shares.
//
// The stored form of a Kannada value is a QString of glyph codes (U+0000-U+00FF). What a person
// sees is its Unicode form through the library's bridge. A syllable is the shortest run of
// glyph codes that converts on its own (the text splits there without changing what shows), so
// the cursor moves by whole syllables while the keyboard engine still types and takes back
// single glyph codes.
#pragma once

#include <QFont>
#include <QString>
#include <QVector>

namespace GlyphText {

// The Kannada font glyph text shows in.
QFont font(qreal pointSize = 11.0);

// Unicode form of glyph text (the glyph codes themselves when the bridge is absent).
QString toDisplay(const QString &glyphs);
// Glyph codes of Unicode text (e.g. pasted). Without the bridge only Latin-1 survives.
QString fromDisplay(const QString &text);
// The characters of Unicode text that glyph text cannot hold, in text order (none: fromDisplay
// keeps the whole text).
QList<char32_t> unheld(const QString &text);

// Glyph text with its syllable boundaries: glyphBounds[i] in the glyph string corresponds to
// displayBounds[i] in the display string. Both start with 0 and end with the lengths.
struct Layout {
    QString display;
    QVector<int> glyphBounds;
    QVector<int> displayBounds;

    // Display position of a glyph position (inside a syllable: the syllable's end).
    int displayPos(int glyphPos) const;
    // Glyph position of the boundary nearest a display position.
    int glyphPos(int displayPos) const;
    int previousBound(int glyphPos) const;
    int nextBound(int glyphPos) const;
};
Layout layout(const QString &glyphs);

}  // namespace GlyphText

// The editable state of one glyph box, in glyph positions: text, cursor and selection anchor.
class GlyphEditBuffer {
public:
    const QString &text() const { return text_; }
    void setText(const QString &text);
    const GlyphText::Layout &layout() const { return layout_; }

    int cursor() const { return cursor_; }
    int anchor() const { return anchor_; }
    bool hasSelection() const { return cursor_ != anchor_; }
    int selectionStart() const { return qMin(cursor_, anchor_); }
    int selectionEnd() const { return qMax(cursor_, anchor_); }
    QString selectedText() const { return text_.mid(selectionStart(), selectionEnd() - selectionStart()); }
    void setCursor(int pos, bool keepAnchor = false);
    void selectAll();

    // Editing. Each returns whether the text changed.
    bool insert(const QString &glyphs);
    // Erases up to `erase` codes before the cursor, then inserts: a step of the composer.
    void replaceBeforeCursor(int erase, const QString &glyphs);
    bool backspace();          // one glyph code, as the composer counts a Backspace
    bool backspaceSyllable();  // the selection, or the syllable before the cursor
    bool deleteForward();      // the selection, or the next syllable
    bool removeSelection();

    void moveLeft(bool select);
    void moveRight(bool select);
    void home(bool select);
    void end(bool select);

private:
    void relayout();

    QString text_;
    GlyphText::Layout layout_ = GlyphText::layout(QString());
    int cursor_ = 0;
    int anchor_ = 0;
};
