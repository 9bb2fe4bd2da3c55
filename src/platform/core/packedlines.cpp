#include "platform/core/packedlines.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace orv {

namespace {

constexpr qsizetype kBlockSize = 1 << 20;

inline char16_t upper(char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; }

// Characters of one line, one or two bytes each.
struct Narrow {
    const unsigned char* p;
    char16_t operator[](qsizetype i) const { return p[i]; }
};
struct Wide {
    const char* p;
    char16_t operator[](qsizetype i) const
    {
        char16_t c;
        std::memcpy(&c, p + 2 * i, 2);
        return c;
    }
};

struct Utf16 {
    const char16_t* p;
    char16_t operator[](qsizetype i) const { return p[i]; }
};

template <class A, class B>
int compareAZ(A a, qsizetype na, B b, qsizetype nb)
{
    const qsizetype n = std::min(na, nb);
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = a[i], y = b[i];
        if (x != y) {
            const char16_t ux = upper(x), uy = upper(y);
            if (ux != uy)
                return ux < uy ? -1 : 1;
        }
    }
    return na == nb ? 0 : (na < nb ? -1 : 1);
}

// The common case of two one-byte lines: equal stretches are passed over eight bytes at
// a time, the case of a-z is looked at only where the bytes differ.
int compareNarrow(const unsigned char* a, qsizetype na, const unsigned char* b, qsizetype nb)
{
    const qsizetype n = std::min(na, nb);
    qsizetype i = 0;
    while (i < n) {
        while (i + 8 <= n) {
            quint64 x, y;
            std::memcpy(&x, a + i, 8);
            std::memcpy(&y, b + i, 8);
            if (x != y)
                break;
            i += 8;
        }
        while (i < n && a[i] == b[i])
            ++i;
        if (i == n)
            break;
        const char16_t ux = upper(a[i]), uy = upper(b[i]);
        if (ux != uy)
            return ux < uy ? -1 : 1;
        ++i;
    }
    return na == nb ? 0 : (na < nb ? -1 : 1);
}

template <class A>
bool containsIn(A hay, qsizetype h, QStringView needle)
{
    const qsizetype n = needle.size();
    if (n == 0)
        return true;
    const char16_t first = upper(needle[0].unicode());
    for (qsizetype i = 0; i + n <= h; ++i) {
        if (upper(hay[i]) != first)
            continue;
        qsizetype k = 1;
        while (k < n && upper(hay[i + k]) == upper(needle[k].unicode()))
            ++k;
        if (k == n)
            return true;
    }
    return false;
}

} // namespace

void PackedLines::append(QStringView text, qint64 tag)
{
    const qsizetype n = text.size();
    bool wide = false;
    for (QChar c : text)
        if (c.unicode() > 0xFF) {
            wide = true;
            break;
        }
    const qsizetype bytes = wide ? 2 * n : n;
    if (blocks_.empty() || blocks_.back().size - blocks_.back().used < bytes) {
        const qsizetype size = std::max(kBlockSize, bytes);
        blocks_.push_back({std::make_unique<char[]>(size_t(size)), size, 0});
    }
    Block& b = blocks_.back();
    char* out = b.data.get() + b.used;
    if (wide)
        std::memcpy(out, text.utf16(), size_t(bytes));
    else
        for (qsizetype i = 0; i < n; ++i)
            out[i] = char(text[i].unicode());
    entries_.push_back({quint32(blocks_.size() - 1), quint32(b.used), quint32(n), wide ? 1u : 0u});
    tags_.push_back(tag);
    b.used += bytes;
}

void PackedLines::clear()
{
    blocks_.clear();
    entries_.clear();
    tags_.clear();
    entries_.shrink_to_fit();
    tags_.shrink_to_fit();
}

PackedLines::View PackedLines::view(qsizetype i) const
{
    const Entry& e = entries_[size_t(i)];
    return {blocks_[e.block].data.get() + e.offset, qsizetype(e.length), e.wide != 0};
}

QString PackedLines::text(qsizetype i) const
{
    const View v = view(i);
    if (v.wide) {
        QString s(v.length, Qt::Uninitialized);
        std::memcpy(s.data(), v.data, size_t(2 * v.length));
        return s;
    }
    return QString::fromLatin1(v.data, v.length);
}

int PackedLines::compare(qsizetype i, qsizetype j) const
{
    const View a = view(i), b = view(j);
    const auto* na = reinterpret_cast<const unsigned char*>(a.data);
    const auto* nb = reinterpret_cast<const unsigned char*>(b.data);
    if (!a.wide && !b.wide)
        return compareNarrow(na, a.length, nb, b.length);
    if (!a.wide)
        return compareAZ(Narrow{na}, a.length, Wide{b.data}, b.length);
    if (!b.wide)
        return compareAZ(Wide{a.data}, a.length, Narrow{nb}, b.length);
    return compareAZ(Wide{a.data}, a.length, Wide{b.data}, b.length);
}

int PackedLines::compare(qsizetype i, QStringView text) const
{
    const View a = view(i);
    const Utf16 t{text.utf16()};
    if (a.wide)
        return compareAZ(Wide{a.data}, a.length, t, text.size());
    return compareAZ(Narrow{reinterpret_cast<const unsigned char*>(a.data)}, a.length, t, text.size());
}

bool PackedLines::containsAZ(qsizetype i, QStringView needle) const
{
    const View v = view(i);
    if (v.wide)
        return containsIn(Wide{v.data}, v.length, needle);
    return containsIn(Narrow{reinterpret_cast<const unsigned char*>(v.data)}, v.length, needle);
}

std::vector<quint32> PackedLines::sortedOrder() const
{
    std::vector<quint32> order(entries_.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [this](quint32 x, quint32 y) { return compare(x, y) < 0; });
    return order;
}

qsizetype PackedLines::bytes() const
{
    qsizetype n = qsizetype(entries_.capacity() * sizeof(Entry) + tags_.capacity() * sizeof(qint64));
    for (const Block& b : blocks_)
        n += b.size;
    return n;
}

} // namespace orv
