#pragma once
// The article card of "Magazzino.pro" (4874 bytes, 32 text fields) and what the warehouse
// windows compute from it without any widget: the editor's card and its three price and
// value computations, the result lines of the finder, the running-out list, the import
// and the inventory, the stock update of the import, the stock window's total and the
// export columns.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

#include "archive/command.h"
#include "archive/editor.h"
#include "archive/lists.h"
#include "archive/record.h"
#include "archive/spreadsheet.h"

namespace orv::warehouse {

struct TArticolo {
    QString Codice, Tipologia, Marca, Modello, Accessori, Descrizione, Fornitore, Recapiti, Data, Costo, Valore,
        Documento, Ordine, Prezzo, PercIva, Prezzo_con_Iva, Collocazione, Giacenza, Sottoscorta, Altezza, Larghezza,
        Lunghezza, Scadenza, Note, File01, File02, File03, Desc01, Desc02, Desc03, Cartella, CartellaDesc;

    static inline const QString kFileName = QStringLiteral("Magazzino.pro");
    static constexpr qint64 kSize = 4874;

    // The field table: names, widths and the article editor's controls, in record order.
    static const orv::archive::RecordLayout& layout();

    QStringList values() const;
    static TArticolo fromValues(const QStringList& values);
    QByteArray encode() const;
    static TArticolo decode(const QByteArray& record);
};

// The line of the article finder, which the running-out list shows too: code, brand and
// model, cost, stock and notes.
QString RigaTrovaMagazzino(const TArticolo& a);
QString RigaSottoscorta(const TArticolo& a);
// The line of the article import: code, description, price and stock.
QString RigaImportaMagazzino(const TArticolo& a);
// The same two lines built from the stored fields, for a search.
void RigaTrovaMagazzino(orv::archive::StoredLineBuilder& b);
void RigaImportaMagazzino(orv::archive::StoredLineBuilder& b);
// The line of the goods inventory: code, brand and model, cost, stock and value.
QString RigaInventario(const TArticolo& a);

// The running-out test: the stock is not above the minimum stock. A stock or minimum
// stock that is not a number throws ArchiveError (the list stops filling there).
bool InEsaurimento(const TArticolo& a);

} // namespace orv::warehouse

namespace orv::warehouse {

// A number field's text as the warehouse reads it: trimmed, decimal comma.
bool readNumber(const QString& text, double& value);

// "Calcola": the price including VAT from the price and the rate, two decimals; nothing
// when a text (the current price including VAT too) is not a number.
std::optional<QString> prezzoConIva(const QString& prezzo, const QString& percIva, const QString& prezzoConIva);
// "Scorpora": the price without VAT from the price including VAT and the rate.
std::optional<QString> prezzoSenzaIva(const QString& prezzoConIva, const QString& percIva);
// The stock value, cost times stock at two decimals; an empty cost counts as "0,00", an
// empty stock as "0". Nothing when either is not a number.
std::optional<QString> valoreGiacenza(const QString& costo, const QString& giacenza);

// The editor's three computations on the card's controls, as their buttons run them.
// "Calcola" and "Scorpora" warn about texts that are not numbers and reset price, rate
// and price including VAT; "Calcola valore" resets cost, stock and value silently.
void calcolaPrezzoConIva(archive::EditorView& card, archive::MessageService& messages);
void scorporaIva(archive::EditorView& card, archive::MessageService& messages);
void calcolaValore(archive::EditorView& card);

inline const QString kCalcolaWarning = QStringLiteral(
    "Attenzione: valori non validi.\r\n\r\nInserire correttamente il prezzo e l'aliquota IVA prima di premere il "
    "pulsante Calcola.");
inline const QString kScorporaWarning = QStringLiteral(
    "Attenzione: valori non validi.\r\n\r\nInserire correttamente il prezzo IVA inclusa e l'aliquota IVA prima di "
    "premere il pulsante Scorpora.");
inline const QString kCodeWarning =
    QStringLiteral("Attenzione: per salvare la scheda \u00e8 necessario indicare il codice articolo.");

// The article editor's card: the field table, "Magazzino.pro", the number fields' texts
// on a blank card, every archive message in a warning box, the attachments and folder
// labels emptied by Duplicate, and Save's steps before the archive is opened (the code
// check, empty number fields filled, stock and minimum stock rounded, "Calcola" and
// "Calcola valore").
archive::EditorConfig editorConfig();

// The stock window's "Calcola totale": the total of the current stock and the quantity,
// added or subtracted as the direction label says (any other label leaves the total).
// Empty texts count as "0"; a text that is not a number sets all three to "0".
inline const QString kAdd = QStringLiteral("Quantit\u00e0 da aggiungere:");
inline const QString kSubtract = QStringLiteral("Quantit\u00e0 da sottrarre:");
void calcolaTotale(const QString& direction, QString& giacenza, QString& quantita, QString& totale);

// The import's stock update of one stored record: the quantity taken from the stock and
// the stock value recomputed, both written into the record's own bytes, every other byte
// as stored. `aboveStock` when the quantity exceeds the stock, `overlongField` (the
// layout's index of the stock or the value) when the new text would not fit its field
// whole; nothing changes in either case. Throws ArchiveError when the quantity or the
// stored stock is not a number.
struct StockUnload {
    bool aboveStock = false;
    int overlongField = -1;
    QByteArray record;
    QString giacenza, valore;
};
StockUnload unloadStock(const QByteArray& record, const QString& quantity);

// The import's unload of the article chosen by its result line: the record is found again
// by the line and then read, checked to still give that line, unloaded and written back
// as one locked step, so that no other workstation's unload falls between the read and
// the write. An article that another workstation changed in between is looked for again
// by the line. Throws ArchiveError as unloadStock() does, and on any failure of the
// archive; a failed write leaves the record as it was.
struct ImportUnload {
    enum class Outcome { NotFound, AboveStock, Overlong, Done } outcome = Outcome::NotFound;
    QByteArray before; // the record as it was unloaded from
    StockUnload unload;
};
ImportUnload unloadChosen(platform::ArchiveFile& file, const std::function<QString(const QByteArray&)>& line,
                          const archive::ResultLine& chosen, const QString& quantity);

// The goods inventory over the archive: the lines of the articles of one category (or of
// every article when the trimmed filter is empty), and the running sum of their values,
// reported after each article. An article whose value is not a number is skipped (neither
// listed nor summed) and the filling goes on.
bool inInventory(const TArticolo& a, const QString& filter);
void fillInventory(platform::ArchiveFile& file, const QString& filter, archive::ResultSink& out,
                   const std::function<void(double total)>& runningTotal);
// "€ " and the total at four decimals at most, with two at least.
QString inventoryTotal(double total);

// The warehouse export: "Magazzino.xls", sheet "Magazzino", 23 columns.
const archive::ExportSheet& exportSheet();
// The 23 exported cells of an article, each field trimmed.
QStringList exportRow(const TArticolo& a);

} // namespace orv::warehouse
