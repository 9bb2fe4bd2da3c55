#pragma once
// The job sheet of a year file ("<yyyy>.lav", 4347 bytes, 37 text fields) and what the
// job-sheet windows build from it without any widget: the year file's path, the field
// table with the editor's controls, the editor's checks and numbering, the list line of
// the finder, the not-returned list and the cost summary, the finder's criteria, and the
// export's columns and cells.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

#include "archive/editor.h"
#include "archive/lists.h"
#include "archive/record.h"
#include "archive/spreadsheet.h"

namespace orv::jobs {

struct TSchedaLavoro {
    // The fields in record order.
    enum Field : int {
        NumScheda, Data, Pagamento, TipoImpianto, Marca, Matricola, Alimentazione, AnnoCostruz,
        Caratteristiche, Ubicazione, Cliente, CodFiscCli, TelCli, IndirizzoCli, DataAccetta, OraAccetta,
        Luogo, Tecnico, Anomalie, Controlli, Lavori, Ricambi, Raccomandazioni, Stato, Annotazioni, Fattura,
        TotFattura, DataRiconsegna, OraRiconsegna, Garanzia, Riconsegnato, File01, File02, File03, Desc01,
        Desc02, Desc03,
        kFieldCount
    };

    static constexpr qint64 kSize = 4347;
    // The field table: names, widths and the editor controls, in record order.
    static const orv::archive::RecordLayout& layout();

    // One value per field, in record order.
    QStringList values = QStringList(kFieldCount);

    QString operator[](Field f) const { return values.value(f); }
    QString& operator[](Field f) { return values[f]; }

    QByteArray encode() const;
    static TSchedaLavoro decode(const QByteArray& record);
};

// The list line of a job sheet: the number and date, customer, phone and installation
// in fixed columns (133 characters), then the invoiced total as it is stored.
QString RigaSchedaLavoro(const TSchedaLavoro& s);
// The same line built from the stored fields, for a search.
void RigaSchedaLavoro(orv::archive::StoredLineBuilder& b);

} // namespace orv::jobs

namespace orv::jobs {

// The year file of a year typed as four digits: the program folder, the year and ".lav".
// Nothing for any other text, which never becomes a path.
std::optional<QString> yearFile(const QString& year);
// The warning of the year fields.
inline const QString kYearWarning =
    QStringLiteral("Attenzione: indicare l'anno solare utilizzando quattro cifre.");

// The job-sheet editor's sheet: the field table, the year file the editor has open
// (`archivePath`), the amount "0,00" on a cleared sheet, the focus on the installation
// type, First and Save reporting in warnings, and the five Save checks.
orv::archive::EditorConfig editorConfig(std::function<QString()> archivePath);

// The number New gives: the start number of the settings, "1" when it is blank, plus the
// sheets already in the year file. Nothing when the start number is not a whole number.
std::optional<qint64> nextNumber(const QString& startNumber, qint64 sheets);

// The finder's ten criteria in Enter order: criterion edit, its label and the field
// searched.
struct Criterion {
    QString control;
    QString caption;
    TSchedaLavoro::Field field;
};
const QList<Criterion>& finderCriteria();

// The not-returned list: the sheets whose flag "Riconsegnato" holds exactly "No", in
// file order.
bool notReturned(const QByteArray& record);
void fillNotReturned(orv::platform::ArchiveFile& file, orv::archive::ResultSink& out);

// The export: "Schede_di_Lavoro.xls", sheet "Riepilogo Schede di Lavoro", 25 columns,
// and a sheet's 25 cells as the grid shows them.
const orv::archive::ExportSheet& exportSheet();
QStringList exportRow(const TSchedaLavoro& s);

// List-print titles of the finder and the not-returned list.
inline const QString kTitleFinder = QStringLiteral("Riepilogo Schede di Lavoro emesse");
inline const QString kTitleNotReturned = QStringLiteral("Riepilogo impianti non riconsegnati");

// The finder's count text: "Il presente elenco contiene N schede.".
QString finderCountText(qsizetype lines);

} // namespace orv::jobs
