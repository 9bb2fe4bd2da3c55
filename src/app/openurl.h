#pragma once
// Hands a command text to the desktop, as every module does for its produced files,
// attached files, the user guide, mail texts and web addresses.
#include <QString>

class TMisc {
public:
    // Callers pass a file path or a "mailto:" text wrapped in double quotes, or a web
    // address. Returns at once; nothing is reported when nothing opens.
    static void Open(const QString& command);
};
