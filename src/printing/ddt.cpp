#include "printing/ddt.h"

namespace orv::printing {

using namespace Qt::StringLiterals;
using namespace orv::printing;

TfrmStampaDDT* frmStampaDDT = nullptr;
TfrmAnteprimaDDT* frmAnteprimaDDT = nullptr;
TfrmCrea_PDF_DDT* frmCrea_PDF_DDT = nullptr;

TfrmStampaDDT::TfrmStampaDDT(QWidget* owner)
    : TradeDocumentWindow(owner, TradeDocument::DeliveryNote, u"frmStampaDDT"_s, Output::Print, Buttons::Wide)
{
}

TfrmAnteprimaDDT::TfrmAnteprimaDDT(QWidget* owner)
    : TradeDocumentWindow(owner, TradeDocument::DeliveryNote, u"frmAnteprimaDDT"_s, Output::Preview, Buttons::Wide)
{
}

TfrmCrea_PDF_DDT::TfrmCrea_PDF_DDT(QWidget* owner)
    : TradeDocumentWindow(owner, TradeDocument::DeliveryNote, u"frmCrea_PDF_DDT"_s, Output::Pdf, Buttons::Narrow)
{
}

} // namespace orv::printing
