#include "quotes/sospesi.h"

#include "quotes/listepreventivi.h"
#include "quotes/preventivi.h"
#include "quotes/preventivo.h"

namespace orv::quotes {

using namespace orv::platform::ui;

TfrmSospesi* frmSospesi = nullptr;

TfrmSospesi::TfrmSospesi(QWidget* owner)
    : StatusListWindow(owner,
                       orv::kit::listFormSpec(u"frmSospesi"_qs, u" Riepilogo preventivi in sospeso"_qs,
                                                orv::kit::kStatusListHeight),
                       // The lines stay in file order.
                       orv::kit::statusListLayout({u"Preventivi in sospeso"_qs,
                                                     u"I preventivi non ancora confermati dal Cliente"_qs,
                                                     art::Icon::Quote, false}),
                       orv::quotes::quoteList(orv::quotes::kTitlePending),
                       orv::documents::flagSelection(TPreventivo::layout(), orv::archive::kYes, orv::quotes::kLinePrefix))
{
    created();
}

void TfrmSospesi::load(const orv::archive::FoundRecord& found) { orv::quotes::loadIntoEditor(found); }

} // namespace orv::quotes
