#pragma once
// The exceptions the report engine raises. Each carries its message as UTF-8 so that
// callers can catch std::exception at a boundary and show what().
#include <QString>

#include <stdexcept>

namespace orv::report {

class Error : public std::runtime_error {
public:
    explicit Error(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

// A text that is not a number where one is needed.
class ConvertError : public Error {
public:
    using Error::Error;
};

// An index outside a list.
class ListError : public Error {
public:
    using Error::Error;
};

// An operation that the base class declares and the object's class does not implement.
class AbstractError : public Error {
public:
    AbstractError() : Error(QStringLiteral("Abstract Error")) {}
};

// The message of any exception, for error lists and message boxes.
inline QString exceptionText(const std::exception& e) { return QString::fromUtf8(e.what()); }

} // namespace orv::report

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
