// The reference windows whose entries belong to a parent entry (taluks to districts,
// sub-categories to categories): the pattern of ReferenceWindow with a drop-down list of the
// parents at the top. The chosen parent decides which entries the boxes, the list, the arrows
// and the duplicate check work on, and under which parent a new entry is saved. A save never
// moves an entry: moving one, with its addresses, to another parent is an action of its own
// (a button and the list of parents beside it), asked about first.
#pragma once

#include "reference_window.h"

class GlyphComboBox;

struct ParentListDef {
    const char *listName;   // CmbDistrict, CmbPrakara
    const char *labelName;  // Label2
    QString label, message;
    RefTable table;
    bool (*fill)(GlyphComboBox *list);
    // The move button's caption, and its question: %1 the entry, %2 its parent, %3 the new
    // parent, %4 how many addresses move along.
    QString move, moveQuestion;
};

class TwoLevelWindow : public ReferenceWindow {
    Q_OBJECT
public:
    GlyphLabel *parentLabel;
    GlyphComboBox *parentList;
    GlyphButton *cmdmove;
    GlyphComboBox *CmbMoveTo;

    int currentParent() const override { return parent_; }

protected:
    TwoLevelWindow(const ReferenceWindowDef &def, const ParentListDef &parentDef, QWidget *parent);
    void Form_Load() override;
    bool parentReady() override;
    void afterDelete() override;
    void FillList() override;
    void ShowFirst() override;

protected slots:
    void Parent_Click();
    void cmdmove_Click();

private:
    // Makes that parent the window's, in the parent list too.
    void setParent(int number);
    QString parentName(AddressBookData &data, int number) const;

    ParentListDef parentDef_;
    int parent_ = 0;
};
