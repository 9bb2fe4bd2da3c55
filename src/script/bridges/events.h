#pragma once
// Event adapters: a script procedure as the handler of a host object's event. The
// script's event property makes one adapter per assignment and owns it; the host object
// keeps it bound under the event's name until another handler, nil, or the end of
// either side.
#include "script/bridges/classlib.h"
#include "script/bridges/common.h"

#include <QChar>
#include <QVariant>
#include <map>

namespace orv::script::bridges {

class EventTarget;

// The base of the adapters: binding to its host object, and the call of the procedure.
class BridgeEvent : public TfsCustomEvent {
public:
    using TfsCustomEvent::TfsCustomEvent;
    ~BridgeEvent() override;
    QVariant GetMethod() override { return QVariant::fromValue(static_cast<void*>(this)); }

protected:
    // Runs the procedure with the values (extra parameters of the procedure are cleared,
    // so that it never sees values of an earlier call).
    void call(std::vector<TfsVarRec> values);
    // The value the procedure left in parameter i; nullptr when it has no such parameter
    // (the host's variable then stays as it was).
    const Value* param(int i) const;

private:
    friend class EventTarget;
    EventTarget* m_target = nullptr;
};

// A host object with event properties. Its event property setters hand the written
// handler to bind(); its events look up their adapter with bound().
class EventTarget {
public:
    virtual ~EventTarget();
    void bind(const QString& event, const QVariant& handler);
    template <class E>
    E* bound(const char* event) const
    {
        auto it = m_events.find(QString::fromLatin1(event));
        return it == m_events.end() ? nullptr : dynamic_cast<E*>(it->second);
    }
    // The property getter: the bound adapter as the setter takes it.
    QVariant handler(const QString& event) const;

private:
    friend class BridgeEvent;
    void forget(BridgeEvent* e);
    std::map<QString, BridgeEvent*> m_events;
};

// Values of the platform's shift-state set as scripts see them: Shift 1, Alt 2, Ctrl 4,
// Left 8, Right 16, Middle 32, Double 64, Touch 128.
enum ShiftBits : int { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };

} // namespace orv::script::bridges

namespace orv::script {

class TfsNotifyEvent : public orv::script::bridges::BridgeEvent {
public:
    using BridgeEvent::BridgeEvent;
    void DoEvent(orv::platform::rtti::Object* Sender);
};

class TfsMouseEvent : public orv::script::bridges::BridgeEvent {
public:
    using BridgeEvent::BridgeEvent;
    void DoEvent(orv::platform::rtti::Object* Sender, int Button, int Shift, double X, double Y);
};

class TfsMouseMoveEvent : public orv::script::bridges::BridgeEvent {
public:
    using BridgeEvent::BridgeEvent;
    void DoEvent(orv::platform::rtti::Object* Sender, int Shift, double X, double Y);
};

class TfsMouseWheelEvent : public orv::script::bridges::BridgeEvent {
public:
    using BridgeEvent::BridgeEvent;
    void DoEvent(orv::platform::rtti::Object* Sender, int Shift, int WheelDelta, bool& Handled);
};

class TfsKeyEvent : public orv::script::bridges::BridgeEvent {
public:
    using BridgeEvent::BridgeEvent;
    void DoEvent(orv::platform::rtti::Object* Sender, quint16& Key, QChar& KeyChar, int Shift);
};

class TfsCloseEvent : public orv::script::bridges::BridgeEvent {
public:
    using BridgeEvent::BridgeEvent;
    // Action: 0 caNone, 1 caHide, 2 caFree, 3 caMinimize.
    void DoEvent(orv::platform::rtti::Object* Sender, int& Action);
};

class TfsCloseQueryEvent : public orv::script::bridges::BridgeEvent {
public:
    using BridgeEvent::BridgeEvent;
    void DoEvent(orv::platform::rtti::Object* Sender, bool& CanClose);
};

class TfsCanFocusEvent : public orv::script::bridges::BridgeEvent {
public:
    using BridgeEvent::BridgeEvent;
    void DoEvent(orv::platform::rtti::Object* Sender, bool& ACanFocus);
};

class TfsOnPaintEvent : public orv::script::bridges::BridgeEvent {
public:
    using BridgeEvent::BridgeEvent;
    void DoEvent(orv::platform::rtti::Object* Sender, orv::platform::rtti::Object* Canvas, const QRectF& ARect);
};

// What a drag carries, as drag handlers receive it: the source object, the value and the
// file names.
class TfsDragObject : public orv::platform::Persistent {
    ORV_RTTI_CLASS(TfsDragObject)
public:
    TfsDragObject();
    TfsDragObject(orv::platform::rtti::Object* source, const QVariant& data, const QStringList& files);
    ~TfsDragObject() override;
    orv::platform::rtti::Object* Source() const { return FSource; }
    void SetSource(orv::platform::rtti::Object* v) { FSource = v; }
    QVariant Data() const { return FData; }
    void SetData(const QVariant& v) { FData = v; }
    orv::script::bridges::StringList* Files() const { return FFiles.get(); }

private:
    orv::platform::rtti::Object* FSource = nullptr;
    QVariant FData;
    std::unique_ptr<orv::script::bridges::StringList> FFiles;
};

class TfsDragOverEvent : public orv::script::bridges::BridgeEvent {
public:
    using BridgeEvent::BridgeEvent;
    void DoEvent(orv::platform::rtti::Object* Sender, TfsDragObject* Data, const QPointF& Point, bool& Accept);
};

// Also serves drag-enter, which passes the same values.
class TfsDragDropEvent : public orv::script::bridges::BridgeEvent {
public:
    using BridgeEvent::BridgeEvent;
    void DoEvent(orv::platform::rtti::Object* Sender, TfsDragObject* Data, const QPointF& Point);
};

} // namespace orv::script

namespace orv::script::bridges {

// The adapter class as the event properties name it.
template <class E>
TfsCustomEvent* makeEvent(TfsObject AObject, TfsProcVariable* AHandler)
{
    return new E(AObject, AHandler);
}

} // namespace orv::script::bridges
