// Opening and closing output pages and columns: the repeated headers, the column
// footer, the report summary, the page footer and the overlays, and the move of a kept
// block of bands to the next page or column.
#include "report/base/utils.h"
#include "report/engine/engine.h"
#include "report/model/bands.h"
#include "report/model/pages.h"
#include "report/model/report.h"
#include "report/pages/previewpages.h"

namespace orv::report {

void TfrxEngine::OpenOutputPage()
{
    FPrevFooterHeight = 0;
    pages()->AddPage(FPage);
    guardPageWithoutProgress();
    CurY = 0;
    if (auto* overlay = dynamic_cast<TfrxOverlay*>(FPage->FindBand(TfrxOverlay::staticClassInfo()));
        overlay && !overlay->PrintOnTop()) {
        ShowBand(overlay);
        CurY = 0;
    }
    const long double savedX = CurX;
    FFirstColumnY = 0;
    for (int i = 0; i < FHeaderList.Count(); ++i) {
        const TfrxHeaderListItem item = FHeaderList.Items(i);
        CurX = double(item.Left);
        TfrxBand* band = item.Band;
        if (!band || band == FStartNewPageBand)
            continue;
        if (auto* header = dynamic_cast<TfrxPageHeader*>(band); header && FIsFirstPage && !header->PrintOnFirstPage())
            band = header->PrintChildIfInvisible() ? header->Child() : nullptr;
        if (!band)
            continue;
        const bool isHeader = dynamic_cast<TfrxHeader*>(band) != nullptr;
        if (((isHeader && FKeepHeader) || item.IsInKeepList) && !FKeepFooter)
            continue;
        if ((isHeader || dynamic_cast<TfrxGroupHeader*>(band)) && FDontShowHeaders)
            continue;
        if (isHeader && band == FLastBandOnPage)
            continue;
        const bool isTitle = dynamic_cast<TfrxReportTitle*>(band) != nullptr;
        if (isTitle)
            FHeaderList.Items(i).Band = nullptr; // the title goes out once
        band->SetOverflow(true);
        const int line = CurLine, lineThrough = CurLineThrough;
        CurLine = band->LineN;
        CurLineThrough = band->LineThrough;
        FCallFromAddPage = true;
        FCallFromPHeader = dynamic_cast<TfrxPageHeader*>(band) != nullptr;
        struct Reset {
            TfrxEngine* e;
            TfrxBand* band;
            int line, lineThrough;
            ~Reset()
            {
                e->FCallFromAddPage = false;
                e->FCallFromPHeader = false;
                band->SetOverflow(false);
                e->CurLine = line;
                e->CurLineThrough = lineThrough;
            }
        } reset{this, band, line, lineThrough};
        ShowBand(band);
        if (dynamic_cast<TfrxPageHeader*>(band))
            FFirstColumnY = band->FStretchedHeight;
        if (isTitle && FIsFirstBand)
            FTitlePrinted = true;
    }
    CurX = double(savedX);
}

void TfrxEngine::EndPage()
{
    if (!FCallFromEndPage)
        PlaceColumnFooter();
    if (!FIsLastPage) {
        CurX = double(FPageCurX);
        CurColumn = 1;
    }
    if (FIsLastPage && !FCallFromEndPage) {
        FCallFromEndPage = true;
        struct Reset {
            bool& flag;
            ~Reset() { flag = false; }
        } reset{FCallFromEndPage};
        TfrxBand* summary = FPage->FindBand(TfrxReportSummary::staticClassInfo());
        ShowBand(summary);
        if (summary && FPage->EndlessHeight())
            pages()->UpdatePageDimensions(
                FPage, FPage->LeftMargin() * fr01cm + PageWidth + FPage->RightMargin() * fr01cm,
                PageHeight() + FPage->TopMargin() * fr01cm + FPage->BottomMargin() * fr01cm);
    }
    if (auto* footer = dynamic_cast<TfrxPageFooter*>(FPage->FindBand(TfrxPageFooter::staticClassInfo()))) {
        CurY = PageHeight() - footer->Height();
        FPrevFooterHeight =
            (FIsLastPage && footer->PrintOnLastPage() && !FCallFromEndPage) ? footer->Height() : 0;
        PlaceBottomBand(footer);
    }
    if (auto* overlay = dynamic_cast<TfrxOverlay*>(FPage->FindBand(TfrxOverlay::staticClassInfo()));
        overlay && overlay->PrintOnTop()) {
        CurY = 0;
        PlaceBottomBand(overlay);
    }
    FIsFirstPage = false;
}

void TfrxEngine::PlaceBottomBand(TfrxBand* Band)
{
    if (!Band)
        return;
    bool leftOut = false;
    outputPrepared(Band, [&] {
        if (!Band->Visible())
            return;
        Band->SetLeft(0);
        Band->SetTop(CurY);
        if (auto* footer = dynamic_cast<TfrxPageFooter*>(Band))
            leftOut = (FIsFirstPage && !footer->PrintOnFirstPage()) ||
                      (FIsLastPage && !footer->PrintOnLastPage() && !FCallFromEndPage);
        if (leftOut)
            return;
        if (!pages()->BandExists(Band))
            pages()->AddObject(Band);
        CurY += Band->Height();
    });
    if (!leftOut)
        FAggregates->Reset(Band);
}

void TfrxEngine::NewPage()
{
    if (FKeeping && FKeepBand && CurY - FKeepCurY + FKeepBand->Height() > PageHeight() - FooterHeight()) {
        // The kept block would not fit an empty page either: it stays where it is.
        FKeeping = false;
        FAggregates->EndKeep();
    }
    TfrxBand* header = nullptr;
    if (FKeeping) {
        if (FKeepFooter)
            FAggregates->DeleteValue(FKeepBand);
        pages()->CutObjects(FKeepPosition);
        auto* data = dynamic_cast<TfrxDataBand*>(FCurBand);
        if (std::abs(double(pages()->GetLastY(0)) - CurY) >= 0.0001 && data) {
            header = data->Header;
            FHeaderList.RemoveItem(header);
        }
    }
    FLastBandOnPage = FCurBand;
    EndPage();
    if (FPage->EndlessHeight() && pages()->Count() > 0) {
        const int last = pages()->Count() - 1;
        if (TfrxReportPage* page = pages()->GetPage(last)) {
            page->SetPaperWidth(PageWidth / fr01cm + FPage->LeftMargin() + FPage->RightMargin());
            page->SetPaperHeight((FooterHeight() + CurY) / fr01cm + FPage->TopMargin() + FPage->BottomMargin());
            page->SetPaperSize(256);
            pages()->ModifyPage(last, page);
        }
    }
    OpenOutputPage();
    FLastBandOnPage = nullptr;
    if (FKeeping) {
        FAggregates->EndKeep();
        pages()->PasteObjects(0, CurY);
        pages()->Outline()->ShiftItems(FKeepOutline, frxRound(CurY));
        pages()->ShiftAnchors(FKeepAnchor, frxRound(CurY));
        CurY = double(pages()->GetLastY(0));
        if (FKeepFooter)
            FAggregates->AddValue(FKeepBand);
        if (header)
            RememberHeader(header);
    }
    FKeeping = false;
    FKeepHeader = false;
    FKeepCurY = 0;
    OutlinePageItem();
}

void TfrxEngine::NewColumn()
{
    if (CurColumn >= FPage->Columns()) {
        NewPage();
        return;
    }
    if (FKeeping) {
        if (FKeepFooter)
            FAggregates->DeleteValue(FKeepBand);
        pages()->CutObjects(FKeepPosition);
        CurY = double(pages()->GetLastY(0));
    }
    FLastBandOnPage = FCurBand;
    PlaceColumnFooter();
    OpenNextColumn();
    FLastBandOnPage = nullptr;
    if (FKeeping) {
        FAggregates->EndKeep();
        pages()->PasteObjects(CurX, CurY);
        pages()->Outline()->ShiftItems(FKeepOutline, frxRound(CurY));
        pages()->ShiftAnchors(FKeepAnchor, frxRound(CurY));
        CurY = double(pages()->GetLastY(CurX));
        if (FKeepFooter)
            FAggregates->AddValue(FKeepBand);
    }
    FKeeping = false;
    FKeepHeader = false;
}

void TfrxEngine::OpenNextColumn()
{
    ++CurColumn;
    const double offset = frxTextToFloat(FPage->ColumnPositions()->Get(CurColumn - 1)) * fr01cm;
    CurY = double(FFirstColumnY);
    for (int i = 0; i < FHeaderList.Count(); ++i) {
        const TfrxHeaderListItem item = FHeaderList.Items(i);
        CurX = double(item.Left) + offset;
        if (!item.Band || dynamic_cast<TfrxPageHeader*>(item.Band) || item.Band == FLastBandOnPage ||
            item.IsInKeepList || FKeepHeader)
            continue;
        PlaceBandWithChildren(item.Band);
    }
    CurX = double(FPageCurX) + offset;
}

void TfrxEngine::PlaceColumnFooter()
{
    TfrxBand* footer = FPage->FindBand(TfrxColumnFooter::staticClassInfo());
    if (!footer)
        return;
    outputPrepared(footer, [&] {
        if (!footer->Visible())
            return;
        footer->SetLeft(CurX - FPageCurX);
        footer->SetTop(CurY);
        pages()->AddObject(footer);
        CurY += footer->Height();
    });
    FAggregates->Reset(footer);
}

void TfrxEngine::PlaceBandWithChildren(TfrxBand* Band)
{
    for (TfrxBand* b = Band; b;) {
        PlaceBandAtCursor(b);
        if (!(b->Visible() || b->PrintChildIfInvisible()))
            break;
        b = b->Child();
    }
}

void TfrxEngine::PlaceBandAtCursor(TfrxBand* Band)
{
    Band->SetOverflow(true);
    struct Reset {
        TfrxBand* band;
        ~Reset() { band->SetOverflow(false); }
    } reset{Band};
    outputPrepared(Band, [&] {
        if (!Band->Visible())
            return;
        Band->SetLeft(CurX);
        Band->SetTop(CurY);
        pages()->AddObject(Band);
        CurY += Band->Height();
    });
}

void TfrxEngine::RememberHeader(TfrxBand* Band)
{
    auto* header = dynamic_cast<TfrxHeader*>(Band);
    auto* group = dynamic_cast<TfrxGroupHeader*>(Band);
    if ((header && header->ReprintOnNewPage()) || (group && group->ReprintOnNewPage()))
        FHeaderList.AddItem(Band, FPageCurX, FKeeping && !header);
}

void TfrxEngine::ForgetHeader(TfrxBand* Band)
{
    if (Band)
        FHeaderList.RemoveItem(Band);
}

} // namespace orv::report
