#pragma once
// The quote export: every quote of the open year in a grid, written on request as
// "Preventivi.xls" in the program folder.
#include "kit/exportwindow.h"

namespace orv::quotes {

class TfrmExpPreventivi : public orv::kit::ExportWindow {
public:
    explicit TfrmExpPreventivi(QWidget* owner = nullptr);
};

extern TfrmExpPreventivi* frmExpPreventivi;

} // namespace orv::quotes
