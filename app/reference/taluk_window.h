// Frmtaluk: the taluks window; each taluk belongs to a district.
#pragma once

#include "two_level_window.h"

class Frmtaluk : public TwoLevelWindow {
    Q_OBJECT
public:
    explicit Frmtaluk(QWidget *parent = nullptr);
};
