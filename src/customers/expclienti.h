#pragma once
// The customer archive exported as "Clienti.xls".
#include "kit/exportwindow.h"

class TfrmExpClienti : public orv::forms::ExportWindow {
public:
    explicit TfrmExpClienti(QWidget* owner = nullptr);
};

extern TfrmExpClienti* frmExpClienti;
