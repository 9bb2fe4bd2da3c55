#pragma once
// The export of the open year's job sheets as "Schede_di_Lavoro.xls".
#include "kit/exportwindow.h"

namespace orv::jobs {

class TfrmExpLavoro : public orv::kit::ExportWindow {
public:
    explicit TfrmExpLavoro(QWidget* owner = nullptr);
};

extern TfrmExpLavoro* frmExpLavoro;

} // namespace orv::jobs
