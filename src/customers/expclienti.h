#pragma once
// The customer archive exported as "Clienti.xls".
#include "kit/exportwindow.h"

namespace orv::customers {

class TfrmExpClienti : public orv::kit::ExportWindow {
public:
    explicit TfrmExpClienti(QWidget* owner = nullptr);
};

extern TfrmExpClienti* frmExpClienti;

} // namespace orv::customers
