// frmDistrict: the districts window.
#pragma once

#include "reference_window.h"

class frmDistrict : public ReferenceWindow {
    Q_OBJECT
public:
    explicit frmDistrict(QWidget *parent = nullptr);
};
