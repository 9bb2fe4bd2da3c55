#include "quotes/trovapreventivi.h"

#include "quotes/listepreventivi.h"
#include "quotes/preventivi.h"
#include "quotes/preventivo.h"

namespace orv::quotes {

using namespace orv::platform::ui;

TfrmTrovaPreventivi* frmTrovaPreventivi = nullptr;

namespace {

const QList<orv::kit::FinderCriterion>& searchCriteria()
{
    static const QList<orv::kit::FinderCriterion> c =
        orv::documents::finderCriteria(TPreventivo::layout(), u"PREVENTIVO N."_qs);
    return c;
}

orv::kit::ListSpec resultList()
{
    orv::kit::ListSpec spec = orv::quotes::quoteList(orv::quotes::kTitleFinder);
    spec.countText = orv::documents::finderCountText;
    return spec;
}

const Layout& windowLayout()
{
    static const Layout l = orv::kit::finderLayout(
        {u"Trova preventivi"_qs, u"Ricerca dei preventivi emessi nell'anno"_qs, art::Icon::Quote}, searchCriteria());
    return l;
}

} // namespace

TfrmTrovaPreventivi::TfrmTrovaPreventivi(QWidget* owner)
    : FinderWindow(owner,
                   orv::kit::listFormSpec(u"frmTrovaPreventivi"_qs, u" Trova preventivi in archivio"_qs,
                                            orv::kit::kFinderHeight),
                   windowLayout(), resultList(), TPreventivo::layout(), searchCriteria())
{
    created();
}

// Only the editor opens the finder; opened with any other tag it loads nothing.
void TfrmTrovaPreventivi::load(const orv::archive::FoundRecord& found)
{
    if (callerTag() == orv::quotes::kTag) orv::quotes::loadIntoEditor(found);
}

} // namespace orv::quotes
