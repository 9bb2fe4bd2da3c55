#include "customers/listscadenzario.h"

#include "customers/callers.h"
#include "customers/cliente.h"
#include "platform/core/services.h"

using namespace orv::ui;

TfrmListScadenzario* frmListScadenzario = nullptr;

TfrmListScadenzario::TfrmListScadenzario(QWidget* owner)
    : StatusListWindow(
          owner,
          orv::forms::listFormSpec(u"frmListScadenzario"_qs, u" Scadenzario manutenzioni"_qs, orv::forms::kStatusListHeight),
          orv::forms::statusListLayout({u"Scadenzario manutenzioni"_qs,
                                        u"Gli impianti con la manutenzione periodica in scadenza"_qs,
                                        art::Icon::Schedule}),
          {TCliente::kFileName, TCliente::kSize, [](const QByteArray& r) { return RigaScadenzario(TCliente::decode(r)); },
           orv::archive::kTitleMaintenanceDue},
          [](orv::ArchiveFile& file, orv::archive::ResultSink& out) {
              orv::customers::fillMaintenanceDue(file, out, orv::today());
          })
{
    created();
}

void TfrmListScadenzario::load(const orv::archive::FoundRecord& found) { orv::customers::loadCustomerCard(found); }
