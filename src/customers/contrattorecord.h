#pragma once
// The programmed-maintenance contract of "Contratti.pro" (3996 bytes, 48 text fields) and
// what the contract windows build from it without any widget: the field table, the
// editor's rules, the maintainer data kept in the settings file, the finder's result line
// and the export columns.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

#include "archive/editor.h"
#include "archive/lists.h"
#include "archive/record.h"
#include "archive/spreadsheet.h"

namespace orv::customers {

struct TContratto {
    QString NumContratto, Data, Luogo;
    // The maintaining company.
    QString Ditta, PartitaIva, CodFisc, Sede, ProvRes, CapRes, Via, TelUff, TelCel, Fax;
    // The user and the installation.
    QString Cliente, ComuneCli, ProvCli, CapCli, PartitaIvaCli, CodFiscCli, ViaCli, TelCli, QualitaCli,
        TipoImpianto, Marca, Matricola, Alimentazione, AnnoCostruz, Caratteristiche, Ubicazione;
    // The terms and the operations included in and excluded from the fee.
    QString Durata, Totale, Periodicita, ImpCanone, Pagamento, OpInc01, OpInc02, OpInc03, OpInc04, OpEsc01,
        OpEsc02, OpEsc03, OpEsc04;
    QString File01, File02, File03, Desc01, Desc02, Desc03;

    static inline const QString kFileName = QStringLiteral("Contratti.pro");
    static constexpr qint64 kSize = 3996;

    // The field table: names, widths and the contract window's controls, in record order.
    static const orv::archive::RecordLayout& layout();

    QStringList values() const;
    static TContratto fromValues(const QStringList& values);
    QByteArray encode() const;
    static TContratto decode(const QByteArray& record);
};

// The contract finder's result line.
QString RigaTrovaContratti(const TContratto& c);
// The same line built from the stored fields, for a search.
void RigaTrovaContratti(orv::archive::StoredLineBuilder& b);

} // namespace orv::customers

namespace orv::customers {

// The contract window's archive rules: "Contratti.pro", a blank contract keeping its
// number, place and maintainer, amounts "0,00", the Save checks, and Duplicate keeping
// the attachments but not the number.
orv::archive::EditorConfig contractEditorConfig();

// The number New proposes: the start number plus the contracts already stored; nothing
// when the start number is not a whole number.
std::optional<QString> proposedContractNumber(const QString& startNumber, qint64 stored);

// The maintainer data and the place of signing, kept between runs in the section
// "Ditta Manutentrice" of the settings file: each key with the control that edits it.
inline const QString kMaintainerSection = QStringLiteral("Ditta Manutentrice");
struct SettingsKey {
    QString key;
    QString control;
};
const QList<SettingsKey>& maintainerKeys();
// Reads the eleven keys into their controls (a missing key gives the empty text).
void loadMaintainer(orv::archive::EditorView& view);
// Writes the eleven keys from the controls, trimmed. Throws IniFileError when the
// settings file cannot be written; the keys written before the failure stay written.
void storeMaintainer(const orv::archive::EditorView& view);

// The contract export: "Contratti.xls", sheet "Riepilogo Contratti", 25 columns.
const orv::archive::ExportSheet& contractExportSheet();
// The 25 exported cells of a contract as the grid shows them (municipality and province
// joined by one blank).
QStringList contractExportRow(const TContratto& c);

} // namespace orv::customers
