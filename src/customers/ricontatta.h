#pragma once
// The customers flagged for a call-back.
#include "kit/listwindow.h"

class TfrmRicontatta : public orv::forms::StatusListWindow {
public:
    explicit TfrmRicontatta(QWidget* owner = nullptr);

protected:
    void load(const orv::archive::FoundRecord& found) override;
};

extern TfrmRicontatta* frmRicontatta;
