#include "ddt/expddt.h"

#include "ddt/ddt.h"
#include "ddt/recordddt.h"

TfrmExpDDT* frmExpDDT = nullptr;

TfrmExpDDT::TfrmExpDDT(QWidget* owner)
    : ExportWindow(owner, u"frmExpDDT"_qs, u" Esporta archivio Documenti di Trasporto in Microsoft Excel"_qs,
                   orv::docs::exportSpec(orv::ddt::exportTexts(), TDDT::layout(), orv::ddt::openYearFile))
{
    created();
}
