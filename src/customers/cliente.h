#pragma once
// The customer card of "Clienti.pro" (3478 bytes, 39 text fields) and what the customer
// windows build from it without any widget: the field table, the editor's checks, the
// result lines and selections of the finder and the two lists, and the export columns.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "archive/editor.h"
#include "archive/lists.h"
#include "archive/record.h"
#include "archive/spreadsheet.h"
#include "platform/core/formats.h"

namespace orv::customers {

struct TCliente {
    QString Cliente, DataNasc, ComuneNasc, ProvNasc, Sesso, Recapito, IndirizzoRes, ProvRes,
        ComuneRes, CapRes, Estremi, TelCasa, TelUff, TelCel, Fax, Email, CodFisc, Carta,
        ScadeCarta, PartitaIva, Iban, TipoImpianto, Marca, Matricola, Alimentazione,
        AnnoCostruz, Caratteristiche, Ubicazione, Questioni, DataScade, Preavviso, Note,
        Ricontatta, File01, File02, File03, Desc01, Desc02, Desc03;

    static inline const QString kFileName = QStringLiteral("Clienti.pro");
    static constexpr qint64 kSize = 3478;

    // The field table: names, widths, controls of the customer editor, in record order.
    static const orv::archive::RecordLayout& layout();

    QStringList values() const;
    static TCliente fromValues(const QStringList& values);
    QByteArray encode() const;
    static TCliente decode(const QByteArray& record);
};

// Result lines of the customer finder and of the recontact and maintenance-due lists.
QString RigaTrovaClienti(const TCliente& c);
// The finder's line of a stored card, without decoding the fields the line does not show.
QString RigaTrovaClienti(const QByteArray& record);
// The same into a builder over a stored card, for the search.
void RigaTrovaClienti(orv::archive::StoredLineBuilder& b);
QString RigaRicontatta(const TCliente& c);
QString RigaScadenzario(const TCliente& c);

// The maintenance-due test: the due date minus the days of notice is today or earlier,
// and today is not past the due date. `ok` is false for a due date that is not a date or
// notice days that are not a whole number (the list stops filling there).
bool ScadenzaImminente(const TCliente& c, orv::platform::TDateTime today, bool& ok);

} // namespace orv::customers

namespace orv::customers {

// The recontact test: the call-back flag is exactly "Sì".
bool toRecontact(const TCliente& c);

// The two status lists of the customer archive, filled in archive order: the cards to
// call back, and the cards whose maintenance falls due within their notice. The due list
// skips a card whose due date or notice days cannot be read and goes on with the next.
void fillRecontact(orv::platform::ArchiveFile& file, orv::archive::ResultSink& out);
void fillMaintenanceDue(orv::platform::ArchiveFile& file, orv::archive::ResultSink& out, orv::platform::TDateTime today);

// The customer finder's ten criteria, in Enter order: criterion edit and field searched.
struct FinderCriterion {
    QString control;
    int field;
};
const QList<FinderCriterion>& finderCriteria();
// The customer finder's search: typed[i] is the text of finderCriteria()[i]; the lines
// are RigaTrovaClienti of every card that meets the criteria in use.
void search(orv::platform::ArchiveFile& file, const QStringList& typed, orv::archive::ResultSink& out);

// The customer editor's card: the field table, "Clienti.pro", the notice days "0" on a
// blank card, the attachments emptied by Duplicate and the Save checks.
orv::archive::EditorConfig editorConfig();

// The customer export: "Clienti.xls", sheet "Clienti e Impianti", 25 columns.
const orv::archive::ExportSheet& exportSheet();
// The 25 exported cells of a card, as the grid shows them (municipality and province
// joined by one blank).
QStringList exportRow(const TCliente& c);

} // namespace orv::customers

namespace orv::customers {

// The mail to the customer: "mailto:" and the address, in double quotes.
QString mailCommand(const QString& email);
// The maintenance-due notice as handed to the shell: the address, the fixed subject and
// the body built from the card's values, each trimmed, in double quotes, not encoded.
QString noticeCommand(const QString& cliente, const QString& marca, const QString& matricola,
                      const QString& dataScade, const QString& email);

} // namespace orv::customers
