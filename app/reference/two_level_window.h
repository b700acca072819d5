// The reference windows whose entries belong to a parent entry (taluks to districts,
// sub-categories to categories): the pattern of ReferenceWindow with a drop-down list of the
// parents at the top. The chosen parent decides which entries the list, the arrows and the
// duplicate check work on, and under which parent an entry is saved; saving carries the
// addresses that use the entry to that parent.
#pragma once

#include "reference_window.h"

class GlyphComboBox;

struct ParentListDef {
    const char *listName;   // CmbDistrict, CmbPrakara
    const char *labelName;  // Label2
    QString label, message;
    RefTable table;
    bool (*fill)(GlyphComboBox *list);
};

class TwoLevelWindow : public ReferenceWindow {
    Q_OBJECT
public:
    GlyphLabel *parentLabel;
    GlyphComboBox *parentList;

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

private:
    ParentListDef parentDef_;
    int parent_ = 0;
};
