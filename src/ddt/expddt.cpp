#include "ddt/expddt.h"

#include "ddt/ddt.h"
#include "ddt/recordddt.h"

namespace orv::ddt {

TfrmExpDDT* frmExpDDT = nullptr;

TfrmExpDDT::TfrmExpDDT(QWidget* owner)
    : ExportWindow(owner, u"frmExpDDT"_qs, u" Esporta archivio Documenti di Trasporto in Microsoft Excel"_qs,
                   orv::documents::exportSpec(orv::ddt::exportTexts(), TDDT::layout(), orv::ddt::openYearFile))
{
    created();
}

} // namespace orv::ddt
