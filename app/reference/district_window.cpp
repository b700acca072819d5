#include "district_window.h"

#include "reference_captions.h"

frmDistrict::frmDistrict(QWidget *parent)
    : ReferenceWindow({"frmDistrict", RefTable::District, "LstDistrict", "txtdistrict", "Label3", "Label2", "Label1",
                       Caption::districtsTitle(), Caption::districtName(), Caption::districtMessage(),
                       Caption::districtWarning()},
                      parent) {
    Form_Load();
}
