#include "warehouse/trovamagazzino.h"

#include "warehouse/articolo.h"
#include "warehouse/callers.h"

namespace orv::warehouse {

using namespace orv::platform::ui;

TfrmTrovaMagazzino* frmTrovaMagazzino = nullptr;

} // namespace orv::warehouse

namespace orv::warehouse {

const QList<kit::FinderCriterion>& articleCriteria()
{
    static const QList<kit::FinderCriterion> c = [] {
        // The record field each criterion searches, and its caption.
        const std::pair<const char*, const char*> criteria[] = {
            {"Codice", "Codice articolo:"},
            {"Tipologia", "Tipologia:"},
            {"Marca", "Marca:"},
            {"Modello", "Modello:"},
            {"Descrizione", "Descrizione:"},
            {"Accessori", "Accessori:"},
            {"Fornitore", "Fornitore:"},
            {"Documento", "Estremi documento di acquisto:"},
            {"Collocazione", "Collocazione in magazzino:"},
            {"Note", "Note:"},
        };
        QList<kit::FinderCriterion> list;
        for (const auto& [field, caption] : criteria) {
            const QString name = QString::fromLatin1(field);
            list.append({u"txt"_qs + name, QString::fromUtf8(caption), TArticolo::layout().indexOf(name)});
        }
        return list;
    }();
    return c;
}

QString articleCountText(qsizetype lines)
{
    return u"Il presente elenco contiene %1 schede."_qs.arg(lines);
}

} // namespace orv::warehouse

namespace orv::warehouse {

namespace {

const Layout& windowLayout()
{
    static const Layout l = orv::kit::finderLayout(
        {u"Trova articoli in magazzino"_qs, u"Ricerca delle schede di prodotti e servizi"_qs, art::Icon::Warehouse},
        orv::warehouse::articleCriteria());
    return l;
}

} // namespace

TfrmTrovaMagazzino::TfrmTrovaMagazzino(QWidget* owner)
    : FinderWindow(owner,
                   orv::kit::listFormSpec(u"frmTrovaMagazzino"_qs, u" Trova articoli in magazzino"_qs,
                                            orv::kit::kFinderHeight),
                   windowLayout(),
                   {TArticolo::kFileName, TArticolo::kSize,
                    [](const QByteArray& r) { return RigaTrovaMagazzino(TArticolo::decode(r)); },
                    orv::warehouse::kTitleArticles, {}, {},
                    [](orv::archive::StoredLineBuilder& b) { RigaTrovaMagazzino(b); }},
                   TArticolo::layout(), orv::warehouse::articleCriteria())
{
    lblTrovate.setText(orv::warehouse::articleCountText(0));
    btnCerca.onClick = [this] { btnCercaClick(); };
    created();
}

void TfrmTrovaMagazzino::btnCercaClick()
{
    FinderWindow::btnCercaClick();
    // The warehouse lists count their lines in words of their own; a failed search leaves
    // the count as it was.
    if (lblTrovate.text() == orv::archive::countText(lstRecords.count()))
        lblTrovate.setText(orv::warehouse::articleCountText(lstRecords.count()));
}

void TfrmTrovaMagazzino::load(const orv::archive::FoundRecord& found)
{
    orv::warehouse::writeToCaller(callerTag(), found);
}

} // namespace orv::warehouse
