#include "script/core/objects.h"

#include <vector>

#include "platform/core/reflection.h"

namespace orv::script {
using namespace orv::platform;
} // namespace orv::script

namespace orv::script {

namespace {

// Handles are positive Integers with bit 30 set, so that the numbers scripts usually
// compute are never taken for objects: bits 0..19 hold the slot (from 1), bits 20..29
// the slot's generation, which changes each time the slot is given back.
constexpr quint32 kTag = 0x40000000u;
constexpr quint32 kSlotBits = 20;
constexpr quint32 kSlotMask = (1u << kSlotBits) - 1;
constexpr quint32 kGenerationMask = 0x3FFu;

struct Slot {
    platform::rtti::Object* object = nullptr;
    quint32 generation = 0;
    quint32 nextFree = 0;
};

// One table for the process: objects pass between the scripts of a chain, and every
// script runs on the user-interface thread.
struct Table {
    std::vector<Slot> entries{Slot{}}; // slot 0 is never used
    quint32 firstFree = 0;

    Table() { platform::rtti::Object::setHandleRelease(&Table::release); }

    // Never destroyed: objects that outlive static destruction still give their entries back.
    static Table& instance()
    {
        static Table* table = new Table;
        return *table;
    }

    quint32 acquire(platform::rtti::Object* object)
    {
        quint32 slot = firstFree;
        if (slot) {
            firstFree = entries[slot].nextFree;
        } else {
            if (entries.size() > kSlotMask)
                throw Exception(QStringLiteral("Too many objects in scripts"));
            slot = quint32(entries.size());
            entries.push_back(Slot{});
        }
        entries[slot].object = object;
        entries[slot].nextFree = 0;
        object->setHandleSlot(slot);
        return slot;
    }

    static void release(quint32 slot)
    {
        Table& t = instance();
        if (slot == 0 || slot >= t.entries.size())
            return;
        Slot& s = t.entries[slot];
        s.object = nullptr;
        s.generation = (s.generation + 1) & kGenerationMask;
        s.nextFree = t.firstFree;
        t.firstFree = slot;
    }
};

} // namespace

QString invalidObjectReferenceText()
{
    return QStringLiteral("Invalid object reference");
}

Value objectValue(const platform::rtti::Object* object)
{
    if (!object)
        return Value(0);
    Table& t = Table::instance();
    quint32 slot = object->handleSlot();
    if (!slot)
        slot = t.acquire(const_cast<platform::rtti::Object*>(object));
    return Value(int(kTag | (t.entries[slot].generation << kSlotBits) | slot));
}

bool tryValueObject(const Value& value, platform::rtti::Object*& object)
{
    object = nullptr;
    qint64 n;
    switch (value.type()) {
    case varEmpty:
    case varNull:
        return true;
    case varInteger:
    case varSmallint:
    case varShortInt:
    case varByte:
    case varWord:
        n = value.asInt();
        break;
    case varLongWord:
    case varInt64:
        n = value.asInt64();
        break;
    default:
        return false;
    }
    if (n == 0)
        return true;
    if (n < 0 || n > 0x7FFFFFFF || (quint32(n) & kTag) == 0)
        return false;
    const quint32 h = quint32(n);
    const quint32 slot = h & kSlotMask;
    const Table& t = Table::instance();
    if (slot == 0 || slot >= t.entries.size())
        return false;
    const Slot& s = t.entries[slot];
    if (!s.object || s.generation != ((h >> kSlotBits) & kGenerationMask))
        return false;
    object = s.object;
    return true;
}

platform::rtti::Object* valueObject(const Value& value)
{
    platform::rtti::Object* object;
    if (!tryValueObject(value, object))
        throw Exception(invalidObjectReferenceText());
    return object;
}

Value variantToValue(const QVariant& variant)
{
    if (!variant.isValid())
        return Value();
    if (variant.isNull() && variant.typeId() != QMetaType::QString)
        return Value::null();
    switch (variant.typeId()) {
    case QMetaType::Bool:
        return Value(variant.toBool());
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::UShort:
        return Value(variant.toInt());
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const qint64 v = variant.toLongLong();
        return v >= INT32_MIN && v <= INT32_MAX ? Value(int(v)) : Value::fromInt64(v);
    }
    case QMetaType::Float:
    case QMetaType::Double:
        return Value(variant.toDouble());
    case QMetaType::QString:
        return Value(variant.toString());
    case QMetaType::QChar:
        return Value(QString(variant.toChar()));
    default:
        if (variant.canConvert<platform::rtti::Object*>())
            return objectValue(variant.value<platform::rtti::Object*>());
        if (variant.canConvert<QString>())
            return Value(variant.toString());
        return Value::null();
    }
}

QVariant valueToVariant(const Value& value)
{
    switch (value.type()) {
    case varEmpty:
        return QVariant();
    case varNull:
        return QVariant::fromValue(nullptr);
    case varBoolean:
        return QVariant(value.asBool());
    case varSmallint:
    case varShortInt:
    case varByte:
    case varWord:
        return QVariant(value.asInt());
    case varInteger: {
        platform::rtti::Object* object;
        if (value.asInt() != 0 && tryValueObject(value, object))
            return QVariant::fromValue(object);
        return QVariant(value.asInt());
    }
    case varLongWord:
    case varInt64:
        return QVariant(qint64(value.asInt64()));
    case varUInt64:
        return QVariant(quint64(value.asInt64()));
    default:
        if (value.isText())
            return QVariant(value.text());
        if (value.isArray())
            return QVariant();
        return QVariant(value.toDouble());
    }
}

} // namespace orv::script

