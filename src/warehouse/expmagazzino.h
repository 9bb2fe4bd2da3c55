#pragma once
// The warehouse archive exported as "Magazzino.xls".
#include "kit/exportwindow.h"

class TfrmExpMagazzino : public orv::forms::ExportWindow {
public:
    explicit TfrmExpMagazzino(QWidget* owner = nullptr);
};

extern TfrmExpMagazzino* frmExpMagazzino;
