#include "quotes/menupreventivi.h"

#include "quotes/preventivo.h"

namespace orv::quotes {

TfrmMenuPreventivi* frmMenuPreventivi = nullptr;

namespace {

orv::documents::YearMenuSpec menuSpec()
{
    orv::documents::YearMenuSpec s;
    s.formName = u"frmMenuPreventivi"_qs;
    s.caption = u" Orvanta 4.0 - Emissione preventivi"_qs;
    s.info = u"In questo ambiente è possibile archiviare i preventivi emessi ai propri clienti."_qs;
    s.band = u"Emissione preventivi:"_qs;
    s.heading = u"Emissione preventivi"_qs;
    s.icon = orv::platform::ui::art::Icon::Quote;
    s.openTag = orv::quotes::kTag;
    s.editorName = u"frmPreventivi"_qs;
    s.editorCaption = u" Orvanta 4.0 - Emissione preventivi anno "_qs;
    s.extension = orv::quotes::kExtension;
    return s;
}

} // namespace

TfrmMenuPreventivi::TfrmMenuPreventivi(QWidget* owner) : YearMenu(owner, menuSpec()) { created(); }

} // namespace orv::quotes
