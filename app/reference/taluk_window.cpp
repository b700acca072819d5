#include "taluk_window.h"

#include "shared_module.h"
#include "reference_captions.h"

Frmtaluk::Frmtaluk(QWidget *parent)
    : TwoLevelWindow({"Frmtaluk", RefTable::Taluk, "LstTaluk", "txttaluk", "Label4", "Label3", "Label1",
                      Caption::taluksTitle(), Caption::talukName(), Caption::talukMessage(), Caption::talukWarning()},
                     {"CmbDistrict", "Label2", Caption::districtName(), Caption::districtMessage(), RefTable::District,
                      &ModDeclare::FillDistricts, Caption::talukMove(), Caption::talukMoveQuestion()},
                     parent) {
    Form_Load();
}
