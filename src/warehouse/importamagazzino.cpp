#include "warehouse/importamagazzino.h"

#include "archive/helpers.h"
#include "platform/core/formats.h"
#include "platform/core/services.h"
#include "platform/core/text.h"
#include "platform/ui/input.h"
#include "platform/ui/services.h"
#include "warehouse/articolo.h"
#include "warehouse/callers.h"
#include "warehouse/trovamagazzino.h"


namespace orv::warehouse {
using namespace orv::archive;
using namespace orv::platform;
} // namespace orv::warehouse

namespace orv::warehouse {

using namespace orv::platform::ui;
using orv::platform::trimmed;

TfrmImportaMagazzino* frmImportaMagazzino = nullptr;

namespace {

const FontSpec kCaption{u"Verdana"_qs, 11, true, false, false, QColor(0x1F, 0x3F, 0x6E)};
const FontSpec kDetail{u"Verdana"_qs, 12, true, false, false, QColor()};

// The results list is shorter than in the other finders, making room below it for the
// details of the chosen article, the quantity and the two import commands.
constexpr int kExtra = 96;

const Layout& windowLayout()
{
    static const Layout l = [] {
        Layout l = orv::kit::finderLayout(
            {u"Importa articoli da magazzino"_qs, u"Scelta dell'articolo da importare nel documento"_qs,
             art::Icon::Warehouse},
            orv::warehouse::articleCriteria());
        for (Item& i : l) {
            if (i.parentName == u"panContainer") {
                if (i.name == u"lstRecords") i.h -= kExtra;
                else if (i.y >= 300) i.y -= kExtra;
            }
            // lblCodice and lblDescrizione are the chosen article's details here; the
            // criteria's captions take other names.
            for (const orv::kit::FinderCriterion& c : orv::warehouse::articleCriteria())
                if (i.kind == Kind::Label && i.name == u"lbl"_qs + c.control.mid(3)) i.name = u"lblCerca"_qs + c.control.mid(3);
            if (i.name == u"lblRigo03") i.text = u"Richiamare i dati di una scheda selezionandola con un clic."_qs;
        }
        const QString in = u"panContainer"_qs;
        const struct {
            const char* name;
            const char* caption;
            int x, w;
        } details[] = {
            {"Codice", "Codice articolo:", 10, 180},
            {"Descrizione", "Descrizione:", 200, 300},
            {"Giacenza", "Giacenza attuale:", 510, 120},
            {"Quant", "Quantità da scaricare:", 640, 150},
        };
        for (const auto& d : details) {
            const QString name = QString::fromLatin1(d.name);
            l.push_back(label(u"tit"_qs + name, d.x, 444 - kExtra, d.w, 18, QString::fromUtf8(d.caption)).font(kCaption).in(in));
            if (name == u"Quant")
                l.push_back(edit(u"txtQuant"_qs, d.x, 464 - kExtra, d.w).maxLen(6).centre().font(kDetail).highlighted().in(in));
            else
                l.push_back(label(u"lbl"_qs + name, d.x, 464 - kExtra, d.w, 24, QString()).font(kDetail).in(in));
        }
        l.push_back(button(u"btnNonAggiornare"_qs, 10, 502 - kExtra, 385, 34, u"Importa articolo senza aggiornare giacenza"_qs).in(in));
        l.push_back(button(u"btnAggiorna"_qs, 405, 502 - kExtra, 385, 34, u"Importa articolo e aggiorna giacenza"_qs).in(in));
        l.push_back(button(u"btnValore"_qs, 0, 0, 10, 10, QString()).hidden().in(in));
        for (const char* n : {"lblCosto", "lblValore", "lblPosizione"})
            l.push_back(label(QString::fromLatin1(n), 0, 0, 10, 10, u"0"_qs).hidden().in(in));
        return l;
    }();
    return l;
}

// The line picked in the list with its record; nothing when none is. A list just filled
// has a current line that nobody picked and that shows no selection: it does not count.
std::optional<orv::archive::ResultLine> chosenLine(const ListBox& box)
{
    const int selected = box.itemIndex();
    if (!box.listWidget()->isRowSelected(selected)) return std::nullopt;
    return orv::kit::lineAt(box, selected);
}

} // namespace

TfrmImportaMagazzino::TfrmImportaMagazzino(QWidget* owner)
    : FinderWindow(owner,
                   orv::kit::listFormSpec(u"frmImportaMagazzino"_qs, u" Importa articoli da magazzino"_qs,
                                            orv::kit::kFinderHeight),
                   windowLayout(),
                   {TArticolo::kFileName, TArticolo::kSize,
                    [](const QByteArray& r) { return RigaImportaMagazzino(TArticolo::decode(r)); },
                    orv::warehouse::kTitleArticles, {}, {},
                    [](orv::archive::StoredLineBuilder& b) { RigaImportaMagazzino(b); }},
                   TArticolo::layout(), orv::warehouse::articleCriteria())
{
    lblTrovate.setText(orv::warehouse::articleCountText(0));
    txtQuant.setText(u"0"_qs);
    onCreate = [this] { FormCreate(); };
    btnCerca.onClick = [this] { btnCercaClick(); };
    lstRecords.onDblClick = nullptr;
    lstRecords.onClick = [this] { lstRecordsClick(); };
    txtQuant.onKeyDown = [this](Word& k, QChar& c, ShiftState s) { txtQuantKeyDown(k, c, s); };
    txtQuant.onExit = [this] { txtQuantExit(); };
    btnNonAggiornare.onClick = [this] { btnNonAggiornareClick(); };
    btnAggiorna.onClick = [this] { btnAggiornaClick(); };
    btnValore.onClick = [this] { btnValoreClick(); };
    created();
}

void TfrmImportaMagazzino::FormCreate()
{
    orv::platform::applyProgramFormats();
    txtQuant.setMaxLength(6);
}

void TfrmImportaMagazzino::btnCercaClick()
{
    FinderWindow::btnCercaClick();
    if (lblTrovate.text() == orv::archive::countText(lstRecords.count()))
        lblTrovate.setText(orv::warehouse::articleCountText(lstRecords.count()));
}

void TfrmImportaMagazzino::lstRecordsClick()
{
    // A click that finds nothing, or a failure, leaves the details as they were.
    const auto chosen = chosenLine(lstRecords);
    if (!chosen) return;
    std::optional<orv::archive::FoundRecord> found;
    orv::archive::runArchiveCommandSilently(archivePath(), TArticolo::kSize, [&](orv::platform::ArchiveFile& file) {
        found = CercaPerRiga(file, listSpec().line, *chosen);
    });
    if (!found) return;
    const TArticolo a = TArticolo::decode(found->record);
    lblCodice.setText(trimmed(a.Codice));
    lblDescrizione.setText(trimmed(a.Descrizione));
    lblGiacenza.setText(trimmed(a.Giacenza));
    lblCosto.setText(trimmed(a.Costo));
    lblValore.setText(trimmed(a.Valore));
    lblPosizione.setText(QString::number(found->position));
}

void TfrmImportaMagazzino::txtQuantKeyDown(Word& key, QChar& keyChar, ShiftState)
{
    if (key == vk::Return) {
        btnAggiorna.setFocus();
        return;
    }
    acceptOnly(key, keyChar, u",");
}

void TfrmImportaMagazzino::txtQuantExit()
{
    txtQuant.setText(NormalizzaImporto(txtQuant.text(), orv::archive::AmountKind::Short, 4, u"0"_qs));
}

void TfrmImportaMagazzino::btnNonAggiornareClick()
{
    const auto chosen = chosenLine(lstRecords);
    if (!chosen) {
        warningBox(kNoArticle);
        return;
    }
    try {
        std::optional<orv::archive::FoundRecord> found;
        orv::archive::runArchiveCommandSilently(archivePath(), TArticolo::kSize, [&](orv::platform::ArchiveFile& file) {
            found = CercaPerRiga(file, listSpec().line, *chosen);
        });
        const auto row = orv::warehouse::importTarget(callerTag());
        if (found && row) orv::warehouse::fillRow(*row, TArticolo::decode(found->record));
    } catch (const std::exception&) {
        // Either import command closes without a message when it fails.
    }
    close();
}

void TfrmImportaMagazzino::btnAggiornaClick()
{
    const auto chosen = chosenLine(lstRecords);
    if (!chosen) {
        warningBox(kNoArticle);
        return;
    }
    using Outcome = orv::warehouse::ImportUnload::Outcome;
    Outcome outcome = Outcome::NotFound;
    QString failure, overlong;
    try {
        // The row is looked up first: the stock is unloaded only for an article that
        // really reaches a document row.
        const auto row = orv::warehouse::importTarget(callerTag());
        if (!row) {
            close();
            return;
        }
        orv::warehouse::ImportUnload done;
        try {
            orv::platform::ArchiveFile file(archivePath(), TArticolo::kSize);
            file.open();
            done = orv::warehouse::unloadChosen(file, listSpec().line, *chosen, txtQuant.text());
            file.close();
        } catch (const orv::platform::ArchiveError& e) {
            // A quantity or a stock that is not a number closes the dialog without a
            // word; the archive failing under the unload is told, so that a stock left
            // as it was is never taken for one unloaded.
            if (e.error() != 0) failure = orv::archive::archiveFailureMessage(e);
            throw;
        }
        outcome = done.outcome;
        if (outcome == Outcome::Overlong) {
            const orv::archive::FieldDef& f = TArticolo::layout().field(done.unload.overlongField);
            const QString text = f.name == u"Giacenza" ? done.unload.giacenza : done.unload.valore;
            overlong = overlongAmount(f.title(), text, f.width);
        }
        if (outcome == Outcome::Done) {
            const TArticolo a = TArticolo::decode(done.before);
            lblCosto.setText(trimmed(a.Costo));
            lblGiacenza.setText(done.unload.giacenza);
            lblValore.setText(done.unload.valore);
            orv::warehouse::fillRow(*row, a);
        }
    } catch (const std::exception&) {
        outcome = Outcome::NotFound;
    }
    if (outcome == Outcome::AboveStock) {
        // The user may lower the quantity or import without unloading.
        warningBox(kAboveStock);
        return;
    }
    if (!overlong.isEmpty()) {
        warningBox(overlong);
        return;
    }
    if (!failure.isEmpty()) showMessage(failure);
    close();
}

QString TfrmImportaMagazzino::overlongAmount(const QString& field, const QString& value, int width)
{
    return QStringLiteral("Attenzione: il valore \"%1\" del campo \"%2\" \u00e8 troppo lungo: l'archivio ne pu\u00f2 "
                          "contenere al massimo %3 caratteri.\n\r\n\rLa giacenza non \u00e8 stata aggiornata. Indicare "
                          "un'altra quantit\u00e0 oppure utilizzare il pulsante per importare l'articolo senza "
                          "aggiornare la giacenza.")
        .arg(value, field)
        .arg(width);
}

void TfrmImportaMagazzino::btnValoreClick()
{
    const auto v = orv::warehouse::valoreGiacenza(lblCosto.text(), lblGiacenza.text());
    if (!v) {
        lblCosto.setText(u"0,00"_qs);
        lblGiacenza.setText(u"0"_qs);
    }
    lblValore.setText(v.value_or(u"0,00"_qs));
}

} // namespace orv::warehouse

namespace orv::warehouse {

void importArticle(QWidget* editor, const QString& rowTag, const QString& rowQuantity)
{
    const QString quantity = trimmed(rowQuantity);
    runDialog<TfrmImportaMagazzino>(editor, [&](TfrmImportaMagazzino& f) {
        f.lblMemory.setText(rowTag);
        if (!quantity.isEmpty()) f.txtQuant.setText(quantity);
    });
}

} // namespace orv::warehouse
