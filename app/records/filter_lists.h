// The five filter lists that the browse window and the reports window share: district, taluk,
// relation, category and sub-category. Each is a drop-down list that takes no typing; a pick
// keeps the number of the picked entry. A district pick refills the taluks and a category pick
// the sub-categories, when their filters are ticked; Delete in the district list empties it and
// takes the taluk entries away (the category list likewise the sub-category entries).
#pragma once

#include <QObject>

#include "address_selection.h"

class GlyphComboBox;
class QCheckBox;
class QWidget;

class FilterLists : public QObject {
    Q_OBJECT
public:
    explicit FilterLists(QWidget *owner);

    // The taluk and sub-category filters whose ticks decide whether a pick above refills them.
    void setChildChecks(QCheckBox *talukCheck, QCheckBox *upaprakaraCheck);

    GlyphComboBox *CmbDistrict;
    GlyphComboBox *CmbTaluk;
    GlyphComboBox *CmbRelation;
    GlyphComboBox *CmbPrakara;
    GlyphComboBox *CmbUpaprakara;

    // The numbers last picked (0 at first).
    int DistrictNo = 0, TalukNo = 0, RelationNo = 0, PrakaraNo = 0, UpaprakaraNo = 0;

    // The districts, relations and categories, in Kannada order.
    void fillMasters();
    // The taluks of the district last picked; the sub-categories of the category last picked.
    void fillTaluks();
    void fillUpaprakaras();
    // Which lists are set (their text is not empty) and the numbers picked in them.
    ListFilters filters() const;
    // The texts of all five emptied; their entries and numbers stay.
    void emptyTexts();

private slots:
    void CmbDistrict_Click();
    void CmbTaluk_Click();
    void CmbRelation_Click();
    void CmbPrakara_Click();
    void CmbUpaprakara_Click();
    void CmbDistrict_KeyDown(int key);
    void CmbPrakara_KeyDown(int key);

private:
    QCheckBox *talukCheck_ = nullptr;
    QCheckBox *upaprakaraCheck_ = nullptr;
};
