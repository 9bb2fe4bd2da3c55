#include "ddt/sospesiddt.h"

#include "ddt/ddt.h"
#include "ddt/recordddt.h"

namespace orv::ddt {

using namespace orv::platform::ui;

TfrmSospesiDDT* frmSospesiDDT = nullptr;

TfrmSospesiDDT::TfrmSospesiDDT(QWidget* owner)
    : StatusListWindow(owner,
                       orv::kit::listFormSpec(u"frmSospesiDDT"_qs, u" Riepilogo carichi non consegnati"_qs,
                                                orv::kit::kStatusListHeight),
                       // The lines stay in file order.
                       orv::kit::statusListLayout({u"Carichi non consegnati"_qs,
                                                     u"I Documenti di Trasporto dei carichi non ancora consegnati"_qs,
                                                     art::Icon::Truck, false}),
                       orv::ddt::ddtList(orv::ddt::kTitleNotDelivered),
                       orv::documents::flagSelection(TDDT::layout(), orv::archive::kNo, orv::ddt::kLinePrefix))
{
    created();
}

void TfrmSospesiDDT::load(const orv::archive::FoundRecord& found) { orv::ddt::loadIntoEditor(found); }

} // namespace orv::ddt
