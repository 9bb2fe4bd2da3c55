#include "platform/core/reflection.h"

#include "platform/core/text.h"

#include <QHash>
#include <algorithm>
#include <QMutex>

namespace orv::platform::rtti {

// ---------------------------------------------------------------- enumerations

EnumType::EnumType(QString name, const char* identifiers) : m_name(std::move(name))
{
    for (const QString& part : QString::fromLatin1(identifiers).split(u','))
        m_ids << orv::platform::trimmed(part);
}

QString EnumType::identifier(qint64 ordinal) const
{
    if (ordinal < 0 || ordinal >= m_ids.size())
        return {};
    return m_ids[qsizetype(ordinal)];
}

std::optional<int> EnumType::ordinal(const QString& identifier) const
{
    for (qsizetype i = 0; i < m_ids.size(); ++i)
        if (sameTextAZ(m_ids[i], identifier))
            return int(i);
    return std::nullopt;
}

const EnumType& booleanType()
{
    static const EnumType type(QStringLiteral("Boolean"), "False, True");
    return type;
}

// ---------------------------------------------------------------- properties

QVariant PropInfo::read(const Object& obj) const
{
    if (!m_get)
        throw Error(QStringLiteral("Property %1 cannot be read").arg(name));
    return m_get(obj);
}

void PropInfo::write(Object& obj, const QVariant& value) const
{
    if (!m_set)
        throw Error(QStringLiteral("Property %1 is read-only").arg(name));
    m_set(obj, value);
}

Object* PropInfo::readObject(const Object& obj) const
{
    return read(obj).value<Object*>();
}

// ---------------------------------------------------------------- classes

ClassInfo::ClassInfo(QString name, const ClassInfo* parent, Factory factory, Publisher publish)
    : m_name(std::move(name)), m_parent(parent), m_factory(factory), m_publish(publish)
{
}

ClassInfo::~ClassInfo() = default;

bool ClassInfo::inheritsFrom(const ClassInfo& other) const
{
    for (const ClassInfo* c = this; c; c = c->m_parent)
        if (c == &other)
            return true;
    return false;
}

bool ClassInfo::inheritsFrom(const QString& className) const
{
    for (const ClassInfo* c = this; c; c = c->m_parent)
        if (sameTextAZ(c->m_name, className))
            return true;
    return false;
}

PropInfo& ClassInfo::addProperty(std::unique_ptr<PropInfo> prop)
{
    prop->declaringClass = this;
    m_own.push_back(std::move(prop));
    return *m_own.back();
}

void ClassInfo::ensurePublished() const
{
    // Class tables are filled on the thread that starts the program, before anything
    // reads them concurrently; the guard only keeps a recursive first use safe.
    if (m_published)
        return;
    m_published = true;
    auto* self = const_cast<ClassInfo*>(this);
    if (m_publish)
        m_publish(*self);
    if (m_parent)
        m_all = m_parent->properties();
    for (const auto& p : m_own) {
        auto same = std::find_if(m_all.begin(), m_all.end(),
                                 [&](const PropInfo* q) { return sameTextAZ(q->name, p->name); });
        if (same != m_all.end())
            *same = p.get();
        else
            m_all.push_back(p.get());
    }
    for (const PropInfo* p : m_all)
        m_byName.insert(upperAZ(p->name), p);
}

const std::vector<const PropInfo*>& ClassInfo::properties() const
{
    ensurePublished();
    return m_all;
}

const PropInfo* ClassInfo::findProperty(const QString& name) const
{
    ensurePublished();
    return m_byName.value(upperAZ(name));
}

Object* ClassInfo::create(Object* owner) const
{
    if (!m_factory)
        throw Error(QStringLiteral("Cannot create an instance of the abstract class %1").arg(m_name));
    return m_factory(owner);
}

// ---------------------------------------------------------------- root and registry

namespace {
void (*handleRelease)(quint32) = nullptr;
}

void Object::setHandleRelease(void (*release)(quint32 slot)) { handleRelease = release; }

Object::~Object()
{
    if (m_handleSlot && handleRelease)
        handleRelease(m_handleSlot);
}

const ClassInfo& Object::staticClassInfo()
{
    // A plain object can be made, as a script's "TObject.Create" does.
    static const ClassInfo info(QStringLiteral("TObject"), nullptr, [](Object*) { return new Object; }, nullptr);
    return info;
}

const ClassInfo& Object::classInfo() const { return staticClassInfo(); }

namespace {

struct Registry {
    QMutex lock;
    QHash<QString, const ClassInfo*> byName; // key: name with A-Z folded
    QList<const ClassInfo*> inOrder;
};

Registry& registry()
{
    static Registry r;
    return r;
}

} // namespace

void registerClass(const ClassInfo& cls)
{
    Registry& r = registry();
    QMutexLocker guard(&r.lock);
    const QString key = upperAZ(cls.name());
    if (r.byName.contains(key))
        return;
    r.byName.insert(key, &cls);
    r.inOrder << &cls;
}

void unregisterClass(const ClassInfo& cls)
{
    Registry& r = registry();
    QMutexLocker guard(&r.lock);
    const QString key = upperAZ(cls.name());
    if (r.byName.value(key) == &cls) {
        r.byName.remove(key);
        r.inOrder.removeAll(&cls);
    }
}

const ClassInfo* findClass(const QString& name)
{
    Registry& r = registry();
    QMutexLocker guard(&r.lock);
    return r.byName.value(upperAZ(name));
}

QList<const ClassInfo*> registeredClasses()
{
    Registry& r = registry();
    QMutexLocker guard(&r.lock);
    return r.inOrder;
}

} // namespace orv::platform::rtti

namespace orv::platform {

// ---------------------------------------------------------------- Persistent

ORV_RTTI_DEFINE_NAMED(Persistent, platform::rtti::Object, "TPersistent") {}

void Persistent::Assign(const Persistent* Source)
{
    if (Source) {
        Source->AssignTo(this);
        return;
    }
    throw platform::rtti::Error(QStringLiteral("Cannot assign nil to a %1").arg(ClassName()));
}

void Persistent::AssignTo(Persistent* Dest) const
{
    throw platform::rtti::Error(QStringLiteral("Cannot assign a %1 to a %2").arg(ClassName(), Dest->ClassName()));
}

// ---------------------------------------------------------------- Component

ORV_RTTI_DEFINE_NAMED(Component, Persistent, "TComponent")
{
    c.prop("Name", &Component::Name, &Component::SetName).stored(false).type(QStringLiteral("TComponentName"));
    c.prop("Tag", &Component::Tag, &Component::SetTag).def(0);
}

Component::Component(Component* AOwner)
{
    if (AOwner)
        AOwner->InsertComponent(this);
}

Component::~Component()
{
    setFlag(ComponentFlag::Destroying, true);
    // Whoever holds a reference through a free notification lets go of it now.
    const QList<Component*> notifies = m_freeNotifies;
    m_freeNotifies.clear();
    for (Component* c : notifies) {
        c->m_freeNotifies.removeAll(this);
        c->Notification(this, Operation::Remove);
    }
    while (!m_components.isEmpty()) {
        Component* c = m_components.takeLast();
        c->m_owner = nullptr;
        delete c;
    }
    if (m_owner)
        m_owner->RemoveComponent(this);
}

void Component::setFlag(ComponentFlag f, bool on)
{
    if (on)
        m_flags |= unsigned(f);
    else
        m_flags &= ~unsigned(f);
}

bool Component::isValidIdent(const QString& s)
{
    if (s.isEmpty())
        return false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t ch = s[i].unicode();
        const bool letter = (ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z') || ch == u'_';
        const bool digit = ch >= u'0' && ch <= u'9';
        if (!letter && !(digit && i > 0))
            return false;
    }
    return true;
}

void Component::SetName(const QString& NewName)
{
    if (m_name == NewName)
        return;
    if (!NewName.isEmpty() && !isValidIdent(NewName))
        throw platform::rtti::Error(QStringLiteral("\"%1\" is not a valid component name").arg(NewName));
    if (m_owner)
        m_owner->ValidateRename(this, m_name, NewName);
    else
        ValidateRename(nullptr, m_name, NewName);
    m_name = NewName;
}

void Component::ValidateRename(Component* AComponent, const QString& CurName, const QString& NewName)
{
    if (AComponent && !sameTextAZ(CurName, NewName) && AComponent->m_owner == this && !NewName.isEmpty()) {
        Component* other = FindComponent(NewName);
        if (other && other != AComponent)
            throw platform::rtti::Error(QStringLiteral("A component named %1 already exists").arg(NewName));
    }
}

Component* Component::FindComponent(const QString& AName) const
{
    if (AName.isEmpty())
        return nullptr;
    for (Component* c : m_components)
        if (sameTextAZ(c->m_name, AName))
            return c;
    return nullptr;
}

void Component::InsertComponent(Component* AComponent)
{
    if (!AComponent || AComponent->m_owner == this)
        return;
    if (AComponent->m_owner)
        AComponent->m_owner->RemoveComponent(AComponent);
    ValidateRename(AComponent, QString(), AComponent->m_name);
    m_components << AComponent;
    AComponent->m_owner = this;
    Notification(AComponent, Operation::Insert);
}

void Component::RemoveComponent(Component* AComponent)
{
    if (!AComponent || AComponent->m_owner != this)
        return;
    m_components.removeOne(AComponent);
    AComponent->m_owner = nullptr;
    if (!hasFlag(ComponentFlag::Destroying))
        Notification(AComponent, Operation::Remove);
}

void Component::FreeNotification(Component* AComponent)
{
    if (!AComponent || AComponent == this)
        return;
    if (!m_freeNotifies.contains(AComponent))
        m_freeNotifies << AComponent;
    if (!AComponent->m_freeNotifies.contains(this))
        AComponent->m_freeNotifies << this;
}

void Component::RemoveFreeNotification(Component* AComponent)
{
    if (!AComponent)
        return;
    m_freeNotifies.removeAll(AComponent);
    AComponent->m_freeNotifies.removeAll(this);
}

void Component::Notification(Component* AComponent, Operation op)
{
    if (op == Operation::Remove && AComponent)
        m_freeNotifies.removeAll(AComponent);
    // Backwards by index: a component may free others when it hears of a removal.
    for (qsizetype i = m_components.size() - 1; i >= 0; --i)
        if (i < m_components.size())
            m_components[i]->Notification(AComponent, op);
}

} // namespace orv::platform
