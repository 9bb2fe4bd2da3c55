#include "report/model/startup.h"

#include "report/base/registries.h"
#include "report/base/resources.h"
#include "report/base/variables.h"
#include "report/model/bands.h"
#include "report/model/datasets.h"
#include "report/model/pages.h"
#include "report/model/report.h"
#include "report/model/views.h"
#include "report/script/scriptclasses.h"
#include "script/bridges/register.h"

namespace orv::report {
using namespace orv::script;
} // namespace orv::report

namespace orv::report {

QRecursiveMutex& frxEngineLock()
{
    static QRecursiveMutex lock;
    return lock;
}

ConverterEvents& frxConverterEvents()
{
    static ConverterEvents events;
    return events;
}

void frxInitializeReportEngine()
{
    static const bool done = [] {
        frxRegisterStandardPropertyEditors();
        frxStringResources()->UpdateFSResources();
        // Every script made from now on, each report's among them, knows the report classes.
        // Their object lists are the class library's lists, so that module comes first
        // even where the program's start-up has not put it there.
        fsRegisterRTTIModule<orv::script::bridges::classlib::TFunctions>();
        fsRegisterRTTIModule<orv::report::TFunctions>();
        frxEngineLock();
        frxConverterEvents();
        frxGlobalDataSetList();
        frxGlobalVariables();
        // The classes stored layouts may name, in this order.
        const orv::platform::rtti::ClassInfo* classes[] = {
            &TfrxChild::staticClassInfo(),         &TfrxColumnFooter::staticClassInfo(),
            &TfrxColumnHeader::staticClassInfo(),  &TfrxCustomMemoView::staticClassInfo(),
            &TfrxMasterData::staticClassInfo(),    &TfrxDetailData::staticClassInfo(),
            &TfrxSubdetailData::staticClassInfo(), &TfrxDataBand4::staticClassInfo(),
            &TfrxDataBand5::staticClassInfo(),     &TfrxDataBand6::staticClassInfo(),
            &TfrxDialogPage::staticClassInfo(),    &TfrxFooter::staticClassInfo(),
            &TfrxFrame::staticClassInfo(),         &TfrxGroupFooter::staticClassInfo(),
            &TfrxGroupHeader::staticClassInfo(),   &TfrxHeader::staticClassInfo(),
            &TfrxHighlight::staticClassInfo(),     &TfrxLineView::staticClassInfo(),
            &TfrxMemoView::staticClassInfo(),      &TfrxOverlay::staticClassInfo(),
            &TfrxPageFooter::staticClassInfo(),    &TfrxPageHeader::staticClassInfo(),
            &TfrxPictureView::staticClassInfo(),   &TfrxReport::staticClassInfo(),
            &TfrxReportPage::staticClassInfo(),    &TfrxReportSummary::staticClassInfo(),
            &TfrxReportTitle::staticClassInfo(),   &TfrxShapeView::staticClassInfo(),
            &TfrxSubreport::staticClassInfo(),     &TfrxSysMemoView::staticClassInfo(),
            &TfrxStyleItem::staticClassInfo(),     &TfrxNullBand::staticClassInfo(),
            &TfrxCustomLineView::staticClassInfo(), &TfrxDataPage::staticClassInfo(),
        };
        for (const orv::platform::rtti::ClassInfo* c : classes)
            orv::platform::rtti::registerClass(*c);
        orv::platform::rtti::registerClass(TfrxFont::staticClassInfo());
        return true;
    }();
    (void)done;
}

} // namespace orv::report
