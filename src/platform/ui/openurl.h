#pragma once
// Hands a command text to the desktop, as every module does for its produced files,
// attached files, the user guide, mail texts and web addresses.
#include <QString>

namespace orv::platform::ui {

class TMisc {
public:
    // Callers pass a file path or a "mailto:" text wrapped in double quotes, or a web
    // address. Returns at once; nothing is reported when nothing opens.
    static void Open(const QString& command);
};

} // namespace orv::platform::ui

namespace orv::platform::ui {

// The question every card and document asks after writing its PDF file.
inline const QString kPdfExportedQuestion = QStringLiteral(
    "L'esportazione della scheda in PDF \u00e8 terminata con successo.\r\n\r\nSi vuole aprire il file?");

// Asks kPdfExportedQuestion; on any answer but No opens the file with the program the
// desktop associates with it and returns true.
bool offerToOpenPdf(const QString& path);

} // namespace orv::platform::ui
