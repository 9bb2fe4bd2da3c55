#pragma once
// SEAM(foundation): what the working windows need of the application shell (help window,
// main menu, global instances). Replaced by the shell's own routines when they land.
#include <QString>
#include <QStringList>
#include <QWidget>

namespace orv::ui {
class Form;
}

namespace orv::forms {

// The help window owned by `owner`, with the title and the paragraphs joined by "\r\n\r\n".
void showHelp(QWidget* owner, const QString& title, const QStringList& paragraphs);
// Shows the main menu window (a module window's close).
void showMainMenu();
// The global instance of that name ("frmContratto"), or nullptr while the program has none.
ui::Form* globalWindow(const QString& name);

} // namespace orv::forms
