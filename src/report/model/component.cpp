#include "report/model/component.h"

#include "platform/core/canvas.h"
#include "platform/core/formats.h"
#include "platform/core/text.h"
#include "report/base/errors.h"
#include "report/base/resources.h"
#include "report/base/serializer.h"
#include "report/base/utils.h"
#include "report/base/xml.h"
#include "report/model/bands.h"
#include "report/model/datasets.h"
#include "report/model/pages.h"
#include "report/model/report.h"
#include "report/model/startup.h"
#include "report/model/views.h"

#include <QBuffer>

#include <algorithm>
#include <cmath>
#include <set>

namespace orv::report {
using namespace orv::script;
} // namespace orv::report

namespace orv::report {

using namespace orv::report;

// ---------------------------------------------------------------- font

ORV_RTTI_DEFINE(TfrxFont, orv::platform::Persistent)
{
    c.prop("Name", &TfrxFont::Name, &TfrxFont::SetName);
    c.prop("Size", &TfrxFont::Size, &TfrxFont::SetSize).stored(false);
    c.prop("PixelsPerInch", &TfrxFont::PixelsPerInch, &TfrxFont::SetPixelsPerInch);
    c.prop("Style", &TfrxFont::Style, &TfrxFont::SetStyle).def(TFontStyles{});
    c.prop("Color", &TfrxFont::Color, &TfrxFont::SetColor).def(claBlack).type(QStringLiteral("TAlphaColor"));
    c.prop("Height", &TfrxFont::Height, &TfrxFont::SetHeight);
}

void TfrxFont::changed()
{
    if (OnChange)
        OnChange();
}

void TfrxFont::SetName(const QString& Value)
{
    if (m_name == Value)
        return;
    m_name = Value;
    changed();
}

void TfrxFont::SetSize(float Value)
{
    if (m_size == Value)
        return;
    m_size = Value;
    changed();
}

void TfrxFont::SetStyle(TFontStyles Value)
{
    if (m_style == Value)
        return;
    m_style = Value;
    changed();
}

void TfrxFont::SetColor(TAlphaColor Value)
{
    if (m_color == Value)
        return;
    m_color = Value;
    changed();
}

void TfrxFont::Assign(const orv::platform::Persistent* Source)
{
    if (const auto* f = orv::platform::rtti::objectCast<TfrxFont>(Source)) {
        m_name = f->m_name;
        m_size = f->m_size;
        m_style = f->m_style;
        m_color = f->m_color;
        changed();
        return;
    }
    orv::platform::Persistent::Assign(Source);
}

void TfrxFont::AssignToFont(QFont& Font) const
{
    Font.setFamily(m_name);
    Font.setPointSizeF(m_size > 0 ? m_size : 1);
    Font.setBold(m_style.contains(fsBold));
    Font.setItalic(m_style.contains(fsItalic));
    Font.setUnderline(m_style.contains(fsUnderline));
    Font.setStrikeOut(m_style.contains(fsStrikeOut));
}

void TfrxFont::AssignToCanvas(orv::platform::Canvas& Canvas) const
{
    Canvas.font.family = m_name;
    Canvas.font.size = GetHeight();
    Canvas.font.bold = m_style.contains(fsBold);
    Canvas.font.italic = m_style.contains(fsItalic);
    Canvas.font.underline = m_style.contains(fsUnderline);
    Canvas.font.strikeOut = m_style.contains(fsStrikeOut);
    Canvas.fillColor = m_color;
}

bool TfrxFont::sameAs(const TfrxFont& other) const
{
    return m_name == other.m_name && m_size == other.m_size && m_style == other.m_style && m_color == other.m_color;
}

// ---------------------------------------------------------------- component

ORV_RTTI_DEFINE(TfrxComponent, orv::platform::Component) {}

orv::platform::Component* TfrxComponent::platformOwner(orv::platform::Component* AOwner)
{
    if (auto* c = orv::platform::rtti::objectCast<TfrxComponent>(AOwner))
        return c->Report();
    return AOwner;
}

TfrxComponent::TfrxComponent(orv::platform::Component* AOwner)
    : orv::platform::Component(platformOwner(AOwner)), m_font(std::make_unique<TfrxFont>())
{
    m_font->OnChange = [this] { HandleFontChange(); };
    SetParentFont(true);
    if (auto* parent = orv::platform::rtti::objectCast<TfrxComponent>(AOwner))
        SetParent(parent);
}

TfrxComponent::~TfrxComponent()
{
    SetParent(nullptr);
    // Every child goes, those of a parent template too (Clear only empties them).
    while (!m_objects.isEmpty())
        delete m_objects.first(); // leaves m_objects through its destructor
    m_font->OnChange = nullptr;
}

QList<TfrxComponent*> TfrxComponent::AllObjects() const
{
    QList<TfrxComponent*> out;
    collectAll(out);
    return out;
}

void TfrxComponent::collectAll(QList<TfrxComponent*>& out) const
{
    for (TfrxComponent* c : m_objects) {
        out << c;
        c->collectAll(out);
    }
}

void TfrxComponent::SetParent(TfrxComponent* Value)
{
    // An object cannot move below itself: the tree would close into a ring.
    for (TfrxComponent* p = Value; p; p = p->m_parent)
        if (p == this)
            return;
    if (Value != m_parent) {
        if (m_parent)
            m_parent->m_objects.removeOne(this);
        if (Value)
            Value->m_objects << this;
    }
    m_parent = Value;
    if (Value)
        SetParentFont(m_parentFont);
}

TfrxPage* TfrxComponent::Page() const
{
    for (const TfrxComponent* c = this; c; c = c->m_parent)
        if (auto* p = const_cast<TfrxComponent*>(c)->asPage())
            return p;
    return nullptr;
}

TfrxReport* TfrxComponent::Report() const
{
    for (const TfrxComponent* c = this; c; c = c->m_parent)
        if (auto* r = const_cast<TfrxComponent*>(c)->asReport())
            return r;
    return nullptr;
}

void TfrxComponent::SetName(const QString& Value)
{
    if (orv::platform::sameTextAZ(Value, Name()))
        return;
    if (!Value.isEmpty()) {
        if (TfrxReport* r = Report()) {
            TfrxComponent* other = r->FindObject(Value);
            if (other && other != this)
                throw EDuplicateName(frxStringResources()->Get(QStringLiteral("prDupl")));
        }
        if (IsAncestor())
            throw Error(frxStringResources()->Get(QStringLiteral("clCantRen")).arg(Name()));
    }
    orv::platform::Component::SetName(Value);
}

TfrxComponent* TfrxComponent::FindObject(const QString& AName) const
{
    for (TfrxComponent* c : AllObjects())
        if (orv::platform::sameTextAZ(c->Name(), AName))
            return c;
    return nullptr;
}

QString TfrxComponent::BaseName() const
{
    if (!m_baseName.isEmpty())
        return m_baseName;
    QString s = ClassName();
    const qsizetype t = s.indexOf(QStringLiteral("Tfrx"));
    if (t >= 0)
        s.remove(t, 4);
    const qsizetype v = s.indexOf(QStringLiteral("View"));
    if (v >= 0)
        s.remove(v, 4);
    return s;
}

void TfrxComponent::CreateUniqueName()
{
    const TfrxComponent* space = Report();
    if (!space)
        space = m_parent;
    if (!space)
        return;
    std::set<QString> names;
    for (TfrxComponent* c : space->AllObjects())
        names.insert(orv::platform::upperAZ(c->Name()));
    const QString base = BaseName();
    for (int i = 1;; ++i) {
        const QString candidate = base + QString::number(i);
        if (!names.count(orv::platform::upperAZ(candidate))) {
            SetName(candidate);
            return;
        }
    }
}

void TfrxComponent::SetLeft(double Value)
{
    if (!m_isDesigning || !m_restrictions.contains(rfDontMove))
        m_left = Value;
}

void TfrxComponent::SetTop(double Value)
{
    if (!m_isDesigning || !m_restrictions.contains(rfDontMove))
        m_top = Value;
}

void TfrxComponent::SetWidth(double Value)
{
    if (!m_isDesigning || !m_restrictions.contains(rfDontSize))
        m_width = Value;
}

void TfrxComponent::SetHeight(double Value)
{
    if (!m_isDesigning || !m_restrictions.contains(rfDontSize))
        m_height = Value;
}

void TfrxComponent::SetBounds(double ALeft, double ATop, double AWidth, double AHeight)
{
    SetLeft(ALeft);
    SetTop(ATop);
    SetWidth(AWidth);
    SetHeight(AHeight);
}

double TfrxComponent::AbsLeft() const
{
    if (!m_parent || m_parent->m_startsOwnPlane)
        return m_left;
    return m_parent->AbsLeft() + m_left;
}

double TfrxComponent::AbsTop() const
{
    if (!m_parent || m_parent->m_startsOwnPlane)
        return m_top;
    return m_parent->AbsTop() + m_top;
}

void TfrxComponent::SetFont(TfrxFont* Value)
{
    if (Value && Value != m_font.get())
        m_font->Assign(Value);
    m_parentFont = false;
}

void TfrxComponent::SetParentFont(bool Value)
{
    if (Value && m_parent)
        SetFont(m_parent->Font());
    m_parentFont = Value;
}

void TfrxComponent::HandleFontChange()
{
    m_parentFont = false;
    const QList<TfrxComponent*> children = m_objects;
    for (TfrxComponent* c : children)
        if (c->m_parentFont)
            c->SetParentFont(true);
}

// ---------------------------------------------------------------- copying and storage

void TfrxComponent::Assign(const orv::platform::Persistent* Source)
{
    auto* src = dynamic_cast<TfrxComponent*>(const_cast<orv::platform::Persistent*>(Source));
    if (!src)
        return;
    AssignFromText(AssignText(src));
}

QByteArray TfrxComponent::AssignText(TfrxComponent* Source)
{
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    Source->SaveToStream(buffer, false, true, false);
    return buffer.data();
}

void TfrxComponent::AssignFromText(const QByteArray& Text)
{
    QBuffer buffer;
    buffer.setData(Text);
    buffer.open(QIODevice::ReadOnly);
    // A copy is an object of its own, not one of a parent template's.
    const bool inherited = m_isInherited;
    LoadFromStream(buffer);
    m_isInherited = inherited;
}

void TfrxComponent::AssignAll(TfrxComponent* Source, bool Streaming)
{
    if (!Source)
        return;
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    Source->SaveToStream(buffer, true, true, Streaming);
    buffer.seek(0);
    const bool inherited = m_isInherited;
    LoadFromStream(buffer);
    m_isInherited = inherited;
}

void TfrxComponent::SaveToStream(QIODevice& Stream, bool SaveChildren, bool SaveDefaultValues, bool Streaming)
{
    TfrxXMLSerializer serializer(&Stream);
    serializer.Owner = Report();
    serializer.SerializeDefaultValues = SaveDefaultValues;
    serializer.WriteRootComponent(this, SaveChildren, nullptr, Streaming);
}

void TfrxComponent::AssignFromDocument(TfrxXMLItem* Root, bool OldFormat)
{
    const bool inherited = m_isInherited;
    loadFrom(nullptr, Root, OldFormat);
    m_isInherited = inherited;
}

void TfrxComponent::LoadFromStream(QIODevice& Stream) { loadFrom(&Stream, nullptr, false); }

void TfrxComponent::loadFrom(QIODevice* Stream, TfrxXMLItem* Item, bool OldFormat)
{
    Clear();
    TfrxReport* report = Report();
    TfrxXMLSerializer serializer(Stream);
    serializer.Owner = report;
    serializer.OldFormat = OldFormat;
    // The report names its current reader, so that its collections read through it.
    struct Current {
        TfrxReport* report;
        TfrxXMLSerializer* previous;
        Current(TfrxReport* r, TfrxXMLSerializer* s) : report(r), previous(r ? r->XMLSerializer() : nullptr)
        {
            if (report)
                report->SetXMLSerializer(s);
        }
        ~Current()
        {
            if (report)
                report->SetXMLSerializer(previous);
        }
    };
    auto appendErrors = [&] {
        if (report)
            report->Errors()->AddStrings(serializer.Errors);
    };
    {
        Current current(report, &serializer);
        std::unique_ptr<QMutexLocker<QRecursiveMutex>> lock;
        if (report && report->EngineOptions()->EnableThreadSafe())
            lock = std::make_unique<QMutexLocker<QRecursiveMutex>>(&frxEngineLock());
        try {
            serializer.ReadRootComponent(this, Item);
        } catch (...) {
            appendErrors();
            throw;
        }
    }
    appendErrors();
}

void TfrxComponent::Clear()
{
    int i = 0;
    while (i < m_objects.size()) {
        TfrxComponent* c = m_objects[i];
        if (c->IsAncestor()) {
            c->Clear();
            ++i;
        } else {
            delete c; // leaves m_objects through its destructor
        }
    }
}

// ---------------------------------------------------------------- difference texts

void TfrxComponent::addDiff(QString& out, const QString& name, const QString& value)
{
    out += u' ';
    out += name;
    out += QStringLiteral("=\"");
    out += value;
    out += u'"';
}

QString TfrxComponent::Diff(TfrxComponent* AComponent) { return BaseDiff(AComponent); }

QString TfrxComponent::BaseDiff(TfrxComponent* AComponent)
{
    QString out;
    if (!AComponent)
        return out;
    auto differ = [](double a, double b) { return std::fabs(a - b) > 0.0001; };
    auto num = [](double v) { return orv::platform::floatToStr(v); };
    auto flag = [](bool b) { return b ? QStringLiteral("1") : QStringLiteral("0"); };
    const bool isBand = dynamic_cast<TfrxBand*>(this) != nullptr;
    const auto* memo = dynamic_cast<TfrxCustomMemoView*>(this);

    if (differ(m_left, AComponent->m_left))
        addDiff(out, QStringLiteral("l"), num(m_left));
    if (isBand || differ(m_top, AComponent->m_top))
        addDiff(out, QStringLiteral("t"), num(m_top));
    if (differ(m_width, AComponent->m_width) && !(memo && memo->AutoWidth()))
        addDiff(out, QStringLiteral("w"), num(m_width));
    if (differ(m_height, AComponent->m_height))
        addDiff(out, QStringLiteral("h"), num(m_height));
    if (m_visible != AComponent->m_visible)
        addDiff(out, QStringLiteral("Visible"), flag(m_visible));
    if (!m_parentFont) {
        const TfrxFont& f = *m_font;
        const TfrxFont& g = *AComponent->m_font;
        if (f.Name() != g.Name())
            addDiff(out, QStringLiteral("Font.Name"), frxEscapeXMLText(f.Name()));
        if (f.Size() != g.Size())
            addDiff(out, QStringLiteral("Font.Size"), num(f.Size()));
        if (f.Color() != g.Color())
            addDiff(out, QStringLiteral("Font.Color"), QString::number(qint32(f.Color())));
        if (!(f.Style() == g.Style()))
            addDiff(out, QStringLiteral("Font.Style"), QString::number(f.Style().bits()));
    }
    if (m_parentFont != AComponent->m_parentFont)
        addDiff(out, QStringLiteral("ParentFont"), flag(m_parentFont));
    if (Tag() != AComponent->Tag())
        addDiff(out, QStringLiteral("Tag"), QString::number(Tag()));
    return out;
}

QString TfrxComponent::AllDiff(TfrxComponent* AComponent)
{
    TfrxXMLSerializer serializer(nullptr);
    serializer.Owner = Report();
    const QString element = QStringLiteral("<") + serializer.WriteComponentStr(this) + QStringLiteral("/>");
    QString out;
    const qsizetype space = element.indexOf(u' ');
    if (space >= 0)
        out = element.mid(space + 1, element.size() - space - 3);
    if (AComponent)
        out += u' ' + BaseDiff(AComponent);
    if (dynamic_cast<TfrxNullBand*>(this)) {
        addDiff(out, QStringLiteral("l"), orv::platform::floatToStr(m_left));
        addDiff(out, QStringLiteral("t"), orv::platform::floatToStr(m_top));
    }
    return out;
}

// ---------------------------------------------------------------- alignment

namespace {

QString alignKey(double left)
{
    const double v = left >= 0 ? left : -left;
    return (left >= 0 ? QStringLiteral("1") : QStringLiteral("0")) +
           QStringLiteral("%1").arg(frxFloatToFixed(2, orv::platform::formats().decimalSeparator, v), 9);
}

} // namespace

void TfrxComponent::AlignChildren()
{
    struct Entry {
        TfrxView* view;
        QString key;
        int index;
    };
    // Most objects are not aligned at all: then nothing here moves, and the keys and the
    // sorting that every page read back would pay for are left out.
    bool aligned = false;
    for (TfrxComponent* c : m_objects)
        if (auto* v = c->asView(); v && v->Align() != baNone) {
            aligned = true;
            break;
        }
    if (!aligned)
        return;
    std::vector<Entry> views;
    for (int i = 0; i < m_objects.size(); ++i)
        if (auto* v = m_objects[i]->asView())
            views.push_back({v, alignKey(v->Left()), i});
    std::stable_sort(views.begin(), views.end(), [](const Entry& a, const Entry& b) {
        const int c = orv::platform::compareTextAZ(a.key, b.key);
        return c != 0 ? c < 0 : a.index > b.index;
    });
    auto overlapsVertically = [](TfrxView* a, TfrxView* b) {
        return b->AbsTop() < a->AbsTop() + a->Height() - 0.0001 && a->AbsTop() < b->AbsTop() + b->Height() - 0.0001;
    };
    const int n = int(views.size());
    for (int i = 0; i < n; ++i) {
        TfrxView* v = views[size_t(i)].view;
        if (v->Align() != baLeft && v->Align() != baWidth)
            continue;
        TfrxView* neighbour = nullptr;
        for (int j = i - 1; j >= 0 && !neighbour; --j) {
            TfrxView* o = views[size_t(j)].view;
            if (v->Align() == baWidth && o->Left() > v->Left())
                continue;
            if (overlapsVertically(v, o))
                neighbour = o;
        }
        v->SetLeft(neighbour ? neighbour->Left() + neighbour->Width() : 0);
    }
    for (int i = n - 1; i >= 0; --i) {
        TfrxView* v = views[size_t(i)].view;
        if (v->Align() != baRight && v->Align() != baWidth)
            continue;
        TfrxView* neighbour = nullptr;
        for (int j = i + 1; j < n && !neighbour; ++j) {
            TfrxView* o = views[size_t(j)].view;
            if (v->Align() == baWidth && o->Left() + o->Width() < v->Left() + v->Width())
                continue;
            if (overlapsVertically(v, o))
                neighbour = o;
        }
        if (v->Align() == baRight)
            v->SetLeft(neighbour ? neighbour->Left() - v->Width() : Width() - v->Width());
        else
            v->SetWidth(neighbour ? neighbour->Left() - v->Left() : Width() - v->Left());
    }
    for (TfrxComponent* c : m_objects) {
        auto* v = dynamic_cast<TfrxView*>(c);
        if (!v)
            continue;
        switch (v->Align()) {
        case baCenter:
            v->SetLeft((Width() - v->Width()) / 2);
            break;
        case baBottom:
            v->SetTop(Height() - v->Height());
            break;
        case baClient:
            v->SetLeft(0);
            v->SetTop(0);
            v->SetWidth(Width());
            v->SetHeight(Height());
            break;
        default:
            break;
        }
    }
}

TfrxDataSet* TfrxComponent::FindDataSet(TfrxDataSet* DataSet, const QString& DSName) const
{
    const TfrxReport* r = const_cast<TfrxComponent*>(this)->asReport();
    if (!r)
        r = Report();
    if (!r || r->EngineOptions()->UseGlobalDataSetList()) {
        if (DSName.isEmpty())
            return nullptr;
        if (!r)
            return DataSet;
        return FindGlobalDataSet(DataSet, DSName, const_cast<TfrxReport*>(r));
    }
    TfrxDataSetItem* item = r->EnabledDataSets()->Find(DSName);
    return item ? item->DataSet() : nullptr;
}

// ---------------------------------------------------------------- printable objects

ORV_RTTI_DEFINE(TfrxReportComponent, TfrxComponent)
{
    c.prop("Description", &TfrxReportComponent::Description, &TfrxReportComponent::SetDescription);
}

void TfrxReportComponent::BeforePrint() { SavedBounds = TfrxRect{Left(), Top(), Width(), Height()}; }

void TfrxReportComponent::AfterPrint()
{
    SetBounds(SavedBounds.Left, SavedBounds.Top, SavedBounds.Right, SavedBounds.Bottom);
}

TfrxRect TfrxReportComponent::GetRealBounds() const
{
    return TfrxRect{AbsLeft(), AbsTop(), AbsLeft() + Width(), AbsTop() + Height()};
}

} // namespace orv::report
