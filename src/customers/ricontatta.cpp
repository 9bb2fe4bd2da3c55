#include "customers/ricontatta.h"

#include "customers/callers.h"
#include "customers/cliente.h"

namespace orv::customers {

using namespace orv::platform::ui;

TfrmRicontatta* frmRicontatta = nullptr;

TfrmRicontatta::TfrmRicontatta(QWidget* owner)
    : StatusListWindow(
          owner,
          orv::kit::listFormSpec(u"frmRicontatta"_qs, u" Riepilogo Clienti da ricontattare"_qs, orv::kit::kStatusListHeight),
          orv::kit::statusListLayout({u"Clienti da ricontattare"_qs,
                                        u"Le schede con questioni in sospeso da definire"_qs, art::Icon::Customers}),
          {TCliente::kFileName, TCliente::kSize, [](const QByteArray& r) { return RigaRicontatta(TCliente::decode(r)); },
           orv::archive::kTitleRecontact},
          [](orv::platform::ArchiveFile& file, orv::archive::ResultSink& out) { orv::customers::fillRecontact(file, out); })
{
    created();
}

void TfrmRicontatta::load(const orv::archive::FoundRecord& found) { orv::customers::loadCustomerCard(found); }

} // namespace orv::customers
