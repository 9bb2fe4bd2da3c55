#include "report/model/bands.h"

#include "report/base/errors.h"
#include "report/base/resources.h"
#include "report/base/xml.h"
#include "report/model/datasets.h"
#include "report/model/pages.h"

#include <cmath>

namespace orv::report {

namespace {

// The switches each band kind stores, in published order.
enum BandProps : unsigned {
    AllowSplit = 1, Child = 2, KeepChild = 4, PrintChildIfInvisible = 8, StartNewPage = 16, Stretched = 32,
};

template <class T>
void publishBandSwitches(orv::platform::rtti::ClassBuilder<T>& c, unsigned props)
{
    if (props & AllowSplit)
        c.prop("AllowSplit", &T::AllowSplit, &T::SetAllowSplit).def(false);
    if (props & Child)
        c.prop("Child", &T::Child, &T::SetChild);
    if (props & KeepChild)
        c.prop("KeepChild", &T::KeepChild, &T::SetKeepChild).def(false);
    if (props & PrintChildIfInvisible)
        c.prop("PrintChildIfInvisible", &T::PrintChildIfInvisible, &T::SetPrintChildIfInvisible).def(false);
    if (props & StartNewPage)
        c.prop("StartNewPage", &T::StartNewPage, &T::SetStartNewPage).def(false);
    if (props & Stretched)
        c.prop("Stretched", &T::Stretched, &T::SetStretched).def(false);
}

constexpr unsigned kTitleSwitches = AllowSplit | Child | KeepChild | PrintChildIfInvisible | StartNewPage | Stretched;

} // namespace

// ---------------------------------------------------------------- band

ORV_RTTI_DEFINE(TfrxBand, TfrxReportComponent)
{
    using B = TfrxBand;
    c.prop("Font", &B::Font, &B::SetFont).stored(&B::IsFontStored);
    c.prop("Height", &B::Height, &B::SetHeight);
    c.prop("Left", &B::Left, &B::SetLeft);
    c.prop("ParentFont", &B::ParentFont, &B::SetParentFont).def(true);
    c.prop("Restrictions", &B::Restrictions, &B::SetRestrictions).def(TfrxRestrictions{});
    c.prop("Top", &B::Top, &B::SetTop);
    c.prop("Visible", &B::Visible, &B::SetVisible).def(true);
    c.prop("Width", &B::Width, &B::SetWidth);
    c.prop("OnAfterCalcHeight", &B::OnAfterCalcHeight, &B::SetOnAfterCalcHeight).type(QStringLiteral("TfrxNotifyEvent"));
    c.prop("OnAfterPrint", &B::OnAfterPrint, &B::SetOnAfterPrint).type(QStringLiteral("TfrxNotifyEvent"));
    c.prop("OnBeforePrint", &B::OnBeforePrint, &B::SetOnBeforePrint).type(QStringLiteral("TfrxNotifyEvent"));
}

TfrxBand::TfrxBand(orv::platform::Component* AOwner) : TfrxReportComponent(AOwner) {}

TfrxBand::~TfrxBand() = default;

bool TfrxBand::onDotMatrixPage() const
{
    // Asked on every move of every band read back: the cheap check first.
    TfrxPage* parentPage = Parent() ? Parent()->asPage() : nullptr;
    auto* page = orv::platform::rtti::objectCast<TfrxReportPage>(parentPage);
    return page && page->IsDotMatrixPage();
}

void TfrxBand::SetLeft(double Value)
{
    if (onDotMatrixPage())
        Value = std::nearbyint(Value / fr1CharX) * fr1CharX;
    TfrxReportComponent::SetLeft(Value);
}

void TfrxBand::SetTop(double Value)
{
    if (onDotMatrixPage())
        Value = std::nearbyint(Value / fr1CharY) * fr1CharY;
    TfrxReportComponent::SetTop(Value);
}

void TfrxBand::SetHeight(double Value)
{
    if (onDotMatrixPage())
        Value = std::nearbyint(Value / fr1CharY) * fr1CharY;
    TfrxReportComponent::SetHeight(Value);
}

void TfrxBand::SetChild(TfrxChild* Value)
{
    for (TfrxBand* b = Value; b; b = b->m_child)
        if (b == this)
            throw orv::report::Error(frxStringResources()->Get(QStringLiteral("clCirRefNotAllow")));
    if (m_child)
        RemoveFreeNotification(m_child);
    m_child = Value;
    if (m_child)
        FreeNotification(m_child);
}

void TfrxBand::Notification(orv::platform::Component* AComponent, orv::platform::Operation op)
{
    TfrxReportComponent::Notification(AComponent, op);
    if (op == orv::platform::Operation::Remove && AComponent == m_child)
        m_child = nullptr;
}

QString TfrxBand::BandName() const
{
    QString s = ClassName();
    const qsizetype t = s.indexOf(QStringLiteral("Tfrx"));
    if (t >= 0)
        s.remove(t, 4);
    const qsizetype b = s.indexOf(QStringLiteral("Band"));
    if (b >= 0)
        s.remove(b, 4);
    return s;
}

int TfrxBand::BandNumber() const
{
    static const orv::platform::rtti::ClassInfo* const kinds[] = {
        &TfrxReportTitle::staticClassInfo(),  &TfrxReportSummary::staticClassInfo(),
        &TfrxPageHeader::staticClassInfo(),   &TfrxPageFooter::staticClassInfo(),
        &TfrxHeader::staticClassInfo(),       &TfrxFooter::staticClassInfo(),
        &TfrxMasterData::staticClassInfo(),   &TfrxDetailData::staticClassInfo(),
        &TfrxSubdetailData::staticClassInfo(), &TfrxDataBand4::staticClassInfo(),
        &TfrxDataBand5::staticClassInfo(),    &TfrxDataBand6::staticClassInfo(),
        &TfrxGroupHeader::staticClassInfo(),  &TfrxGroupFooter::staticClassInfo(),
        &TfrxChild::staticClassInfo(),        &TfrxColumnHeader::staticClassInfo(),
        &TfrxColumnFooter::staticClassInfo(), &TfrxOverlay::staticClassInfo(),
    };
    int result = 0;
    for (int i = 0; i < int(std::size(kinds)); ++i)
        if (classInfo().inheritsFrom(*kinds[i]))
            result = i;
    return result;
}

QString TfrxBand::GetDescription() const { return frxStringResources()->Get(QStringLiteral("obBand")); }

// ---------------------------------------------------------------- band kinds

ORV_RTTI_DEFINE(TfrxReportTitle, TfrxBand) { publishBandSwitches(c, kTitleSwitches); }
ORV_RTTI_DEFINE(TfrxReportSummary, TfrxBand) { publishBandSwitches(c, kTitleSwitches); }
ORV_RTTI_DEFINE(TfrxChild, TfrxBand) { publishBandSwitches(c, kTitleSwitches); }
ORV_RTTI_DEFINE(TfrxFooter, TfrxBand)
{
    publishBandSwitches(c, AllowSplit | Child | KeepChild | PrintChildIfInvisible | Stretched);
}
ORV_RTTI_DEFINE(TfrxColumnHeader, TfrxBand) { publishBandSwitches(c, Child | Stretched); }
ORV_RTTI_DEFINE(TfrxColumnFooter, TfrxBand) {}
ORV_RTTI_DEFINE(TfrxNullBand, TfrxBand) {}

ORV_RTTI_DEFINE(TfrxPageHeader, TfrxBand)
{
    publishBandSwitches(c, Child | PrintChildIfInvisible);
    c.prop("PrintOnFirstPage", &TfrxPageHeader::PrintOnFirstPage, &TfrxPageHeader::SetPrintOnFirstPage).def(true);
    publishBandSwitches(c, Stretched);
}

ORV_RTTI_DEFINE(TfrxPageFooter, TfrxBand)
{
    c.prop("PrintOnFirstPage", &TfrxPageFooter::PrintOnFirstPage, &TfrxPageFooter::SetPrintOnFirstPage).def(true);
    c.prop("PrintOnLastPage", &TfrxPageFooter::PrintOnLastPage, &TfrxPageFooter::SetPrintOnLastPage).def(true);
}

ORV_RTTI_DEFINE(TfrxHeader, TfrxBand)
{
    publishBandSwitches(c, AllowSplit | Child | KeepChild | PrintChildIfInvisible);
    c.prop("ReprintOnNewPage", &TfrxHeader::ReprintOnNewPage, &TfrxHeader::SetReprintOnNewPage).def(false);
    publishBandSwitches(c, StartNewPage | Stretched);
}

ORV_RTTI_DEFINE(TfrxOverlay, TfrxBand)
{
    c.prop("PrintOnTop", &TfrxOverlay::PrintOnTop, &TfrxOverlay::SetPrintOnTop).def(false);
}

ORV_RTTI_DEFINE(TfrxGroupHeader, TfrxBand)
{
    using G = TfrxGroupHeader;
    publishBandSwitches(c, AllowSplit | Child);
    c.prop("Condition", &G::Condition, &G::SetCondition);
    c.prop("DrillDown", &G::DrillDown, &G::SetDrillDown).def(false);
    c.prop("ExpandDrillDown", &G::ExpandDrillDown, &G::SetExpandDrillDown).def(false);
    publishBandSwitches(c, KeepChild);
    c.prop("KeepTogether", &G::KeepTogether, &G::SetKeepTogether).def(false);
    c.prop("ReprintOnNewPage", &G::ReprintOnNewPage, &G::SetReprintOnNewPage).def(false);
    c.prop("OutlineText", &G::OutlineText, &G::SetOutlineText);
    publishBandSwitches(c, PrintChildIfInvisible);
    c.prop("ResetPageNumbers", &G::ResetPageNumbers, &G::SetResetPageNumbers).def(false);
    c.prop("ShowFooterIfDrillDown", &G::ShowFooterIfDrillDown, &G::SetShowFooterIfDrillDown).def(false);
    c.prop("ShowChildIfDrillDown", &G::ShowChildIfDrillDown, &G::SetShowChildIfDrillDown).def(false);
    publishBandSwitches(c, StartNewPage | Stretched);
    c.prop("DrillName", &G::DrillName, &G::SetDrillName);
}

QString TfrxGroupHeader::Diff(TfrxComponent* AComponent)
{
    QString out = TfrxBand::Diff(AComponent);
    if (m_drillDown)
        addDiff(out, QStringLiteral("DrillName"), frxEscapeXMLText(m_drillName));
    return out;
}

ORV_RTTI_DEFINE(TfrxGroupFooter, TfrxBand)
{
    publishBandSwitches(c, AllowSplit | Child);
    c.prop("HideIfSingleDataRecord", &TfrxGroupFooter::HideIfSingleDataRecord,
           &TfrxGroupFooter::SetHideIfSingleDataRecord)
        .def(false);
    publishBandSwitches(c, KeepChild | PrintChildIfInvisible | Stretched);
}

// ---------------------------------------------------------------- data bands

ORV_RTTI_DEFINE(TfrxDataBand, TfrxBand)
{
    using D = TfrxDataBand;
    publishBandSwitches(c, AllowSplit | Child);
    c.prop("Columns", &D::Columns, &D::SetColumns).def(0);
    c.prop("ColumnWidth", &D::ColumnWidth, &D::SetColumnWidth);
    c.prop("ColumnGap", &D::ColumnGap, &D::SetColumnGap);
    c.prop("DataSet", &D::DataSet, &D::SetDataSet);
    c.prop("DataSetName", &D::DataSetName, &D::SetDataSetName);
    c.prop("FooterAfterEach", &D::FooterAfterEach, &D::SetFooterAfterEach).def(false);
    publishBandSwitches(c, KeepChild);
    c.prop("KeepFooter", &D::KeepFooter, &D::SetKeepFooter).def(false);
    c.prop("KeepHeader", &D::KeepHeader, &D::SetKeepHeader).def(false);
    c.prop("KeepTogether", &D::KeepTogether, &D::SetKeepTogether).def(false);
    c.prop("OutlineText", &D::OutlineText, &D::SetOutlineText);
    publishBandSwitches(c, PrintChildIfInvisible);
    c.prop("PrintIfDetailEmpty", &D::PrintIfDetailEmpty, &D::SetPrintIfDetailEmpty).def(false);
    c.prop("RowCount", &D::RowCount, &D::SetRowCount).def(0);
    publishBandSwitches(c, StartNewPage | Stretched);
    c.prop("OnMasterDetail", &D::OnMasterDetail, &D::SetOnMasterDetail).type(QStringLiteral("TfrxNotifyEvent"));
}

ORV_RTTI_DEFINE(TfrxMasterData, TfrxDataBand) {}
ORV_RTTI_DEFINE(TfrxDetailData, TfrxDataBand) {}
ORV_RTTI_DEFINE(TfrxSubdetailData, TfrxDataBand) {}
ORV_RTTI_DEFINE(TfrxDataBand4, TfrxDataBand) {}
ORV_RTTI_DEFINE(TfrxDataBand5, TfrxDataBand) {}
ORV_RTTI_DEFINE(TfrxDataBand6, TfrxDataBand) {}

TfrxDataBand::TfrxDataBand(orv::platform::Component* AOwner)
    : TfrxBand(AOwner)
{
}

TfrxUserDataSet* TfrxDataBand::VirtualDataSet()
{
    if (!m_virtualDataSet) {
        m_virtualDataSet = std::make_unique<TfrxUserDataSet>(nullptr);
        m_virtualDataSet->SetRangeEnd(reCount);
        m_virtualDataSet->SetRangeEndCount(m_rowCount);
        m_dataSet.setOwnDataSet(m_virtualDataSet.get());
    }
    return m_virtualDataSet.get();
}

TfrxDataBand::~TfrxDataBand()
{
    // The virtual dataset goes with the band, whether or not it is the band's dataset.
    m_dataSet.set(nullptr);
}

void TfrxDataBand::SetRowCount(int Value)
{
    m_rowCount = Value;
    if (m_virtualDataSet)
        m_virtualDataSet->SetRangeEndCount(Value);
}

void TfrxDataBand::SetCurColumn(int Value)
{
    if (Value > m_columns)
        Value = 1;
    m_curColumn = Value;
    if (m_curColumn == 1)
        FMaxY = 0;
    TfrxComponent::SetLeft((m_columnWidth + m_columnGap) * (m_curColumn - 1));
}

void TfrxDataBand::Notification(orv::platform::Component* AComponent, orv::platform::Operation op)
{
    TfrxBand::Notification(AComponent, op);
    if (op == orv::platform::Operation::Remove)
        m_dataSet.forget(AComponent);
}

} // namespace orv::report
