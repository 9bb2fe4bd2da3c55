#include "report/base/widestrings.h"

#include "platform/core/cp1252.h"
#include "report/base/errors.h"
#include "report/base/utils.h"
#include "report/base/stringlist.h"

#include <QFile>
#include <QtEndian>

namespace orv::report {

using namespace orv::report;

ORV_RTTI_DEFINE(TfrxWideStrings, orv::platform::Persistent) {}

QString TfrxWideStrings::Get(int Index) const
{
    if (Index < 0 || Index >= Count())
        return {};
    return m_lines[size_t(Index)].text;
}

orv::platform::rtti::Object* TfrxWideStrings::GetObject(int Index) const
{
    if (Index < 0 || Index >= Count())
        return nullptr;
    return m_lines[size_t(Index)].obj;
}

void TfrxWideStrings::PutObject(int Index, orv::platform::rtti::Object* Value)
{
    if (Index >= 0 && Index < Count())
        m_lines[size_t(Index)].obj = Value;
}

int TfrxWideStrings::Add(const QString& S)
{
    m_lines.push_back({S, nullptr});
    return Count() - 1;
}

int TfrxWideStrings::AddObject(const QString& S, orv::platform::rtti::Object* AObject)
{
    const int i = Add(S);
    PutObject(i, AObject);
    return i;
}

void TfrxWideStrings::AddStrings(const TfrxWideStrings& Strings)
{
    if (&Strings == this) {
        const std::vector<Line> copy = m_lines;
        for (const Line& l : copy)
            AddObject(l.text, l.obj);
        return;
    }
    for (const Line& l : Strings.m_lines)
        AddObject(l.text, l.obj);
}

void TfrxWideStrings::Insert(int Index, const QString& S)
{
    if (Index >= 0 && Index < Count())
        m_lines[size_t(Index)].text = S;
    else if (Index == Count())
        Add(S);
    else
        throw Error(QStringLiteral("Wide String Out of Bounds"));
}

void TfrxWideStrings::InsertObject(int Index, const QString& S, orv::platform::rtti::Object* AObject)
{
    Insert(Index, S);
    PutObject(Index, AObject);
}

void TfrxWideStrings::Delete(int Index)
{
    if (Index < 0 || Index >= Count())
        throw ListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    m_lines.erase(m_lines.begin() + Index);
}

int TfrxWideStrings::IndexOf(const QString& S) const
{
    for (int i = 0; i < Count(); ++i)
        if (m_lines[size_t(i)].text == S)
            return i;
    return -1;
}

QString TfrxWideStrings::Text() const
{
    qsizetype size = 0;
    for (const Line& l : m_lines)
        size += l.text.size() + 2;
    QString out;
    out.reserve(size);
    for (const Line& l : m_lines) {
        out += l.text;
        out += u"\r\n";
    }
    return out;
}

void TfrxWideStrings::SetText(const QString& Value)
{
    Clear();
    const QChar* p = Value.constData();
    const QChar* end = p + Value.size();
    auto at = [&](const QChar* q) { return q < end ? q->unicode() : char16_t(0); };
    while (at(p) != 0) {
        const QChar* start = p;
        while (at(p) != 0 && at(p) != 13 && at(p) != 10 && at(p) != 0x2028)
            ++p;
        // A text of one line is kept as it is, shared rather than copied (unless it only
        // borrows its characters: capacity 0).
        const bool whole = start == Value.constData() && p == end && Value.capacity() != 0;
        Add(whole ? Value : QString(start, p - start));
        if (at(p) == 13)
            ++p;
        if (at(p) == 10)
            ++p;
        if (at(p) == 0x2028)
            ++p;
    }
}

namespace {

QString fromUtf16le(const QByteArray& bytes)
{
    const qsizetype n = bytes.size() / 2;
    QString out(n, Qt::Uninitialized);
    for (qsizetype i = 0; i < n; ++i)
        out[i] = QChar(qFromLittleEndian<quint16>(bytes.constData() + 2 * i));
    return out;
}

} // namespace

void TfrxWideStrings::LoadFromStream(QIODevice& Stream)
{
    const qint64 remaining = Stream.size() - Stream.pos();
    if (remaining > 2) {
        const QByteArray mark = Stream.read(2);
        if (mark.size() == 2 && quint8(mark[0]) == 0xFF && quint8(mark[1]) == 0xFE) {
            SetText(fromUtf16le(Stream.read(remaining - 2)));
            return;
        }
        Stream.seek(Stream.pos() - mark.size());
    }
    SetText(orv::platform::cp1252::decode(Stream.read(std::max<qint64>(remaining, 0))));
}

void TfrxWideStrings::LoadFromWStream(QIODevice& Stream) { SetText(fromUtf16le(Stream.readAll())); }

void TfrxWideStrings::SaveToStream(QIODevice& Stream) const
{
    const QString text = Text();
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian<quint16>(text[i].unicode(), bytes.data() + 2 * i);
    Stream.write(bytes);
}

void TfrxWideStrings::LoadFromFile(const QString& FileName)
{
    loadFile(FileName, [this](QIODevice& f) { LoadFromStream(f); });
}

void TfrxWideStrings::SaveToFile(const QString& FileName) const
{
    saveFile(FileName, [this](QIODevice& f) { SaveToStream(f); });
}

void TfrxWideStrings::Assign(const orv::platform::Persistent* Source)
{
    if (const auto* w = dynamic_cast<const TfrxWideStrings*>(Source)) {
        if (w == this)
            return;
        Clear();
        AddStrings(*w);
        return;
    }
    if (const auto* s = dynamic_cast<const StringList*>(Source)) {
        Clear();
        for (int i = 0; i < s->Count(); ++i)
            AddObject(s->Get(i), s->Objects(i));
        return;
    }
    orv::platform::Persistent::Assign(Source);
}

void TfrxWideStrings::AssignTo(orv::platform::Persistent* Dest) const
{
    if (auto* s = dynamic_cast<StringList*>(Dest)) {
        s->Clear();
        for (const Line& l : m_lines)
            s->AddObject(l.text, l.obj);
        return;
    }
    orv::platform::Persistent::AssignTo(Dest);
}

void TfrxWideStrings::DefineProperties(Filer& filer)
{
    auto readList = [this](PropertyReader& r, bool utf8Bytes) {
        Clear();
        r.readListBegin();
        while (!r.endOfList()) {
            QString s = r.readString();
            if (utf8Bytes)
                s = QString::fromUtf8(orv::platform::cp1252::encode(s));
            Add(s);
        }
    };
    const bool hasData = Count() > 0;
    filer.defineProperty(QStringLiteral("Strings"), [&](PropertyReader& r) { readList(r, false); }, nullptr,
                         hasData);
    filer.defineProperty(QStringLiteral("UTF8"), [&](PropertyReader& r) { readList(r, true); }, nullptr, hasData);
    filer.defineProperty(
        QStringLiteral("UTF8W"), [&](PropertyReader& r) { readList(r, false); },
        [this](PropertyWriter& w) {
            w.writeListBegin();
            for (const Line& l : m_lines)
                w.writeString(l.text);
            w.writeListEnd();
        },
        hasData);
}

} // namespace orv::report
