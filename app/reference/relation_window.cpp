#include "relation_window.h"

#include "reference_captions.h"

FrmRelation::FrmRelation(QWidget *parent)
    : ReferenceWindow({"FrmRelation", RefTable::Relation, "LstRelation", "TxtPrakara", "Label5", "Label4", "Label3",
                       Caption::relationsTitle(), Caption::relationName(), Caption::relationMessage(),
                       Caption::relationWarning()},
                      parent) {
    Form_Load();
}
