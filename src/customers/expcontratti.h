#pragma once
// The contract archive exported as "Contratti.xls".
#include "kit/exportwindow.h"

class TfrmExpContratti : public orv::forms::ExportWindow {
public:
    explicit TfrmExpContratti(QWidget* owner = nullptr);
};

extern TfrmExpContratti* frmExpContratti;
