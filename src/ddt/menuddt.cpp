#include "ddt/menuddt.h"

#include "ddt/recordddt.h"

namespace orv::ddt {

TfrmMenuDDT* frmMenuDDT = nullptr;

namespace {

orv::documents::YearMenuSpec menuSpec()
{
    orv::documents::YearMenuSpec s;
    s.formName = u"frmMenuDDT"_qs;
    s.caption = u" Orvanta 4.0 - Emissione DDT"_qs;
    s.info = u"In questo ambiente è possibile archiviare i documenti di trasporto emessi per consegnare la merce ai "
             u"propri clienti."_qs;
    s.band = u"Emissione DDT:"_qs;
    s.heading = u"Documenti di Trasporto"_qs;
    s.icon = orv::platform::ui::art::Icon::Truck;
    s.openTag = orv::ddt::kTag;
    s.editorName = u"frmDDT"_qs;
    s.editorCaption = u" Orvanta 4.0 - Emissione DDT anno "_qs;
    s.extension = orv::ddt::kExtension;
    return s;
}

} // namespace

TfrmMenuDDT::TfrmMenuDDT(QWidget* owner) : YearMenu(owner, menuSpec()) { created(); }

} // namespace orv::ddt
