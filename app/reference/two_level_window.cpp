#include "two_level_window.h"

#include "glyph_list_box.h"
#include "glyph_widgets.h"
#include "shared_module.h"

#include <QGridLayout>
#include <QLineEdit>

TwoLevelWindow::TwoLevelWindow(const ReferenceWindowDef &def, const ParentListDef &parentDef, QWidget *parent)
    : ReferenceWindow(def, parent), parentDef_(parentDef) {
    parentLabel = new GlyphLabel(parentDef.label, this);
    parentLabel->setObjectName(QString::fromLatin1(parentDef.labelName));
    parentList = new GlyphComboBox(this);
    parentList->setObjectName(QString::fromLatin1(parentDef.listName));
    boxesGrid()->addWidget(parentLabel, 0, 0);
    boxesGrid()->addWidget(parentList, 0, 1);
    // The list takes no typing, so only a choice of an item changes the parent.
    connect(parentList, qOverload<int>(&QComboBox::activated), this, &TwoLevelWindow::Parent_Click);
}

void TwoLevelWindow::Form_Load() {
    parentDef_.fill(parentList);
    parent_ = 0;
    if (parentList->count() > 0) {
        parentList->setText(parentList->itemGlyphText(0));
        parent_ = parentList->itemNumber(0);
    }
    ReferenceWindow::Form_Load();
}

// The entries shown in the boxes stay when another parent is chosen, so that Save files the
// shown entry under that parent (and carries its addresses along). The list and the arrows
// turn to the chosen parent's entries; with nothing in the boxes its first entry shows.
void TwoLevelWindow::Parent_Click() {
    if (parentList->text().isEmpty()) return;
    parent_ = parentList->itemNumber(parentList->currentIndex());
    if (Txtno->text().isEmpty())
        ShowFirst();
    else
        openNavigationSet();
    FillList();
}

void TwoLevelWindow::FillList() {
    if (parentList->text().isEmpty()) return;
    ReferenceWindow::FillList();
}

// As in the one-level windows, but the list's selection is left as it is.
void TwoLevelWindow::ShowFirst() {
    ClearBoxes();
    openNavigationSet();
    if (navigationSet().isEmpty()) return;
    setNavigationPosition(0);
    showNavigationRow(false);
}

bool TwoLevelWindow::parentReady() {
    if (trimBlanks(parentList->text()).isEmpty()) {
        message(parentDef_.message);
        return false;
    }
    // The parent may have been deleted (in its own window) since the list was filled: an
    // entry saved under it would belong to no parent and show in no list.
    AddressBookData data = ModDeclare::Data();
    if (!data.row(parentDef_.table, parent_)) {
        if (!data.lastError().isEmpty())
            reportFailure(data);
        else
            message(parentDef_.message);
        return false;
    }
    return true;
}

// The deleted entry leaves the boxes; the first entry of the parent shows.
void TwoLevelWindow::afterDelete() {
    ShowFirst();
    FillList();
    list->setText(nameBox->text());
}
