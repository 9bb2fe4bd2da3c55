#pragma once
// The quote export: every quote of the open year in a grid, written on request as
// "Preventivi.xls" in the program folder.
#include "kit/exportwindow.h"

class TfrmExpPreventivi : public orv::forms::ExportWindow {
public:
    explicit TfrmExpPreventivi(QWidget* owner = nullptr);
};

extern TfrmExpPreventivi* frmExpPreventivi;
