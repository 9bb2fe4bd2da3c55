#pragma once
// The customer archive exported as "Clienti.xls".
#include "customers/common/exportwindow.h"

class TfrmExpClienti : public orv::forms::ExportWindow {
public:
    explicit TfrmExpClienti(QWidget* owner = nullptr);
};

extern TfrmExpClienti* frmExpClienti;
