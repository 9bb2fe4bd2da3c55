#pragma once
// The delivery-note year menu: the year whose delivery-note archive the editor opens.
#include "documents/menuanno.h"

class TfrmMenuDDT : public orv::docs::YearMenu {
public:
    explicit TfrmMenuDDT(QWidget* owner = nullptr);
};

extern TfrmMenuDDT* frmMenuDDT;
