// The widgets that show and edit glyph-code text as Kannada script.
//
// Each keeps the glyph codes as its value: text() and setText() read and write glyph codes, as
// the database stores them; what the widget paints is the Unicode form in a Kannada font.
// Editing works on the glyph codes: the keyboard engine's characters and Backspaces land as
// single codes, the cursor keys move by whole syllables, the clipboard carries Unicode.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>

#include "glyph_text.h"
#include "typing_composer.h"

// What the keyboard bridge asks of a glyph box while Kannada typing is on.
class GlyphInput {
public:
    virtual ~GlyphInput() = default;
    // Types a letter ('a'-'z', 'A'-'Z') or Backspace (8) through the box's composer; false
    // when the box takes the key as typed instead.
    virtual bool typeKey(int key) = 0;
    // The caret moved by other means than typing: the next key starts a new syllable.
    virtual void endSyllable() = 0;
};

class GlyphLabel : public QLabel {
    Q_OBJECT
public:
    explicit GlyphLabel(QWidget *parent = nullptr);
    GlyphLabel(const QString &glyphs, QWidget *parent = nullptr);
    QString text() const { return glyphs_; }
    void setText(const QString &glyphs);

private:
    QString glyphs_;
};

// A button, check box or option button whose caption is glyph text.
template <class Button>
class GlyphCaptioned : public Button {
public:
    explicit GlyphCaptioned(const QString &glyphs = QString(), QWidget *parent = nullptr) : Button(parent) {
        this->setFont(GlyphText::font());
        setText(glyphs);
    }
    QString text() const { return glyphs_; }
    void setText(const QString &glyphs) {
        glyphs_ = glyphs;
        Button::setText(GlyphText::toDisplay(glyphs));
    }

private:
    QString glyphs_;
};
class GlyphButton : public GlyphCaptioned<QPushButton> {
public:
    using GlyphCaptioned::GlyphCaptioned;
};
class GlyphCheckBox : public GlyphCaptioned<QCheckBox> {
public:
    using GlyphCaptioned::GlyphCaptioned;
};
class GlyphRadioButton : public GlyphCaptioned<QRadioButton> {
public:
    using GlyphCaptioned::GlyphCaptioned;
};

// What the two glyph text boxes share, whichever Qt box shows the text: the glyph codes with
// their cursor and selection (the box shows the Unicode form), Kannada typing through the box's
// own composer, the editing keys, the input method and the editing menu.
class GlyphEditor : public GlyphInput {
public:
    QString text() const { return buffer_.text(); }
    int glyphCursor() const { return buffer_.cursor(); }

    bool typeKey(int key) override;
    void endSyllable() override;

protected:
    // The Qt box's side: whether it takes edits, how it shows the buffer, and its signal.
    virtual bool readOnly() const = 0;
    virtual void render() = 0;
    virtual void notifyChanged() = 0;

    void setGlyphText(const QString &glyphs);
    // The text changed: shown, and told.
    void edited();
    // Runs a key through the editing rules; false when the box is to handle it itself.
    bool editKey(QKeyEvent *event, bool multiLine);
    void commitInput(QInputMethodEvent *event);
    void runEditMenu(QWidget *owner, QContextMenuEvent *event);

    // Pastes Unicode text; text the box cannot hold whole is refused with a message naming
    // the characters.
    bool paste(QWidget *owner, const QString &text);

    GlyphEditBuffer buffer_;
    // The box is being set from the buffer: its own cursor signals are not the user's.
    bool rendering_ = false;

private:
    TypingComposer composer_{TypingComposer::Output::Glyphs};
    // Where the caret stood after the composer's last key (-1: the syllable ended).
    int typedAt_ = -1;
};

class GlyphLineEdit : public QLineEdit, public GlyphEditor {
    Q_OBJECT
public:
    explicit GlyphLineEdit(QWidget *parent = nullptr);
    using GlyphEditor::text;
    void setText(const QString &glyphs) { setGlyphText(glyphs); }
    QString selectedText() const { return buffer_.selectedText(); }

signals:
    // The glyph text changed, by typing or by setText.
    void glyphTextChanged(const QString &glyphs);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override { commitInput(event); }
    void contextMenuEvent(QContextMenuEvent *event) override { runEditMenu(this, event); }

private:
    bool readOnly() const override { return isReadOnly(); }
    void render() override;
    void notifyChanged() override { emit glyphTextChanged(buffer_.text()); }
    void syncFromView();
};

class GlyphTextEdit : public QPlainTextEdit, public GlyphEditor {
    Q_OBJECT
public:
    explicit GlyphTextEdit(QWidget *parent = nullptr);
    // Lines are separated by a line feed.
    using GlyphEditor::text;
    void setText(const QString &glyphs) { setGlyphText(glyphs); }

signals:
    void glyphTextChanged(const QString &glyphs);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override { commitInput(event); }
    void contextMenuEvent(QContextMenuEvent *event) override { runEditMenu(this, event); }

private:
    bool readOnly() const override { return isReadOnly(); }
    void render() override;
    void notifyChanged() override { emit glyphTextChanged(buffer_.text()); }
    void syncFromView();
};

// A drop-down list of glyph texts, each item carrying a number (its item data). Nothing can be
// typed into it; its text is the chosen item's, or whatever setText put there.
class GlyphComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit GlyphComboBox(QWidget *parent = nullptr);
    void addGlyphItem(const QString &glyphs, int number);
    QString itemGlyphText(int index) const;
    int itemNumber(int index) const;
    // The list's text in glyph codes ("" when empty).
    QString text() const { return glyphs_; }
    // Shows the text; selects the item of that text when there is one.
    void setText(const QString &glyphs);
    // Removes every item and empties the text.
    void clear();

signals:
    // A key went down in the list (it types nothing).
    void keyDown(int key);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString glyphs_;
};

// Paints the glyph text of a grid cell (its display role) as Kannada.
class GlyphItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant &value, const QLocale &locale) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};
