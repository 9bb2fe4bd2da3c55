#pragma once
// SEAM: the job sheet's print, print-preview and PDF windows (TfrmStampaLav,
// TfrmAnteprimaLav, TfrmCrea_PDF_Lav) belong to document printing, built on the report
// engine. Each is created with the editor as its owner, shown modally and destroyed; it
// is given nothing and reads the 29 edits and the two check boxes of the global editor
// frmLavoro itself, so a sheet prints with the values on screen, saved or not. Document
// printing installs its opener here; until it does, the three commands open nothing.
#include <QWidget>

#include <functional>

namespace orv::jobs {

enum class JobSheetDocument { Print, Preview, Pdf };

using DocumentWindows = std::function<void(QWidget* editor, JobSheetDocument document)>;
// Installs the opener of the three windows; an empty one removes it.
void setDocumentWindows(DocumentWindows open);
// Opens the window of `document` owned by the editor, when one is installed.
void openDocumentWindow(QWidget* editor, JobSheetDocument document);

} // namespace orv::jobs
