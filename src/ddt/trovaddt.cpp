#include "ddt/trovaddt.h"

#include "ddt/ddt.h"
#include "ddt/recordddt.h"

namespace orv::ddt {

using namespace orv::platform::ui;

TfrmTrovaDDT* frmTrovaDDT = nullptr;

namespace {

const QList<orv::kit::FinderCriterion>& searchCriteria()
{
    static const QList<orv::kit::FinderCriterion> c =
        orv::documents::finderCriteria(TDDT::layout(), u"DOCUMENTO DI TRASPORTO N."_qs);
    return c;
}

// Pairs per row: number and date, customer and street, town and payment, VAT number and
// tax code; references and notes each across the full width.
QList<orv::kit::CriterionPlace> criteriaPlaces()
{
    using P = orv::kit::CriterionPlace;
    return {{0, P::Left}, {0, P::Right}, {1, P::Left}, {1, P::Right}, {2, P::Left},
            {2, P::Right}, {3, P::Left}, {3, P::Right}, {4, P::Full}, {5, P::Full}};
}

orv::kit::ListSpec resultList()
{
    orv::kit::ListSpec spec = orv::ddt::ddtList(orv::ddt::kTitleFinder);
    spec.countText = orv::documents::finderCountText;
    return spec;
}

const Layout& windowLayout()
{
    static const Layout l =
        orv::kit::finderLayout({u"Trova Documenti di Trasporto"_qs, u"Ricerca dei DDT emessi nell'anno"_qs,
                                  art::Icon::Truck},
                                 searchCriteria(), criteriaPlaces());
    return l;
}

} // namespace

TfrmTrovaDDT::TfrmTrovaDDT(QWidget* owner)
    : FinderWindow(owner,
                   orv::kit::listFormSpec(u"frmTrovaDDT"_qs, u" Trova Documenti di Trasporto in archivio"_qs,
                                            orv::kit::kFinderHeight),
                   windowLayout(), resultList(), TDDT::layout(), searchCriteria())
{
    created();
}

// Only the editor opens the finder; opened with any other tag it loads nothing.
void TfrmTrovaDDT::load(const orv::archive::FoundRecord& found)
{
    if (callerTag() == orv::ddt::kTag) orv::ddt::loadIntoEditor(found);
}

} // namespace orv::ddt
