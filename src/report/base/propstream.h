#pragma once
// Extra data that an object stores besides its published properties (a picture's PNG
// bytes, the report's variable and style lists, a dialog object's position), in the
// binary layout of named values that templates carry as hexadecimal PropData:
// per value its name (a length byte and the bytes) and a one-byte tag with the value.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace orv::report {

enum class ValueTag : quint8 {
    Null = 0, // also the end of a list
    List = 1,
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    String = 6,
    Binary = 10,
    LString = 12,
    WString = 18,
    Utf8String = 20,
};

class PropertyWriter {
public:
    explicit PropertyWriter(QByteArray& out) : m_out(out) {}
    void writeName(const QString& name);
    // The smallest integer piece that holds the value.
    void writeInteger(qint32 value);
    // Short, long, UTF-8 or wide text, by its characters.
    void writeString(const QString& value);
    void writeBinary(const QByteArray& bytes);
    void writeListBegin() { m_out.append(char(ValueTag::List)); }
    void writeListEnd() { m_out.append(char(ValueTag::Null)); }

private:
    void writeLength(quint32 n);
    QByteArray& m_out;
};

// Reading raises orv::report::Error on data that does not have the expected shape.
class PropertyReader {
public:
    explicit PropertyReader(const QByteArray& in) : m_in(in) {}
    bool atEnd() const { return m_pos >= m_in.size(); }
    QString readName();
    ValueTag nextTag() const;
    qint32 readInteger();
    QString readString();
    QByteArray readBinary();
    void readListBegin();
    // True (and the end marker consumed) at the end of a list.
    bool endOfList();
    // Steps over one value of any supported kind.
    void skipValue();

private:
    quint8 byte();
    QByteArray bytes(qint64 n);
    quint32 length();
    const QByteArray& m_in;
    qint64 m_pos = 0;
};

// What an object hands to DefineProperties: each extra value with its reader, its
// writer and whether there is anything to write.
class Filer {
public:
    virtual ~Filer() = default;
    virtual void defineProperty(const QString& name, const std::function<void(PropertyReader&)>& read,
                                const std::function<void(PropertyWriter&)>& write, bool hasData) = 0;
};

// Implemented by classes that store extra data.
class DefinesProperties {
public:
    virtual ~DefinesProperties() = default;
    virtual void DefineProperties(Filer& filer) = 0;
};

// The extra data of an object as bytes (empty when it has none).
QByteArray writeExtraData(DefinesProperties& obj);
// Applies extra data value by value; the first value that the object does not define or
// cannot read ends the reading (and is reported by the return value false).
bool readExtraData(DefinesProperties& obj, const QByteArray& data);

} // namespace orv::report
