#pragma once
// The warehouse archive exported as "Magazzino.xls".
#include "kit/exportwindow.h"

namespace orv::warehouse {

class TfrmExpMagazzino : public orv::kit::ExportWindow {
public:
    explicit TfrmExpMagazzino(QWidget* owner = nullptr);
};

extern TfrmExpMagazzino* frmExpMagazzino;

} // namespace orv::warehouse
