#pragma once
// The installations not yet returned to their customers: the sheets of the open year
// whose flag "Riconsegnato" is "No", in file order.
#include "kit/listwindow.h"

namespace orv::jobs {

class TfrmDaRiconsegnare : public orv::kit::StatusListWindow {
public:
    explicit TfrmDaRiconsegnare(QWidget* owner = nullptr);

protected:
    void load(const orv::archive::FoundRecord& found) override;
};

extern TfrmDaRiconsegnare* frmDaRiconsegnare;

} // namespace orv::jobs
