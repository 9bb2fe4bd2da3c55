#pragma once
// The quote year menu: the year whose quote archive the editor opens.
#include "documents/menuanno.h"

namespace orv::quotes {

class TfrmMenuPreventivi : public orv::documents::YearMenu {
public:
    explicit TfrmMenuPreventivi(QWidget* owner = nullptr);
};

extern TfrmMenuPreventivi* frmMenuPreventivi;

} // namespace orv::quotes
