#include "jobs/daericonsegnare.h"

#include "jobs/listelavoro.h"
#include "jobs/scheda.h"

namespace orv::jobs {

using namespace orv::platform::ui;

TfrmDaRiconsegnare* frmDaRiconsegnare = nullptr;

TfrmDaRiconsegnare::TfrmDaRiconsegnare(QWidget* owner)
    : StatusListWindow(owner,
                       orv::kit::listFormSpec(u"frmDaRiconsegnare"_qs, u" Riepilogo impianti non riconsegnati"_qs,
                                                orv::kit::kStatusListHeight),
                       // The lines stay in file order.
                       orv::kit::statusListLayout({u"Impianti non riconsegnati"_qs,
                                                     u"Le Schede di Lavoro degli impianti ancora da restituire"_qs,
                                                     art::Icon::JobSheet, false}),
                       orv::jobs::sheetList(orv::jobs::kTitleNotReturned), orv::jobs::fillNotReturned)
{
    created();
}

void TfrmDaRiconsegnare::load(const orv::archive::FoundRecord& found) { orv::jobs::loadIntoEditor(found); }

} // namespace orv::jobs
