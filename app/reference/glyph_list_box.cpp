#include "glyph_list_box.h"

#include "glyph_text.h"

namespace {
constexpr int GlyphRole = Qt::UserRole + 1;
constexpr int NumberRole = Qt::UserRole;
}  // namespace

GlyphListBox::GlyphListBox(QWidget *parent) : QListWidget(parent) {
    setFont(GlyphText::font());
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    // A click on the item that is current already is a choice too, so both are watched.
    connect(this, &QListWidget::itemClicked, this, [this] { emit choiceMade(); });
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!settingText_ && row >= 0) emit choiceMade();
    });
}

void GlyphListBox::addGlyphItem(const QString &glyphs, int number) {
    auto *item = new QListWidgetItem(GlyphText::toDisplay(glyphs));
    item->setData(GlyphRole, glyphs);
    item->setData(NumberRole, number);
    const bool was = settingText_;
    settingText_ = true;  // the first item may become current on its own
    addItem(item);
    settingText_ = was;
}

QString GlyphListBox::itemGlyphText(int row) const {
    const QListWidgetItem *it = item(row);
    return it ? it->data(GlyphRole).toString() : QString();
}

int GlyphListBox::itemNumber(int row) const {
    const QListWidgetItem *it = item(row);
    return it ? it->data(NumberRole).toInt() : 0;
}

QString GlyphListBox::text() const {
    const QList<QListWidgetItem *> chosen = selectedItems();
    return chosen.isEmpty() ? QString() : chosen.first()->data(GlyphRole).toString();
}

void GlyphListBox::setText(const QString &glyphs) {
    settingText_ = true;
    int found = -1;
    for (int i = 0; i < count() && found < 0; ++i)
        if (itemGlyphText(i) == glyphs) found = i;
    if (found >= 0) {
        setCurrentRow(found);
        scrollToItem(item(found));
    } else {
        setCurrentRow(-1);
        clearSelection();
    }
    settingText_ = false;
}

void GlyphListBox::clear() {
    settingText_ = true;
    QListWidget::clear();
    settingText_ = false;
}
