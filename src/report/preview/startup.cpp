#include "report/preview/startup.h"

#include "platform/ui/services.h"
#include "report/base/resources.h"
#include "report/base/utils.h"
#include "report/dotmatrix/dotmatrix.h"
#include "report/model/pages.h"
#include "report/model/report.h"
#include "report/model/startup.h"
#include "report/pages/previewpages.h"
#include "report/preview/previewform.h"
#include "report/preview/progress.h"
#include "report/print/printers.h"
#include "report/print/printloop.h"

namespace orv::report {

void frxInitializeReportUserInterface()
{
    static const bool done = [] {
        frxInitializeReportEngine();
        frxRegisterDotMatrixObjects();
        if (frxStringResources()->Images().isNull())
            frxStringResources()->SetImages(frxPreviewButtonStrip());
        frxSetErrorBoxHandler(
            [](const QString& Msg) { orv::platform::ui::messages().messageDlg(Msg, orv::platform::ui::MsgType::Error, orv::platform::ui::mbOk); });
        frxSetPreviewWindowMaker(frxMakePreviewWindow);
        frxSetProgressWindowMaker([]() -> TfrxProgressWindow* { return new TfrxProgress(); });
        frxSetPrintDriver(frxPrintPreparedPages);
        frxSetPrinterSelector([](const QString& Name) {
            TfrxCustomPrinters* printers = frxPrinterList();
            const int index = printers->IndexOf(Name);
            if (index == -1)
                return false;
            printers->SetPrinterIndex(index);
            return true;
        });
        frxSetDefaultPaperProvider([] {
            TfrxDefaultPaper paper;
            if (const TfrxCustomPrinter* p = frxPrinterList()->Printer(); p && p->Initialized()) {
                paper.PaperSize = p->DefPaper();
                paper.PaperWidth = p->DefPaperWidth();
                paper.PaperHeight = p->DefPaperHeight();
                paper.Orientation = p->DefOrientation();
            }
            return paper;
        });
        return true;
    }();
    (void)done;
}

} // namespace orv::report
