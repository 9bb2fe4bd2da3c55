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

// Pairs per row: number and date, customer and street, town and payment, VAT number and
// tax code; references and notes each across the full width.
QList<orv::forms::CriterionPlace> criteriaPlaces()
{
    using P = orv::forms::CriterionPlace;
    return {{0, P::Left}, {0, P::Right}, {1, P::Left}, {1, P::Right}, {2, P::Left},
            {2, P::Right}, {3, P::Left}, {3, P::Right}, {4, P::Full}, {5, P::Full}};
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
                                 searchCriteria(), criteriaPlaces());
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
