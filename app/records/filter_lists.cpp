#include "filter_lists.h"

#include "glyph_widgets.h"
#include "shared_module.h"

#include <QCheckBox>

namespace {

GlyphComboBox *makeList(QWidget *owner, const char *name) {
    auto *list = new GlyphComboBox(owner);
    list->setObjectName(QLatin1String(name));
    list->setEnabled(false);
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMinimumContentsLength(10);
    return list;
}

// The picked entry's number, when the pick left a text in the list.
void takePick(GlyphComboBox *list, int *number) {
    if (!list->text().isEmpty() && list->currentIndex() >= 0) *number = list->itemNumber(list->currentIndex());
}

// The entries go; the text the list shows stays, as it was.
void removeEntries(GlyphComboBox *list) {
    const QString shown = list->text();
    list->clear();
    list->setText(shown);
}

}  // namespace

FilterLists::FilterLists(QWidget *owner) : QObject(owner) {
    CmbDistrict = makeList(owner, "CmbDistrict");
    CmbTaluk = makeList(owner, "CmbTaluk");
    CmbRelation = makeList(owner, "CmbRelation");
    CmbPrakara = makeList(owner, "CmbPrakara");
    CmbUpaprakara = makeList(owner, "CmbUpaprakara");
    connect(CmbDistrict, qOverload<int>(&QComboBox::activated), this, &FilterLists::CmbDistrict_Click);
    connect(CmbTaluk, qOverload<int>(&QComboBox::activated), this, &FilterLists::CmbTaluk_Click);
    connect(CmbRelation, qOverload<int>(&QComboBox::activated), this, &FilterLists::CmbRelation_Click);
    connect(CmbPrakara, qOverload<int>(&QComboBox::activated), this, &FilterLists::CmbPrakara_Click);
    connect(CmbUpaprakara, qOverload<int>(&QComboBox::activated), this, &FilterLists::CmbUpaprakara_Click);
    connect(CmbDistrict, &GlyphComboBox::keyDown, this, &FilterLists::CmbDistrict_KeyDown);
    connect(CmbPrakara, &GlyphComboBox::keyDown, this, &FilterLists::CmbPrakara_KeyDown);
}

void FilterLists::setChildChecks(QCheckBox *talukCheck, QCheckBox *upaprakaraCheck) {
    talukCheck_ = talukCheck;
    upaprakaraCheck_ = upaprakaraCheck;
}

void FilterLists::fillMasters() {
    ModDeclare::ClearBeforeFill = true;
    ModDeclare::FillDistricts(CmbDistrict);
    ModDeclare::FillRelations(CmbRelation);
    ModDeclare::FillPrakaras(CmbPrakara);
}

// An entry window open in change mode may have left ClearBeforeFill false; these lists are
// always filled afresh, never appended to.
void FilterLists::fillTaluks() {
    ModDeclare::ClearBeforeFill = true;
    ModDeclare::FillTaluks(CmbTaluk, DistrictNo);
}

void FilterLists::fillUpaprakaras() {
    ModDeclare::ClearBeforeFill = true;
    ModDeclare::FillUpaprakaras(CmbUpaprakara, PrakaraNo);
}

ListFilters FilterLists::filters() const {
    ListFilters f;
    f.districtSet = !CmbDistrict->text().isEmpty();
    f.talukSet = !CmbTaluk->text().isEmpty();
    f.relationSet = !CmbRelation->text().isEmpty();
    f.prakaraSet = !CmbPrakara->text().isEmpty();
    f.upaprakaraSet = !CmbUpaprakara->text().isEmpty();
    f.district = DistrictNo;
    f.taluk = TalukNo;
    f.relation = RelationNo;
    f.prakara = PrakaraNo;
    f.upaprakara = UpaprakaraNo;
    return f;
}

void FilterLists::emptyTexts() {
    for (GlyphComboBox *list : {CmbDistrict, CmbTaluk, CmbRelation, CmbPrakara, CmbUpaprakara}) list->setText(QString());
}

void FilterLists::CmbDistrict_Click() {
    takePick(CmbDistrict, &DistrictNo);
    if (talukCheck_ && talukCheck_->isChecked()) fillTaluks();
}

void FilterLists::CmbTaluk_Click() { takePick(CmbTaluk, &TalukNo); }
void FilterLists::CmbRelation_Click() { takePick(CmbRelation, &RelationNo); }

void FilterLists::CmbPrakara_Click() {
    takePick(CmbPrakara, &PrakaraNo);
    if (upaprakaraCheck_ && upaprakaraCheck_->isChecked()) fillUpaprakaras();
}

void FilterLists::CmbUpaprakara_Click() { takePick(CmbUpaprakara, &UpaprakaraNo); }

void FilterLists::CmbDistrict_KeyDown(int key) {
    if (key != Qt::Key_Delete) return;
    CmbDistrict->setText(QString());
    removeEntries(CmbTaluk);
}

void FilterLists::CmbPrakara_KeyDown(int key) {
    if (key != Qt::Key_Delete) return;
    CmbPrakara->setText(QString());
    removeEntries(CmbUpaprakara);
}
