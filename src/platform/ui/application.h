#pragma once
// The application object: the message loop, the general error box at the dispatch
// boundary, and the switches the program makes before any window exists.
#include <QApplication>

namespace orv::platform::ui {

// Windows are drawn on the processor, never on the graphics card. Call before the
// application object is created.
void useSoftwareDrawing();

// A QApplication that catches whatever escapes an event (a paint included) and shows it
// in the general error box afterwards, so the program goes on.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* e) override;
};

// What the program needs of any QApplication (the test mains call it too): the fonts the
// windows name mapped to the installed metric-compatible ones, the default font, and no
// quit when the last visible window closes, and Qt's own Italian texts.
void setupApplication();

// Qt's own Italian texts for the standard dialogs (file, print, colour, the buttons of
// message boxes). False when the translation file is not installed; the program goes on.
bool loadQtTranslations();

// Ends the message loop (the exit commands, closing the main window). Tests read whether
// it was asked for.
void terminateApplication();
bool terminateRequested();
void clearTerminateRequest();

} // namespace orv::platform::ui
