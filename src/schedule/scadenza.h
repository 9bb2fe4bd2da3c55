#pragma once
// A schedule entry of a year's archive "<yyyy>.sca" (1828 bytes, 25 text fields) and what
// the schedule windows build from it without any widget: the field table, the year file,
// the month names, the result line of the finder and the status lists, the imminence
// rule, the grid rows with their sort key, and the export columns.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "archive/lists.h"
#include "archive/record.h"
#include "archive/spreadsheet.h"
#include "platform/core/formats.h"

namespace orv::schedule {

struct TScadenza {
    QString Giorno, Mese, Anno, Data, OreApp, MinutiApp, Ora, Avviso, Pagatore, CodFisc, Recapito,
        Codice, Tipologia, Marca, Descrizione, Accessori, Fornitore, Beneficiario, Dettagli, Officina,
        Costo, Contatto, Note, DaConfermare, Effettuata;

    static constexpr qint64 kSize = 1828;

    // The field table: names, widths and the editor controls, in record order.
    static const orv::archive::RecordLayout& layout();

    QStringList values() const;
    static TScadenza fromValues(const QStringList& values);
    QByteArray encode() const;
    static TScadenza decode(const QByteArray& record);
};

} // namespace orv::schedule

namespace orv::schedule {

// The archive of a year: the program folder, the year as typed (trimmed) and ".sca".
QString yearFile(const QString& year);
// The archive of the current calendar year.
QString currentYearFile();
// The next year's archive. Its entries are imminent while their notice reaches back into
// the current year (due 05/01 with 30 days' notice: from 06/12); it is read only when it
// exists and nothing creates it.
QString nextYearFile();

// Italian month names, January first, as the month list shows them ("Gennaio").
const QStringList& monthNames();
// The month's two-digit number ("01".."12") for a name compared in lower case (A-Z
// folded, trimmed); empty when the text is no month.
QString monthNumber(const QString& name);

// The line of an entry in the finder and the status lists: reason, date, time, payer,
// beneficiary at fixed widths, then the amount.
QString RigaScadenza(const TScadenza& s);
// The same line built from the stored fields, for a search.
void RigaScadenza(orv::archive::StoredLineBuilder& b);

// The entry's sort key in the grids: month of the date, day, hour and minutes ("03051430").
QString CodiceUnivoco(const TScadenza& s);

// The imminence rule: the due date minus the days of notice is on or before today and
// today is on or before the due date. `ok` is false when the date or the notice days
// cannot be read.
bool ScadenzaImminente(const TScadenza& s, platform::TDateTime today, bool& ok);

// The selections of the daily and monthly grids, for a date "dd/mm/yyyy".
bool dueOn(const TScadenza& s, const QString& date);
bool dueInMonthOf(const TScadenza& s, const QString& date);

// The selections of the three status lists: the flag exactly "Sì" or "No" (trimmed).
bool toConfirm(const TScadenza& s);
bool paymentToMake(const TScadenza& s);
bool paymentMade(const TScadenza& s);

// The 19 cells of an entry in the export grid (columns 1 to 19): date, time, payer ...
QStringList exportCells(const TScadenza& s);
// The 20 cells of an entry in the grids of imminent, daily and monthly entries: the 19
// export cells and the sort key.
QStringList gridCells(const TScadenza& s);

// The schedule export "Scadenze_e_Appuntamenti.xls", sheet "Scadenze e appuntamenti".
const orv::archive::ExportSheet& exportSheet();
// The three grid exports, one sheet each (20 columns, the sort key last).
const orv::archive::ExportSheet& imminentSheet();
const orv::archive::ExportSheet& dailySheet();
const orv::archive::ExportSheet& monthlySheet();

} // namespace orv::schedule
