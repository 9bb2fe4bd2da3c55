#include "ddt/trovaddt.h"

#include "ddt/ddt.h"
#include "ddt/recordddt.h"

using namespace orv::ui;

TfrmTrovaDDT* frmTrovaDDT = nullptr;

namespace {

const QList<orv::forms::FinderCriterion>& searchCriteria()
{
    static const QList<orv::forms::FinderCriterion> c =
        orv::docs::finderCriteria(TDDT::layout(), u"DOCUMENTO DI TRASPORTO N."_qs);
    return c;
}

orv::forms::ListSpec resultList()
{
    orv::forms::ListSpec spec = orv::ddt::ddtList(orv::ddt::kTitleFinder);
    spec.countText = orv::docs::finderCountText;
    return spec;
}

const Layout& windowLayout()
{
    static const Layout l =
        orv::forms::finderLayout({u"Trova Documenti di Trasporto"_qs, u"Ricerca dei DDT emessi nell'anno"_qs,
                                  art::Icon::Truck},
                                 searchCriteria());
    return l;
}

} // namespace

TfrmTrovaDDT::TfrmTrovaDDT(QWidget* owner)
    : FinderWindow(owner,
                   orv::forms::listFormSpec(u"frmTrovaDDT"_qs, u" Trova Documenti di Trasporto in archivio"_qs,
                                            orv::forms::kFinderHeight),
                   windowLayout(), resultList(), TDDT::layout(), searchCriteria())
{
    created();
}

// Only the editor opens the finder; opened with any other tag it loads nothing.
void TfrmTrovaDDT::load(const orv::archive::FoundRecord& found)
{
    if (callerTag() == orv::ddt::kTag) orv::ddt::loadIntoEditor(found);
}
