#pragma once
// The export of the open year's job sheets as "Schede_di_Lavoro.xls".
#include "kit/exportwindow.h"

class TfrmExpLavoro : public orv::forms::ExportWindow {
public:
    explicit TfrmExpLavoro(QWidget* owner = nullptr);
};

extern TfrmExpLavoro* frmExpLavoro;
