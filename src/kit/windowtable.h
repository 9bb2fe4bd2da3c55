#pragma once
// The program's windows by their global names ("frmClienti", "frmAvvio"). The shell fills
// the table as it creates the start windows; a window that writes into another (a finder
// into the editor that opened it) or brings the main menu back looks the other up here,
// so the modules never reach up to the shell.
#include <QString>

namespace orv::platform::ui {
class Form;
}

namespace orv::kit {

// The window of that name, or nullptr while none is registered under it.
platform::ui::Form* startWindow(const QString& globalName);
// Registers a window under a name (also a stand-in, in tests); nullptr removes it.
void setStartWindow(const QString& globalName, platform::ui::Form* f);
// Empties the table (the shell, once the start windows are destroyed).
void clearStartWindows();

} // namespace orv::kit
