#pragma once
// The installations whose periodic maintenance falls due within their notice.
#include "kit/listwindow.h"

namespace orv::customers {

class TfrmListScadenzario : public orv::kit::StatusListWindow {
public:
    explicit TfrmListScadenzario(QWidget* owner = nullptr);

protected:
    void load(const orv::archive::FoundRecord& found) override;
};

extern TfrmListScadenzario* frmListScadenzario;

} // namespace orv::customers
