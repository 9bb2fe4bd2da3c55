#pragma once
// The contract archive exported as "Contratti.xls".
#include "customers/common/exportwindow.h"

class TfrmExpContratti : public orv::forms::ExportWindow {
public:
    explicit TfrmExpContratti(QWidget* owner = nullptr);
};

extern TfrmExpContratti* frmExpContratti;
