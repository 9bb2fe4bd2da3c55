#include "printing/ddt.h"

#include "printing/quotelayout.h"

using namespace Qt::StringLiterals;
using namespace orv::printing;

TfrmStampaDDT* frmStampaDDT = nullptr;
TfrmAnteprimaDDT* frmAnteprimaDDT = nullptr;
TfrmCrea_PDF_DDT* frmCrea_PDF_DDT = nullptr;

TfrmStampaDDT::TfrmStampaDDT(QWidget* owner)
    : DocumentWindow(owner,
                     {.name = u"frmStampaDDT"_s, .output = Output::Print, .buttons = Buttons::Wide,
                      .editor = u"frmDDT"_s, .pdfFile = {}, .pictureTop = 0},
                     tradeDocumentLayout(TradeDocument::DeliveryNote))
{
}

void TfrmStampaDDT::fill(DocumentFill& f) { fillTradeDocument(f, TradeDocument::DeliveryNote); }

TfrmAnteprimaDDT::TfrmAnteprimaDDT(QWidget* owner)
    : DocumentWindow(owner,
                     {.name = u"frmAnteprimaDDT"_s, .output = Output::Preview, .buttons = Buttons::Wide,
                      .editor = u"frmDDT"_s, .pdfFile = {}, .pictureTop = 0},
                     tradeDocumentLayout(TradeDocument::DeliveryNote))
{
}

void TfrmAnteprimaDDT::fill(DocumentFill& f) { fillTradeDocument(f, TradeDocument::DeliveryNote); }

TfrmCrea_PDF_DDT::TfrmCrea_PDF_DDT(QWidget* owner)
    : DocumentWindow(owner,
                     {.name = u"frmCrea_PDF_DDT"_s, .output = Output::Pdf, .buttons = Buttons::Narrow,
                      .editor = u"frmDDT"_s, .pdfFile = u"DDT.pdf"_s, .pictureTop = 0},
                     tradeDocumentLayout(TradeDocument::DeliveryNote), false)
{
}

void TfrmCrea_PDF_DDT::fill(DocumentFill& f) { fillTradeDocument(f, TradeDocument::DeliveryNote); }
