// FrmRelation: the relations window.
#pragma once

#include "reference_window.h"

class FrmRelation : public ReferenceWindow {
    Q_OBJECT
public:
    explicit FrmRelation(QWidget *parent = nullptr);
};
