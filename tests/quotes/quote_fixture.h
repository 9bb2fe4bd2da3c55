#pragma once
// The quote windows under test: the program's windows created as at start, the services
// replaced by recording doubles, the program folder a fresh temporary folder, and the
// editor opened through the main menu and the year menu as the user opens it.
#include "gui/doubles.h"

#include "documents/documenti.h"
#include "quotes/preventivi.h"
#include "quotes/preventivo.h"

#include <ostream>

#include "qstring_printer.h"

namespace orv::test {

// A quote with the given values by field name; the other fields empty.
quotes::TPreventivo quote(std::initializer_list<std::pair<const char*, const char*>> values);

// Selects the line with a click, then double-clicks it, as a user does.
void doubleClickLine(platform::ui::ListBox& box, int row);

// The archive-access message of the editor's commands and the finder.
inline const QString kAccess = QStringLiteral(
    "Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di possedere i privilegi di "
    "scrittura nella cartella di installazione del programma.");

// What a list print was given.
struct ListPrint {
    QString title;
    QStringList lines;
};

class QuoteWindowTest : public GuiTest {
protected:
    std::vector<ListPrint> printed;
    std::vector<documents::DocumentOutput> documents;

    void SetUp() override;
    void TearDown() override;

    // The year file of the test's program folder, e.g. "2026.pre".
    void writeYear(const QList<quotes::TPreventivo>& quotes, const QString& year = u"2026"_qs) const;
    QList<quotes::TPreventivo> readYear(const QString& year = u"2026"_qs) const;
    // The committed fixture file of that name.
    static QByteArray fixture(const char* name);
    // The year menu shown from the main menu, the year typed and "Apri" clicked: the
    // editor on that year's file, active.
    quotes::TfrmPreventivi& openEditor(const QString& year = u"2026"_qs);
    // The box texts shown so far, and forgets them.
    QStringList takeTexts();
    bool focusIs(const platform::ui::Control& c) const { return c.form()->focusedControl() == &c; }
};

} // namespace orv::test
