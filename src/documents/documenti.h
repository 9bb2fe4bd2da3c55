#pragma once
// SEAM: the print, print-preview and PDF windows of quotes (TfrmStampaPrev,
// TfrmAnteprimaPrev, TfrmCrea_PDF_Prev) and of delivery notes (TfrmStampaDDT,
// TfrmAnteprimaDDT, TfrmCrea_PDF_DDT) belong to document printing, built on the report
// engine. The editor creates each with itself as owner, shows it modally and destroys it,
// handing it nothing: the window reads the editor's controls (header, the kind's hidden
// values, the thirty rows and the totals) itself, so a document prints as it stands on
// screen, saved or not. Document printing installs an opener per editor here; until it
// does, the three commands open nothing.
#include <QString>
#include <QWidget>

#include <functional>

namespace orv::documents {

enum class DocumentOutput { Print, Preview, Pdf };

using DocumentWindows = std::function<void(QWidget* editor, DocumentOutput output)>;
// Installs the opener of the editor of that global name ("frmPreventivi", "frmDDT"); an
// empty one removes it.
void setDocumentWindows(const QString& editorName, DocumentWindows open);
// Opens the window of `output` for the editor, when its opener is installed.
void openDocumentWindow(QWidget* editor, DocumentOutput output);

} // namespace orv::documents
