#pragma once
// Program start: the global window instances created in their fixed order (the login
// window first, as the application's main window), and the message loop.
#include <QString>

#include <functional>

namespace orv::platform::ui {
class Form;
}

namespace orv::shell {

// Creates one instance of every window class of the start table, in its order; each
// creation runs the window's OnCreate. The first becomes the main window.
void createStartWindows();
// Destroys them in the reverse order (end of the run, and between tests).
void destroyStartWindows();
// Each start window is registered in the window table (kit/windowtable.h) under its
// global name ("frmClienti") while it exists.
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

} // namespace orv::shell
