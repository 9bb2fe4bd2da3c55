#include "customers/trovacontratti.h"

#include "customers/contratto.h"
#include "customers/contrattorecord.h"

namespace orv::customers {

using namespace orv::platform::ui;

TfrmTrovaContratti* frmTrovaContratti = nullptr;

namespace {

const QList<orv::kit::FinderCriterion>& searchCriteria()
{
    static const QList<orv::kit::FinderCriterion> c = [] {
        const struct {
            const char* field;
            const char* caption;
        } criteria[] = {
            {"Cliente", "Cognome e nome Utente:"},
            {"ComuneCli", "Comune di residenza:"},
            {"PartitaIvaCli", "Partita IVA:"},
            {"CodFiscCli", "Codice fiscale:"},
            {"Data", "Data stipula contratto:"},
            {"Marca", "Marca e modello impianto:"},
            {"Matricola", "Matricola n."},
            {"Caratteristiche", "Caratteristiche tecniche:"},
            {"OpInc01", "Operazione 1 compresa in contratto:"},
            {"OpInc02", "Operazione 2 compresa in contratto:"},
        };
        QList<orv::kit::FinderCriterion> list;
        for (const auto& k : criteria) {
            const QString field = QString::fromLatin1(k.field);
            list.append({u"txt"_qs + field, QString::fromUtf8(k.caption), TContratto::layout().indexOf(field)});
        }
        return list;
    }();
    return c;
}

const Layout& windowLayout()
{
    static const Layout l = orv::kit::finderLayout(
        {u"Trova contratti in archivio"_qs, u"Ricerca dei contratti di manutenzione programmata"_qs, art::Icon::Contract},
        searchCriteria());
    return l;
}

} // namespace

TfrmTrovaContratti::TfrmTrovaContratti(QWidget* owner)
    : FinderWindow(owner,
                   orv::kit::listFormSpec(u"frmTrovaContratti"_qs, u" Trova contratti in archivio"_qs,
                                            orv::kit::kFinderHeight),
                   windowLayout(),
                   {TContratto::kFileName, TContratto::kSize,
                    [](const QByteArray& r) { return RigaTrovaContratti(TContratto::decode(r)); },
                    orv::archive::kTitleContractFinder, {}, {},
                    [](orv::archive::StoredLineBuilder& b) { RigaTrovaContratti(b); }},
                   TContratto::layout(), searchCriteria())
{
    created();
}

// The whole contract and its position replace whatever the contract window showed, saved
// or not; any other tag writes nothing.
void TfrmTrovaContratti::load(const orv::archive::FoundRecord& found)
{
    if (callerTag() == u"contratti" && frmContratto)
        frmContratto->showContract(TContratto::layout().decode(found.record), found.position);
}

} // namespace orv::customers
