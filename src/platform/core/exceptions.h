#pragma once
// The program's exception family. Engines raise these with the platform's own English
// message texts; whoever catches them shows, collects or re-raises `message()`. A handler
// that wants "any error of ours" catches orv::platform::Exception.
#include <QByteArray>
#include <QString>
#include <exception>

namespace orv::platform {

class Exception : public std::exception {
public:
    explicit Exception(QString message) : m_message(std::move(message)) {}
    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override
    {
        if (m_what.isEmpty())
            m_what = m_message.toUtf8();
        return m_what.constData();
    }

private:
    QString m_message;
    mutable QByteArray m_what;
};

// A text that does not read as the number, date or value asked for.
class EConvertError : public Exception {
    using Exception::Exception;
};
// A value outside the range of its target, or an index outside its bounds.
class ERangeError : public Exception {
    using Exception::Exception;
};
// Operations on dynamically typed values: invalid operation, overflow, failed conversion.
class EVariantError : public Exception {
    using Exception::Exception;
};
// Integer division or remainder by zero.
class EDivByZero : public Exception {
    using Exception::Exception;
};
// Floating division by zero.
class EZeroDivide : public Exception {
    using Exception::Exception;
};
// Memory that could not be had, or a text or array beyond the size scripts may build.
class EOutOfMemory : public Exception {
    using Exception::Exception;
};
// The longest text a format (Format, FormatDateTime) builds: a width or precision asking
// for more, or a picture repeating long parts, gives EOutOfMemory "Out of memory" before
// the memory is taken. The same bound as the texts scripts build.
inline constexpr qint64 kMaxFormattedLength = qint64(1) << 28;
[[noreturn]] inline void formattedTooLong()
{
    throw EOutOfMemory(QStringLiteral("Out of memory"));
}
// A file that cannot be opened, read or written.
class EFileError : public Exception {
    using Exception::Exception;
};

} // namespace orv::platform
