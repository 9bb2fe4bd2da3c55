#pragma once
// The installations whose periodic maintenance falls due within their notice.
#include "kit/listwindow.h"

class TfrmListScadenzario : public orv::forms::StatusListWindow {
public:
    explicit TfrmListScadenzario(QWidget* owner = nullptr);

protected:
    void load(const orv::archive::FoundRecord& found) override;
};

extern TfrmListScadenzario* frmListScadenzario;
