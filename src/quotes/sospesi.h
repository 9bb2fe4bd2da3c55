#pragma once
// The pending quotes: the quotes of the open year whose flag "In sospeso" is set, in file
// order; a double click loads the chosen one into the editor.
#include "kit/listwindow.h"

namespace orv::quotes {

class TfrmSospesi : public orv::kit::StatusListWindow {
public:
    explicit TfrmSospesi(QWidget* owner = nullptr);

protected:
    void load(const orv::archive::FoundRecord& found) override;
};

extern TfrmSospesi* frmSospesi;

} // namespace orv::quotes
