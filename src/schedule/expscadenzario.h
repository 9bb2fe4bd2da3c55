#pragma once
// The export of the year open in the schedule editor: every entry in a grid, written on
// request as "Scadenze_e_Appuntamenti.xls".
#include "kit/exportwindow.h"

class TfrmExpScadenzario : public orv::forms::ExportWindow {
public:
    explicit TfrmExpScadenzario(QWidget* owner = nullptr);
};

extern TfrmExpScadenzario* frmExpScadenzario;

namespace orv::schedule {

// The grid columns of the export (the row number first) and of the three grid windows
// (the sort key last); column 14 is named as each window names it.
QList<orv::forms::GridColumn> entryGridColumns(const QString& paymentColumn);

} // namespace orv::schedule
