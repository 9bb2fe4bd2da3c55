#pragma once
// The customers flagged for a call-back.
#include "kit/listwindow.h"

namespace orv::customers {

class TfrmRicontatta : public orv::kit::StatusListWindow {
public:
    explicit TfrmRicontatta(QWidget* owner = nullptr);

protected:
    void load(const orv::archive::FoundRecord& found) override;
};

extern TfrmRicontatta* frmRicontatta;

} // namespace orv::customers
