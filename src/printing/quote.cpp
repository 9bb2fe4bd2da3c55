#include "printing/quote.h"

#include "printing/quotelayout.h"

using namespace Qt::StringLiterals;
using namespace orv::printing;

TfrmStampaPrev* frmStampaPrev = nullptr;
TfrmAnteprimaPrev* frmAnteprimaPrev = nullptr;
TfrmCrea_PDF_Prev* frmCrea_PDF_Prev = nullptr;

TfrmStampaPrev::TfrmStampaPrev(QWidget* owner)
    : DocumentWindow(owner,
                     {.name = u"frmStampaPrev"_s, .output = Output::Print, .buttons = Buttons::Narrow,
                      .editor = u"frmPreventivi"_s, .pdfFile = {}, .pictureTop = 0},
                     tradeDocumentLayout(TradeDocument::Quote))
{
}

void TfrmStampaPrev::fill(DocumentFill& f) { fillTradeDocument(f, TradeDocument::Quote); }

TfrmAnteprimaPrev::TfrmAnteprimaPrev(QWidget* owner)
    : DocumentWindow(owner,
                     {.name = u"frmAnteprimaPrev"_s, .output = Output::Preview, .buttons = Buttons::Wide,
                      .editor = u"frmPreventivi"_s, .pdfFile = {}, .pictureTop = 0},
                     tradeDocumentLayout(TradeDocument::Quote))
{
}

void TfrmAnteprimaPrev::fill(DocumentFill& f) { fillTradeDocument(f, TradeDocument::Quote); }

TfrmCrea_PDF_Prev::TfrmCrea_PDF_Prev(QWidget* owner)
    : DocumentWindow(owner,
                     {.name = u"frmCrea_PDF_Prev"_s, .output = Output::Pdf, .buttons = Buttons::Narrow,
                      .editor = u"frmPreventivi"_s, .pdfFile = u"Preventivo.pdf"_s, .pictureTop = 0},
                     tradeDocumentLayout(TradeDocument::Quote), false)
{
}

void TfrmCrea_PDF_Prev::fill(DocumentFill& f) { fillTradeDocument(f, TradeDocument::Quote); }
