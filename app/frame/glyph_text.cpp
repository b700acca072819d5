#include "glyph_text.h"

#include "tovi_library.h"

#include <QHash>

#include <algorithm>

namespace GlyphText {
namespace {

// A word's display form and its inner syllable boundaries (glyph, display), ends excluded.
struct WordLayout {
    QString display;
    QVector<QPair<int, int>> inner;
};

WordLayout rawWord(const QString &word) {
    WordLayout w{word, {}};
    for (int i = 1; i < word.size(); ++i) w.inner.append({i, i});
    return w;
}

// Whether a syllable may end between these two characters of Kannada script: not before a
// vowel sign, virama or other combining mark, and not after a virama or a joiner, which bind
// the next consonant to this one.
bool syllableBreak(QChar before, QChar after) {
    const auto joins = [](QChar c) { return c.unicode() == 0x0CCD || c.unicode() == 0x200D || c.unicode() == 0x200C; };
    if (joins(before) || joins(after)) return false;
    const QChar::Category cat = after.category();
    return cat != QChar::Mark_NonSpacing && cat != QChar::Mark_SpacingCombining && cat != QChar::Mark_Enclosing;
}

WordLayout layoutWord(const QString &word) {
    const std::optional<QString> full = ToviLibrary::glyphToUnicode(word);
    if (!full || full->isEmpty()) return rawWord(word);
    WordLayout w{*full, {}};
    for (int k = 1; k < word.size(); ++k) {
        const std::optional<QString> head = ToviLibrary::glyphToUnicode(word.left(k));
        if (!head || !full->startsWith(*head)) continue;
        const std::optional<QString> tail = ToviLibrary::glyphToUnicode(word.mid(k));
        if (!tail || *head + *tail != *full || head->isEmpty() || tail->isEmpty()) continue;
        if (!syllableBreak(head->back(), tail->front())) continue;
        // A glyph that shows nothing of its own (the vowel sign of the inherent vowel) belongs
        // to the syllable before it: of two breaks at one place in the script, the later holds.
        const int at = static_cast<int>(head->size());
        if (!w.inner.isEmpty() && w.inner.last().second == at)
            w.inner.last().first = k;
        else
            w.inner.append({k, at});
    }
    return w;
}

// Names repeat across lists and redraws; their layouts are kept.
const WordLayout &cachedWord(const QString &word) {
    static QHash<QString, WordLayout> cache;
    auto it = cache.constFind(word);
    if (it != cache.constEnd()) return *it;
    if (cache.size() > 4096) cache.clear();
    return *cache.insert(word, ToviLibrary::hasUnicodeBridge() ? layoutWord(word) : rawWord(word));
}

// Blanks and line ends always separate syllables; they show as themselves.
bool isSeparator(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t');
}

}  // namespace

QFont font(qreal pointSize) {
    QFont f(QStringLiteral("Lohit Kannada"));
    f.setPointSizeF(pointSize);
    return f;
}

QString toDisplay(const QString &glyphs) { return layout(glyphs).display; }

QString fromDisplay(const QString &text) {
    if (text.isEmpty()) return text;
    QString out;
    // Line by line, word by word, so blanks and line ends survive whatever the bridge does
    // with them.
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !isSeparator(text.at(i))) continue;
        const QString word = text.mid(start, i - start);
        if (!word.isEmpty()) {
            std::optional<QString> glyphs = ToviLibrary::unicodeToGlyph(word);
            if (glyphs) {
                out += *glyphs;
            } else {
                for (QChar c : word)
                    if (c.unicode() < 256) out += c;
            }
        }
        if (i < text.size()) out += text.at(i) == QLatin1Char('\r') ? QString() : QString(text.at(i));
        start = i + 1;
    }
    return out;
}

Layout layout(const QString &glyphs) {
    Layout l;
    l.glyphBounds.append(0);
    l.displayBounds.append(0);
    int i = 0;
    while (i < glyphs.size()) {
        if (isSeparator(glyphs.at(i))) {
            l.display += glyphs.at(i);
            ++i;
        } else {
            int j = i;
            while (j < glyphs.size() && !isSeparator(glyphs.at(j))) ++j;
            const WordLayout &w = cachedWord(glyphs.mid(i, j - i));
            const int base = static_cast<int>(l.display.size());
            for (const auto &b : w.inner) {
                l.glyphBounds.append(i + b.first);
                l.displayBounds.append(base + b.second);
            }
            l.display += w.display;
            i = j;
        }
        l.glyphBounds.append(i);
        l.displayBounds.append(static_cast<int>(l.display.size()));
    }
    return l;
}

int Layout::displayPos(int glyphPos) const {
    auto it = std::lower_bound(glyphBounds.begin(), glyphBounds.end(), glyphPos);
    if (it == glyphBounds.end()) return displayBounds.last();
    return displayBounds.at(static_cast<int>(it - glyphBounds.begin()));
}

int Layout::glyphPos(int displayPos) const {
    int best = 0;
    for (int i = 0; i < displayBounds.size(); ++i)
        if (qAbs(displayBounds.at(i) - displayPos) < qAbs(displayBounds.at(best) - displayPos)) best = i;
    return glyphBounds.at(best);
}

int Layout::previousBound(int glyphPos) const {
    auto it = std::lower_bound(glyphBounds.begin(), glyphBounds.end(), glyphPos);
    return it == glyphBounds.begin() ? 0 : *(it - 1);
}

int Layout::nextBound(int glyphPos) const {
    auto it = std::upper_bound(glyphBounds.begin(), glyphBounds.end(), glyphPos);
    return it == glyphBounds.end() ? glyphBounds.last() : *it;
}

}  // namespace GlyphText

void GlyphEditBuffer::relayout() { layout_ = GlyphText::layout(text_); }

void GlyphEditBuffer::setText(const QString &text) {
    text_ = text;
    relayout();
    cursor_ = anchor_ = static_cast<int>(text_.size());
}

void GlyphEditBuffer::setCursor(int pos, bool keepAnchor) {
    cursor_ = qBound(0, pos, static_cast<int>(text_.size()));
    if (!keepAnchor) anchor_ = cursor_;
}

void GlyphEditBuffer::selectAll() {
    anchor_ = 0;
    cursor_ = static_cast<int>(text_.size());
}

bool GlyphEditBuffer::removeSelection() {
    if (!hasSelection()) return false;
    const int start = selectionStart();
    text_.remove(start, selectionEnd() - start);
    cursor_ = anchor_ = start;
    relayout();
    return true;
}

bool GlyphEditBuffer::insert(const QString &glyphs) {
    const bool removed = removeSelection();
    if (glyphs.isEmpty()) return removed;
    text_.insert(cursor_, glyphs);
    cursor_ += static_cast<int>(glyphs.size());
    anchor_ = cursor_;
    relayout();
    return true;
}

bool GlyphEditBuffer::backspace() {
    if (removeSelection()) return true;
    if (cursor_ == 0) return false;
    text_.remove(cursor_ - 1, 1);
    cursor_ = anchor_ = cursor_ - 1;
    relayout();
    return true;
}

bool GlyphEditBuffer::deleteForward() {
    if (removeSelection()) return true;
    const int next = layout_.nextBound(cursor_);
    if (next <= cursor_) return false;
    text_.remove(cursor_, next - cursor_);
    relayout();
    return true;
}

void GlyphEditBuffer::moveLeft(bool select) {
    if (!select && hasSelection()) return setCursor(selectionStart());
    setCursor(layout_.previousBound(cursor_), select);
}

void GlyphEditBuffer::moveRight(bool select) {
    if (!select && hasSelection()) return setCursor(selectionEnd());
    setCursor(layout_.nextBound(cursor_), select);
}

void GlyphEditBuffer::home(bool select) { setCursor(0, select); }
void GlyphEditBuffer::end(bool select) { setCursor(static_cast<int>(text_.size()), select); }
