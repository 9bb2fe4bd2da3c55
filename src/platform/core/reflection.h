#pragma once
// Published properties and classes known by name.
//
// The template serializer, object copying and the script engine's class bridge all see
// host classes through this one table: per class, in declared order with the ancestors'
// properties first, each property's name, kind, type name, accessors, stored condition
// and declared default; enumerations and sets by identifier; class names, inheritance
// tests and creation of objects by class name.
//
// A class takes part by deriving from orv::platform::rtti::Object, putting ORV_RTTI_CLASS in its
// body and ORV_RTTI_DEFINE in one source file, where the body lists the published
// properties in their declared order:
//
//     ORV_RTTI_DEFINE(TfrxMemoView, TfrxCustomMemoView)
//     {
//         c.prop("HAlign", &TfrxMemoView::HAlign, &TfrxMemoView::SetHAlign).def(haLeft);
//         c.prop("GapX", &TfrxMemoView::GapX, &TfrxMemoView::SetGapX).stored(&TfrxMemoView::IsGapXStored);
//     }
//
// Creation by name only finds classes that were registered with registerClass().
//
// Qt's meta-object system was the first candidate and does not fit: Qt 6 dropped
// per-object stored conditions, has no declared defaults, keeps enumerations only inside
// meta-object classes and normalises type aliases away, and the script engine must also
// reach classes that are not QObjects.
#include "platform/core/exceptions.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

namespace orv::platform::rtti {

class ClassInfo;
class Object;

// An error raised by the reflection layer (a read-only property, an abstract class, an
// invalid component name).
class Error : public orv::platform::Exception {
public:
    using Exception::Exception;
};

// ---------------------------------------------------------------- enumerations and sets

class EnumType {
public:
    // identifiers: the names in ordinal order, separated by commas ("haLeft, haRight").
    EnumType(QString name, const char* identifiers);
    const QString& name() const { return m_name; }
    const QStringList& identifiers() const { return m_ids; }
    int count() const { return int(m_ids.size()); }
    // The identifier of an ordinal; empty when outside the type.
    QString identifier(qint64 ordinal) const;
    // The ordinal of an identifier, letters A-Z compared without case.
    std::optional<int> ordinal(const QString& identifier) const;

private:
    QString m_name;
    QStringList m_ids;
};

// Boolean: False = 0, True = 1.
const EnumType& booleanType();

// A set of the elements of an enumeration: element ordinal n is bit n.
template <class E>
class SetOf {
    static_assert(std::is_enum_v<E>);

public:
    constexpr SetOf() = default;
    constexpr SetOf(std::initializer_list<E> elements)
    {
        for (E e : elements)
            m_bits |= bit(e);
    }
    static constexpr SetOf fromBits(quint32 bits)
    {
        SetOf s;
        s.m_bits = bits;
        return s;
    }
    constexpr quint32 bits() const { return m_bits; }
    constexpr bool contains(E e) const { return (m_bits & bit(e)) != 0; }
    constexpr bool isEmpty() const { return m_bits == 0; }
    constexpr SetOf& include(E e)
    {
        m_bits |= bit(e);
        return *this;
    }
    constexpr SetOf& exclude(E e)
    {
        m_bits &= ~bit(e);
        return *this;
    }
    friend constexpr bool operator==(SetOf a, SetOf b) { return a.m_bits == b.m_bits; }

private:
    static constexpr quint32 bit(E e) { return quint32(1) << unsigned(e); }
    quint32 m_bits = 0;
};

// Declares the identifiers of an enumeration, at the enumeration's own namespace scope.
#define ORV_RTTI_ENUM(E, identifiers)                                                       \
    inline const ::orv::platform::rtti::EnumType& orvRttiEnumType(E*)                                 \
    {                                                                                      \
        static const ::orv::platform::rtti::EnumType type(QStringLiteral(#E), identifiers);          \
        return type;                                                                       \
    }

// Declares a set type of an enumeration already declared with ORV_RTTI_ENUM.
#define ORV_RTTI_SET(SetName, E)                                                            \
    using SetName = ::orv::platform::rtti::SetOf<E>;                                                  \
    inline QString orvRttiSetTypeName(E*) { return QStringLiteral(#SetName); }

template <class E>
const EnumType& enumType()
{
    return orvRttiEnumType(static_cast<E*>(nullptr));
}

// ---------------------------------------------------------------- properties

enum class Kind { Integer, Char, WChar, Enumeration, Float, Set, String, Class, Method, Variant, Int64 };

// Values travel as QVariant: ordinal kinds (integers, characters, enumerations,
// Booleans, sets as bit masks) as qint64, floats as double, strings as QString, class
// properties as Object*, variants as themselves.
class PropInfo {
public:
    QString name;
    Kind kind = Kind::Integer;
    QString typeName;                       // "Double", "Boolean", "TfrxHAlign", "TfrxFont"
    const EnumType* enumType = nullptr;     // enumeration: its type; set: the element type
    std::optional<qint64> defaultValue;     // declared default of ordinal and set kinds
    const ClassInfo* declaringClass = nullptr;

    // The declared class of a class-typed property (resolved on first use, so a class may
    // publish a property of its own type).
    const ClassInfo* propertyClass() const { return m_classOf ? &m_classOf() : nullptr; }

    bool isReadable() const { return bool(m_get); }
    bool isWritable() const { return bool(m_set); }
    // Whether the value is stored in a template for this object.
    bool isStored(const Object& obj) const { return m_storedFn ? m_storedFn(obj) : m_stored; }

    QVariant read(const Object& obj) const;
    // Raises Error for a property without setter.
    void write(Object& obj, const QVariant& value) const;

    qint64 readOrdinal(const Object& obj) const { return read(obj).toLongLong(); }
    double readFloat(const Object& obj) const { return read(obj).toDouble(); }
    QString readString(const Object& obj) const { return read(obj).toString(); }
    Object* readObject(const Object& obj) const;

private:
    template <class T>
    friend class PropBuilder;
    template <class T>
    friend class ClassBuilder;
    std::function<QVariant(const Object&)> m_get;
    std::function<void(Object&, const QVariant&)> m_set;
    std::function<bool(const Object&)> m_storedFn;
    bool m_stored = true;
    const ClassInfo& (*m_classOf)() = nullptr;
};

// ---------------------------------------------------------------- classes

class ClassInfo {
public:
    using Factory = Object* (*)(Object* owner);
    using Publisher = void (*)(ClassInfo&);

    ClassInfo(QString name, const ClassInfo* parent, Factory factory, Publisher publish);
    ClassInfo(const ClassInfo&) = delete;
    ClassInfo& operator=(const ClassInfo&) = delete;
    ~ClassInfo();

    const QString& name() const { return m_name; }
    const ClassInfo* parent() const { return m_parent; }
    // True for this class and every descendant of `other`.
    bool inheritsFrom(const ClassInfo& other) const;
    // The same test by class name (letters A-Z without case).
    bool inheritsFrom(const QString& className) const;

    // Published properties, ancestors first, each in declared order. A property that a
    // descendant publishes again keeps its ancestor's place with the descendant's details.
    const std::vector<const PropInfo*>& properties() const;
    // The published property of that name (letters A-Z without case), or nullptr.
    const PropInfo* findProperty(const QString& name) const;

    bool canCreate() const { return m_factory != nullptr; }
    // A new object of the class; owner is handed to constructors that take one.
    // Raises Error for an abstract class.
    Object* create(Object* owner = nullptr) const;

    // Used by ClassBuilder while the class publishes its properties.
    PropInfo& addProperty(std::unique_ptr<PropInfo> prop);

private:
    void ensurePublished() const;
    QString m_name;
    const ClassInfo* m_parent;
    Factory m_factory;
    Publisher m_publish;
    mutable bool m_published = false;
    std::vector<std::unique_ptr<PropInfo>> m_own;
    mutable std::vector<const PropInfo*> m_all;
    mutable QHash<QString, const PropInfo*> m_byName; // key: name with A-Z folded
};

// The root of every class that publishes properties.
class Object {
public:
    Object() = default;
    // A copy is another object: it gets no handle of its original.
    Object(const Object&) noexcept {}
    Object& operator=(const Object&) noexcept { return *this; }
    virtual ~Object();
    static const ClassInfo& staticClassInfo();
    virtual const ClassInfo& classInfo() const;

    QString ClassName() const { return classInfo().name(); }
    bool InheritsFrom(const ClassInfo& cls) const { return classInfo().inheritsFrom(cls); }

    // Scripts hold objects as handles from a table, never as addresses. The table keeps
    // its slot number here, and the destructor hands the slot back through the release
    // routine the table installed, so that no handle outlives its object.
    quint32 handleSlot() const { return m_handleSlot; }
    void setHandleSlot(quint32 slot) const { m_handleSlot = slot; }
    static void setHandleRelease(void (*release)(quint32 slot));

private:
    mutable quint32 m_handleSlot = 0;
};

// The object as a T when it is one, answered from the class table: a dynamic_cast
// compares class names through the C++ type information at every level it climbs, and
// objects read back from stored texts are checked this way many times each. T must
// publish its own class (ORV_RTTI_CLASS), so that its descendants' classes name it.
template <class T>
T* objectCast(Object* o)
{
    static_assert(std::is_same_v<decltype(&T::classInfo), const ClassInfo& (T::*)() const>,
                  "objectCast needs a class that declares ORV_RTTI_CLASS");
    return o && o->classInfo().inheritsFrom(T::staticClassInfo()) ? static_cast<T*>(o) : nullptr;
}
template <class T>
const T* objectCast(const Object* o)
{
    return objectCast<T>(const_cast<Object*>(o));
}

// Classes that can be created by name (stored layouts name them). Registering a class
// again is harmless.
void registerClass(const ClassInfo& cls);
void unregisterClass(const ClassInfo& cls);
// The registered class of that name (letters A-Z without case), or nullptr.
const ClassInfo* findClass(const QString& name);
QList<const ClassInfo*> registeredClasses();

// ---------------------------------------------------------------- declaring classes

namespace detail {

template <class T>
struct IsSet : std::false_type {};
template <class E>
struct IsSet<SetOf<E>> : std::true_type {
    using Element = E;
};

template <class E>
QString setTypeName()
{
    if constexpr (requires { orvRttiSetTypeName(static_cast<E*>(nullptr)); })
        return orvRttiSetTypeName(static_cast<E*>(nullptr));
    else
        return QStringLiteral("set of ") + enumType<E>().name();
}

// How a C++ value type is published.
template <class V>
struct Traits;

template <>
struct Traits<bool> {
    static constexpr Kind kind = Kind::Enumeration;
    static QString typeName() { return QStringLiteral("Boolean"); }
    static const EnumType* enumType() { return &booleanType(); }
    static QVariant toVariant(bool v) { return QVariant(qint64(v ? 1 : 0)); }
    static bool fromVariant(const QVariant& v) { return v.toLongLong() != 0; }
};

template <class V>
    requires(std::is_integral_v<V> && !std::is_same_v<V, bool> && !std::is_same_v<V, char16_t>)
struct Traits<V> {
    static constexpr Kind kind = sizeof(V) > 4 ? Kind::Int64 : Kind::Integer;
    static QString typeName() { return sizeof(V) > 4 ? QStringLiteral("Int64") : QStringLiteral("Integer"); }
    static const EnumType* enumType() { return nullptr; }
    // Ordinal values are signed 32-bit numbers: an unsigned 32-bit value such as a
    // colour reads as its two's complement (opaque black $FF000000 is -16777216).
    static QVariant toVariant(V v)
    {
        if constexpr (sizeof(V) == 4)
            return QVariant(qint64(qint32(v)));
        else
            return QVariant(qint64(v));
    }
    static V fromVariant(const QVariant& v) { return V(v.toLongLong()); }
};

template <>
struct Traits<char16_t> {
    static constexpr Kind kind = Kind::WChar;
    static QString typeName() { return QStringLiteral("WideChar"); }
    static const EnumType* enumType() { return nullptr; }
    static QVariant toVariant(char16_t v) { return QVariant(qint64(v)); }
    static char16_t fromVariant(const QVariant& v) { return char16_t(v.toLongLong()); }
};

template <class V>
    requires std::is_enum_v<V>
struct Traits<V> {
    static constexpr Kind kind = Kind::Enumeration;
    static QString typeName() { return platform::rtti::enumType<V>().name(); }
    static const EnumType* enumType() { return &platform::rtti::enumType<V>(); }
    static QVariant toVariant(V v) { return QVariant(qint64(v)); }
    static V fromVariant(const QVariant& v) { return V(v.toLongLong()); }
};

template <class V>
    requires IsSet<V>::value
struct Traits<V> {
    using E = typename IsSet<V>::Element;
    static constexpr Kind kind = Kind::Set;
    static QString typeName() { return setTypeName<E>(); }
    static const EnumType* enumType() { return &platform::rtti::enumType<E>(); }
    static QVariant toVariant(V v) { return QVariant(qint64(v.bits())); }
    static V fromVariant(const QVariant& v) { return V::fromBits(quint32(v.toLongLong())); }
};

template <class V>
    requires std::is_floating_point_v<V>
struct Traits<V> {
    static constexpr Kind kind = Kind::Float;
    static QString typeName()
    {
        return std::is_same_v<V, float> ? QStringLiteral("Single")
               : std::is_same_v<V, double> ? QStringLiteral("Double")
                                           : QStringLiteral("Extended");
    }
    static const EnumType* enumType() { return nullptr; }
    static QVariant toVariant(V v) { return QVariant(double(v)); }
    static V fromVariant(const QVariant& v) { return V(v.toDouble()); }
};

template <>
struct Traits<QString> {
    static constexpr Kind kind = Kind::String;
    static QString typeName() { return QStringLiteral("String"); }
    static const EnumType* enumType() { return nullptr; }
    static QVariant toVariant(const QString& v) { return QVariant(v); }
    static QString fromVariant(const QVariant& v) { return v.toString(); }
};

template <>
struct Traits<QVariant> {
    static constexpr Kind kind = Kind::Variant;
    static QString typeName() { return QStringLiteral("Variant"); }
    static const EnumType* enumType() { return nullptr; }
    static QVariant toVariant(const QVariant& v) { return v; }
    static QVariant fromVariant(const QVariant& v) { return v; }
};

template <class P>
    requires(std::is_pointer_v<P> && std::is_base_of_v<Object, std::remove_cv_t<std::remove_pointer_t<P>>>)
struct Traits<P> {
    using C = std::remove_cv_t<std::remove_pointer_t<P>>;
    static constexpr Kind kind = Kind::Class;
    static QString typeName() { return C::staticClassInfo().name(); }
    static const EnumType* enumType() { return nullptr; }
    static QVariant toVariant(P v) { return QVariant::fromValue(static_cast<Object*>(const_cast<C*>(v))); }
    static P fromVariant(const QVariant& v) { return dynamic_cast<P>(v.value<Object*>()); }
};

template <class V>
using Plain = std::remove_cvref_t<V>;

template <class T>
Object* createObject(Object* owner)
{
    if constexpr (std::is_abstract_v<T>)
        return nullptr;
    else if constexpr (requires { typename T::OwnerType; })
        return new T(objectCast<typename T::OwnerType>(owner));
    else if constexpr (std::is_default_constructible_v<T>)
        return new T();
    else
        return nullptr;
}

template <class T>
constexpr bool creatable()
{
    if constexpr (std::is_abstract_v<T>)
        return false;
    else if constexpr (requires { typename T::OwnerType; })
        return std::is_constructible_v<T, typename T::OwnerType*>;
    else
        return std::is_default_constructible_v<T>;
}

} // namespace detail

// Completes the declaration of one property: its declared default, its stored
// condition, a type name of its own (TAlphaColor, TDateTime).
template <class T>
class PropBuilder {
public:
    explicit PropBuilder(PropInfo& p) : m_p(p) {}
    template <class V>
    PropBuilder& def(V value)
    {
        m_p.defaultValue = detail::Traits<detail::Plain<V>>::toVariant(value).toLongLong();
        return *this;
    }
    PropBuilder& stored(bool stored)
    {
        m_p.m_stored = stored;
        m_p.m_storedFn = nullptr;
        return *this;
    }
    template <class C>
        requires std::is_base_of_v<C, T>
    PropBuilder& stored(bool (C::*fn)() const)
    {
        m_p.m_storedFn = [fn](const Object& o) { return (static_cast<const T&>(o).*fn)(); };
        return *this;
    }
    PropBuilder& type(const QString& typeName)
    {
        m_p.typeName = typeName;
        return *this;
    }
    // Declares the property an event: its value is the handler (a QVariant the class
    // understands), typeName the event's type ("TNotifyEvent").
    PropBuilder& event(const QString& typeName)
    {
        m_p.kind = Kind::Method;
        m_p.typeName = typeName;
        return *this;
    }

private:
    PropInfo& m_p;
};

template <class T>
class ClassBuilder {
public:
    explicit ClassBuilder(ClassInfo& cls) : m_cls(cls) {}

    // Getter and setter may be members of an ancestor of T.
    template <class R, class C, class S, class D>
        requires(std::is_base_of_v<C, T> && std::is_base_of_v<D, T>)
    PropBuilder<T> prop(const char* name, R (C::*get)() const, void (D::*set)(S))
    {
        PropInfo& p = add<detail::Plain<R>>(name, get);
        p.m_set = [set](Object& o, const QVariant& v) {
            (static_cast<T&>(o).*set)(detail::Traits<detail::Plain<S>>::fromVariant(v));
        };
        return PropBuilder<T>(p);
    }
    template <class R, class C>
        requires std::is_base_of_v<C, T>
    PropBuilder<T> prop(const char* name, R (C::*get)() const)
    {
        return PropBuilder<T>(add<detail::Plain<R>>(name, get));
    }

private:
    template <class V, class G>
    PropInfo& add(const char* name, G get)
    {
        using Tr = detail::Traits<V>;
        auto p = std::make_unique<PropInfo>();
        p->name = QString::fromLatin1(name);
        p->kind = Tr::kind;
        p->typeName = Tr::typeName();
        p->enumType = Tr::enumType();
        p->m_get = [get](const Object& o) { return Tr::toVariant((static_cast<const T&>(o).*get)()); };
        if constexpr (Tr::kind == Kind::Class)
            p->m_classOf = &Tr::C::staticClassInfo;
        return m_cls.addProperty(std::move(p));
    }
    ClassInfo& m_cls;
};

// In the body of a class deriving from orv::platform::rtti::Object.
#define ORV_RTTI_CLASS(Cls)                                                                 \
public:                                                                                    \
    static const ::orv::platform::rtti::ClassInfo& staticClassInfo();                                 \
    const ::orv::platform::rtti::ClassInfo& classInfo() const override;                               \
                                                                                           \
private:

// In one source file, followed by the body that publishes the properties through `c`.
// The class is known under its C++ name, or under `name` with ORV_RTTI_DEFINE_NAMED.
#define ORV_RTTI_DEFINE(Cls, Base) ORV_RTTI_DEFINE_NAMED(Cls, Base, #Cls)
#define ORV_RTTI_DEFINE_NAMED(Cls, Base, name)                                              \
    static void orvRttiPublish_##Cls(::orv::platform::rtti::ClassBuilder<Cls>& c);                    \
    const ::orv::platform::rtti::ClassInfo& Cls::staticClassInfo()                                    \
    {                                                                                      \
        static const ::orv::platform::rtti::ClassInfo info(                                          \
            QStringLiteral(name), &Base::staticClassInfo(),                                \
            ::orv::platform::rtti::detail::creatable<Cls>() ? &::orv::platform::rtti::detail::createObject<Cls> \
                                                  : nullptr,                               \
            [](::orv::platform::rtti::ClassInfo& ci) {                                               \
                ::orv::platform::rtti::ClassBuilder<Cls> b(ci);                                      \
                orvRttiPublish_##Cls(b);                                                   \
            });                                                                            \
        return info;                                                                       \
    }                                                                                      \
    const ::orv::platform::rtti::ClassInfo& Cls::classInfo() const { return staticClassInfo(); }     \
    static void orvRttiPublish_##Cls([[maybe_unused]] ::orv::platform::rtti::ClassBuilder<Cls>& c)

} // namespace orv::platform::rtti

Q_DECLARE_METATYPE(orv::platform::rtti::Object*)

namespace orv::platform {

// An object that can take over the contents of another one.
class Persistent : public platform::rtti::Object {
    ORV_RTTI_CLASS(Persistent)
public:
    // Copies Source into this object. The base lets Source copy itself into this one
    // (AssignTo) and raises rtti::Error when neither class knows the other.
    virtual void Assign(const Persistent* Source);

protected:
    virtual void AssignTo(Persistent* Dest) const;
};

enum class ComponentFlag : unsigned {
    Loading = 1,    // its properties are being read
    Writing = 2,    // its properties are being written
    Destroying = 4, // its destructor runs
    Designing = 8,  // it lives in a designer
    Ancestor = 16,  // it comes from an ancestor layout
};
enum class Operation { Insert, Remove };

// A named object with an owner. The owner frees the components it owns when it is
// destroyed; a component that is freed tells its owner (and through the owner every
// component the owner holds) and every component that asked for it with
// FreeNotification, so that no reference to it survives.
class Component : public Persistent {
    ORV_RTTI_CLASS(Component)
public:
    using OwnerType = Component;
    explicit Component(Component* AOwner = nullptr);
    ~Component() override;
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    const QString& Name() const { return m_name; }
    // Raises rtti::Error when the name is not an identifier or another component of
    // the same owner bears it (letters A-Z compared without case).
    virtual void SetName(const QString& NewName);
    int Tag() const { return m_tag; }
    void SetTag(int Value) { m_tag = Value; }

    Component* Owner() const { return m_owner; }
    const QList<Component*>& Components() const { return m_components; }
    int ComponentCount() const { return int(m_components.size()); }
    // The owned component of that name (letters A-Z without case), or nullptr.
    Component* FindComponent(const QString& AName) const;
    void InsertComponent(Component* AComponent);
    void RemoveComponent(Component* AComponent);

    // Both sides are told when the other one is freed.
    void FreeNotification(Component* AComponent);
    void RemoveFreeNotification(Component* AComponent);

    bool hasFlag(ComponentFlag f) const { return (m_flags & unsigned(f)) != 0; }
    void setFlag(ComponentFlag f, bool on);

    static bool isValidIdent(const QString& s);

protected:
    // AComponent is being inserted into, or removed from, this component's owner or is
    // being freed. The base forgets it and passes the news to the owned components.
    virtual void Notification(Component* AComponent, Operation op);
    virtual void ValidateRename(Component* AComponent, const QString& CurName, const QString& NewName);

private:
    QString m_name;
    int m_tag = 0;
    unsigned m_flags = 0;
    Component* m_owner = nullptr;
    QList<Component*> m_components;
    QList<Component*> m_freeNotifies;
};

} // namespace orv::platform
