#include "schedule/griglie.h"

#include "archive/lists.h"
#include "platform/core/formats.h"
#include "platform/core/services.h"
#include "platform/core/text.h"
#include "platform/ui/art.h"
#include "schedule/expscadenzario.h"
#include "schedule/scadenza.h"
#include "schedule/scadenzario.h"

#include <QFile>
#include <QTableWidget>

#include <algorithm>
#include <numeric>

namespace orv::schedule {
using namespace orv::platform;
} // namespace orv::schedule

namespace orv::schedule {

using namespace orv::platform::ui;

TfrmExpImminenti* frmExpImminenti = nullptr;
TfrmExpGiornaliere* frmExpGiornaliere = nullptr;
TfrmExpMensili* frmExpMensili = nullptr;

} // namespace orv::schedule

namespace orv::schedule {

void OrdinaGriglia(StringGrid& grid, int keyColumn)
{
    QTableWidget* table = grid.tableWidget();
    const bool updates = table->updatesEnabled();
    table->setUpdatesEnabled(false);
    const int rows = grid.rowCount();
    std::vector<int> order(size_t(rows), 0);
    std::iota(order.begin(), order.end(), 0);
    std::vector<QString> keys;
    keys.reserve(size_t(rows));
    for (int r = 0; r < rows; ++r) keys.push_back(grid.cell(keyColumn, r));
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return compareTextAZ(keys[size_t(a)], keys[size_t(b)]) < 0; });
    for (int c = 0; c < grid.columnCount(); ++c) {
        std::vector<QString> cells;
        cells.reserve(size_t(rows));
        for (int r = 0; r < rows; ++r) cells.push_back(grid.cell(c, r));
        for (int r = 0; r < rows; ++r) grid.setCell(c, r, cells[size_t(order[size_t(r)])]);
    }
    table->setUpdatesEnabled(updates);
}

namespace {

orv::kit::ExportSpec gridSpec(const EntryGrid& g)
{
    orv::kit::ExportSpec s;
    s.recordSize = TScadenza::kSize;
    s.columns = entryGridColumns(g.paymentColumn);
    s.columns[6].name = u"colCodArt"_qs;
    s.columns.append({u"colCodice"_qs, u"Codice univoco"_qs, 150, false});
    s.sheet = g.sheet;
    s.helpTitle = u"Visualizzazione scadenze e appuntamenti."_qs;
    s.helpText = {
        u"Per visualizzare l'elenco delle scadenze imminenti è sufficiente fare clic sul pulsante OK nell'ambiente "
        u"Scadenze e appuntamenti. Tale pulsante diventa attivo solo se sono presenti scadenze imminenti in "
        u"archivio."_qs,
        u"Si osservi che la lista delle scadenze imminenti tiene conto del numero di giorni di preavviso indicato "
        u"dall'utente per ciascuna scadenza. Questo significa che tale lista potrebbe visualizzare anche scadenze "
        u"non proprio prossime se l'utente ha deciso di essere avvisato con notevole anticipo."_qs,
        u"In calce al calendario sono presenti due pulsanti che consentono di richiamare le scadenze relative al "
        u"giorno o al mese selezionato."_qs,
        u"Le scadenze in elenco sono ordinate in base alla data e all'ora e la loro disposizione cronologica "
        u"avviene indipendentemente dall'ordine con cui l'utente le ha archiviate."_qs,
        u"E' possibile esportare la lista delle scadenze in un foglio di Microsoft Excel. A tal fine, basta fare "
        u"clic sulla relativa icona e salvare il file che viene generato in tempo reale."_qs,
    };
    return s;
}

} // namespace

EntryGridWindow::EntryGridWindow(QWidget* owner, const EntryGrid& grid)
    : ExportWindow(owner, grid.name, grid.caption, gridSpec(grid))
{
    // The grid shows deadlines before it exports anything: its banner names what it lists.
    imgLogo.setArtwork(platform::ui::art::heading(grid.caption.trimmed().toUpper(), QString(), platform::ui::art::Icon::Schedule));
    onShow = [this] { FormShow(); };
}

namespace {

// Appends the listed entries of an archive as grid rows, numbered on from the rows there;
// `read` tells whether the archive held entries. False when the reading failed.
bool readRows(const QString& path, const std::function<bool(const TScadenza&)>& select, QList<QStringList>& rows,
              bool& read)
{
    return archive::runArchiveCommandSilently(path, TScadenza::kSize, [&](ArchiveFile& file) {
        if (file.count() == 0) return;
        read = true;
        archive::ResultList none;
        archive::fillList(
            file, none,
            [&](const QByteArray& r) {
                const TScadenza s = TScadenza::decode(r);
                if (select(s)) rows.append(QStringList{QString::number(rows.size() + 1)} + gridCells(s));
                return false;
            },
            {});
    });
}

} // namespace

void EntryGridWindow::FormShow()
{
    const auto select = selection();
    bool read = false; // the archive holds entries and its reading began
    QList<QStringList> rows;
    const bool ok = readRows(archivePath(), select, rows, read);
    // Entries of a later year's archive (the imminent ones of next year) follow the
    // whole year, in their own key order: the key holds no year.
    QList<QStringList> later;
    const QString laterPath = laterArchivePath();
    if (ok && !laterPath.isEmpty() && QFile::exists(laterPath)) {
        bool laterRead = false;
        later = rows;
        if (readRows(laterPath, select, later, laterRead)) {
            later.erase(later.begin(), later.begin() + rows.size());
            std::stable_sort(later.begin(), later.end(), [](const QStringList& a, const QStringList& b) {
                return compareTextAZ(a[kKeyColumn], b[kKeyColumn]) < 0;
            });
        } else {
            later.clear();
        }
        read = read || !later.isEmpty();
    }
    // An empty archive, or one that cannot be opened, leaves the designed empty rows.
    if (!read) return;
    grdRecords.setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) grdRecords.setCell(c, r, rows[r][c]);
    }
    // Rows read before a failure stay as they came.
    if (ok) OrdinaGriglia(grdRecords, kKeyColumn);
    if (later.isEmpty()) return;
    const int first = grdRecords.rowCount();
    grdRecords.setRowCount(first + int(later.size()));
    for (int r = 0; r < later.size(); ++r) {
        for (int c = 0; c < later[r].size(); ++c) grdRecords.setCell(c, first + r, later[r][c]);
    }
}

} // namespace orv::schedule

namespace orv::schedule {

namespace {

// The date chosen on the schedule window's calendar, as "dd/mm/yyyy".
QString chosenDate()
{
    return orv::platform::dateToStr(frmScadenzario ? frmScadenzario->calAppuntamenti.date() : orv::platform::today());
}

QString chosenYearFile() { return orv::schedule::yearFile(chosenDate().mid(6, 4)); }

} // namespace

TfrmExpImminenti::TfrmExpImminenti(QWidget* owner)
    : EntryGridWindow(owner, {u"frmExpImminenti"_qs, u" Scadenze imminenti"_qs, u"colPagamento"_qs,
                              orv::schedule::imminentSheet()})
{
    created();
}

QString TfrmExpImminenti::archivePath() const { return orv::schedule::currentYearFile(); }

QString TfrmExpImminenti::laterArchivePath() const { return orv::schedule::nextYearFile(); }

std::function<bool(const TScadenza&)> TfrmExpImminenti::selection() const
{
    return [today = orv::platform::today()](const TScadenza& s) {
        bool ok = false;
        return orv::schedule::ScadenzaImminente(s, today, ok);
    };
}

TfrmExpGiornaliere::TfrmExpGiornaliere(QWidget* owner)
    : EntryGridWindow(owner, {u"frmExpGiornaliere"_qs, u" Scadenze del giorno"_qs, u"colOfficina"_qs,
                              orv::schedule::dailySheet()})
{
    onCreate = [this] { FormCreate(); };
    created();
}

void TfrmExpGiornaliere::FormCreate() { orv::platform::applyProgramFormats(); }

QString TfrmExpGiornaliere::archivePath() const { return chosenYearFile(); }

std::function<bool(const TScadenza&)> TfrmExpGiornaliere::selection() const
{
    return [date = chosenDate()](const TScadenza& s) { return orv::schedule::dueOn(s, date); };
}

TfrmExpMensili::TfrmExpMensili(QWidget* owner)
    : EntryGridWindow(owner, {u"frmExpMensili"_qs, u" Scadenze del mese"_qs, u"colOfficina"_qs,
                              orv::schedule::monthlySheet()})
{
    onCreate = [this] { FormCreate(); };
    created();
}

void TfrmExpMensili::FormCreate() { orv::platform::applyProgramFormats(); }

QString TfrmExpMensili::archivePath() const { return chosenYearFile(); }

std::function<bool(const TScadenza&)> TfrmExpMensili::selection() const
{
    return [date = chosenDate()](const TScadenza& s) { return orv::schedule::dueInMonthOf(s, date); };
}

} // namespace orv::schedule
