#include "filter_panel.h"

#include "record_captions.h"
#include "glyph_widgets.h"
#include "message_dialog.h"
#include "shared_module.h"

#include <QGridLayout>

namespace {

GlyphComboBox *makeList(QWidget *owner, const char *name) {
    auto *list = new GlyphComboBox(owner);
    list->setObjectName(QLatin1String(name));
    list->setEnabled(false);
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMinimumContentsLength(10);
    return list;
}

GlyphCheckBox *makeCheck(QWidget *owner, const char *name, const QString &caption) {
    auto *box = new GlyphCheckBox(caption, owner);
    box->setObjectName(QLatin1String(name));
    return box;
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

FilterPanel::FilterPanel(QWidget *owner, const CheckNames &names) : QObject(owner), owner_(owner) {
    using namespace RecordCaption;
    CheckDistrict = makeCheck(owner, names.district, filterDistrict());
    CheckTaluk = makeCheck(owner, names.taluk, taluk());
    CheckRelation = makeCheck(owner, names.relation, Caption::relationName());
    CheckPrakara = makeCheck(owner, names.prakara, prakara());
    CheckUpaprakara = makeCheck(owner, names.upaprakara, filterUpaprakara());
    CmbDistrict = makeList(owner, "CmbDistrict");
    CmbTaluk = makeList(owner, "CmbTaluk");
    CmbRelation = makeList(owner, "CmbRelation");
    CmbPrakara = makeList(owner, "CmbPrakara");
    CmbUpaprakara = makeList(owner, "CmbUpaprakara");
    connect(CheckDistrict, &QCheckBox::toggled, this, &FilterPanel::CheckDistrict_Click);
    connect(CheckTaluk, &QCheckBox::toggled, this, &FilterPanel::CheckTaluk_Click);
    connect(CheckRelation, &QCheckBox::toggled, this, &FilterPanel::CheckRelation_Click);
    connect(CheckPrakara, &QCheckBox::toggled, this, &FilterPanel::CheckPrakara_Click);
    connect(CheckUpaprakara, &QCheckBox::toggled, this, &FilterPanel::CheckUpaprakara_Click);
    connect(CmbDistrict, qOverload<int>(&QComboBox::activated), this, &FilterPanel::CmbDistrict_Click);
    connect(CmbTaluk, qOverload<int>(&QComboBox::activated), this, &FilterPanel::CmbTaluk_Click);
    connect(CmbRelation, qOverload<int>(&QComboBox::activated), this, &FilterPanel::CmbRelation_Click);
    connect(CmbPrakara, qOverload<int>(&QComboBox::activated), this, &FilterPanel::CmbPrakara_Click);
    connect(CmbUpaprakara, qOverload<int>(&QComboBox::activated), this, &FilterPanel::CmbUpaprakara_Click);
    connect(CmbDistrict, &GlyphComboBox::keyDown, this, &FilterPanel::CmbDistrict_KeyDown);
    connect(CmbPrakara, &GlyphComboBox::keyDown, this, &FilterPanel::CmbPrakara_KeyDown);
}

void FilterPanel::placeIn(QGridLayout *grid, int row) {
    grid->addWidget(CheckDistrict, row, 0);
    grid->addWidget(CmbDistrict, row, 1);
    grid->addWidget(CheckTaluk, row, 2);
    grid->addWidget(CmbTaluk, row, 3);
    grid->addWidget(CheckRelation, row + 1, 0);
    grid->addWidget(CmbRelation, row + 1, 1);
    grid->addWidget(CheckPrakara, row + 2, 0);
    grid->addWidget(CmbPrakara, row + 2, 1);
    grid->addWidget(CheckUpaprakara, row + 2, 2);
    grid->addWidget(CmbUpaprakara, row + 2, 3);
}

void FilterPanel::fillMasters() {
    ModDeclare::ClearBeforeFill = true;
    ModDeclare::FillDistricts(CmbDistrict);
    ModDeclare::FillRelations(CmbRelation);
    ModDeclare::FillPrakaras(CmbPrakara);
}

// An entry window open in change mode may have left ClearBeforeFill false; these lists are
// always filled afresh, never appended to.
void FilterPanel::fillTaluks() {
    ModDeclare::ClearBeforeFill = true;
    ModDeclare::FillTaluks(CmbTaluk, DistrictNo);
}

void FilterPanel::fillUpaprakaras() {
    ModDeclare::ClearBeforeFill = true;
    ModDeclare::FillUpaprakaras(CmbUpaprakara, PrakaraNo);
}

ListFilters FilterPanel::filters() const {
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

void FilterPanel::emptyTexts() {
    for (GlyphComboBox *list : {CmbDistrict, CmbTaluk, CmbRelation, CmbPrakara, CmbUpaprakara}) list->setText(QString());
}

// ---- The ticks --------------------------------------------------------------------------------

void FilterPanel::listTick(GlyphCheckBox *check, GlyphComboBox *list, GlyphCheckBox *child) {
    if (check->isChecked()) {
        emit filterTicked();
        list->setEnabled(true);
        list->setFocus();
    } else {
        list->setEnabled(false);
        list->setText(QString());
        if (child) child->setChecked(false);
    }
}

void FilterPanel::childTick(GlyphCheckBox *check, GlyphComboBox *list, GlyphComboBox *parent,
                            const QString &refusal, void (FilterPanel::*fill)()) {
    if (check->isChecked()) {
        emit filterTicked();
        if (parent->text().isEmpty()) {
            book4::showMessage(owner_, refusal);
            check->setChecked(false);
            return;
        }
        (this->*fill)();
        list->setEnabled(true);
        list->setFocus();
    } else {
        list->setEnabled(false);
        list->clear();
    }
}

void FilterPanel::CheckDistrict_Click() { listTick(CheckDistrict, CmbDistrict, CheckTaluk); }
void FilterPanel::CheckRelation_Click() { listTick(CheckRelation, CmbRelation, nullptr); }
void FilterPanel::CheckPrakara_Click() { listTick(CheckPrakara, CmbPrakara, CheckUpaprakara); }

void FilterPanel::CheckTaluk_Click() {
    childTick(CheckTaluk, CmbTaluk, CmbDistrict, RecordCaption::firstDistrict(), &FilterPanel::fillTaluks);
}

void FilterPanel::CheckUpaprakara_Click() {
    childTick(CheckUpaprakara, CmbUpaprakara, CmbPrakara, RecordCaption::firstPrakara(),
              &FilterPanel::fillUpaprakaras);
}

// ---- The lists --------------------------------------------------------------------------------

void FilterPanel::CmbDistrict_Click() {
    takePick(CmbDistrict, &DistrictNo);
    if (CheckTaluk->isChecked()) fillTaluks();
}

void FilterPanel::CmbTaluk_Click() { takePick(CmbTaluk, &TalukNo); }
void FilterPanel::CmbRelation_Click() { takePick(CmbRelation, &RelationNo); }

void FilterPanel::CmbPrakara_Click() {
    takePick(CmbPrakara, &PrakaraNo);
    if (CheckUpaprakara->isChecked()) fillUpaprakaras();
}

void FilterPanel::CmbUpaprakara_Click() { takePick(CmbUpaprakara, &UpaprakaraNo); }

void FilterPanel::CmbDistrict_KeyDown(int key) {
    if (key != Qt::Key_Delete) return;
    CmbDistrict->setText(QString());
    removeEntries(CmbTaluk);
}

void FilterPanel::CmbPrakara_KeyDown(int key) {
    if (key != Qt::Key_Delete) return;
    CmbPrakara->setText(QString());
    removeEntries(CmbUpaprakara);
}
