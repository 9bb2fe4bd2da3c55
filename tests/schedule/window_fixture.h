#pragma once
// The schedule windows under test: the program's windows created as at start, the
// schedule window shown as the main menu shows it (today is 15/03/2026), the services
// replaced by recording doubles, the program folder a fresh temporary folder.
#include "gui/doubles.h"

#include "kit/reports.h"
#include "schedule/scadenza.h"
#include "schedule/scadenzario.h"

#include <ostream>

#include "qstring_printer.h"

namespace orv::test {

inline const QString kAccessText = u"Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di "
                                   u"possedere i privilegi di scrittura nella cartella di installazione del programma."_qs;

// Selects the line with a click, then double-clicks it, as a user does.
void doubleClickLine(platform::ui::ListBox& box, int row);

// An entry with the given values; the other fields empty.
schedule::TScadenza entry(std::initializer_list<std::pair<QString schedule::TScadenza::*, const char*>> values);
// A complete entry as the editor saves it: due on the day at the time, in `year`.
schedule::TScadenza dueEntry(const QString& date, const QString& time, const QString& reason, const QString& notice = u"0"_qs);

// What the list print and the card print received in place of the report engine.
struct PrintLog {
    QString listTitle;
    QStringList listLines;
    int listPrints = 0;
    QMap<QString, QString> card; // memo name -> text
    QStringList cardCalls;       // "print", "preview"
};

class ScheduleTest : public GuiTest {
protected:
    PrintLog prints;

    void SetUp() override;
    void TearDown() override;

    schedule::TfrmScadenzario& window() const { return *schedule::frmScadenzario; }
    // Writes the archive of a year.
    void writeYear(const QString& year, const QList<schedule::TScadenza>& entries) const;
    QByteArray yearBytes(const QString& year) const { return readFile(year + u".sca"_qs); }
    // Shows the window again as the main menu does (its reminder runs again).
    void reopen();
    // Types the year on the start panel and presses Apri.
    void openYear(const QString& year);
    // Chooses an item from a list field's drop-down list, as a user does.
    static void pick(platform::ui::ComboEdit& field, const QString& item);
    // The box texts shown so far, and forgets them.
    QStringList takeTexts();
};

} // namespace orv::test
