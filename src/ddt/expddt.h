#pragma once
// The delivery-note export: every delivery note of the open year in a grid, written on
// request as "DDT.xls" in the program folder.
#include "kit/exportwindow.h"

namespace orv::ddt {

class TfrmExpDDT : public orv::kit::ExportWindow {
public:
    explicit TfrmExpDDT(QWidget* owner = nullptr);
};

extern TfrmExpDDT* frmExpDDT;

} // namespace orv::ddt
