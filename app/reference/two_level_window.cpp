#include "two_level_window.h"

#include "glyph_list_box.h"
#include "glyph_widgets.h"
#include "question_dialog.h"
#include "reference_captions.h"
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
    cmdmove = new GlyphButton(parentDef.move, this);
    cmdmove->setObjectName(QStringLiteral("cmdmove"));
    cmdmove->setAutoDefault(false);
    CmbMoveTo = new GlyphComboBox(this);
    CmbMoveTo->setObjectName(QStringLiteral("CmbMoveTo"));
    boxesGrid()->addWidget(cmdmove, 3, 0);
    boxesGrid()->addWidget(CmbMoveTo, 3, 1);
    // The lists take no typing, so only a choice of an item changes the parent.
    connect(parentList, qOverload<int>(&QComboBox::activated), this, &TwoLevelWindow::Parent_Click);
    connect(cmdmove, &QPushButton::clicked, this, &TwoLevelWindow::cmdmove_Click);
}

void TwoLevelWindow::Form_Load() {
    parentDef_.fill(parentList);
    parentDef_.fill(CmbMoveTo);
    CmbMoveTo->setText(QString());
    parent_ = 0;
    if (parentList->count() > 0) {
        parentList->setText(parentList->itemGlyphText(0));
        parent_ = parentList->itemNumber(0);
    }
    ReferenceWindow::Form_Load();
}

void TwoLevelWindow::setParent(int number) {
    parent_ = number;
    for (int i = 0; i < parentList->count(); ++i)
        if (parentList->itemNumber(i) == number) parentList->setText(parentList->itemGlyphText(i));
}

QString TwoLevelWindow::parentName(AddressBookData &data, int number) const {
    const std::optional<RefRow> row = data.row(parentDef_.table, number);
    return row ? row->name : QString();
}

// The window turns to the chosen parent: its first entry shows (the boxes are empty when it
// has none), with its entries in the list and under the arrows. Typing not yet saved is asked
// about first; staying keeps the parent that was chosen before.
void TwoLevelWindow::Parent_Click() {
    if (parentList->text().isEmpty()) return;
    const int chosen = parentList->itemNumber(parentList->currentIndex());
    if (!settleChanges()) {
        setParent(parent_);
        return;
    }
    setParent(chosen);
    ShowFirst();
    FillList();
    list->setText(nameBox->text());
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

// Moves the entry shown, with the addresses that use it, to the parent chosen beside the
// button, once the question naming all of them is answered yes. The window then shows the
// entry under its new parent.
void TwoLevelWindow::cmdmove_Click() {
    if (!settleChanges()) return;
    AddressBookData data = ModDeclare::Data();
    const int number = boxNumber(Txtno->text());
    const std::optional<RefRow> entry = number ? data.row(def().table, number) : std::nullopt;
    if (!entry || entry->parent != parent_) {
        message(Caption::allInformation());
        return;
    }
    const int target = CmbMoveTo->text().isEmpty() ? 0 : CmbMoveTo->itemNumber(CmbMoveTo->currentIndex());
    if (target == 0 || target == parent_) {
        message(parentDef_.message);
        return;
    }
    const std::optional<int> addresses = data.addressCount(def().table, number);
    if (!addresses) {
        reportFailure(data);
        return;
    }
    const QString question = parentDef_.moveQuestion.arg(entry->name, parentName(data, parent_),
                                                         parentName(data, target), QString::number(*addresses));
    if (!book3::ask(this, question)) return;
    const MoveOutcome moved = data.move(def().table, number, target);
    if (moved.duplicate) {
        message(Caption::alreadyExists());
        return;
    }
    if (!moved.ok) {
        reportFailure(data);
        return;
    }
    CmbMoveTo->setText(QString());
    setParent(target);
    openNavigationSet();
    setNavigationPosition(static_cast<int>(navigationSet().indexOf(number)));
    showNavigationRow(false);
    FillList();
}
