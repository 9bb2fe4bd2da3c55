#include "jobs/daericonsegnare.h"

#include "jobs/listelavoro.h"
#include "jobs/scheda.h"

using namespace orv::ui;

TfrmDaRiconsegnare* frmDaRiconsegnare = nullptr;

TfrmDaRiconsegnare::TfrmDaRiconsegnare(QWidget* owner)
    : StatusListWindow(owner,
                       orv::forms::listFormSpec(u"frmDaRiconsegnare"_qs, u" Riepilogo impianti non riconsegnati"_qs,
                                                orv::forms::kStatusListHeight),
                       // The lines stay in file order.
                       orv::forms::statusListLayout({u"Impianti non riconsegnati"_qs,
                                                     u"Le Schede di Lavoro degli impianti ancora da restituire"_qs,
                                                     art::Icon::JobSheet, false}),
                       orv::jobs::sheetList(orv::jobs::kTitleNotReturned), orv::jobs::fillNotReturned)
{
    created();
}

void TfrmDaRiconsegnare::load(const orv::archive::FoundRecord& found) { orv::jobs::loadIntoEditor(found); }
