// FrmUpaprakara: the sub-categories window (posts and positions); each belongs to a category.
#pragma once

#include "two_level_window.h"

class FrmUpaprakara : public TwoLevelWindow {
    Q_OBJECT
public:
    explicit FrmUpaprakara(QWidget *parent = nullptr);
};
