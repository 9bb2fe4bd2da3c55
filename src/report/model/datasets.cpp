#include "report/model/datasets.h"

#include "platform/core/text.h"
#include "report/base/errors.h"
#include "report/base/utils.h"
#include "report/base/resources.h"
#include "report/base/serializer.h"
#include "report/base/xml.h"
#include "report/model/report.h"

#include <QFile>

#include <cmath>

namespace orv::report {

using namespace orv::report;

// ---------------------------------------------------------------- dialog component

ORV_RTTI_DEFINE(TfrxDialogComponent, TfrxReportComponent) {}

TfrxDialogComponent::TfrxDialogComponent(orv::platform::Component* AOwner) : TfrxReportComponent(AOwner)
{
    frComponentStyle.exclude(csPreviewVisible);
    SetWidth(28);
    SetHeight(28);
}

void TfrxDialogComponent::DefineProperties(Filer& filer)
{
    const bool inReport = Report() != nullptr;
    filer.defineProperty(
        QStringLiteral("pLeft"), [this](PropertyReader& r) { SetLeft(r.readInteger()); },
        [this](PropertyWriter& w) { w.writeInteger(qint32(std::lround(Left()))); }, inReport);
    filer.defineProperty(
        QStringLiteral("pTop"), [this](PropertyReader& r) { SetTop(r.readInteger()); },
        [this](PropertyWriter& w) { w.writeInteger(qint32(std::lround(Top()))); }, inReport);
}

// ---------------------------------------------------------------- dataset

ORV_RTTI_DEFINE(TfrxDataSet, TfrxDialogComponent)
{
    using D = TfrxDataSet;
    c.prop("Enabled", &D::Enabled, &D::SetEnabled).def(true);
    c.prop("RangeBegin", &D::RangeBegin, &D::SetRangeBegin).def(rbFirst);
    c.prop("RangeEnd", &D::RangeEnd, &D::SetRangeEnd).def(reLast);
    c.prop("RangeEndCount", &D::RangeEndCount, &D::SetRangeEndCount).def(0);
    c.prop("UserName", &D::UserName, &D::SetUserName);
}

TfrxDataSet::TfrxDataSet(orv::platform::Component* AOwner) : TfrxDialogComponent(AOwner) { frxGlobalDataSetList().add(this); }

TfrxDataSet::~TfrxDataSet() { frxGlobalDataSetList().remove(this); }

void TfrxDataSet::SetName(const QString& Value)
{
    TfrxDialogComponent::SetName(Value);
    if (!Value.isEmpty() && m_userName.isEmpty())
        m_userName = Value;
}

void TfrxDataSet::SetUserName(const QString& Value)
{
    if (orv::platform::trimmed(Value).isEmpty())
        throw Error(frxStringResources()->Get(QStringLiteral("prInvProp")));
    m_userName = Value;
}

QString TfrxDataSet::GetDisplayText(const QString&) { return QString(); }

QVariant TfrxDataSet::GetValue(const QString&) { return QVariant::fromValue(nullptr); }

void TfrxDataSet::Open()
{
    if (OnOpen)
        OnOpen(this);
}

void TfrxDataSet::Close()
{
    if (OnClose)
        OnClose(this);
}

void TfrxDataSet::First()
{
    m_recNo = 0;
    m_endReached = false;
    if (OnFirst)
        OnFirst(this);
}

void TfrxDataSet::Next()
{
    m_endReached = false;
    ++m_recNo;
    if (m_rangeEnd == reCount && m_recNo >= m_rangeEndCount) {
        m_recNo = m_rangeEndCount - 1;
        m_endReached = true;
        return;
    }
    if (OnNext)
        OnNext(this);
}

void TfrxDataSet::Prior()
{
    --m_recNo;
    if (OnPrior)
        OnPrior(this);
}

bool TfrxDataSet::Eof()
{
    bool eof = m_rangeEnd == reCount && (m_recNo >= m_rangeEndCount || m_endReached);
    if (OnCheckEOF)
        OnCheckEOF(this, eof);
    return eof;
}

int TfrxDataSet::RecordCount() { return m_rangeBegin == rbFirst && m_rangeEnd == reCount ? m_rangeEndCount : 0; }

bool TfrxDataSet::HasField(const QString& fName)
{
    StringList fields;
    GetFieldList(fields);
    for (int i = 0; i < fields.Count(); ++i)
        if (orv::platform::sameTextAZ(fields[i], fName))
            return true;
    return false;
}

ORV_RTTI_DEFINE(TfrxUserDataSet, TfrxDataSet)
{
    c.prop("Fields", &TfrxUserDataSet::Fields, &TfrxUserDataSet::SetFields);
}

TfrxUserDataSet::TfrxUserDataSet(orv::platform::Component* AOwner)
    : TfrxDataSet(AOwner), m_fields(std::make_unique<StringList>())
{
}

QVariant TfrxUserDataSet::GetValue(const QString& Index)
{
    QVariant value = QVariant::fromValue(nullptr);
    if (OnGetValue)
        OnGetValue(Index, value);
    if (OnNewGetValue)
        OnNewGetValue(this, Index, value);
    return value;
}

QString TfrxUserDataSet::GetDisplayText(const QString& Index)
{
    QString text;
    if (OnGetValue) {
        QVariant v = QVariant::fromValue(nullptr);
        OnGetValue(Index, v);
        text = v.toString();
    }
    if (OnNewGetValue) {
        QVariant v = QVariant::fromValue(nullptr);
        OnNewGetValue(this, Index, v);
        text = v.toString();
    }
    return text;
}

void TfrxUserDataSet::GetFieldList(StringList& List) { List.Assign(m_fields.get()); }

ORV_RTTI_DEFINE(TfrxCustomDBDataSet, TfrxDataSet)
{
    using D = TfrxCustomDBDataSet;
    c.prop("CloseDataSource", &D::CloseDataSource, &D::SetCloseDataSource).def(false);
    c.prop("FieldAliases", &D::FieldAliases, &D::SetFieldAliases);
    c.prop("OpenDataSource", &D::OpenDataSource, &D::SetOpenDataSource).def(true);
}

TfrxCustomDBDataSet::TfrxCustomDBDataSet(orv::platform::Component* AOwner)
    : TfrxDataSet(AOwner), m_fieldAliases(std::make_unique<StringList>())
{
}

QString TfrxCustomDBDataSet::GetAlias(const QString& fName) const
{
    for (const QString& line : m_fieldAliases->lines()) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 0 && orv::platform::sameTextAZ(line.left(eq), fName))
            return line.mid(eq + 1);
    }
    return fName;
}

QString TfrxCustomDBDataSet::ConvertAlias(const QString& fName) const
{
    for (const QString& line : m_fieldAliases->lines()) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 0 && orv::platform::sameTextAZ(line.mid(eq + 1), fName))
            return line.left(eq);
    }
    return fName;
}

int TfrxCustomDBDataSet::FieldsCount()
{
    StringList fields;
    GetFieldList(fields);
    return fields.Count();
}

ORV_RTTI_DEFINE(TfrxCustomDatabase, TfrxDialogComponent) {}

// ---------------------------------------------------------------- links to datasets

void TfrxDataSetLink::link(TfrxDataSet* ds)
{
    if (m_dataSet && m_dataSet != m_own)
        m_holder->RemoveFreeNotification(m_dataSet);
    m_dataSet = ds;
    if (m_dataSet && m_dataSet != m_own)
        m_holder->FreeNotification(m_dataSet);
}

void TfrxDataSetLink::set(TfrxDataSet* ds)
{
    link(ds);
    m_name = ds ? ds->UserName() : QString();
}

QString TfrxDataSetLink::name() const { return m_dataSet ? m_dataSet->UserName() : m_name; }

void TfrxDataSetLink::setName(const QString& name)
{
    m_name = name;
    link(m_holder->FindDataSet(m_dataSet, name));
}

void TfrxDataSetLink::forget(const orv::platform::Component* removed)
{
    // A component being freed is no longer of its own class: compare addresses only.
    if (m_dataSet && static_cast<orv::platform::Component*>(m_dataSet) == removed)
        m_dataSet = nullptr;
}

// ---------------------------------------------------------------- report datasets

ORV_RTTI_DEFINE(TfrxDataSetItem, CollectionItem)
{
    c.prop("DataSet", &TfrxDataSetItem::DataSet, &TfrxDataSetItem::SetDataSet);
    c.prop("DataSetName", &TfrxDataSetItem::DataSetName, &TfrxDataSetItem::SetDataSetName);
}

void TfrxDataSetItem::SetDataSet(TfrxDataSet* Value)
{
    m_dataSet = Value;
    m_dataSetName = Value ? Value->UserName() : QString();
    auto* list = dynamic_cast<TfrxReportDataSets*>(Collection());
    if (Value && list && list->Report())
        list->Report()->FreeNotification(Value);
}

QString TfrxDataSetItem::DataSetName() const { return m_dataSet ? m_dataSet->UserName() : m_dataSetName; }

void TfrxDataSetItem::SetDataSetName(const QString& Value)
{
    m_dataSetName = Value;
    if (Value.isEmpty()) {
        m_dataSet = nullptr;
        return;
    }
    auto* list = dynamic_cast<TfrxReportDataSets*>(Collection());
    if (list && list->Report()) {
        m_dataSet = list->Report()->FindDataSet(m_dataSet, Value);
        if (m_dataSet)
            list->Report()->FreeNotification(m_dataSet);
    }
}

ORV_RTTI_DEFINE(TfrxReportDataSets, CollectionBase) {}

void TfrxReportDataSets::Initialize()
{
    for (int i = 0; i < Count(); ++i)
        if (TfrxDataSet* ds = Items(i)->DataSet()) {
            ds->ReportRef = m_report;
            ds->Initialize();
        }
}

void TfrxReportDataSets::Finalize()
{
    for (int i = 0; i < Count(); ++i)
        if (TfrxDataSet* ds = Items(i)->DataSet())
            ds->Finalize();
}

void TfrxReportDataSets::Add(TfrxDataSet* ds) { Add()->SetDataSet(ds); }

TfrxDataSetItem* TfrxReportDataSets::Find(TfrxDataSet* ds) const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->DataSet() && Items(i)->DataSet() == ds)
            return Items(i);
    return nullptr;
}

TfrxDataSetItem* TfrxReportDataSets::Find(const QString& Name) const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->DataSet() && orv::platform::sameTextAZ(Items(i)->DataSet()->UserName(), Name))
            return Items(i);
    return nullptr;
}

void TfrxReportDataSets::Delete(const QString& Name)
{
    if (TfrxDataSetItem* item = Find(Name))
        Delete(IndexOf(item));
}

void TfrxReportDataSets::forget(const orv::platform::Component* ds)
{
    for (int i = Count() - 1; i >= 0; --i)
        if (Items(i)->m_dataSet && static_cast<orv::platform::Component*>(Items(i)->m_dataSet) == ds)
            Delete(i);
}

// ---------------------------------------------------------------- global list

TfrxGlobalDataSetList& frxGlobalDataSetList()
{
    static TfrxGlobalDataSetList list;
    return list;
}

QList<TfrxDataSet*> TfrxGlobalDataSetList::items() const
{
    QMutexLocker guard(&m_lock);
    return m_items;
}

void TfrxGlobalDataSetList::add(TfrxDataSet* ds)
{
    QMutexLocker guard(&m_lock);
    m_items << ds;
}

void TfrxGlobalDataSetList::remove(TfrxDataSet* ds)
{
    QMutexLocker guard(&m_lock);
    m_items.removeAll(ds);
}

TfrxDataSet* FindGlobalDataSet(TfrxDataSet* DataSet, const QString& Name, TfrxReport* Report)
{
    if (Name.isEmpty())
        return nullptr;
    if (!Report)
        return DataSet;
    TfrxGlobalDataSetList& list = frxGlobalDataSetList();
    list.Lock();
    TfrxDataSet* found = DataSet;
    for (TfrxDataSet* ds : list.items()) {
        auto* ownerReport = dynamic_cast<TfrxReport*>(ds->Owner());
        if (ownerReport && ownerReport != Report)
            continue;
        if (orv::platform::sameTextAZ(ds->UserName(), Name)) {
            found = ds;
            break;
        }
    }
    list.Unlock();
    return found;
}

void ListGlobalDataSets(StringList& List)
{
    TfrxGlobalDataSetList& list = frxGlobalDataSetList();
    list.Lock();
    List.Clear();
    for (TfrxDataSet* ds : list.items())
        if (ds->Enabled() && !ds->UserName().isEmpty())
            List.AddObject(ds->UserName(), ds);
    list.Unlock();
}

// ---------------------------------------------------------------- styles

ORV_RTTI_DEFINE(TfrxStyleItem, CollectionItem)
{
    c.prop("Name", &TfrxStyleItem::Name, &TfrxStyleItem::SetName);
    c.prop("Color", &TfrxStyleItem::Color, &TfrxStyleItem::SetColor).def(claNull).type(QStringLiteral("TAlphaColor"));
    c.prop("Font", &TfrxStyleItem::Font, &TfrxStyleItem::SetFont);
    c.prop("Frame", &TfrxStyleItem::Frame, &TfrxStyleItem::SetFrame);
}

TfrxStyleItem::TfrxStyleItem() : m_font(std::make_unique<TfrxFont>()), m_frame(std::make_unique<TfrxFrame>()) {}

void TfrxStyleItem::SetName(const QString& Value)
{
    if (auto* styles = dynamic_cast<TfrxStyles*>(Collection()))
        for (int i = 0; i < styles->Count(); ++i)
            if (styles->Items(i) != this && orv::platform::sameTextAZ(styles->Items(i)->Name(), Value))
                throw Error(frxStringResources()->Get(QStringLiteral("clDupName")));
    m_name = Value;
}

void TfrxStyleItem::CreateUniqueName()
{
    auto* styles = dynamic_cast<TfrxStyles*>(Collection());
    for (int i = 1;; ++i) {
        const QString candidate = QStringLiteral("Style") + QString::number(i);
        if (!styles || !styles->Find(candidate)) {
            m_name = candidate;
            return;
        }
    }
}

void TfrxStyleItem::Assign(const orv::platform::Persistent* Source)
{
    const auto* s = dynamic_cast<const TfrxStyleItem*>(Source);
    if (!s || s == this)
        return;
    SetName(s->m_name);
    m_color = s->m_color;
    m_font->Assign(s->m_font.get());
    m_frame->Assign(s->m_frame.get());
}

ORV_RTTI_DEFINE(TfrxStyles, CollectionBase) {}

TfrxStyleItem* TfrxStyles::Find(const QString& Name) const
{
    for (int i = 0; i < Count(); ++i)
        if (orv::platform::sameTextAZ(Items(i)->Name(), Name))
            return Items(i);
    return nullptr;
}

void TfrxStyles::GetList(StringList& List) const
{
    List.Clear();
    for (int i = 0; i < Count(); ++i)
        List.Add(Items(i)->Name());
}

void TfrxStyles::Apply()
{
    if (!m_report)
        return;
    for (TfrxComponent* c : m_report->AllObjects())
        if (auto* memo = dynamic_cast<TfrxCustomMemoView*>(c))
            memo->SetStyle(Find(memo->Style()) ? memo->Style() : QString());
}

void TfrxStyles::SaveToXMLItem(TfrxXMLItem* Item)
{
    Item->Name = QStringLiteral("style");
    Item->SetProp(QStringLiteral("Name"), m_name);
    TfrxXMLSerializer serializer(nullptr);
    serializer.Owner = m_report;
    for (int i = 0; i < Count(); ++i) {
        TfrxXMLItem* child = Item->Add(QStringLiteral("item"));
        child->Text = serializer.ObjToXML(Items(i));
    }
}

void TfrxStyles::LoadFromXMLItem(TfrxXMLItem* Item, bool OldXMLFormat)
{
    Clear();
    m_name = Item->Prop(QStringLiteral("Name"));
    TfrxXMLSerializer serializer(nullptr);
    serializer.Owner = m_report;
    serializer.OldFormat = OldXMLFormat;
    for (int i = 0; i < Item->Count(); ++i) {
        TfrxXMLItem* child = Item->Items(i);
        if (child->Name.compare(QStringLiteral("item"), Qt::CaseInsensitive) != 0)
            continue;
        serializer.XMLToObj(child->Text, Add());
    }
    Apply();
}

void TfrxStyles::SaveToStream(QIODevice& Stream)
{
    TfrxXMLDocument doc;
    doc.AutoIndent = true;
    SaveToXMLItem(doc.Root());
    doc.SaveToStream(Stream);
}

void TfrxStyles::LoadFromStream(QIODevice& Stream)
{
    Clear();
    TfrxXMLDocument doc;
    doc.LoadFromStream(Stream);
    if (doc.Root()->Name.compare(QStringLiteral("style"), Qt::CaseInsensitive) == 0)
        LoadFromXMLItem(doc.Root(), doc.OldVersion());
}

void TfrxStyles::SaveToFile(const QString& FileName)
{
    saveFile(FileName, [this](QIODevice& f) { SaveToStream(f); });
}

void TfrxStyles::LoadFromFile(const QString& FileName)
{
    loadFile(FileName, [this](QIODevice& f) { LoadFromStream(f); });
}

} // namespace orv::report
