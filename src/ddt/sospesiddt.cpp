#include "ddt/sospesiddt.h"

#include "ddt/ddt.h"
#include "ddt/recordddt.h"

using namespace orv::ui;

TfrmSospesiDDT* frmSospesiDDT = nullptr;

TfrmSospesiDDT::TfrmSospesiDDT(QWidget* owner)
    : StatusListWindow(owner,
                       orv::forms::listFormSpec(u"frmSospesiDDT"_qs, u" Riepilogo carichi non consegnati"_qs,
                                                orv::forms::kStatusListHeight),
                       // The lines stay in file order.
                       orv::forms::statusListLayout({u"Carichi non consegnati"_qs,
                                                     u"I Documenti di Trasporto dei carichi non ancora consegnati"_qs,
                                                     art::Icon::Truck, false}),
                       orv::ddt::ddtList(orv::ddt::kTitleNotDelivered),
                       orv::docs::flagSelection(TDDT::layout(), orv::archive::kNo, orv::ddt::kLinePrefix))
{
    created();
}

void TfrmSospesiDDT::load(const orv::archive::FoundRecord& found) { orv::ddt::loadIntoEditor(found); }
