#include "quotes/exppreventivi.h"

#include "quotes/preventivi.h"
#include "quotes/preventivo.h"

namespace orv::quotes {

TfrmExpPreventivi* frmExpPreventivi = nullptr;

TfrmExpPreventivi::TfrmExpPreventivi(QWidget* owner)
    : ExportWindow(owner, u"frmExpPreventivi"_qs, u" Esporta archivio preventivi in Microsoft Excel"_qs,
                   orv::documents::exportSpec(orv::quotes::exportTexts(), TPreventivo::layout(), orv::quotes::openYearFile))
{
    created();
}

} // namespace orv::quotes
