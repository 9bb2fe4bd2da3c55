#pragma once
// Program start: the global window instances created in their fixed order (the login
// window first, as the application's main window), and the message loop.
#include <QString>

#include <functional>

namespace orv::ui {
class Form;
}

namespace orv::app {

// Creates one instance of every window class of the start table, in its order; each
// creation runs the window's OnCreate. The first becomes the main window.
void createStartWindows();
// Destroys them in the reverse order (end of the run, and between tests).
void destroyStartWindows();
// The global instance of that name ("frmClienti"), or nullptr while its class is not
// part of the program.
ui::Form* startWindow(const QString& globalName);
// Puts a stand-in under a global name (tests of the commands that show a window whose
// class is not written yet); nullptr removes it.
void setStartWindow(const QString& globalName, ui::Form* f);
// Class names of the windows created, in creation order.
QStringList createdStartWindows();

// Lets the contract, job-sheet, quote and delivery-note editors' print, preview and PDF
// commands open their document windows, which read the editor through its global instance.
void installDocumentWindows();
// Hands the windows the report layouts they print with: the list print of every list
// window and the record card.
void installReportLayouts();

// The whole run: software drawing, the application object, the start windows, the
// message loop with the login window shown. The login window is created and shown first;
// the other start windows are created right after its first paint, before any input is
// handled. `loginShown` (optional) runs at that first paint, `ready` once every start
// window exists.
int runProgram(int& argc, char** argv, std::function<void()> loginShown = {},
               std::function<void()> ready = {});

} // namespace orv::app
