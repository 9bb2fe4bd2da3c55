#include "script/bridges/classlib.h"

#include "platform/core/cp1252.h"
#include "platform/core/exceptions.h"
#include "platform/core/text.h"
#include "script/bridges/forms.h"
#include "script/bridges/register.h"
#include "script/bridges/xmlobjects.h"

#include <QSaveFile>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <cstring>

namespace orv::script {
using namespace orv::platform;
} // namespace orv::script

namespace orv::script {

using orv::script::Value;

// ------------------------------------------------------------------ value wrappers

ORV_RTTI_DEFINE(TfsRectF, orv::platform::Persistent)
{
    c.prop("Left", &TfsRectF::Left, &TfsRectF::SetLeft);
    c.prop("Top", &TfsRectF::Top, &TfsRectF::SetTop);
    c.prop("Right", &TfsRectF::Right, &TfsRectF::SetRight);
    c.prop("Bottom", &TfsRectF::Bottom, &TfsRectF::SetBottom);
}

ORV_RTTI_DEFINE(TfsPointF, orv::platform::Persistent)
{
    c.prop("pX", &TfsPointF::pX, &TfsPointF::SetpX);
    c.prop("pY", &TfsPointF::pY, &TfsPointF::SetpY);
}

ORV_RTTI_DEFINE(TfsVector, orv::platform::Persistent)
{
    c.prop("pX", &TfsVector::pX, &TfsVector::SetpX);
    c.prop("pY", &TfsVector::pY, &TfsVector::SetpY);
    c.prop("pW", &TfsVector::pW, &TfsVector::SetpW);
}

ORV_RTTI_DEFINE(TfsMatrix, orv::platform::Persistent)
{
    c.prop("m11", &TfsMatrix::m11, &TfsMatrix::Setm11);
    c.prop("m12", &TfsMatrix::m12, &TfsMatrix::Setm12);
    c.prop("m13", &TfsMatrix::m13, &TfsMatrix::Setm13);
    c.prop("m21", &TfsMatrix::m21, &TfsMatrix::Setm21);
    c.prop("m22", &TfsMatrix::m22, &TfsMatrix::Setm22);
    c.prop("m23", &TfsMatrix::m23, &TfsMatrix::Setm23);
    c.prop("m31", &TfsMatrix::m31, &TfsMatrix::Setm31);
    c.prop("m32", &TfsMatrix::m32, &TfsMatrix::Setm32);
    c.prop("m33", &TfsMatrix::m33, &TfsMatrix::Setm33);
}

namespace {

template <class W>
void assignWrapper(W& dest, const orv::platform::Persistent* source)
{
    if (auto* s = dynamic_cast<const W*>(source))
        dest = *s;
    else
        dest.orv::platform::Persistent::Assign(source);
}

} // namespace

void TfsRectF::Assign(const orv::platform::Persistent* Source) { assignWrapper(*this, Source); }
void TfsPointF::Assign(const orv::platform::Persistent* Source) { assignWrapper(*this, Source); }
void TfsVector::Assign(const orv::platform::Persistent* Source) { assignWrapper(*this, Source); }
void TfsMatrix::Assign(const orv::platform::Persistent* Source) { assignWrapper(*this, Source); }

} // namespace orv::script

namespace orv::script::bridges {

ORV_RTTI_DEFINE_NAMED(List, platform::rtti::Object, "TList") {}
ORV_RTTI_DEFINE_NAMED(Strings, Persistent, "TStrings") {}
ORV_RTTI_DEFINE_NAMED(StringList, Strings, "TStringList") {}
ORV_RTTI_DEFINE_NAMED(Stream, platform::rtti::Object, "TStream") {}
ORV_RTTI_DEFINE_NAMED(MemoryStream, Stream, "TMemoryStream") {}
ORV_RTTI_DEFINE_NAMED(FileStream, Stream, "TFileStream") {}
ORV_RTTI_DEFINE_NAMED(CollectionItem, Persistent, "TCollectionItem") {}
ORV_RTTI_DEFINE_NAMED(Collection, Persistent, "TCollection") {}

void raiseListIndex(qint64 index)
{
    throw ERangeError(QStringLiteral("List index out of bounds (%1)").arg(index));
}

namespace {

QSet<const platform::rtti::Object*>& lent()
{
    // Never destroyed: objects that live until the end of the process ask it last.
    static auto* set = new QSet<const platform::rtti::Object*>;
    return *set;
}

bool sameObject(const Value& a, const Value& b)
{
    return a.toInt64() == b.toInt64();
}

} // namespace

void lendToScripts(const platform::rtti::Object* object) { lent().insert(object); }
void takeBackFromScripts(const platform::rtti::Object* object) { lent().remove(object); }
bool isLent(const platform::rtti::Object* object) { return lent().contains(object); }

// ------------------------------------------------------------------ List

int List::Add(const Value& item)
{
    m_items.push_back(item);
    return Count() - 1;
}

void List::Delete(int index)
{
    if (index < 0 || index >= Count())
        raiseListIndex(index);
    m_items.erase(m_items.begin() + index);
}

int List::IndexOf(const Value& item) const
{
    for (int i = 0; i < Count(); ++i)
        if (sameObject(m_items[size_t(i)], item))
            return i;
    return -1;
}

void List::Insert(int index, const Value& item)
{
    if (index < 0 || index > Count())
        raiseListIndex(index);
    m_items.insert(m_items.begin() + index, item);
}

int List::Remove(const Value& item)
{
    const int i = IndexOf(item);
    if (i >= 0)
        Delete(i);
    return i;
}

Value List::Item(int index) const
{
    if (index < 0 || index >= Count())
        raiseListIndex(index);
    return m_items[size_t(index)];
}

void List::SetItem(int index, const Value& item)
{
    if (index < 0 || index >= Count())
        raiseListIndex(index);
    m_items[size_t(index)] = item;
}

// ------------------------------------------------------------------ Strings

int Strings::compare(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive);
}

void Strings::check(int index) const
{
    if (index < 0 || index >= Count())
        raiseListIndex(index);
}

void Strings::setLines(const QStringList& lines)
{
    Clear();
    for (const QString& l : lines)
        Add(l);
}

int Strings::AddObject(const QString& s, const Value& object)
{
    int index = Count();
    if (m_sorted) {
        if (Find(s, index)) {
            if (m_duplicates == Duplicates::dupIgnore)
                return index;
            if (m_duplicates == Duplicates::dupError)
                throw orv::platform::Exception(QStringLiteral("String list does not allow duplicates"));
        }
    }
    m_lines.insert(index, s);
    m_objects.insert(m_objects.begin() + index, object);
    changed();
    return index;
}

void Strings::Clear()
{
    m_lines.clear();
    m_objects.clear();
    changed();
}

void Strings::Delete(int index)
{
    check(index);
    m_lines.removeAt(index);
    m_objects.erase(m_objects.begin() + index);
    changed();
}

int Strings::IndexOf(const QString& s) const
{
    for (int i = 0; i < Count(); ++i)
        if (compare(m_lines[i], s) == 0)
            return i;
    return -1;
}

int Strings::IndexOfName(const QString& name) const
{
    for (int i = 0; i < Count(); ++i) {
        const qsizetype eq = m_lines[i].indexOf(u'=');
        if (eq >= 0 && compare(m_lines[i].left(eq), name) == 0)
            return i;
    }
    return -1;
}

int Strings::IndexOfObject(const Value& object) const
{
    for (int i = 0; i < Count(); ++i)
        if (sameObject(m_objects[size_t(i)], object))
            return i;
    return -1;
}

void Strings::InsertObject(int index, const QString& s, const Value& object)
{
    if (m_sorted)
        throw orv::platform::Exception(QStringLiteral("Operation not allowed on sorted list"));
    if (index < 0 || index > Count())
        raiseListIndex(index);
    m_lines.insert(index, s);
    m_objects.insert(m_objects.begin() + index, object);
    changed();
}

void Strings::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex)
        return;
    check(curIndex);
    check(newIndex);
    const QString s = m_lines[curIndex];
    const Value o = m_objects[size_t(curIndex)];
    Delete(curIndex);
    m_lines.insert(newIndex, s);
    m_objects.insert(m_objects.begin() + newIndex, o);
    changed();
}

QString Strings::Get(int index) const
{
    check(index);
    return m_lines[index];
}

void Strings::Put(int index, const QString& s)
{
    if (m_sorted)
        throw orv::platform::Exception(QStringLiteral("Operation not allowed on sorted list"));
    check(index);
    m_lines[index] = s;
    changed();
}

Value Strings::Object(int index) const
{
    check(index);
    return m_objects[size_t(index)];
}

void Strings::PutObject(int index, const Value& object)
{
    check(index);
    m_objects[size_t(index)] = object;
}

QString Strings::Name(int index) const
{
    const QString line = Get(index);
    const qsizetype eq = line.indexOf(u'=');
    return eq >= 0 ? line.left(eq) : QString();
}

QString Strings::ValueOf(const QString& name) const
{
    const int i = IndexOfName(name);
    return i < 0 ? QString() : m_lines[i].mid(m_lines[i].indexOf(u'=') + 1);
}

void Strings::SetValueOf(const QString& name, const QString& value)
{
    const int i = IndexOfName(name);
    if (value.isEmpty()) {
        if (i >= 0)
            Delete(i);
    } else if (i < 0) {
        Add(name + u'=' + value);
    } else {
        m_lines[i] = name + u'=' + value;
    }
}

QString Strings::Text() const
{
    // Lines may share one long text: the whole is measured before it is made.
    qint64 length = 0;
    for (const QString& l : m_lines)
        length += l.size() + 2;
    orv::script::checkTextLength(length);
    QString text;
    text.reserve(length);
    for (const QString& l : m_lines)
        text += l + QLatin1String("\r\n");
    return text;
}

void Strings::SetText(const QString& text)
{
    Clear();
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start < n) {
        qsizetype end = start;
        while (end < n && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        Add(text.mid(start, end - start));
        if (end < n && text[end] == u'\r')
            ++end;
        if (end < n && text[end] == u'\n')
            ++end;
        start = end;
    }
}

QString Strings::CommaText() const
{
    QStringList parts;
    qint64 length = 0;
    for (const QString& l : m_lines) {
        bool quote = l.isEmpty() && Count() > 1;
        qint64 quotes = 0;
        for (QChar ch : l) {
            if (ch.unicode() <= 32 || ch == u',' || ch == u'"')
                quote = true;
            quotes += ch == u'"';
        }
        // Lines may share one long text: the whole is measured before it is made.
        length += (quote ? l.size() + quotes + 2 : l.size()) + 1;
        orv::script::checkTextLength(length - 1);
        if (quote) {
            QString q = l;
            q.replace(QLatin1String("\""), QLatin1String("\"\""));
            parts << u'"' + q + u'"';
        } else {
            parts << l;
        }
    }
    return parts.join(u',');
}

void Strings::SetCommaText(const QString& text)
{
    Clear();
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto skipBlanks = [&] {
        while (i < n && text[i].unicode() <= 32 && text[i] != u',')
            ++i;
    };
    skipBlanks();
    while (i < n) {
        QString item;
        if (text[i] == u'"') {
            ++i;
            while (i < n) {
                if (text[i] == u'"') {
                    if (i + 1 < n && text[i + 1] == u'"') {
                        item += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
            while (i < n && text[i] != u',' && text[i].unicode() > 32)
                item += text[i++];
        } else {
            while (i < n && text[i] != u',' && text[i].unicode() > 32)
                item += text[i++];
        }
        Add(item);
        skipBlanks();
        if (i < n && text[i] == u',') {
            ++i;
            skipBlanks();
            if (i >= n)
                Add(QString());
        }
    }
}

namespace {

// Text files: UTF-8 or UTF-16 when they carry a byte-order mark, Windows-1252 otherwise.
QString decodeTextFile(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE).decode(bytes.mid(2));
    if (bytes.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringDecoder::Utf16BE).decode(bytes.mid(2));
    return platform::cp1252::decode(bytes);
}

// Windows-1252 when every character has a byte there; UTF-8 with its mark otherwise, so
// that no character is lost.
QByteArray encodeTextFile(const QString& text)
{
    bool lossless = true;
    QByteArray bytes = platform::cp1252::encode(text, &lossless);
    return lossless ? bytes : QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

[[noreturn]] void raiseOpen(const QString& fileName)
{
    throw EFileError(QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, QStringLiteral("No such file or directory")));
}

} // namespace

void Strings::LoadFromFile(const QString& fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        raiseOpen(fileName);
    SetText(decodeTextFile(f.readAll()));
}

void Strings::SaveToFile(const QString& fileName) const
{
    QSaveFile f(fileName);
    const QByteArray bytes = encodeTextFile(Text());
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw EFileError(QStringLiteral("Cannot create file \"%1\"").arg(fileName));
}

void Strings::LoadFromStream(Stream& stream)
{
    SetText(decodeTextFile(stream.ReadRest()));
}

void Strings::SaveToStream(Stream& stream) const
{
    const QByteArray bytes = encodeTextFile(Text());
    stream.Write(bytes.constData(), bytes.size());
}

bool Strings::Find(const QString& s, int& index) const
{
    int lo = 0, hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int c = compare(m_lines[mid], s);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (m_duplicates != Duplicates::dupAccept)
                    lo = mid;
            }
        }
    }
    index = lo;
    return found;
}

void Strings::Sort()
{
    std::vector<int> order(static_cast<size_t>(Count()));
    for (int i = 0; i < Count(); ++i)
        order[size_t(i)] = i;
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return compare(m_lines[a], m_lines[b]) < 0; });
    QStringList lines;
    std::vector<Value> objects;
    for (int i : order) {
        lines << m_lines[i];
        objects.push_back(m_objects[size_t(i)]);
    }
    m_lines = lines;
    m_objects = std::move(objects);
    changed();
}

void Strings::SetSorted(bool sorted)
{
    if (sorted && !m_sorted)
        Sort();
    m_sorted = sorted;
}

void Strings::Assign(const Persistent* Source)
{
    if (auto* s = dynamic_cast<const Strings*>(Source)) {
        if (s == this)
            return;
        m_lines = s->m_lines;
        m_objects = s->m_objects;
        if (m_sorted)
            Sort();
        changed();
        return;
    }
    Persistent::Assign(Source);
}

// ------------------------------------------------------------------ streams

qint64 Stream::CopyFrom(Stream& source, qint64 count)
{
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    QByteArray buffer;
    qint64 copied = 0;
    while (copied < count) {
        buffer.resize(qsizetype(std::min<qint64>(count - copied, 65536)));
        const qint64 n = source.Read(buffer.data(), buffer.size());
        if (n <= 0)
            throw orv::platform::Exception(QStringLiteral("Stream read error"));
        if (Write(buffer.constData(), n) != n)
            throw orv::platform::Exception(QStringLiteral("Stream write error"));
        copied += n;
    }
    return copied;
}

QByteArray Stream::ReadRest()
{
    QByteArray bytes(qsizetype(std::max<qint64>(0, Size() - Position())), '\0');
    bytes.resize(qsizetype(std::max<qint64>(0, Read(bytes.data(), bytes.size()))));
    return bytes;
}

qint64 MemoryStream::Read(char* buffer, qint64 count)
{
    const qint64 n = std::clamp<qint64>(m_data.size() - m_pos, 0, std::max<qint64>(count, 0));
    if (n > 0)
        std::memcpy(buffer, m_data.constData() + m_pos, size_t(n));
    m_pos += n;
    return n;
}

qint64 MemoryStream::Write(const char* buffer, qint64 count)
{
    if (count <= 0)
        return 0;
    if (m_pos + count > m_data.size())
        m_data.resize(qsizetype(m_pos + count), '\0');
    std::memcpy(m_data.data() + m_pos, buffer, size_t(count));
    m_pos += count;
    return count;
}

qint64 MemoryStream::Seek(qint64 offset, int origin)
{
    const qint64 base = origin == 1 ? m_pos : origin == 2 ? m_data.size() : 0;
    m_pos = std::max<qint64>(0, base + offset);
    return m_pos;
}

void MemoryStream::Clear()
{
    m_data.clear();
    m_pos = 0;
}

void MemoryStream::LoadFromStream(Stream& s)
{
    s.SetPosition(0);
    m_data = s.ReadRest();
    m_pos = 0;
}

void MemoryStream::LoadFromFile(const QString& fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        raiseOpen(fileName);
    m_data = f.readAll();
    m_pos = 0;
}

void MemoryStream::SaveToStream(Stream& s) const
{
    s.Write(m_data.constData(), m_data.size());
}

void MemoryStream::SaveToFile(const QString& fileName) const
{
    QSaveFile f(fileName);
    if (!f.open(QIODevice::WriteOnly) || f.write(m_data) != m_data.size() || !f.commit())
        throw EFileError(QStringLiteral("Cannot create file \"%1\"").arg(fileName));
}

void FileStream::Open(const QString& fileName, int mode)
{
    m_file.close();
    m_file.setFileName(fileName);
    QIODevice::OpenMode how;
    if ((mode & 0xFF00) == 0xFF00)
        how = QIODevice::ReadWrite | QIODevice::Truncate;
    else if ((mode & 3) == 1)
        how = QIODevice::WriteOnly | QIODevice::ExistingOnly;
    else if ((mode & 3) == 2)
        how = QIODevice::ReadWrite | QIODevice::ExistingOnly;
    else
        how = QIODevice::ReadOnly;
    if (!m_file.open(how)) {
        if ((mode & 0xFF00) == 0xFF00)
            throw EFileError(QStringLiteral("Cannot create file \"%1\"").arg(fileName));
        raiseOpen(fileName);
    }
}

void FileStream::check() const
{
    if (!m_file.isOpen())
        throw EFileError(QStringLiteral("File not open"));
}

qint64 FileStream::Read(char* buffer, qint64 count)
{
    check();
    return std::max<qint64>(0, m_file.read(buffer, count));
}

qint64 FileStream::Write(const char* buffer, qint64 count)
{
    check();
    return std::max<qint64>(0, m_file.write(buffer, count));
}

qint64 FileStream::Seek(qint64 offset, int origin)
{
    check();
    const qint64 base = origin == 1 ? m_file.pos() : origin == 2 ? m_file.size() : 0;
    m_file.seek(std::max<qint64>(0, base + offset));
    return m_file.pos();
}

qint64 FileStream::Size() const
{
    check();
    return m_file.size();
}

// ------------------------------------------------------------------ collections

Collection::~Collection() { Clear(); }

CollectionItem* Collection::Item(int index) const
{
    if (index < 0 || index >= Count())
        raiseListIndex(index);
    return m_items[size_t(index)];
}

CollectionItem* Collection::Add()
{
    m_items.push_back(new CollectionItem);
    return m_items.back();
}

void Collection::Clear()
{
    for (CollectionItem* i : m_items)
        delete i;
    m_items.clear();
}

// ------------------------------------------------------------------ the module

namespace classlib {

namespace {

Value obj(const platform::rtti::Object* o) { return objectValue(o); }

// Read(var Buffer: string; Count): the bytes land in a text of Count characters, two
// bytes to a character, cut to the number of bytes read.
Value streamRead(Stream& s, TfsMethodHelper* c)
{
    const int count = std::max(0, argInt(c, 1));
    QString buffer(count, QChar(0));
    const qint64 n = s.Read(reinterpret_cast<char*>(buffer.data()), std::min<qint64>(count, qint64(count) * 2));
    buffer.truncate(qsizetype(n));
    c->SetVParam(0, Value(buffer));
    return Value(int(n));
}

// Write(Buffer: string; Count): never more bytes than the text holds.
Value streamWrite(Stream& s, TfsMethodHelper* c)
{
    const QString buffer = argString(c, 0);
    const qint64 count = std::clamp<qint64>(argInt(c, 1), 0, qint64(buffer.size()) * 2);
    return Value(int(s.Write(reinterpret_cast<const char*>(buffer.constData()), count)));
}

// An element taken into another one: never one of its own ancestors (the tree would
// close into a ring) and never a document's root (the document keeps it).
TfsXMLItem& adoptable(TfsXMLItem& parent, TfsMethodHelper* c, int i)
{
    auto* child = argAs<XmlItemObject>(c, i);
    if (!child)
        throw orv::platform::Exception(invalidObjectReferenceText());
    TfsXMLItem& item = child->item();
    for (TfsXMLItem* p = &parent; p; p = p->Parent())
        if (p == &item)
            throw orv::platform::Exception(QStringLiteral("An element cannot contain itself"));
    if (isLent(child))
        throw orv::platform::Exception(QStringLiteral("The root of a document cannot move"));
    return item;
}

Value invokeXmlItem(XmlItemObject& o, const QString& m, TfsMethodHelper* c)
{
    if (is(m, "CREATE"))
        return obj(&o);
    TfsXMLItem& item = o.item();
    if (is(m, "ADDITEM"))
        item.AddItem(&adoptable(item, c, 0));
    else if (is(m, "CLEAR"))
        item.Clear();
    else if (is(m, "INSERTITEM")) {
        const int index = argInt(c, 0);
        if (index < 0 || index > item.Count())
            raiseListIndex(index);
        item.InsertItem(index, &adoptable(item, c, 1));
    } else if (is(m, "ADD"))
        return obj(XmlItemObject::of(item.Add()));
    else if (is(m, "FIND"))
        return Value(item.Find(argString(c, 0)));
    else if (is(m, "FINDITEM"))
        return obj(XmlItemObject::of(item.FindItem(argString(c, 0))));
    else if (is(m, "ROOT"))
        return obj(XmlItemObject::of(item.Root()));
    else if (is(m, "ITEMS.GET"))
        return obj(XmlItemObject::of(item.Items(argInt(c, 0))));
    else if (is(m, "PROP.GET"))
        return Value(item.GetProp(argString(c, 0)));
    else if (is(m, "PROP.SET"))
        item.SetProp(argString(c, 0), argString(c, 1));
    return Value(0);
}

} // namespace

TFunctions::TFunctions(TfsScript* AScript) : BridgeModule(AScript)
{
    const TfsCallMethodNewEvent call = callback();
    const TfsGetValueEvent get = getter();
    const TfsSetValueEvent set = setter();
    TfsScript* s = AScript;
    const QString integer = QStringLiteral("Integer");
    const std::pair<const char*, int> constants[] = {
        {"fmCreate", 0xFF00}, {"fmOpenRead", 0},       {"fmOpenWrite", 1},      {"fmOpenReadWrite", 2},
        {"fmShareExclusive", 16}, {"fmShareDenyWrite", 32}, {"fmShareDenyNone", 64}, {"soFromBeginning", 0},
        {"soFromCurrent", 1}, {"soFromEnd", 2},
    };
    for (const auto& [name, value] : constants)
        s->AddConst(QString::fromLatin1(name), integer, Value(value));
    s->AddEnum(QStringLiteral("TDuplicates"), QStringLiteral("dupIgnore, dupAccept, dupError"));
    s->AddEnum(QStringLiteral("TPrinterOrientation"), QStringLiteral("poPortrait, poLandscape"));

    if (auto* c = s->AddClass(&platform::rtti::Object::staticClassInfo(), QString())) {
        c->AddConstructor(QStringLiteral("constructor Create"), call);
        c->AddMethod(QStringLiteral("procedure Free"), call);
        c->AddMethod(QStringLiteral("function ClassName: String"), call);
    }
    if (auto* c = s->AddClass(&Persistent::staticClassInfo(), QStringLiteral("TObject")))
        c->AddMethod(QStringLiteral("procedure Assign(Source: TPersistent)"), call);
    s->AddClass(&CollectionItem::staticClassInfo(), QStringLiteral("TPersistent"));
    if (auto* c = s->AddClass(&Collection::staticClassInfo(), QStringLiteral("TPersistent"))) {
        c->AddMethod(QStringLiteral("procedure Clear"), call);
        c->AddProperty(QStringLiteral("Count"), integer, get);
        c->AddDefaultProperty(QStringLiteral("Items"), integer, QStringLiteral("TCollectionItem"), call, true);
    }
    if (auto* c = s->AddClass(&List::staticClassInfo(), QStringLiteral("TObject"))) {
        c->AddMethod(QStringLiteral("function Add(Item: TObject): Integer"), call);
        c->AddMethod(QStringLiteral("procedure Clear"), call);
        c->AddMethod(QStringLiteral("procedure Delete(Index: Integer)"), call);
        c->AddMethod(QStringLiteral("function IndexOf(Item: TObject): Integer"), call);
        c->AddMethod(QStringLiteral("procedure Insert(Index: Integer; Item: TObject)"), call);
        c->AddMethod(QStringLiteral("function Remove(Item: TObject): Integer"), call);
        c->AddProperty(QStringLiteral("Count"), integer, get);
        c->AddDefaultProperty(QStringLiteral("Items"), integer, QStringLiteral("TObject"), call);
    }
    if (auto* c = s->AddClass(&Strings::staticClassInfo(), QStringLiteral("TPersistent"))) {
        for (const char* m : {"constructor Create"})
            c->AddConstructor(QString::fromLatin1(m), call);
        for (const char* m : {
                 "function Add(const S: string): Integer",
                 "function AddObject(const S: string; AObject: TObject): Integer",
                 "procedure Clear",
                 "procedure Delete(Index: Integer)",
                 "function IndexOf(const S: string): Integer",
                 "function IndexOfName(const Name: string): Integer",
                 "function IndexOfObject(AObject: TObject): Integer",
                 "procedure Insert(Index: Integer; const S: string)",
                 "procedure InsertObject(Index: Integer; const S: string; AObject: TObject)",
                 "procedure LoadFromFile(const FileName: string)",
                 "procedure LoadFromStream(Stream: TStream)",
                 "procedure SaveToFile(const FileName: string)",
                 "procedure Move(CurIndex, NewIndex: Integer)",
                 "procedure SaveToStream(Stream: TStream)",
             })
            c->AddMethod(QString::fromLatin1(m), call);
        c->AddProperty(QStringLiteral("CommaText"), QStringLiteral("string"), get, set);
        c->AddProperty(QStringLiteral("Count"), integer, get);
        c->AddIndexProperty(QStringLiteral("Names"), integer, QStringLiteral("string"), call, true);
        c->AddIndexProperty(QStringLiteral("Objects"), integer, QStringLiteral("TObject"), call);
        c->AddIndexProperty(QStringLiteral("Values"), QStringLiteral("String"), QStringLiteral("string"), call);
        c->AddDefaultProperty(QStringLiteral("Strings"), integer, QStringLiteral("string"), call);
        c->AddProperty(QStringLiteral("Text"), QStringLiteral("string"), get, set);
    }
    if (auto* c = s->AddClass(&StringList::staticClassInfo(), QStringLiteral("TStrings"))) {
        c->AddMethod(QStringLiteral("function Find(s: String; var Index: Integer): Boolean"), call);
        c->AddMethod(QStringLiteral("procedure Sort"), call);
        c->AddProperty(QStringLiteral("Duplicates"), QStringLiteral("TDuplicates"), get, set);
        c->AddProperty(QStringLiteral("Sorted"), QStringLiteral("Boolean"), get, set);
    }
    if (auto* c = s->AddClass(&Stream::staticClassInfo(), QStringLiteral("TObject"))) {
        c->AddMethod(QStringLiteral("function Read(var Buffer: string; Count: Longint): Longint"), call);
        c->AddMethod(QStringLiteral("function Write(Buffer: string; Count: Longint): Longint"), call);
        c->AddMethod(QStringLiteral("function Seek(Offset: Longint; Origin: Word): Longint"), call);
        c->AddMethod(QStringLiteral("function CopyFrom(Source: TStream; Count: Longint): Longint"), call);
        c->AddProperty(QStringLiteral("Position"), QStringLiteral("Longint"), get, set);
        c->AddProperty(QStringLiteral("Size"), QStringLiteral("Longint"), get);
    }
    if (auto* c = s->AddClass(&FileStream::staticClassInfo(), QStringLiteral("TStream")))
        c->AddConstructor(QStringLiteral("constructor Create(Filename: String; Mode: Word)"), call);
    if (auto* c = s->AddClass(&MemoryStream::staticClassInfo(), QStringLiteral("TStream"))) {
        for (const char* m : {"procedure Clear", "procedure LoadFromStream(Stream: TStream)",
                              "procedure LoadFromFile(Filename: String)", "procedure SaveToStream(Stream: TStream)",
                              "procedure SaveToFile(Filename: String)"})
            c->AddMethod(QString::fromLatin1(m), call);
    }
    if (auto* c = s->AddClass(&Component::staticClassInfo(), QStringLiteral("TPersistent"))) {
        c->AddConstructor(QStringLiteral("constructor Create(AOwner: TComponent)"), call);
        c->AddProperty(QStringLiteral("Owner"), QStringLiteral("TComponent"), get);
    }
    for (const platform::rtti::ClassInfo* w : {&TfsRectF::staticClassInfo(), &TfsMatrix::staticClassInfo(),
                                     &TfsPointF::staticClassInfo(), &TfsVector::staticClassInfo()})
        s->AddClass(w, QStringLiteral("TPersistent"));
    if (auto* c = s->AddClass(&XmlItemObject::staticClassInfo(), QStringLiteral("TObject"))) {
        c->AddConstructor(QStringLiteral("constructor Create"), call);
        for (const char* m : {"procedure AddItem(Item: TfsXMLItem)", "procedure Clear",
                              "procedure InsertItem(Index: Integer; Item: TfsXMLItem)", "function Add: TfsXMLItem",
                              "function Find(const Name: String): Integer",
                              "function FindItem(const Name: String): TfsXMLItem", "function Root: TfsXMLItem"})
            c->AddMethod(QString::fromLatin1(m), call);
        c->AddProperty(QStringLiteral("Data"), integer, get, set);
        c->AddProperty(QStringLiteral("Count"), integer, get);
        c->AddDefaultProperty(QStringLiteral("Items"), integer, QStringLiteral("TfsXMLItem"), call, true);
        c->AddIndexProperty(QStringLiteral("Prop"), QStringLiteral("String"), QStringLiteral("String"), call);
        c->AddProperty(QStringLiteral("Name"), QStringLiteral("String"), get, set);
        c->AddProperty(QStringLiteral("Parent"), QStringLiteral("TfsXMLItem"), get);
        c->AddProperty(QStringLiteral("Text"), QStringLiteral("String"), get, set);
    }
    if (auto* c = s->AddClass(&XmlDocumentObject::staticClassInfo(), QStringLiteral("TObject"))) {
        c->AddConstructor(QStringLiteral("constructor Create"), call);
        for (const char* m : {"procedure SaveToStream(Stream: TStream)", "procedure LoadFromStream(Stream: TStream)",
                              "procedure SaveToFile(const FileName: String)", "procedure LoadFromFile(const FileName: String)"})
            c->AddMethod(QString::fromLatin1(m), call);
        c->AddProperty(QStringLiteral("Root"), QStringLiteral("TfsXMLItem"), get);
    }
    // The types the animation members take.
    s->AddEnum(QStringLiteral("TAnimationType"), QStringLiteral("atIn, atOut, atInOut"));
    s->AddEnum(QStringLiteral("TInterpolationType"),
               QStringLiteral("itLinear, itQuadratic, itCubic, itQuartic, itQuintic, itSinusoidal, itExponential, "
                              "itCircular, itElastic, itBack, itBounce"));
    s->AddType(QStringLiteral("TAlphaColor"), fvtInt);
    if (auto* c = s->AddClass(&FmxObject::staticClassInfo(), QStringLiteral("TComponent"))) {
        for (const char* m : {
                 "function Clone(AOwner: TComponent): TFmxObject", "procedure CloneChildFromStream(AStream: TStream)",
                 "procedure AddObject(AObject: TFmxObject)", "procedure InsertObject(Index: Integer; AObject: TFmxObject)",
                 "procedure RemoveObject(AObject: TFmxObject)", "procedure Exchange(AObject1: TFmxObject; AObject2: TFmxObject)",
                 "procedure DeleteChildren()", "procedure BringToFront()", "procedure SendToBack()",
                 "procedure AddObjectsToList(AList: TList)", "procedure GetTabOrderList(List: TList; AChildren: Boolean)",
                 "procedure LoadFromStream(AStream: TStream)", "procedure SaveToStream(Stream: TStream)",
                 "procedure LoadFromBinStream(AStream: TStream)", "procedure SaveToBinStream(AStream: TStream)",
                 "function FindStyleResource(AStyleLookup: string): TFmxObject", "procedure StartAnimation(AName: string)",
                 "procedure StopAnimation(AName: string)",
                 "procedure StartTriggerAnimation(AInstance: TFmxObject; ATrigger: string)",
                 "procedure StartTriggerAnimationWait(AInstance: TFmxObject; ATrigger: string)",
                 "procedure StopTriggerAnimation(AInstance: TFmxObject; ATrigger: string)",
                 "procedure ApplyTriggerEffect(AInstance: TFmxObject; ATrigger: string)",
                 "procedure AnimateFloat(APropertyName: string; NewValue: Single; Duration: Single; "
                 "AType: TAnimationType; AInterpolation: TInterpolationType)",
                 "procedure AnimateColor(APropertyName: string; NewValue: TAlphaColor; Duration: Single; "
                 "AType: TAnimationType; AInterpolation: TInterpolationType)",
                 "procedure AnimateFloatDelay(APropertyName: string; NewValue: Single; Duration: Single; Delay: Single; "
                 "AType: TAnimationType; AInterpolation: TInterpolationType)",
                 "procedure AnimateFloatWait(APropertyName: string; NewValue: Single; Duration: Single; "
                 "AType: TAnimationType; AInterpolation: TInterpolationType)",
                 "procedure StopPropertyAnimation(APropertyName: string)",
             })
            c->AddMethod(QString::fromLatin1(m), call);
        c->AddProperty(QStringLiteral("Parent"), QStringLiteral("TFmxObject"), get, set);
        c->AddProperty(QStringLiteral("Index"), integer, get, set);
    }
}

Value TFunctions::InvokeMethod(TfsObject Instance, TfsClass ClassType, const QString& MethodName,
                               TfsMethodHelper* Caller)
{
    const QString& m = MethodName;
    TfsMethodHelper* c = Caller;
    if (ClassType == &platform::rtti::Object::staticClassInfo()) {
        if (is(m, "CREATE"))
            return obj(Instance);
        if (is(m, "FREE")) {
            if (Instance && !isLent(Instance))
                delete Instance;
            return Value(0);
        }
        if (is(m, "CLASSNAME"))
            return Value(Instance ? Instance->ClassName() : QString());
    } else if (ClassType == &Persistent::staticClassInfo()) {
        if (is(m, "ASSIGN"))
            if (auto* p = dynamic_cast<Persistent*>(Instance))
                p->Assign(argAs<Persistent>(c, 0));
    } else if (ClassType == &Collection::staticClassInfo()) {
        auto& col = self<Collection>(Instance);
        if (is(m, "CLEAR"))
            col.Clear();
        else if (is(m, "ITEMS.GET"))
            return obj(col.Item(argInt(c, 0)));
    } else if (ClassType == &List::staticClassInfo()) {
        auto& list = self<List>(Instance);
        if (is(m, "ADD"))
            return Value(list.Add(argValue(c, 0)));
        if (is(m, "CLEAR"))
            list.Clear();
        else if (is(m, "DELETE"))
            list.Delete(argInt(c, 0));
        else if (is(m, "INDEXOF"))
            return Value(list.IndexOf(argValue(c, 0)));
        else if (is(m, "INSERT"))
            list.Insert(argInt(c, 0), argValue(c, 1));
        else if (is(m, "REMOVE"))
            return Value(list.Remove(argValue(c, 0)));
        else if (is(m, "ITEMS.GET"))
            return list.Item(argInt(c, 0));
        else if (is(m, "ITEMS.SET"))
            list.SetItem(argInt(c, 0), argValue(c, 1));
    } else if (ClassType == &Strings::staticClassInfo()) {
        auto& list = self<Strings>(Instance);
        if (is(m, "CREATE"))
            return obj(Instance);
        if (is(m, "ADD"))
            return Value(list.Add(argString(c, 0)));
        if (is(m, "ADDOBJECT"))
            return Value(list.AddObject(argString(c, 0), argValue(c, 1)));
        if (is(m, "CLEAR"))
            list.Clear();
        else if (is(m, "DELETE"))
            list.Delete(argInt(c, 0));
        else if (is(m, "INDEXOF"))
            return Value(list.IndexOf(argString(c, 0)));
        else if (is(m, "INDEXOFNAME"))
            return Value(list.IndexOfName(argString(c, 0)));
        else if (is(m, "INDEXOFOBJECT"))
            return Value(list.IndexOfObject(argValue(c, 0)));
        else if (is(m, "INSERT"))
            list.Insert(argInt(c, 0), argString(c, 1));
        else if (is(m, "INSERTOBJECT"))
            list.InsertObject(argInt(c, 0), argString(c, 1), argValue(c, 2));
        else if (is(m, "LOADFROMFILE"))
            list.LoadFromFile(argString(c, 0));
        else if (is(m, "LOADFROMSTREAM")) {
            if (auto* st = argAs<Stream>(c, 0))
                list.LoadFromStream(*st);
        } else if (is(m, "SAVETOFILE"))
            list.SaveToFile(argString(c, 0));
        else if (is(m, "MOVE"))
            list.Move(argInt(c, 0), argInt(c, 1));
        else if (is(m, "SAVETOSTREAM")) {
            if (auto* st = argAs<Stream>(c, 0))
                list.SaveToStream(*st);
        } else if (is(m, "NAMES.GET"))
            return Value(list.Name(argInt(c, 0)));
        else if (is(m, "OBJECTS.GET"))
            return list.Object(argInt(c, 0));
        else if (is(m, "OBJECTS.SET"))
            list.PutObject(argInt(c, 0), argValue(c, 1));
        else if (is(m, "VALUES.GET"))
            return Value(list.ValueOf(argString(c, 0)));
        else if (is(m, "VALUES.SET"))
            list.SetValueOf(argString(c, 0), argString(c, 1));
        else if (is(m, "STRINGS.GET"))
            return Value(list.Get(argInt(c, 0)));
        else if (is(m, "STRINGS.SET"))
            list.Put(argInt(c, 0), argString(c, 1));
    } else if (ClassType == &StringList::staticClassInfo()) {
        auto& list = self<Strings>(Instance);
        if (is(m, "FIND")) {
            int index = 0;
            const bool found = list.Find(argString(c, 0), index);
            c->SetVParam(1, Value(index));
            return Value(found);
        }
        if (is(m, "SORT"))
            list.Sort();
    } else if (ClassType == &Stream::staticClassInfo()) {
        auto& st = self<Stream>(Instance);
        if (is(m, "READ"))
            return streamRead(st, c);
        if (is(m, "WRITE"))
            return streamWrite(st, c);
        if (is(m, "SEEK"))
            return Value::fromInt64(st.Seek(argInt64(c, 0), argInt(c, 1)));
        if (is(m, "COPYFROM")) {
            auto* source = argAs<Stream>(c, 0);
            return Value::fromInt64(source ? st.CopyFrom(*source, argInt64(c, 1)) : 0);
        }
    } else if (ClassType == &FileStream::staticClassInfo()) {
        if (is(m, "CREATE")) {
            self<FileStream>(Instance).Open(argString(c, 0), argInt(c, 1));
            return obj(Instance);
        }
    } else if (ClassType == &MemoryStream::staticClassInfo()) {
        auto& st = self<MemoryStream>(Instance);
        if (is(m, "CLEAR"))
            st.Clear();
        else if (is(m, "LOADFROMSTREAM")) {
            if (auto* src = argAs<Stream>(c, 0))
                st.LoadFromStream(*src);
        } else if (is(m, "LOADFROMFILE"))
            st.LoadFromFile(argString(c, 0));
        else if (is(m, "SAVETOSTREAM")) {
            if (auto* dst = argAs<Stream>(c, 0))
                st.SaveToStream(*dst);
        } else if (is(m, "SAVETOFILE"))
            st.SaveToFile(argString(c, 0));
    } else if (ClassType == &Component::staticClassInfo()) {
        if (is(m, "CREATE")) {
            if (auto* owner = argAs<Component>(c, 0))
                owner->InsertComponent(&self<Component>(Instance));
            return obj(Instance);
        }
    } else if (ClassType == &XmlItemObject::staticClassInfo()) {
        return invokeXmlItem(self<XmlItemObject>(Instance), m, c);
    } else if (ClassType == &XmlDocumentObject::staticClassInfo()) {
        TfsXMLDocument& doc = self<XmlDocumentObject>(Instance).document();
        if (is(m, "CREATE"))
            return obj(Instance);
        if (is(m, "SAVETOSTREAM")) {
            if (auto* st = argAs<Stream>(c, 0)) {
                const QByteArray bytes = doc.SaveToBytes();
                st->Write(bytes.constData(), bytes.size());
            }
        } else if (is(m, "LOADFROMSTREAM")) {
            if (auto* st = argAs<Stream>(c, 0))
                doc.LoadFromBytes(st->ReadRest());
        } else if (is(m, "SAVETOFILE"))
            doc.SaveToFile(argString(c, 0));
        else if (is(m, "LOADFROMFILE"))
            doc.LoadFromFile(argString(c, 0));
    } else if (ClassType == &FmxObject::staticClassInfo()) {
        auto& o = self<FmxObject>(Instance);
        if (is(m, "ADDOBJECT")) {
            if (auto* child = argAs<FmxObject>(c, 0))
                child->SetParent(&o);
        } else if (is(m, "INSERTOBJECT")) {
            if (auto* child = argAs<FmxObject>(c, 1)) {
                child->SetParent(&o);
                child->SetIndex(argInt(c, 0));
            }
        } else if (is(m, "REMOVEOBJECT")) {
            // A value that is no object is the index form: the child at that place.
            platform::rtti::Object* named = nullptr;
            FmxObject* child = nullptr;
            if (tryValueObject(argValue(c, 0), named))
                child = dynamic_cast<FmxObject*>(named);
            else if (const int i = argInt(c, 0); i >= 0 && i < int(o.children().size()))
                child = o.children()[size_t(i)];
            if (child && child->Parent() == &o)
                child->SetParent(nullptr);
        } else if (is(m, "EXCHANGE")) {
            auto* a = argAs<FmxObject>(c, 0);
            auto* b = argAs<FmxObject>(c, 1);
            if (a && b && a->Parent() == &o && b->Parent() == &o) {
                const int ia = a->Index(), ib = b->Index();
                a->SetIndex(ib);
                b->SetIndex(ia);
            }
        } else if (is(m, "DELETECHILDREN")) {
            for (FmxObject* child : std::vector<FmxObject*>(o.children()))
                if (!isLent(child))
                    delete child;
        } else if (is(m, "BRINGTOFRONT"))
            o.BringToFront();
        else if (is(m, "SENDTOBACK"))
            o.SendToBack();
        else if (is(m, "ADDOBJECTSTOLIST")) {
            if (auto* list = argAs<List>(c, 0)) {
                std::vector<FmxObject*> pending(o.children().begin(), o.children().end());
                for (size_t i = 0; i < pending.size(); ++i) {
                    list->Add(obj(pending[i]));
                    pending.insert(pending.end(), pending[i]->children().begin(), pending[i]->children().end());
                }
            }
        } else if (is(m, "CLONE")) {
            return obj(o.clone(argAs<Component>(c, 0)));
        } else if (is(m, "GETTABORDERLIST")) {
            if (auto* list = argAs<List>(c, 0))
                o.tabOrderList(*list, argBool(c, 1));
        } else if (is(m, "SAVETOSTREAM") || is(m, "SAVETOBINSTREAM")) {
            if (auto* st = argAs<Stream>(c, 0))
                o.saveToStream(*st, is(m, "SAVETOBINSTREAM"));
        } else if (is(m, "LOADFROMSTREAM") || is(m, "LOADFROMBINSTREAM")) {
            if (auto* st = argAs<Stream>(c, 0))
                o.loadFromStream(*st, is(m, "LOADFROMBINSTREAM"));
        } else if (is(m, "CLONECHILDFROMSTREAM")) {
            if (auto* st = argAs<Stream>(c, 0))
                o.addChildFromStream(*st);
        } else if (is(m, "ANIMATEFLOAT") || is(m, "ANIMATECOLOR") || is(m, "ANIMATEFLOATWAIT")) {
            const bool colour = is(m, "ANIMATECOLOR");
            const QVariant target = colour ? QVariant(qint64(argInt(c, 1))) : QVariant(argFloat(c, 1));
            o.animate(argString(c, 0), target, argFloat(c, 2), 0, argInt(c, 3), argInt(c, 4), colour,
                      is(m, "ANIMATEFLOATWAIT"));
        } else if (is(m, "ANIMATEFLOATDELAY")) {
            o.animate(argString(c, 0), QVariant(argFloat(c, 1)), argFloat(c, 2), argFloat(c, 3), argInt(c, 4),
                      argInt(c, 5), false, false);
        } else if (is(m, "STOPPROPERTYANIMATION")) {
            o.stopPropertyAnimation(argString(c, 0));
        }
        // FindStyleResource: there are no style resources, so none is found (0).
        // StartAnimation, StopAnimation and the trigger members name animation and effect
        // objects, which no object here has: they change nothing.
    }
    return Value(0);
}

Value TFunctions::ReadProperty(TfsObject Instance, TfsClass ClassType, const QString& PropName)
{
    const QString& p = PropName;
    if (ClassType == &Collection::staticClassInfo()) {
        if (is(p, "COUNT"))
            return Value(self<Collection>(Instance).Count());
    } else if (ClassType == &List::staticClassInfo()) {
        if (is(p, "COUNT"))
            return Value(self<List>(Instance).Count());
    } else if (ClassType == &Strings::staticClassInfo()) {
        auto& list = self<Strings>(Instance);
        if (is(p, "COMMATEXT"))
            return Value(list.CommaText());
        if (is(p, "COUNT"))
            return Value(list.Count());
        if (is(p, "TEXT"))
            return Value(list.Text());
    } else if (ClassType == &StringList::staticClassInfo()) {
        auto& list = self<Strings>(Instance);
        if (is(p, "DUPLICATES"))
            return Value(int(list.Dupes()));
        if (is(p, "SORTED"))
            return Value(list.Sorted());
    } else if (ClassType == &Stream::staticClassInfo()) {
        auto& st = self<Stream>(Instance);
        if (is(p, "POSITION"))
            return Value::fromInt64(st.Position());
        if (is(p, "SIZE"))
            return Value::fromInt64(st.Size());
    } else if (ClassType == &Component::staticClassInfo()) {
        if (is(p, "OWNER"))
            return obj(self<Component>(Instance).Owner());
    } else if (ClassType == &XmlItemObject::staticClassInfo()) {
        TfsXMLItem& item = self<XmlItemObject>(Instance).item();
        if (is(p, "DATA"))
            return Value(int(reinterpret_cast<qintptr>(item.Data())));
        if (is(p, "COUNT"))
            return Value(item.Count());
        if (is(p, "NAME"))
            return Value(item.Name());
        if (is(p, "PARENT"))
            return obj(XmlItemObject::of(item.Parent()));
        if (is(p, "TEXT"))
            return Value(item.Text());
    } else if (ClassType == &XmlDocumentObject::staticClassInfo()) {
        if (is(p, "ROOT"))
            return obj(XmlItemObject::of(self<XmlDocumentObject>(Instance).document().Root()));
    } else if (ClassType == &FmxObject::staticClassInfo()) {
        auto& o = self<FmxObject>(Instance);
        if (is(p, "PARENT"))
            return obj(o.Parent());
        if (is(p, "INDEX"))
            return Value(o.Index());
    }
    return Value(0);
}

void TFunctions::WriteProperty(TfsObject Instance, TfsClass ClassType, const QString& PropName, const Value& v)
{
    const QString& p = PropName;
    if (ClassType == &Strings::staticClassInfo()) {
        auto& list = self<Strings>(Instance);
        if (is(p, "COMMATEXT"))
            list.SetCommaText(v.toString());
        else if (is(p, "TEXT"))
            list.SetText(v.toString());
    } else if (ClassType == &StringList::staticClassInfo()) {
        auto& list = self<Strings>(Instance);
        if (is(p, "DUPLICATES"))
            list.SetDupes(Duplicates(std::clamp(v.toInt(), 0, 2)));
        else if (is(p, "SORTED"))
            list.SetSorted(v.toBool());
    } else if (ClassType == &Stream::staticClassInfo()) {
        if (is(p, "POSITION"))
            self<Stream>(Instance).SetPosition(v.toInt64());
    } else if (ClassType == &XmlItemObject::staticClassInfo()) {
        TfsXMLItem& item = self<XmlItemObject>(Instance).item();
        if (is(p, "DATA"))
            item.SetData(reinterpret_cast<void*>(qintptr(v.toInt())));
        else if (is(p, "NAME"))
            item.SetName(v.toString());
        else if (is(p, "TEXT"))
            item.SetText(v.toString());
    } else if (ClassType == &FmxObject::staticClassInfo()) {
        auto& o = self<FmxObject>(Instance);
        if (is(p, "PARENT"))
            o.SetParent(valueAs<FmxObject>(v));
        else if (is(p, "INDEX"))
            o.SetIndex(v.toInt());
    }
}

} // namespace classlib

} // namespace orv::script::bridges
