#include "subcategory_window.h"

#include "shared_module.h"
#include "reference_captions.h"

FrmUpaprakara::FrmUpaprakara(QWidget *parent)
    : TwoLevelWindow({"FrmUpaprakara", RefTable::Upaprakara, "LstUpaprakara", "TxtUpaprakara", "Label4", "Label3",
                      "Label1", Caption::upaprakarasTitle(), Caption::upaprakaraName(), Caption::upaprakaraMessage(),
                      Caption::upaprakaraWarning()},
                     {"CmbPrakara", "Label2", Caption::upaprakaraParent(), Caption::upaprakaraParentMessage(),
                      RefTable::Prakara, &ModDeclare::FillPrakaras, Caption::upaprakaraMove(), Caption::upaprakaraMoveQuestion()},
                     parent) {
    Form_Load();
}
