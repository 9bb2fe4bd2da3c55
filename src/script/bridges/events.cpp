#include "script/bridges/events.h"

#include "script/core/typerules.h"

#include <memory>

namespace orv::script::bridges {

namespace {

TfsVarRec objectRec(const platform::rtti::Object* o)
{
    TfsVarRec r;
    r.VType = TfsVarRec::vtVariant;
    r.VVariant = objectValue(o);
    return r;
}

TfsVarRec intRec(qint64 v)
{
    TfsVarRec r;
    r.VType = TfsVarRec::vtInteger;
    r.VInteger = v;
    return r;
}

TfsVarRec boolRec(bool v)
{
    TfsVarRec r;
    r.VType = TfsVarRec::vtBoolean;
    r.VInteger = v ? 1 : 0;
    return r;
}

TfsVarRec floatRec(double v)
{
    TfsVarRec r;
    r.VType = TfsVarRec::vtExtended;
    r.VExtended = v;
    return r;
}

TfsVarRec charRec(QChar c)
{
    TfsVarRec r;
    r.VType = TfsVarRec::vtWideChar;
    r.VString = QString(c);
    return r;
}

} // namespace

BridgeEvent::~BridgeEvent()
{
    if (m_target)
        m_target->forget(this);
}

void BridgeEvent::call(std::vector<TfsVarRec> values)
{
    TfsVarRec none;
    none.VType = TfsVarRec::vtVariant;
    none.VVariant = Value();
    while (int(values.size()) < FHandler->Count())
        values.push_back(none);
    CallHandler(values);
}

const Value* BridgeEvent::param(int i) const
{
    return i < FHandler->Count() ? FHandler->Params(i)->PValue() : nullptr;
}

EventTarget::~EventTarget()
{
    for (auto& [name, e] : m_events)
        e->m_target = nullptr;
}

void EventTarget::bind(const QString& event, const QVariant& handler)
{
    auto* e = static_cast<BridgeEvent*>(static_cast<TfsCustomEvent*>(handler.value<void*>()));
    auto it = m_events.find(event);
    if (it != m_events.end()) {
        BridgeEvent* old = it->second;
        m_events.erase(it);
        // The old adapter stays with its script; it is bound nowhere else.
        bool elsewhere = false;
        for (auto& [n, other] : m_events)
            elsewhere = elsewhere || other == old;
        if (!elsewhere)
            old->m_target = nullptr;
    }
    if (!e)
        return;
    if (e->m_target && e->m_target != this)
        e->m_target->forget(e);
    e->m_target = this;
    m_events[event] = e;
}

QVariant EventTarget::handler(const QString& event) const
{
    auto it = m_events.find(event);
    return it == m_events.end() ? QVariant() : QVariant::fromValue(static_cast<void*>(it->second));
}

void EventTarget::forget(BridgeEvent* e)
{
    for (auto it = m_events.begin(); it != m_events.end();)
        it = it->second == e ? m_events.erase(it) : std::next(it);
}

} // namespace orv::script::bridges

namespace orv::script {

using namespace orv::script::bridges;

void TfsNotifyEvent::DoEvent(orv::platform::rtti::Object* Sender)
{
    call({objectRec(Sender)});
}

void TfsMouseEvent::DoEvent(orv::platform::rtti::Object* Sender, int Button, int Shift, double X, double Y)
{
    call({objectRec(Sender), intRec(Button), intRec(Shift), floatRec(X), floatRec(Y)});
}

void TfsMouseMoveEvent::DoEvent(orv::platform::rtti::Object* Sender, int Shift, double X, double Y)
{
    call({objectRec(Sender), intRec(Shift), floatRec(X), floatRec(Y)});
}

void TfsMouseWheelEvent::DoEvent(orv::platform::rtti::Object* Sender, int Shift, int WheelDelta, bool& Handled)
{
    call({objectRec(Sender), intRec(Shift), intRec(WheelDelta), boolRec(Handled)});
    if (const orv::script::Value* v = param(3))
        Handled = v->toBool();
}

void TfsKeyEvent::DoEvent(orv::platform::rtti::Object* Sender, quint16& Key, QChar& KeyChar, int Shift)
{
    call({objectRec(Sender), intRec(Key), charRec(KeyChar), intRec(Shift)});
    if (const orv::script::Value* v = param(1))
        Key = quint16(v->toInt());
    // An emptied character types nothing.
    if (const orv::script::Value* v = param(2)) {
        const QString text = v->toString();
        KeyChar = text.isEmpty() ? QChar(0) : text[0];
    }
}

void TfsCloseEvent::DoEvent(orv::platform::rtti::Object* Sender, int& Action)
{
    call({objectRec(Sender), intRec(Action)});
    if (const orv::script::Value* v = param(1))
        Action = v->toInt();
}

void TfsCloseQueryEvent::DoEvent(orv::platform::rtti::Object* Sender, bool& CanClose)
{
    call({objectRec(Sender), boolRec(CanClose)});
    if (const orv::script::Value* v = param(1))
        CanClose = v->toBool();
}

void TfsCanFocusEvent::DoEvent(orv::platform::rtti::Object* Sender, bool& ACanFocus)
{
    call({objectRec(Sender), boolRec(ACanFocus)});
    if (const orv::script::Value* v = param(1))
        ACanFocus = v->toBool();
}

void TfsOnPaintEvent::DoEvent(orv::platform::rtti::Object* Sender, orv::platform::rtti::Object* Canvas, const QRectF& ARect)
{
    // The rectangle lives for the call only.
    auto rect = std::make_unique<TfsRectF>(ARect);
    call({objectRec(Sender), objectRec(Canvas), objectRec(rect.get())});
}

ORV_RTTI_DEFINE(TfsDragObject, orv::platform::Persistent)
{
    c.prop("Source", &TfsDragObject::Source, &TfsDragObject::SetSource);
    c.prop("Data", &TfsDragObject::Data, &TfsDragObject::SetData);
    c.prop("Files", &TfsDragObject::Files);
}

TfsDragObject::TfsDragObject() : FFiles(std::make_unique<StringList>())
{
    lendToScripts(FFiles.get());
}

TfsDragObject::TfsDragObject(orv::platform::rtti::Object* source, const QVariant& data, const QStringList& files)
    : TfsDragObject()
{
    FSource = source;
    FData = data;
    for (const QString& f : files)
        FFiles->Add(f);
}

TfsDragObject::~TfsDragObject() { takeBackFromScripts(FFiles.get()); }

void TfsDragOverEvent::DoEvent(orv::platform::rtti::Object* Sender, TfsDragObject* Data, const QPointF& Point, bool& Accept)
{
    // The point lives for the call only, as the drag object the host made for it.
    auto point = std::make_unique<TfsPointF>(Point);
    call({objectRec(Sender), objectRec(Data), objectRec(point.get()), boolRec(Accept)});
    if (const orv::script::Value* v = param(3))
        Accept = v->toBool();
}

void TfsDragDropEvent::DoEvent(orv::platform::rtti::Object* Sender, TfsDragObject* Data, const QPointF& Point)
{
    auto point = std::make_unique<TfsPointF>(Point);
    call({objectRec(Sender), objectRec(Data), objectRec(point.get())});
}

} // namespace orv::script
