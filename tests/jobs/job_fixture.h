#pragma once
// The job-sheet windows under test: the program's windows created as at start, the
// services replaced by recording doubles, the program folder a fresh temporary folder,
// and the editor opened through the year menu as the user opens it.
#include "gui/doubles.h"

#include "jobs/lavoro.h"
#include "jobs/scheda.h"

#include <ostream>

#include "qstring_printer.h"

namespace orv::test {

// A sheet with the given values; the other fields empty.
inline jobs::TSchedaLavoro sheet(std::initializer_list<std::pair<jobs::TSchedaLavoro::Field, const char*>> values)
{
    jobs::TSchedaLavoro s;
    for (const auto& [field, value] : values) s[field] = QString::fromUtf8(value);
    return s;
}

// Selects the line with a click, then double-clicks it, as a user does.
void doubleClickLine(platform::ui::ListBox& box, int row);

// The archive-access message of the editor's commands and the finder.
inline const QString kAccess = QStringLiteral(
    "Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di possedere i privilegi di "
    "scrittura nella cartella di installazione del programma.");

// What the list prints were given.
struct ListPrint {
    QString title;
    QStringList lines;
};

class JobWindowTest : public GuiTest {
protected:
    std::vector<ListPrint> printed;

    void SetUp() override;
    void TearDown() override;

    // The year file of the test's program folder, e.g. "2026.lav".
    void writeYear(const QList<jobs::TSchedaLavoro>& sheets, const QString& year = u"2026"_qs) const;
    QList<jobs::TSchedaLavoro> readYear(const QString& year = u"2026"_qs) const;
    // The year menu shown from the main menu, the year typed and "Apri" clicked: the
    // editor on that year's file, active.
    jobs::TfrmLavoro& openEditor(const QString& year = u"2026"_qs);
    // The box texts shown so far, and forgets them.
    QStringList takeTexts();
    bool focusIs(const platform::ui::Control& c) const { return c.form()->focusedControl() == &c; }
};

} // namespace orv::test
