#pragma once
// The quote year menu: the year whose quote archive the editor opens.
#include "documents/menuanno.h"

class TfrmMenuPreventivi : public orv::docs::YearMenu {
public:
    explicit TfrmMenuPreventivi(QWidget* owner = nullptr);
};

extern TfrmMenuPreventivi* frmMenuPreventivi;
