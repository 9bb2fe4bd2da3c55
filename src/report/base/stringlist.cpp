#include "report/base/stringlist.h"

#include "platform/core/text.h"
#include "report/base/errors.h"

namespace orv::report {
using namespace orv::platform;
} // namespace orv::report

namespace orv::report {

ORV_RTTI_DEFINE_NAMED(StringList, orv::platform::Persistent, "TStrings") {}

StringList::StringList(Dup duplicates, bool caseSensitive)
    : m_sorted(true), m_caseSensitive(caseSensitive), m_duplicates(duplicates)
{
}

void StringList::checkIndex(int index) const
{
    if (index < 0 || index >= m_lines.size())
        throw ListError(QStringLiteral("List index out of bounds (%1)").arg(index));
}

const QString& StringList::Get(int index) const
{
    checkIndex(index);
    return m_lines[index].text;
}

void StringList::Put(int index, const QString& s)
{
    checkIndex(index);
    m_lines[index].text = s;
}

platform::rtti::Object* StringList::Objects(int index) const
{
    checkIndex(index);
    return m_lines[index].obj;
}

void StringList::PutObject(int index, platform::rtti::Object* obj)
{
    checkIndex(index);
    m_lines[index].obj = obj;
}

int StringList::compare(const QString& a, const QString& b) const
{
    return m_caseSensitive ? QString::compare(a, b) : compareTextAZ(a, b);
}

// Binary search in a sorted list: true when found; index is where s is or would go.
bool StringList::find(const QString& s, int& index) const
{
    int lo = 0, hi = int(m_lines.size()) - 1;
    bool found = false;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int c = compare(m_lines[mid].text, s);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0)
                found = true;
        }
    }
    index = lo;
    return found;
}

int StringList::Add(const QString& s) { return AddObject(s, nullptr); }

int StringList::AddObject(const QString& s, platform::rtti::Object* obj)
{
    if (!m_sorted) {
        m_lines.append({s, obj});
        return int(m_lines.size()) - 1;
    }
    int index = 0;
    if (find(s, index)) {
        if (m_duplicates == Dup::Ignore)
            return index;
        if (m_duplicates == Dup::Error)
            throw ListError(QStringLiteral("String list does not allow duplicates"));
    }
    m_lines.insert(index, {s, obj});
    return index;
}

void StringList::AddStrings(const StringList& other)
{
    for (const Line& l : other.m_lines)
        AddObject(l.text, l.obj);
}

void StringList::Insert(int index, const QString& s)
{
    if (m_sorted)
        throw ListError(QStringLiteral("Operation not allowed on sorted list"));
    if (index < 0 || index > m_lines.size())
        throw ListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    m_lines.insert(index, {s, nullptr});
}

void StringList::Delete(int index)
{
    checkIndex(index);
    m_lines.removeAt(index);
}

void StringList::Clear() { m_lines.clear(); }

int StringList::IndexOf(const QString& s) const
{
    if (m_sorted) {
        int index = 0;
        return find(s, index) ? index : -1;
    }
    for (int i = 0; i < m_lines.size(); ++i)
        if (compare(m_lines[i].text, s) == 0)
            return i;
    return -1;
}

QString StringList::Text() const
{
    QString out;
    for (const Line& l : m_lines) {
        out += l.text;
        out += QStringLiteral("\r\n");
    }
    return out;
}

QStringList splitLines(const QString& text)
{
    QStringList out;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        qsizetype j = i;
        while (j < n && text[j] != u'\r' && text[j] != u'\n')
            ++j;
        out << text.mid(i, j - i);
        if (j < n && text[j] == u'\r')
            ++j;
        if (j < n && text[j] == u'\n')
            ++j;
        i = j;
    }
    return out;
}

void StringList::SetText(const QString& text)
{
    Clear();
    for (const QString& l : splitLines(text))
        Add(l);
}

QStringList StringList::lines() const
{
    QStringList out;
    out.reserve(m_lines.size());
    for (const Line& l : m_lines)
        out << l.text;
    return out;
}

void StringList::Assign(const Persistent* Source)
{
    if (const auto* other = dynamic_cast<const StringList*>(Source)) {
        if (other == this)
            return;
        Clear();
        AddStrings(*other);
        return;
    }
    Persistent::Assign(Source);
}

} // namespace orv::report
