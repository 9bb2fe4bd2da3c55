#include "warehouse/sottoscorta.h"

#include "warehouse/articolo.h"
#include "warehouse/callers.h"

namespace orv::warehouse {
using namespace orv::platform;
} // namespace orv::warehouse

namespace orv::warehouse {

using namespace orv::platform::ui;

TfrmSottoscorta* frmSottoscorta = nullptr;

} // namespace orv::warehouse

namespace orv::warehouse {

void fillRunningOut(ArchiveFile& file, archive::ResultSink& out)
{
    archive::fillList(
        file, out,
        [](const QByteArray& r) {
            // One damaged article must not hide the ones stored after it.
            try {
                return InEsaurimento(TArticolo::decode(r));
            } catch (const ArchiveError&) {
                return false;
            }
        },
        [](const QByteArray& r) { return RigaSottoscorta(TArticolo::decode(r)); });
}

} // namespace orv::warehouse

namespace orv::warehouse {

TfrmSottoscorta::TfrmSottoscorta(QWidget* owner)
    : StatusListWindow(
          owner,
          orv::kit::listFormSpec(u"frmSottoscorta"_qs, u" Materiali in esaurimento"_qs, orv::kit::kStatusListHeight),
          orv::kit::statusListLayout({u"Materiali in esaurimento"_qs,
                                        u"Gli articoli con la giacenza non superiore alla scorta minima"_qs,
                                        art::Icon::Warehouse}),
          {TArticolo::kFileName, TArticolo::kSize,
           [](const QByteArray& r) { return RigaSottoscorta(TArticolo::decode(r)); }, u"Materiali in esaurimento"_qs},
          orv::warehouse::fillRunningOut)
{
    created();
}

void TfrmSottoscorta::load(const orv::archive::FoundRecord& found) { orv::warehouse::loadArticleCard(found); }

} // namespace orv::warehouse
