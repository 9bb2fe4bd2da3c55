#include "printing/docpdf.h"

#include "pdf/pdfexport.h"

namespace orv::printing {
using namespace orv::pdf;
using namespace orv::report;
} // namespace orv::printing

namespace orv::printing {

std::unique_ptr<TfrxCustomExportFilter> newDocumentExporter(PdfStreams streams)
{
    auto pdf = std::make_unique<TfrxPDFExport>();
    pdf->SetShowDialog(false);
    pdf->SetOverwritePrompt(false);
    pdf->SetShowProgress(false);
    pdf->SetUseFileCache(true);
    pdf->SetDataOnly(false);
    pdf->SetCompressed(streams == PdfStreams::Compressed);
    pdf->SetEmbeddedFonts(false);
    pdf->SetEmbedFontsIfProtected(false);
    pdf->SetPrintOptimized(true);
    pdf->SetOutline(false);
    pdf->SetBackground(false);
    pdf->SetHTMLTags(true);
    pdf->SetQuality(95);
    pdf->SetTitle(QStringLiteral("Fattura"));
    pdf->SetSubject(QStringLiteral("Fattura"));
    pdf->SetAuthor(QStringLiteral("Orvanta"));
    pdf->SetCreator(QStringLiteral("Dorvane Software"));
    pdf->SetUserPassword(QString());
    pdf->SetOwnerPassword(QString());
    pdf->SetProtectionFlags({ePrint, eModify, eCopy, eAnnot});
    pdf->SetHideToolbar(false);
    pdf->SetHideMenubar(false);
    pdf->SetHideWindowUI(false);
    pdf->SetFitWindow(false);
    pdf->SetCenterWindow(false);
    pdf->SetPrintScaling(false);
    pdf->SetOpenAfterExport(false);
    return pdf;
}

} // namespace orv::printing
