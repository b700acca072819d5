#include "category_window.h"

#include "reference_captions.h"

FrmPrakara::FrmPrakara(QWidget *parent)
    : ReferenceWindow({"FrmPrakara", RefTable::Prakara, "LstPrakara", "TxtPrakara", "Label3", "Label2", "Label1",
                       Caption::prakarasTitle(), Caption::prakaraName(), Caption::prakaraMessage(),
                       Caption::prakaraWarning()},
                      parent) {
    Form_Load();
}

void FrmPrakara::afterSave() {
    ClearBoxes();
    ShowFirst();
}
