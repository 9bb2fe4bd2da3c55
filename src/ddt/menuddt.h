#pragma once
// The delivery-note year menu: the year whose delivery-note archive the editor opens.
#include "documents/menuanno.h"

namespace orv::ddt {

class TfrmMenuDDT : public orv::documents::YearMenu {
public:
    explicit TfrmMenuDDT(QWidget* owner = nullptr);
};

extern TfrmMenuDDT* frmMenuDDT;

} // namespace orv::ddt
