#include "printing/printwriter.h"

#include "pdf/pdfexport.h"
#include "platform/core/services.h"
#include "printing/docpdf.h"
#include "report/model/pages.h"
#include "report/model/report.h"
#include "report/pages/previewpages.h"
#include "report/print/printservice.h"

namespace orv::printing {
using namespace orv::pdf;
using namespace orv::report;
} // namespace orv::printing

namespace orv::printing {

namespace {

class PdfPageWriter final : public orv::report::PageWriter {
public:
    void Start(TfrxPreviewPages* Pages, const QString& Title, QIODevice* Output) override
    {
        m_pages = Pages;
        m_pdf = newDocumentExporter(PdfStreams::Compressed);
        auto* pdf = static_cast<TfrxPDFExport*>(m_pdf.get());
        // A printer may have none of the document's fonts: they travel with it.
        pdf->SetEmbeddedFonts(true);
        pdf->SetTitle(Title);
        pdf->SetSubject(Title);
        pdf->Report = Pages->Report();
        pdf->Stream = Output;
        pdf->SetCreationTime(orv::platform::nowDateTime());
        if (!pdf->Start())
            throw orv::platform::Exception(QStringLiteral("Il documento non è stato stampato: il file di stampa non si può scrivere."));
    }

    void WritePage(int Index) override
    {
        auto* pdf = static_cast<TfrxPDFExport*>(m_pdf.get());
        // The page's frame and picture go as the export's background, only where the
        // page has one.
        if (TfrxReportPage* page = m_pages->GetPage(Index))
            pdf->SetBackground(!page->Frame()->Typ().isEmpty() ||
                               (page->BackPicturePrintable() && !page->BackPicture()->IsEmpty()));
        m_pages->ExportPage(pdf, Index);
    }

    void WriteBlankPage(double Width, double Height) override
    {
        TfrxReportPage blank(nullptr);
        blank.SetPaperWidth(Width);
        blank.SetPaperHeight(Height);
        m_pdf->StartPage(&blank, -1);
        m_pdf->FinishPage(&blank, -1);
    }

    void Finish() override { m_pdf->Finish(); }

private:
    TfrxPreviewPages* m_pages = nullptr;
    std::unique_ptr<TfrxCustomExportFilter> m_pdf;
};

} // namespace

void installPrintWriter()
{
    orv::report::setPageWriterMaker([] { return std::make_unique<PdfPageWriter>(); });
}

} // namespace orv::printing
