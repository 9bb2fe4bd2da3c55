#include "warehouse/trovamagazzino.h"

#include "warehouse/articolo.h"
#include "warehouse/callers.h"

using namespace orv::ui;

TfrmTrovaMagazzino* frmTrovaMagazzino = nullptr;

namespace orv::warehouse {

const QList<forms::FinderCriterion>& articleCriteria()
{
    static const QList<forms::FinderCriterion> c = [] {
        const std::pair<QString TArticolo::*, const char*> criteria[] = {
            {&TArticolo::Codice, "Codice articolo:"},
            {&TArticolo::Tipologia, "Tipologia:"},
            {&TArticolo::Marca, "Marca:"},
            {&TArticolo::Modello, "Modello:"},
            {&TArticolo::Descrizione, "Descrizione:"},
            {&TArticolo::Accessori, "Accessori:"},
            {&TArticolo::Fornitore, "Fornitore:"},
            {&TArticolo::Documento, "Estremi documento di acquisto:"},
            {&TArticolo::Collocazione, "Collocazione in magazzino:"},
            {&TArticolo::Note, "Note:"},
        };
        QList<forms::FinderCriterion> list;
        for (const auto& [member, caption] : criteria) {
            const int field = TArticolo::field(member);
            list.append({u"txt"_qs + TArticolo::layout().field(field).name, QString::fromUtf8(caption), field});
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

namespace {

const Layout& windowLayout()
{
    static const Layout l = orv::forms::finderLayout(
        {u"Trova articoli in magazzino"_qs, u"Ricerca delle schede di prodotti e servizi"_qs, art::Icon::Warehouse},
        orv::warehouse::articleCriteria());
    return l;
}

} // namespace

TfrmTrovaMagazzino::TfrmTrovaMagazzino(QWidget* owner)
    : FinderWindow(owner,
                   orv::forms::listFormSpec(u"frmTrovaMagazzino"_qs, u" Trova articoli in magazzino"_qs,
                                            orv::forms::kFinderHeight),
                   windowLayout(),
                   {TArticolo::kFileName, TArticolo::kSize,
                    [](const QByteArray& r) { return RigaTrovaMagazzino(TArticolo::decode(r)); },
                    orv::warehouse::kTitleArticles},
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
