#include "glyph_widgets.h"

#include "captions.h"
#include "message_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QTextBlock>


namespace {

enum class KeyResult { NotHandled, Edited, Moved, Consumed, Paste };

// Typed text becomes glyph codes: Latin-1 characters are glyph codes already, anything
// else (Kannada from a Unicode keyboard) goes through the bridge.
QString typedGlyphs(const QString &text) {
    for (QChar c : text)
        if (c.unicode() > 255) return GlyphText::fromDisplay(text);
    return text;
}

bool isTypedText(const QKeyEvent *e) {
    if (e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return false;
    const QString t = e->text();
    if (t.isEmpty()) return false;
    for (QChar c : t)
        if (c.unicode() < 32 || c.unicode() == 127) return false;
    return true;
}

KeyResult handleKey(GlyphEditBuffer &b, QKeyEvent *e, bool readOnly, bool multiLine) {
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    auto edit = [&](bool changed) { return changed ? KeyResult::Edited : KeyResult::Consumed; };
    if (e == QKeySequence::SelectAll) {
        b.selectAll();
        return KeyResult::Moved;
    }
    if (e == QKeySequence::Copy || e == QKeySequence::Cut) {
        if (b.hasSelection())
            QApplication::clipboard()->setText(GlyphText::toDisplay(b.selectedText()));
        if (e == QKeySequence::Cut && !readOnly) return edit(b.removeSelection());
        return KeyResult::Consumed;
    }
    if (e == QKeySequence::Paste) return readOnly ? KeyResult::Consumed : KeyResult::Paste;
    switch (e->key()) {
    case Qt::Key_Backspace:
        return readOnly ? KeyResult::Consumed : edit(b.backspaceSyllable());
    case Qt::Key_Delete:
        return readOnly ? KeyResult::Consumed : edit(b.deleteForward());
    case Qt::Key_Left:
        b.moveLeft(shift);
        return KeyResult::Moved;
    case Qt::Key_Right:
        b.moveRight(shift);
        return KeyResult::Moved;
    case Qt::Key_Home:
        if (multiLine) break;
        b.home(shift);
        return KeyResult::Moved;
    case Qt::Key_End:
        if (multiLine) break;
        b.end(shift);
        return KeyResult::Moved;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!multiLine) return KeyResult::NotHandled;
        return readOnly ? KeyResult::Consumed : edit(b.insert(QStringLiteral("\n")));
    default:
        break;
    }
    if (isTypedText(e)) return readOnly ? KeyResult::Consumed : edit(b.insert(typedGlyphs(e->text())));
    return KeyResult::NotHandled;
}

}  // namespace

// ---- GlyphLabel ---------------------------------------------------------------------------

GlyphLabel::GlyphLabel(QWidget *parent) : QLabel(parent) {
    setFont(GlyphText::font());
    setTextFormat(Qt::PlainText);
}

GlyphLabel::GlyphLabel(const QString &glyphs, QWidget *parent) : GlyphLabel(parent) { setText(glyphs); }

void GlyphLabel::setText(const QString &glyphs) {
    glyphs_ = glyphs;
    QLabel::setText(GlyphText::toDisplay(glyphs));
}

// ---- GlyphEditor --------------------------------------------------------------------------

void GlyphEditor::setGlyphText(const QString &glyphs) {
    endSyllable();
    buffer_.setText(glyphs);
    edited();
}

void GlyphEditor::edited() {
    render();
    notifyChanged();
}

void GlyphEditor::endSyllable() {
    composer_.reset();
    typedAt_ = -1;
}

bool GlyphEditor::typeKey(int key) {
    if (readOnly()) return false;
    // A caret that moved or a selection made since the composer's last key ends the syllable.
    if (buffer_.hasSelection() || buffer_.cursor() != typedAt_) endSyllable();
    const bool composing = composer_.composing();
    const TypingComposer::Step step = composer_.feed(key);
    if (step.used) {
        buffer_.replaceBeforeCursor(step.erase, step.insert);
    } else if (key != 8) {
        return false;
    } else if (composing) {
        // Inside the syllable being typed the box takes one glyph code, as the composer
        // counts it.
        buffer_.backspace();
    } else {
        // Otherwise the syllable before the caret, or the selection.
        const bool erased = buffer_.backspaceSyllable();
        endSyllable();
        if (erased) edited();
        return true;
    }
    typedAt_ = buffer_.cursor();
    edited();
    return true;
}

bool GlyphEditor::paste(QWidget *owner, const QString &text) {
    const QList<char32_t> unheld = GlyphText::unheld(text);
    if (unheld.isEmpty()) return buffer_.insert(GlyphText::fromDisplay(text));
    QStringList named;
    for (char32_t c : unheld) {
        const QString one = QString::fromUcs4(&c, 1);
        const QString name =
            QStringLiteral("\u201C%1\u201D U+%2").arg(one, QString::number(uint(c), 16).toUpper().rightJustified(4, u'0'));
        if (!named.contains(name)) named << name;
    }
    book4::showMessage(owner, Caption::cannotHold(), named.join(QStringLiteral(", ")));
    return false;
}

bool GlyphEditor::editKey(QKeyEvent *event, bool multiLine) {
    // Any key but a modifier that reaches the box ends the syllable being typed.
    switch (event->key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
        break;
    default:
        endSyllable();
    }
    switch (handleKey(buffer_, event, readOnly(), multiLine)) {
    case KeyResult::Paste:
        if (paste(dynamic_cast<QWidget *>(this), QApplication::clipboard()->text())) edited();
        break;
    case KeyResult::Edited:
        edited();
        break;
    case KeyResult::Moved:
        render();
        break;
    case KeyResult::Consumed:
        break;
    case KeyResult::NotHandled:
        return false;
    }
    event->accept();
    return true;
}

void GlyphEditor::commitInput(QInputMethodEvent *event) {
    endSyllable();
    if (!event->commitString().isEmpty() && !readOnly()) {
        buffer_.insert(typedGlyphs(event->commitString()));
        edited();
    }
    event->accept();
}

// The editing menu of a glyph box; its actions work on the glyph codes.
void GlyphEditor::runEditMenu(QWidget *owner, QContextMenuEvent *event) {
    QMenu menu(owner);
    QAction *cut = menu.addAction(QObject::tr("Cu&t"));
    QAction *copy = menu.addAction(QObject::tr("&Copy"));
    QAction *paste = menu.addAction(QObject::tr("&Paste"));
    menu.addSeparator();
    QAction *all = menu.addAction(QObject::tr("Select &All"));
    cut->setEnabled(!readOnly() && buffer_.hasSelection());
    copy->setEnabled(buffer_.hasSelection());
    paste->setEnabled(!readOnly() && !QApplication::clipboard()->text().isEmpty());
    QAction *chosen = menu.exec(event->globalPos());
    if (!chosen) return;
    endSyllable();
    if (chosen == cut || chosen == copy)
        QApplication::clipboard()->setText(GlyphText::toDisplay(buffer_.selectedText()));
    bool changed = false;
    if (chosen == cut) changed = buffer_.removeSelection();
    if (chosen == paste) changed = this->paste(owner, QApplication::clipboard()->text());
    if (chosen == all) buffer_.selectAll();
    if (changed)
        edited();
    else
        render();
}

// ---- GlyphLineEdit ------------------------------------------------------------------------

GlyphLineEdit::GlyphLineEdit(QWidget *parent) : QLineEdit(parent) {
    setFont(GlyphText::font());
    setDragEnabled(false);
    setAcceptDrops(false);
    connect(this, &QLineEdit::cursorPositionChanged, this, &GlyphLineEdit::syncFromView);
    connect(this, &QLineEdit::selectionChanged, this, &GlyphLineEdit::syncFromView);
}

void GlyphLineEdit::render() {
    rendering_ = true;
    const GlyphText::Layout &l = buffer_.layout();
    if (QLineEdit::text() != l.display) QLineEdit::setText(l.display);
    const int cursor = l.displayPos(buffer_.cursor());
    if (buffer_.hasSelection()) {
        const int anchor = l.displayPos(buffer_.anchor());
        setSelection(anchor, cursor - anchor);
    } else {
        deselect();
        setCursorPosition(cursor);
    }
    rendering_ = false;
}

// The mouse moved the view's cursor or selection: take it over, at syllable boundaries.
void GlyphLineEdit::syncFromView() {
    if (rendering_) return;
    endSyllable();
    const GlyphText::Layout &l = buffer_.layout();
    const int cursor = cursorPosition();
    const int glyphCursor = l.displayPos(buffer_.cursor()) == cursor && !hasSelectedText()
                                ? buffer_.cursor()
                                : l.glyphPos(cursor);
    if (hasSelectedText()) {
        const int start = selectionStart();
        const int end = start + static_cast<int>(QLineEdit::selectedText().size());
        buffer_.setCursor(l.glyphPos(cursor == start ? end : start));
        buffer_.setCursor(glyphCursor, true);
    } else {
        buffer_.setCursor(glyphCursor);
    }
}

void GlyphLineEdit::keyPressEvent(QKeyEvent *event) {
    if (editKey(event, false)) return;
    // Return still tells the window (returnPressed); other keys go to the parent.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        QLineEdit::keyPressEvent(event);
    else
        event->ignore();
}

// ---- GlyphTextEdit ------------------------------------------------------------------------

GlyphTextEdit::GlyphTextEdit(QWidget *parent) : QPlainTextEdit(parent) {
    setFont(GlyphText::font());
    setTabChangesFocus(true);
    setAcceptDrops(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &GlyphTextEdit::syncFromView);
    connect(this, &QPlainTextEdit::selectionChanged, this, &GlyphTextEdit::syncFromView);
}

void GlyphTextEdit::render() {
    rendering_ = true;
    const GlyphText::Layout &l = buffer_.layout();
    if (toPlainText() != l.display) setPlainText(l.display);
    QTextCursor c = textCursor();
    c.setPosition(l.displayPos(buffer_.anchor()));
    c.setPosition(l.displayPos(buffer_.cursor()), QTextCursor::KeepAnchor);
    setTextCursor(c);
    rendering_ = false;
}

void GlyphTextEdit::syncFromView() {
    if (rendering_) return;
    endSyllable();
    const GlyphText::Layout &l = buffer_.layout();
    const QTextCursor c = textCursor();
    const bool sameCursor = l.displayPos(buffer_.cursor()) == c.position();
    const int glyphCursor = sameCursor && !c.hasSelection() ? buffer_.cursor() : l.glyphPos(c.position());
    buffer_.setCursor(c.hasSelection() ? l.glyphPos(c.anchor()) : glyphCursor);
    if (c.hasSelection()) buffer_.setCursor(glyphCursor, true);
}

void GlyphTextEdit::keyPressEvent(QKeyEvent *event) {
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    // Home and End keep to the line the cursor is on.
    if ((event->key() == Qt::Key_Home || event->key() == Qt::Key_End) &&
        !(event->modifiers() & Qt::ControlModifier)) {
        const QString &t = buffer_.text();
        int pos = buffer_.cursor();
        if (event->key() == Qt::Key_Home) {
            pos = static_cast<int>(t.lastIndexOf(QLatin1Char('\n'), pos - 1)) + 1;
        } else {
            const qsizetype nl = t.indexOf(QLatin1Char('\n'), pos);
            pos = nl < 0 ? static_cast<int>(t.size()) : static_cast<int>(nl);
        }
        buffer_.setCursor(pos, shift);
        render();
        event->accept();
        return;
    }
    if (editKey(event, true)) return;
    // Moving between lines and pages is the view's; typing keys are not.
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        QPlainTextEdit::keyPressEvent(event);
        return;
    default:
        break;
    }
    if (event->matches(QKeySequence::MoveToStartOfDocument) || event->matches(QKeySequence::MoveToEndOfDocument) ||
        event->matches(QKeySequence::SelectStartOfDocument) || event->matches(QKeySequence::SelectEndOfDocument))
        QPlainTextEdit::keyPressEvent(event);
    else
        event->ignore();
}

// ---- GlyphComboBox ------------------------------------------------------------------------

namespace {
constexpr int GlyphRole = Qt::UserRole + 1;
}

GlyphComboBox::GlyphComboBox(QWidget *parent) : QComboBox(parent) {
    setFont(GlyphText::font());
    // Editable only so that any text can show in it; the box itself takes no typing.
    setEditable(true);
    lineEdit()->setReadOnly(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    connect(this, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        glyphs_ = itemGlyphText(index);
    });
    connect(this, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int index) {
        if (index >= 0) glyphs_ = itemGlyphText(index);
    });
}

void GlyphComboBox::addGlyphItem(const QString &glyphs, int number) {
    const QString shown = glyphs_;
    const bool wasEmpty = count() == 0;
    addItem(GlyphText::toDisplay(glyphs), number);
    setItemData(count() - 1, glyphs, GlyphRole);
    // Appending an item to an empty list must not put its text in the box.
    if (wasEmpty) setText(shown);
}

QString GlyphComboBox::itemGlyphText(int index) const { return itemData(index, GlyphRole).toString(); }

int GlyphComboBox::itemNumber(int index) const { return itemData(index).toInt(); }

void GlyphComboBox::setText(const QString &glyphs) {
    int found = -1;
    for (int i = 0; i < count() && found < 0; ++i)
        if (itemGlyphText(i) == glyphs) found = i;
    setCurrentIndex(found);
    glyphs_ = glyphs;
    setEditText(GlyphText::toDisplay(glyphs));
}

void GlyphComboBox::clear() {
    QComboBox::clear();
    glyphs_.clear();
    setEditText(QString());
}

void GlyphComboBox::keyPressEvent(QKeyEvent *event) {
    emit keyDown(event->key());
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_F4:
        QComboBox::keyPressEvent(event);
        return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->ignore();
        return;
    default:
        event->accept();  // typed keys are dropped
    }
}

// ---- GlyphItemDelegate --------------------------------------------------------------------

QString GlyphItemDelegate::displayText(const QVariant &value, const QLocale &) const {
    return GlyphText::toDisplay(value.toString());
}

void GlyphItemDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    option->font = GlyphText::font(option->font.pointSizeF() > 0 ? option->font.pointSizeF() : 10.0);
}
