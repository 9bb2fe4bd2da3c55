#include "report/model/pages.h"

#include "platform/core/formats.h"
#include "report/base/paper.h"
#include "report/base/resources.h"
#include "report/model/bands.h"
#include "report/model/datasets.h"

#include <cmath>

namespace orv::report {

using orv::report::StringList;

namespace {

std::function<TfrxDefaultPaper()>& defaultPaperProvider()
{
    static std::function<TfrxDefaultPaper()> provider;
    return provider;
}

double round8(double v) { return std::round(v * 1e8) / 1e8; }

} // namespace

void frxSetDefaultPaperProvider(std::function<TfrxDefaultPaper()> provider)
{
    defaultPaperProvider() = std::move(provider);
}

ORV_RTTI_DEFINE(TfrxPage, TfrxComponent)
{
    c.prop("Font", &TfrxPage::Font, &TfrxPage::SetFont).stored(&TfrxPage::IsFontStored);
    c.prop("Visible", &TfrxPage::Visible, &TfrxPage::SetVisible).def(true);
}

// ---------------------------------------------------------------- report page

ORV_RTTI_DEFINE(TfrxReportPage, TfrxPage)
{
    using P = TfrxReportPage;
    c.prop("Orientation", &P::Orientation, &P::SetOrientation).def(poPortrait);
    c.prop("PaperWidth", &P::PaperWidth, &P::SetPaperWidth);
    c.prop("PaperHeight", &P::PaperHeight, &P::SetPaperHeight);
    c.prop("PaperSize", &P::PaperSize, &P::SetPaperSize);
    c.prop("LeftMargin", &P::LeftMargin, &P::SetLeftMargin);
    c.prop("RightMargin", &P::RightMargin, &P::SetRightMargin);
    c.prop("TopMargin", &P::TopMargin, &P::SetTopMargin);
    c.prop("BottomMargin", &P::BottomMargin, &P::SetBottomMargin);
    c.prop("MirrorMargins", &P::MirrorMargins, &P::SetMirrorMargins).def(false);
    c.prop("Columns", &P::Columns, &P::SetColumns).def(0);
    c.prop("ColumnWidth", &P::ColumnWidth, &P::SetColumnWidth);
    c.prop("ColumnPositions", &P::ColumnPositions, &P::SetColumnPositions);
    c.prop("Bin", &P::Bin, &P::SetBin).def(7);
    c.prop("BinOtherPages", &P::BinOtherPages, &P::SetBinOtherPages).def(7);
    c.prop("BackPicture", &P::BackPicture, &P::SetBackPicture);
    c.prop("BackPictureVisible", &P::BackPictureVisible, &P::SetBackPictureVisible).def(true);
    c.prop("BackPicturePrintable", &P::BackPicturePrintable, &P::SetBackPicturePrintable).def(true);
    c.prop("PageCount", &P::PageCount, &P::SetPageCount).def(1);
    c.prop("Color", &P::Color, &P::SetColor).def(claNull).type(QStringLiteral("TAlphaColor"));
    c.prop("DataSet", &P::DataSet, &P::SetDataSet);
    c.prop("DataSetName", &P::DataSetName, &P::SetDataSetName);
    c.prop("Duplex", &P::Duplex, &P::SetDuplex).def(dmNone);
    c.prop("Frame", &P::Frame, &P::SetFrame);
    c.prop("EndlessHeight", &P::EndlessHeight, &P::SetEndlessHeight).def(false);
    c.prop("EndlessWidth", &P::EndlessWidth, &P::SetEndlessWidth).def(false);
    c.prop("LargeDesignHeight", &P::LargeDesignHeight, &P::SetLargeDesignHeight).def(false);
    c.prop("OutlineText", &P::OutlineText, &P::SetOutlineText);
    c.prop("PrintIfEmpty", &P::PrintIfEmpty, &P::SetPrintIfEmpty).def(true);
    c.prop("PrintOnPreviousPage", &P::PrintOnPreviousPage, &P::SetPrintOnPreviousPage).def(false);
    c.prop("ResetPageNumbers", &P::ResetPageNumbers, &P::SetResetPageNumbers).def(false);
    c.prop("TitleBeforeHeader", &P::TitleBeforeHeader, &P::SetTitleBeforeHeader).def(true);
    c.prop("HGuides", &P::HGuides, &P::SetHGuides);
    c.prop("VGuides", &P::VGuides, &P::SetVGuides);
    c.prop("OnBeforePrint", &P::OnBeforePrint, &P::SetOnBeforePrint).type(QStringLiteral("TfrxNotifyEvent"));
    c.prop("OnAfterPrint", &P::OnAfterPrint, &P::SetOnAfterPrint).type(QStringLiteral("TfrxNotifyEvent"));
    c.prop("OnManualBuild", &P::OnManualBuild, &P::SetOnManualBuild).type(QStringLiteral("TfrxNotifyEvent"));
}

TfrxReportPage::TfrxReportPage(orv::platform::Component* AOwner)
    : TfrxPage(AOwner), m_columnPositions(std::make_unique<StringList>()), m_hGuides(std::make_unique<StringList>()),
      m_vGuides(std::make_unique<StringList>()), m_background(std::make_unique<TfrxPictureView>(nullptr))
{
    m_background->SetColor(claNull);
    m_background->SetKeepAspectRatio(false);
    m_orientation = poPortrait;
    SetPaperSize(9);
    SetBaseName(QStringLiteral("Page"));
}

TfrxReportPage::~TfrxReportPage()
{
    if (m_subReport)
        m_subReport->m_page = nullptr;
}

void TfrxReportPage::updateDimensions()
{
    SetWidth(std::nearbyint(m_paperWidth * fr01cm));
    SetHeight(std::nearbyint(m_paperHeight * fr01cm));
}

void TfrxReportPage::SetOrientation(TPrinterOrientation Value)
{
    if (Value != m_orientation) {
        std::swap(m_paperWidth, m_paperHeight);
        const double l = m_leftMargin, r = m_rightMargin, t = m_topMargin, b = m_bottomMargin;
        if (Value == poLandscape) {
            m_leftMargin = t;
            m_rightMargin = b;
            m_topMargin = r;
            m_bottomMargin = l;
        } else {
            m_leftMargin = b;
            m_rightMargin = t;
            m_topMargin = l;
            m_bottomMargin = r;
        }
        m_orientation = Value;
        updateDimensions();
    }
    m_orientation = Value;
}

void TfrxReportPage::SetPaperWidth(double Value)
{
    m_paperWidth = round8(Value);
    m_paperSize = 256;
    updateDimensions();
}

void TfrxReportPage::SetPaperHeight(double Value)
{
    m_paperHeight = round8(Value);
    m_paperSize = 256;
    updateDimensions();
}

void TfrxReportPage::SetPaperSize(int Value)
{
    m_paperSize = Value;
    if (Value >= 256)
        return;
    double w = 0, h = 0;
    if (frxPaperDimensions(Value, w, h)) {
        if (m_orientation == poLandscape)
            std::swap(w, h);
        m_paperWidth = w;
        m_paperHeight = h;
    }
    updateDimensions();
}

void TfrxReportPage::SetSizeAndDimensions(int ASize, double AWidth, double AHeight)
{
    m_paperSize = ASize;
    m_paperWidth = round8(AWidth);
    m_paperHeight = round8(AHeight);
    updateDimensions();
}

void TfrxReportPage::SetColumns(int Value)
{
    m_columns = Value;
    m_columnPositions->Clear();
    if (Value < 1)
        return;
    m_columnWidth = (m_paperWidth - m_leftMargin - m_rightMargin) / Value;
    for (int i = 0; i < Value; ++i)
        m_columnPositions->Add(orv::platform::floatToStr(i * m_columnWidth));
}

void TfrxReportPage::SetPageCount(int Value)
{
    if (Value >= 1)
        m_pageCount = Value;
}

void TfrxReportPage::Notification(orv::platform::Component* AComponent, orv::platform::Operation op)
{
    TfrxPage::Notification(AComponent, op);
    if (op == orv::platform::Operation::Remove)
        m_dataSet.forget(AComponent);
}

TfrxBand* TfrxReportPage::FindBand(const orv::platform::rtti::ClassInfo& Band) const
{
    for (TfrxComponent* c : Objects())
        if (auto* b = dynamic_cast<TfrxBand*>(c); b && b->InheritsFrom(Band))
            return b;
    return nullptr;
}

void TfrxReportPage::SetDefaults()
{
    m_leftMargin = m_rightMargin = m_topMargin = m_bottomMargin = 10;
    const TfrxDefaultPaper paper = defaultPaperProvider() ? defaultPaperProvider()() : TfrxDefaultPaper();
    m_paperSize = paper.PaperSize;
    m_paperWidth = paper.PaperWidth;
    m_paperHeight = paper.PaperHeight;
    m_orientation = paper.Orientation;
    updateDimensions();
}

void TfrxReportPage::ClearGuides()
{
    m_hGuides->Clear();
    m_vGuides->Clear();
}

void TfrxReportPage::AlignChildren()
{
    SetWidth((m_paperWidth - m_leftMargin - m_rightMargin) * fr01cm);
    SetHeight((m_paperHeight - m_topMargin - m_bottomMargin) * fr01cm);
    TfrxPage::AlignChildren();
    for (TfrxComponent* c : Objects()) {
        auto* band = c->asBand();
        if (!band)
            continue;
        // Asked only of pages in columns: most pages have one, and every page read back
        // from a prepared report is aligned.
        const auto fullWidth = [band] {
            return dynamic_cast<TfrxNullBand*>(band) || dynamic_cast<TfrxReportSummary*>(band) ||
                   dynamic_cast<TfrxPageHeader*>(band) || dynamic_cast<TfrxPageFooter*>(band) ||
                   dynamic_cast<TfrxReportTitle*>(band) || dynamic_cast<TfrxOverlay*>(band);
        };
        if (band->Vertical())
            band->SetHeight(Height() - band->Top());
        else if (m_columns > 1 && !fullWidth())
            band->SetWidth(m_columnWidth * fr01cm);
        else
            band->SetWidth(Width() - band->Left());
        band->AlignChildren();
    }
    updateDimensions();
}

QString TfrxReportPage::GetDescription() const { return frxStringResources()->Get(QStringLiteral("obRepPage")); }

// ---------------------------------------------------------------- data and dialog pages

ORV_RTTI_DEFINE(TfrxDataPage, TfrxPage)
{
    using P = TfrxDataPage;
    c.prop("Height", &P::Height, &P::SetHeight);
    c.prop("Left", &P::Left, &P::SetLeft);
    c.prop("Top", &P::Top, &P::SetTop);
    c.prop("Width", &P::Width, &P::SetWidth);
}

TfrxDataPage::TfrxDataPage(orv::platform::Component* AOwner) : TfrxPage(AOwner)
{
    SetWidth(1000);
    SetHeight(1000);
}

QString TfrxDataPage::GetDescription() const { return frxStringResources()->Get(QStringLiteral("obDataPage")); }

ORV_RTTI_DEFINE(TfrxDialogPage, TfrxPage)
{
    using P = TfrxDialogPage;
    c.prop("BorderStyle", &P::BorderStyle, &P::SetBorderStyle).def(bsSizeable);
    c.prop("Caption", &P::Caption, &P::SetCaption);
    c.prop("Color", &P::Color, &P::SetColor).def(claWhiteSmoke).type(QStringLiteral("TAlphaColor"));
    c.prop("Height", &P::Height, &P::SetHeight);
    c.prop("ClientHeight", &P::ClientHeight, &P::SetClientHeight);
    c.prop("Left", &P::Left, &P::SetLeft);
    c.prop("Position", &P::Position, &P::SetPosition).def(poScreenCenter);
    c.prop("Top", &P::Top, &P::SetTop);
    c.prop("Width", &P::Width, &P::SetWidth);
    c.prop("ClientWidth", &P::ClientWidth, &P::SetClientWidth);
    c.prop("WindowState", &P::WindowState, &P::SetWindowState).def(wsNormal);
}

TfrxDialogPage::TfrxDialogPage(orv::platform::Component* AOwner) : TfrxPage(AOwner)
{
    m_startsOwnPlane = true;
    Font()->SetName(QStringLiteral("Tahoma"));
    Font()->SetSize(8);
}

QString TfrxDialogPage::GetDescription() const { return frxStringResources()->Get(QStringLiteral("obDlgPage")); }

// ---------------------------------------------------------------- subreport

ORV_RTTI_DEFINE(TfrxSubreport, TfrxView)
{
    c.prop("Page", &TfrxSubreport::Page, &TfrxSubreport::SetPage);
    c.prop("PrintOnParent", &TfrxSubreport::PrintOnParent, &TfrxSubreport::SetPrintOnParent).def(false);
}

TfrxSubreport::TfrxSubreport(orv::platform::Component* AOwner) : TfrxView(AOwner)
{
    frComponentStyle.exclude(csPreviewVisible);
    Frame()->SetTyp(TfrxFrameTypes{ftLeft, ftRight, ftTop, ftBottom});
    Font()->SetName(QStringLiteral("Tahoma"));
    Font()->SetSize(8);
    SetColor(claSilver);
}

TfrxSubreport::~TfrxSubreport() { SetPage(nullptr); }

void TfrxSubreport::SetPage(TfrxReportPage* Value)
{
    if (m_page && m_page->m_subReport == this)
        m_page->m_subReport = nullptr;
    if (Value && Value->m_subReport && Value->m_subReport != this)
        Value->m_subReport->m_page = nullptr;
    m_page = Value;
    if (m_page)
        m_page->m_subReport = this;
}

QString TfrxSubreport::GetDescription() const { return frxStringResources()->Get(QStringLiteral("obSubRep")); }

} // namespace orv::report
