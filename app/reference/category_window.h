// FrmPrakara: the categories window (institutions and places of work). After a save it shows the first
// category again.
#pragma once

#include "reference_window.h"

class FrmPrakara : public ReferenceWindow {
    Q_OBJECT
public:
    explicit FrmPrakara(QWidget *parent = nullptr);

protected:
    void afterSave() override;
};
