#pragma once
// Core services that tests replace: the clock and the program folder. The services that
// need a window system (message boxes, file dialog, shell open, printer, sound, modal
// show) live in the platform's user-interface layer.
#include <QDateTime>
#include <QString>

#include "platform/core/formats.h"

namespace orv::platform {

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

// The clock in use: the system clock unless a test installed its own.
const Clock& clock();
// Installs a clock (not owned); nullptr restores the system clock.
void setClock(const Clock* c);

// Now and today as date-time values of the program (days since 30/12/1899).
TDateTime nowDateTime();
TDateTime today();
int currentYear();

// The folder that holds the program file, with its trailing separator. Every file of
// the program is named relative to it, never to the current folder.
QString programFolder();
// Overrides the folder (tests, tools); an empty text restores the executable's folder.
void setProgramFolder(const QString& folder);
// programFolder() followed by the relative name.
QString programFile(const QString& name);

} // namespace orv::platform
