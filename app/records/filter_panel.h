// The filter panel that the browse window and the reports window share: five ticks, each with
// its drop-down list (district, taluk, relation, category and sub-category). A tick opens its
// list, and taking it off empties the list's text; the taluk needs a district picked first
// (the sub-category a category), and taking the district's tick off takes the taluk's along.
// The lists take no typing; a pick keeps the number of the picked entry. A district pick refills
// the taluks and a category pick the sub-categories, when their ticks are on; Delete in the
// district list empties it and takes the taluk entries away (the category list likewise the
// sub-category entries).
#pragma once

#include <QObject>

#include "address_selection.h"

class GlyphCheckBox;
class GlyphComboBox;
class QGridLayout;
class QWidget;

class FilterPanel : public QObject {
    Q_OBJECT
public:
    // The object names each window gives the five ticks (Check2, Check9, ...).
    struct CheckNames {
        const char *district, *taluk, *relation, *prakara, *upaprakara;
    };
    FilterPanel(QWidget *owner, const CheckNames &names);

    GlyphCheckBox *CheckDistrict, *CheckTaluk, *CheckRelation, *CheckPrakara, *CheckUpaprakara;
    GlyphComboBox *CmbDistrict, *CmbTaluk, *CmbRelation, *CmbPrakara, *CmbUpaprakara;

    // The numbers last picked (0 at first).
    int DistrictNo = 0, TalukNo = 0, RelationNo = 0, PrakaraNo = 0, UpaprakaraNo = 0;

    // Lays the ticks and lists out in three rows of the grid from firstRow on, in its first
    // four columns.
    void placeIn(QGridLayout *grid, int firstRow);
    // The districts, relations and categories, in Kannada order.
    void fillMasters();
    // The taluks of the district last picked; the sub-categories of the category last picked.
    void fillTaluks();
    void fillUpaprakaras();
    // Which lists are set (their text is not empty) and the numbers picked in them.
    ListFilters filters() const;
    // The texts of all five emptied; their entries and numbers stay.
    void emptyTexts();

signals:
    // One of the five ticks was put on.
    void filterTicked();

private slots:
    void CheckDistrict_Click();
    void CheckTaluk_Click();
    void CheckRelation_Click();
    void CheckPrakara_Click();
    void CheckUpaprakara_Click();
    void CmbDistrict_Click();
    void CmbTaluk_Click();
    void CmbRelation_Click();
    void CmbPrakara_Click();
    void CmbUpaprakara_Click();
    void CmbDistrict_KeyDown(int key);
    void CmbPrakara_KeyDown(int key);

private:
    // A tick of a list without a parent list: on opens the list, off empties its text (and
    // takes the child's tick off).
    void listTick(GlyphCheckBox *check, GlyphComboBox *list, GlyphCheckBox *child);
    // A tick of a child list: it needs its parent's text first.
    void childTick(GlyphCheckBox *check, GlyphComboBox *list, GlyphComboBox *parent, const QString &refusal,
                   void (FilterPanel::*fill)());

    QWidget *owner_;
};
