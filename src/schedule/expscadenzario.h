#pragma once
// The export of the year open in the schedule editor: every entry in a grid, written on
// request as "Scadenze_e_Appuntamenti.xls".
#include "kit/exportwindow.h"

namespace orv::schedule {

class TfrmExpScadenzario : public orv::kit::ExportWindow {
public:
    explicit TfrmExpScadenzario(QWidget* owner = nullptr);
};

extern TfrmExpScadenzario* frmExpScadenzario;

} // namespace orv::schedule

namespace orv::schedule {

// The grid columns of the export (the row number first) and of the three grid windows
// (the sort key last); column 14 is named as each window names it.
QList<orv::kit::GridColumn> entryGridColumns(const QString& paymentColumn);

} // namespace orv::schedule
