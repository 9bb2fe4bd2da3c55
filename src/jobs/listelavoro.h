#pragma once
// What the job-sheet lists share: the year file the editor has open, its list line, and
// the sheet a double click loads into the editor.
#include "kit/listwindow.h"

namespace orv::jobs {

// The result list over the editor's year file, with the job-sheet line and a print title.
orv::kit::ListSpec sheetList(const QString& printTitle);
// The editor's year file, trimmed, at the moment of use.
QString openYearFile();
// Loads the sheet into the editor frmLavoro with its position.
void loadIntoEditor(const orv::archive::FoundRecord& found);

} // namespace orv::jobs
