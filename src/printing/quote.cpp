#include "printing/quote.h"

namespace orv::printing {

using namespace Qt::StringLiterals;
using namespace orv::printing;

TfrmStampaPrev* frmStampaPrev = nullptr;
TfrmAnteprimaPrev* frmAnteprimaPrev = nullptr;
TfrmCrea_PDF_Prev* frmCrea_PDF_Prev = nullptr;

TfrmStampaPrev::TfrmStampaPrev(QWidget* owner)
    : TradeDocumentWindow(owner, TradeDocument::Quote, u"frmStampaPrev"_s, Output::Print, Buttons::Narrow)
{
}

TfrmAnteprimaPrev::TfrmAnteprimaPrev(QWidget* owner)
    : TradeDocumentWindow(owner, TradeDocument::Quote, u"frmAnteprimaPrev"_s, Output::Preview, Buttons::Wide)
{
}

TfrmCrea_PDF_Prev::TfrmCrea_PDF_Prev(QWidget* owner)
    : TradeDocumentWindow(owner, TradeDocument::Quote, u"frmCrea_PDF_Prev"_s, Output::Pdf, Buttons::Narrow)
{
}

} // namespace orv::printing
