#pragma once
// The contract archive exported as "Contratti.xls".
#include "kit/exportwindow.h"

namespace orv::customers {

class TfrmExpContratti : public orv::kit::ExportWindow {
public:
    explicit TfrmExpContratti(QWidget* owner = nullptr);
};

extern TfrmExpContratti* frmExpContratti;

} // namespace orv::customers
