#pragma once
// Objects as scripts see them: Integer values holding a handle from one table (a slot and
// the slot's generation), never an address. nil is 0. A handle of an object that has been
// destroyed, or any other integer used as an object, gives a clean run-time error instead
// of touching memory.
#include <QString>
#include <QVariant>

#include "platform/core/exceptions.h"
#include "script/core/value.h"

namespace orv::platform::rtti {
class Object;
}

namespace orv::script {

// "Invalid object reference"
QString invalidObjectReferenceText();

// The value a script holds for an object: its handle as an Integer, 0 for nullptr.
Value objectValue(const platform::rtti::Object* object);
// The object a value refers to; nullptr for nil (0), Empty and Null. Any other value
// that is not the handle of a live object raises invalidObjectReferenceText().
platform::rtti::Object* valueObject(const Value& value);
// The same test without raising: false for a value that names no live object.
bool tryValueObject(const Value& value, platform::rtti::Object*& object);

// Values of the host's Variant-typed properties: an object travels as its handle.
Value variantToValue(const QVariant& variant);
QVariant valueToVariant(const Value& value);

} // namespace orv::script
