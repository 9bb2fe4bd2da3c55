#include "customers/trovaclienti.h"

#include "customers/callers.h"
#include "customers/cliente.h"

namespace orv::customers {

using namespace orv::platform::ui;

TfrmTrovaClienti* frmTrovaClienti = nullptr;

namespace {

const QList<orv::kit::FinderCriterion>& searchCriteria()
{
    static const QList<orv::kit::FinderCriterion> c = [] {
        const char* const captions[] = {
            "Cognome e nome Cliente:", "Comune di residenza:", "Partita IVA:", "Codice fiscale:",
            "Tipo impianto:", "Marca e modello:", "Matricola n.", "Ubicazione:", "Questioni in sospeso:", "Note:",
        };
        const auto& searched = orv::customers::finderCriteria();
        Q_ASSERT(searched.size() == int(std::size(captions)));
        QList<orv::kit::FinderCriterion> list;
        for (qsizetype i = 0; i < searched.size(); ++i)
            list.append({searched[i].control, QString::fromUtf8(captions[i]), searched[i].field});
        return list;
    }();
    return c;
}

orv::kit::ListSpec resultList()
{
    orv::kit::ListSpec spec{TCliente::kFileName, TCliente::kSize,
                              [](const QByteArray& r) { return RigaTrovaClienti(r); },
                              orv::archive::kTitleCustomerFinder};
    spec.storedLine = [](orv::archive::StoredLineBuilder& b) { RigaTrovaClienti(b); };
    return spec;
}

const Layout& windowLayout()
{
    static const Layout l = orv::kit::finderLayout(
        {u"Trova Clienti in archivio"_qs, u"Ricerca delle schede dei Clienti e dei loro impianti"_qs, art::Icon::Customers},
        searchCriteria());
    return l;
}

} // namespace

TfrmTrovaClienti::TfrmTrovaClienti(QWidget* owner)
    : FinderWindow(owner,
                   orv::kit::listFormSpec(u"frmTrovaClienti"_qs, u" Trova Clienti in archivio"_qs,
                                            orv::kit::kFinderHeight),
                   windowLayout(), resultList(), TCliente::layout(), searchCriteria())
{
    created();
}

void TfrmTrovaClienti::load(const orv::archive::FoundRecord& found)
{
    orv::customers::writeToCaller(callerTag(), found);
}

} // namespace orv::customers
