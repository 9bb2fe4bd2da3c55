#include "customers/listscadenzario.h"

#include "customers/callers.h"
#include "customers/cliente.h"
#include "platform/core/services.h"

namespace orv::customers {

using namespace orv::platform::ui;

TfrmListScadenzario* frmListScadenzario = nullptr;

TfrmListScadenzario::TfrmListScadenzario(QWidget* owner)
    : StatusListWindow(
          owner,
          orv::kit::listFormSpec(u"frmListScadenzario"_qs, u" Scadenzario manutenzioni"_qs, orv::kit::kStatusListHeight),
          orv::kit::statusListLayout({u"Scadenzario manutenzioni"_qs,
                                        u"Gli impianti con la manutenzione periodica in scadenza"_qs,
                                        art::Icon::Schedule}),
          {TCliente::kFileName, TCliente::kSize, [](const QByteArray& r) { return RigaScadenzario(TCliente::decode(r)); },
           orv::archive::kTitleMaintenanceDue},
          [](orv::platform::ArchiveFile& file, orv::archive::ResultSink& out) {
              orv::customers::fillMaintenanceDue(file, out, orv::platform::today());
          })
{
    created();
}

void TfrmListScadenzario::load(const orv::archive::FoundRecord& found) { orv::customers::loadCustomerCard(found); }

} // namespace orv::customers
