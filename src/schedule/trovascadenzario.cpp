#include "schedule/trovascadenzario.h"

#include "platform/core/text.h"
#include "schedule/scadenza.h"
#include "schedule/scadenzario.h"

namespace orv::schedule {

using namespace orv::platform::ui;

TfrmTrovaScadenzario* frmTrovaScadenzario = nullptr;

} // namespace orv::schedule

namespace orv::schedule {

orv::kit::ListSpec entryList(const QString& printTitle)
{
    orv::kit::ListSpec spec{QString(), TScadenza::kSize,
                              [](const QByteArray& r) { return RigaScadenza(TScadenza::decode(r)); }, printTitle};
    spec.archivePath = [] { return frmScadenzario ? frmScadenzario->lblFile.text() : QString(); };
    spec.storedLine = [](orv::archive::StoredLineBuilder& b) { RigaScadenza(b); };
    spec.countText = [](qsizetype lines) {
        return u"Il presente elenco contiene "_qs + QString::number(lines) + u" schede."_qs;
    };
    return spec;
}

void loadIntoEditor(const orv::archive::FoundRecord& found)
{
    if (frmScadenzario) frmScadenzario->loadEntry(TScadenza::layout().decode(found.record), found.position);
}

} // namespace orv::schedule

namespace orv::schedule {

namespace {

const QList<orv::kit::FinderCriterion>& searchCriteria()
{
    static const QList<orv::kit::FinderCriterion> c = [] {
        struct Criterion {
            const char* field;
            const char* caption;
        };
        const Criterion list[] = {
            {"Data", "Data scadenza (gg/mm/aaaa):"},
            {"Ora", "Ora appuntamento (hh:mm):"},
            {"Pagatore", "Pagatore:"},
            {"CodFisc", "Codice fiscale:"},
            {"Codice", "Codice articolo:"},
            {"Marca", "Marca e modello:"},
            {"Fornitore", "Fornitore:"},
            {"Beneficiario", "Beneficiario:"},
            {"Dettagli", "Causale scadenza:"},
            {"Note", "Note:"},
        };
        QList<orv::kit::FinderCriterion> out;
        for (const Criterion& k : list) {
            const QString field = QString::fromLatin1(k.field);
            out.append({u"txt"_qs + field, QString::fromUtf8(k.caption), TScadenza::layout().indexOf(field)});
        }
        return out;
    }();
    return c;
}

const Layout& windowLayout()
{
    static const Layout l = [] {
        Layout layout = orv::kit::finderLayout(
            {u"Trova scadenze e appuntamenti"_qs, u"Ricerca delle scadenze e dei pagamenti dell'anno"_qs,
             art::Icon::Schedule},
            searchCriteria());
        for (Item& i : layout) {
            if (i.name == u"lblTrovate") i.text = u"Il presente elenco contiene 0 schede."_qs;
        }
        return layout;
    }();
    return l;
}

} // namespace

TfrmTrovaScadenzario::TfrmTrovaScadenzario(QWidget* owner)
    : FinderWindow(owner,
                   orv::kit::listFormSpec(u"frmTrovaScadenzario"_qs, u" Trova scadenze pagamenti in archivio"_qs,
                                            orv::kit::kFinderHeight),
                   windowLayout(), orv::schedule::entryList(u"Riepilogo scadenze e appuntamenti"_qs),
                   TScadenza::layout(), searchCriteria())
{
    created();
}

void TfrmTrovaScadenzario::load(const orv::archive::FoundRecord& found)
{
    if (callerTag() == u"Scadenzario") orv::schedule::loadIntoEditor(found);
}

} // namespace orv::schedule
