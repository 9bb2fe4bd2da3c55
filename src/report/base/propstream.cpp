#include "report/base/propstream.h"

#include "platform/core/cp1252.h"
#include "report/base/errors.h"

#include <QtEndian>

namespace orv::report {

namespace {

Error badData() { return Error(QStringLiteral("Invalid property data")); }

bool isAscii(const QString& s)
{
    for (QChar c : s)
        if (c.unicode() > 127)
            return false;
    return true;
}

} // namespace

// ---------------------------------------------------------------- writer

void PropertyWriter::writeLength(quint32 n)
{
    char buf[4];
    qToLittleEndian<quint32>(n, buf);
    m_out.append(buf, 4);
}

void PropertyWriter::writeName(const QString& name)
{
    QByteArray utf8 = name.toUtf8().left(255);
    m_out.append(char(utf8.size()));
    m_out.append(utf8);
}

void PropertyWriter::writeInteger(qint32 value)
{
    if (value >= -128 && value <= 127) {
        m_out.append(char(ValueTag::Int8));
        m_out.append(char(qint8(value)));
    } else if (value >= -32768 && value <= 32767) {
        m_out.append(char(ValueTag::Int16));
        char buf[2];
        qToLittleEndian<qint16>(qint16(value), buf);
        m_out.append(buf, 2);
    } else {
        m_out.append(char(ValueTag::Int32));
        char buf[4];
        qToLittleEndian<qint32>(value, buf);
        m_out.append(buf, 4);
    }
}

void PropertyWriter::writeString(const QString& value)
{
    if (!value.isEmpty() && isAscii(value)) {
        const QByteArray bytes = value.toLatin1();
        if (bytes.size() < 256) {
            m_out.append(char(ValueTag::String));
            m_out.append(char(bytes.size()));
        } else {
            m_out.append(char(ValueTag::LString));
            writeLength(quint32(bytes.size()));
        }
        m_out.append(bytes);
        return;
    }
    const QByteArray utf8 = value.toUtf8();
    if (!value.isEmpty() && utf8.size() < 2 * value.size()) {
        m_out.append(char(ValueTag::Utf8String));
        writeLength(quint32(utf8.size()));
        m_out.append(utf8);
        return;
    }
    m_out.append(char(ValueTag::WString));
    writeLength(quint32(value.size()));
    for (QChar c : value) {
        char buf[2];
        qToLittleEndian<quint16>(c.unicode(), buf);
        m_out.append(buf, 2);
    }
}

void PropertyWriter::writeBinary(const QByteArray& bytes)
{
    m_out.append(char(ValueTag::Binary));
    writeLength(quint32(bytes.size()));
    m_out.append(bytes);
}

// ---------------------------------------------------------------- reader

quint8 PropertyReader::byte()
{
    if (m_pos >= m_in.size())
        throw badData();
    return quint8(m_in[m_pos++]);
}

QByteArray PropertyReader::bytes(qint64 n)
{
    if (n < 0 || n > m_in.size() - m_pos)
        throw badData();
    QByteArray out = m_in.mid(m_pos, n);
    m_pos += n;
    return out;
}

quint32 PropertyReader::length()
{
    const QByteArray b = bytes(4);
    return qFromLittleEndian<quint32>(b.constData());
}

QString PropertyReader::readName()
{
    const int n = byte();
    return QString::fromUtf8(bytes(n));
}

ValueTag PropertyReader::nextTag() const
{
    if (m_pos >= m_in.size())
        throw badData();
    return ValueTag(quint8(m_in[m_pos]));
}

qint32 PropertyReader::readInteger()
{
    switch (ValueTag(byte())) {
    case ValueTag::Int8:
        return qint8(byte());
    case ValueTag::Int16: {
        const QByteArray b = bytes(2);
        return qFromLittleEndian<qint16>(b.constData());
    }
    case ValueTag::Int32: {
        const QByteArray b = bytes(4);
        return qFromLittleEndian<qint32>(b.constData());
    }
    default:
        throw badData();
    }
}

QString PropertyReader::readString()
{
    switch (ValueTag(byte())) {
    case ValueTag::String:
        return orv::platform::cp1252::decode(bytes(byte()));
    case ValueTag::LString:
        return orv::platform::cp1252::decode(bytes(length()));
    case ValueTag::Utf8String:
        return QString::fromUtf8(bytes(length()));
    case ValueTag::WString: {
        const qint64 n = length();
        const QByteArray b = bytes(2 * n);
        QString out(qsizetype(n), Qt::Uninitialized);
        for (qint64 i = 0; i < n; ++i)
            out[qsizetype(i)] = QChar(qFromLittleEndian<quint16>(b.constData() + 2 * i));
        return out;
    }
    default:
        throw badData();
    }
}

QByteArray PropertyReader::readBinary()
{
    if (ValueTag(byte()) != ValueTag::Binary)
        throw badData();
    return bytes(length());
}

void PropertyReader::readListBegin()
{
    if (ValueTag(byte()) != ValueTag::List)
        throw badData();
}

bool PropertyReader::endOfList()
{
    if (nextTag() != ValueTag::Null)
        return false;
    ++m_pos;
    return true;
}

void PropertyReader::skipValue()
{
    switch (nextTag()) {
    case ValueTag::List:
        readListBegin();
        while (!endOfList())
            skipValue();
        return;
    case ValueTag::Int8:
    case ValueTag::Int16:
    case ValueTag::Int32:
        readInteger();
        return;
    case ValueTag::String:
    case ValueTag::LString:
    case ValueTag::Utf8String:
    case ValueTag::WString:
        readString();
        return;
    case ValueTag::Binary:
        readBinary();
        return;
    default:
        throw badData();
    }
}

// ---------------------------------------------------------------- object data

namespace {

class WritingFiler : public Filer {
public:
    explicit WritingFiler(QByteArray& out) : m_writer(out) {}
    void defineProperty(const QString& name, const std::function<void(PropertyReader&)>&,
                        const std::function<void(PropertyWriter&)>& write, bool hasData) override
    {
        if (!hasData || !write)
            return;
        m_writer.writeName(name);
        write(m_writer);
    }

private:
    PropertyWriter m_writer;
};

class ReadingFiler : public Filer {
public:
    ReadingFiler(PropertyReader& reader, const QString& name) : m_reader(reader), m_name(name) {}
    void defineProperty(const QString& name, const std::function<void(PropertyReader&)>& read,
                        const std::function<void(PropertyWriter&)>&, bool) override
    {
        if (m_done || !read || name.compare(m_name, Qt::CaseInsensitive) != 0)
            return;
        read(m_reader);
        m_done = true;
    }
    bool done() const { return m_done; }

private:
    PropertyReader& m_reader;
    QString m_name;
    bool m_done = false;
};

} // namespace

QByteArray writeExtraData(DefinesProperties& obj)
{
    QByteArray out;
    WritingFiler filer(out);
    obj.DefineProperties(filer);
    return out;
}

bool readExtraData(DefinesProperties& obj, const QByteArray& data)
{
    PropertyReader reader(data);
    try {
        while (!reader.atEnd()) {
            ReadingFiler filer(reader, reader.readName());
            obj.DefineProperties(filer);
            if (!filer.done())
                return false;
        }
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

} // namespace orv::report
