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

// The syllable that begins at a syllable boundary of a word: its length in glyph codes and its
// script. A syllable is never longer than kLongestSyllable glyph codes, and nothing the bridge
// does to a glyph reaches further than kReach codes, so a window after the boundary holds all
// that decides it: the first place in the window where the text splits without changing what
// shows (and where the script may break) ends it.
struct Syllable {
    int length;
    QString display;
};
constexpr int kLongestSyllable = 16;
constexpr int kReach = 8;

Syllable syllableIn(const QString &window, bool wordEnds) {
    const std::optional<QString> whole = ToviLibrary::glyphToUnicode(window);
    if (!whole || whole->isEmpty()) return {1, window.left(1)};
    const int last = wordEnds ? static_cast<int>(window.size()) - 1 : kLongestSyllable;
    // Whether the window splits at k without changing what shows; the script before it.
    auto splitsAt = [&](int k, QString *head) {
        const std::optional<QString> h = ToviLibrary::glyphToUnicode(window.left(k));
        if (!h || h->isEmpty() || !whole->startsWith(*h)) return false;
        const std::optional<QString> tail = ToviLibrary::glyphToUnicode(window.mid(k));
        if (!tail || tail->isEmpty() || *h + *tail != *whole || !syllableBreak(h->back(), tail->front())) return false;
        *head = *h;
        return true;
    };
    QString head;
    for (int k = 1; k <= last; ++k) {
        if (!splitsAt(k, &head)) continue;
        // A glyph that shows nothing of its own (the vowel sign of the inherent vowel) belongs
        // to the syllable before it: of two splits at one place in the script, the later holds.
        QString later;
        while (k < last && splitsAt(k + 1, &later) && later.size() == head.size()) ++k;
        return {k, head};
    }
    if (wordEnds) return {static_cast<int>(window.size()), *whole};
    const std::optional<QString> cut = ToviLibrary::glyphToUnicode(window.left(kLongestSyllable));
    return {kLongestSyllable, cut ? *cut : window.left(kLongestSyllable)};
}

// Syllables repeat within and across texts; each window is worked out once.
const Syllable &syllableAt(const QString &word, int start) {
    static QHash<QString, Syllable> cache;
    const int end = qMin(static_cast<int>(word.size()), start + kLongestSyllable + kReach);
    const bool wordEnds = end == word.size();
    // A window that ends with the word is told apart by a zero, which glyph text never holds.
    QString key = word.mid(start, end - start);
    if (wordEnds) key += QChar(0);
    auto it = cache.constFind(key);
    if (it != cache.constEnd()) return *it;
    if (cache.size() > 65536) cache.clear();
    return *cache.insert(key, syllableIn(word.mid(start, end - start), wordEnds));
}

// A word laid out syllable by syllable, from its start: linear in its length.
WordLayout layoutWord(const QString &word) {
    WordLayout w;
    for (int i = 0; i < word.size();) {
        const Syllable &s = syllableAt(word, i);
        if (i > 0) w.inner.append({i, static_cast<int>(w.display.size())});
        w.display += s.display;
        i += s.length;
    }
    return w;
}

// Names repeat across lists and redraws; the layouts of short words are kept.
WordLayout cachedWord(const QString &word) {
    if (!ToviLibrary::hasUnicodeBridge()) return rawWord(word);
    if (word.size() > 64) return layoutWord(word);
    static QHash<QString, WordLayout> cache;
    auto it = cache.constFind(word);
    if (it != cache.constEnd()) return *it;
    if (cache.size() > 4096) cache.clear();
    return *cache.insert(word, layoutWord(word));
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

QList<char32_t> unheld(const QString &text) {
    if (std::optional<QVector<char32_t>> found = ToviLibrary::unheldInGlyphs(text)) return *found;
    QList<char32_t> out;
    for (char32_t c : text.toUcs4())
        if (c > 255) out.append(c);
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
            const WordLayout w = cachedWord(glyphs.mid(i, j - i));
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

void GlyphEditBuffer::replaceBeforeCursor(int erase, const QString &glyphs) {
    removeSelection();
    erase = qBound(0, erase, cursor_);
    text_.replace(cursor_ - erase, erase, glyphs);
    cursor_ = anchor_ = cursor_ - erase + static_cast<int>(glyphs.size());
    relayout();
}

bool GlyphEditBuffer::backspaceSyllable() {
    if (removeSelection()) return true;
    const int previous = layout_.previousBound(cursor_);
    if (previous >= cursor_) return false;
    text_.remove(previous, cursor_ - previous);
    cursor_ = anchor_ = previous;
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
