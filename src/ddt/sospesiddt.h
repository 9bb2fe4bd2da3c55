#pragma once
// The loads not yet delivered: the delivery notes of the open year whose flag
// "Consegnato" is stored as "No", in file order; a double click loads the chosen one
// into the editor.
#include "kit/listwindow.h"

namespace orv::ddt {

class TfrmSospesiDDT : public orv::kit::StatusListWindow {
public:
    explicit TfrmSospesiDDT(QWidget* owner = nullptr);

protected:
    void load(const orv::archive::FoundRecord& found) override;
};

extern TfrmSospesiDDT* frmSospesiDDT;

} // namespace orv::ddt
