// A list box of glyph texts, each item carrying a number: the reference windows' list of
// entries. It shows Kannada script and keeps the glyph codes of each item.
#pragma once

#include <QListWidget>

class GlyphListBox : public QListWidget {
    Q_OBJECT
public:
    explicit GlyphListBox(QWidget *parent = nullptr);
    void addGlyphItem(const QString &glyphs, int number);
    QString itemGlyphText(int row) const;
    int itemNumber(int row) const;
    // The selected item's glyph text, "" when none is selected.
    QString text() const;
    // Selects the first item of exactly that text, or nothing when there is none. Does not
    // count as the user's choice (choiceMade is not emitted).
    void setText(const QString &glyphs);
    void clear();

signals:
    // The user chose an item, by the mouse or the keyboard.
    void choiceMade();

private:
    bool settingText_ = false;
};
