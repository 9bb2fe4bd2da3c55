#pragma once
// The exceptions the report engine raises, within the program's exception family
// (platform/core/exceptions.h): a handler that wants any error of ours catches
// orv::platform::Exception and shows message().
#include "platform/core/exceptions.h"

#include <QString>

#include <exception>

namespace orv::report {

// An error of the report engine.
class Error : public orv::platform::Exception {
public:
    using platform::Exception::Exception;
};

// A text that is not a number where one is needed.
using ConvertError = orv::platform::EConvertError;
// An index outside a list.
using ListError = orv::platform::ERangeError;

// An operation that the base class declares and the object's class does not implement.
class AbstractError : public Error {
public:
    AbstractError() : Error(QStringLiteral("Abstract Error")) {}
};

// The message of any exception, for error lists and message boxes.
inline QString exceptionText(const std::exception& e)
{
    if (const auto* own = dynamic_cast<const orv::platform::Exception*>(&e))
        return own->message();
    return QString::fromUtf8(e.what());
}

} // namespace orv::report

namespace orv::report {

// Malformed report XML.
class TfrxInvalidXMLException : public orv::report::Error {
public:
    TfrxInvalidXMLException() : Error(QStringLiteral("Invalid file format")) {}
};

// Renaming a report object to a name another object of the report bears.
class EDuplicateName : public orv::report::Error {
public:
    using Error::Error;
};

// A component reference that cannot be looked up.
class EClassNotFound : public orv::report::Error {
public:
    using Error::Error;
};

} // namespace orv::report
