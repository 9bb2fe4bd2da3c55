#include "platform/core/packedlines.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orv::platform {

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
    // Room for two bytes a character; one pass copies the line as one byte a character
    // and learns whether it needed two.
    if (blocks_.empty() || blocks_.back().size - blocks_.back().used < 2 * n) {
        const qsizetype size = std::max(kBlockSize, 2 * n);
        // Not zeroed: every byte of a block is written before it is read.
        blocks_.push_back({std::unique_ptr<char[]>(new char[size_t(size)]), size, 0});
    }
    Block& b = blocks_.back();
    char* out = b.data.get() + b.used;
    const char16_t* in = text.utf16();
    char16_t all = 0;
    qsizetype i = 0;
#if defined(__SSE2__)
    // Sixteen characters a step: a character past 255 saturates in the packing, but then
    // the line is copied again as two bytes a character anyway.
    __m128i any = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 8));
        any = _mm_or_si128(any, _mm_or_si128(x, y));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(x, y));
    }
    alignas(16) char16_t lanes[8];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), any);
    for (char16_t c : lanes)
        all |= c;
#endif
    for (; i < n; ++i) {
        all |= in[i];
        out[i] = char(in[i]);
    }
    const bool wide = all > 0xFF;
    if (wide) {
        std::memcpy(out, in, size_t(2 * n));
        anyWide_ = true;
    }
    entries_.push_back({quint32(blocks_.size() - 1), quint32(b.used), quint32(n), wide ? 1u : 0u});
    tags_.push_back(tag);
    b.used += wide ? 2 * n : n;
}

void PackedLines::append(QLatin1StringView text, qint64 tag)
{
    const qsizetype n = text.size();
    if (blocks_.empty() || blocks_.back().size - blocks_.back().used < n) {
        const qsizetype size = std::max(kBlockSize, n);
        blocks_.push_back({std::unique_ptr<char[]>(new char[size_t(size)]), size, 0});
    }
    Block& b = blocks_.back();
    std::memcpy(b.data.get() + b.used, text.data(), size_t(n));
    entries_.push_back({quint32(blocks_.size() - 1), quint32(b.used), quint32(n), 0u});
    tags_.push_back(tag);
    b.used += n;
}

void PackedLines::clear()
{
    anyWide_ = false;
    blocks_.clear();
    entries_.clear();
    tags_.clear();
    entries_.shrink_to_fit();
    tags_.shrink_to_fit();
}

void PackedLines::truncate(qsizetype lines)
{
    if (lines >= size())
        return;
    lines = std::max<qsizetype>(lines, 0);
    entries_.resize(size_t(lines));
    tags_.resize(size_t(lines));
    // The blocks past the last line kept go; the text of the lines taken back from the
    // last block kept stays unused until the block is.
    const size_t blocks = entries_.empty() ? 0 : size_t(entries_.back().block) + 1;
    blocks_.resize(blocks);
    if (!entries_.empty()) {
        const Entry& e = entries_.back();
        blocks_.back().used = qsizetype(e.offset) + qsizetype(e.length) * (e.wide ? 2 : 1);
    }
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

// The sort goes a few characters at a time: each line's next characters, A-Z folded,
// become a key kept beside its number, the keys are sorted, and each run of lines with
// equal keys goes on with the characters after them. Comparing lines one pair at a time
// would touch the whole buffer at random for every comparison; a key is read once per
// line and level, and a run's lines are soon few enough to stay in the cache. A key
// holds thirty-two characters of one byte, or sixteen of two bytes when some line has
// characters past Latin-1: the first level reads the lines in the order they lie, and
// with a key that long most lists (a name column and what follows it) need one level
// after it at most. Short runs, and runs still equal after many characters, are
// finished by comparing whole lines. Each key carries where its line is, so that a level
// past the first reads the line's bytes directly rather than first looking the line up
// in the list of lines at random.
namespace {
constexpr int kKeyWords = 4;          // 64-bit words of characters in a key
constexpr int kKeyBytes = 8 * kKeyWords;
constexpr int kRestDigit = kKeyBytes; // the digit after the characters: how many are left
} // namespace

struct PackedLines::SortKey {
    quint64 word[kKeyWords]; // the next characters, most significant first, 0 past the end
    const char* data;        // the line's characters
    quint32 line;
    quint32 length : 31, wide : 1;
};

namespace {
inline quint64 bigEndian(const unsigned char* p)
{
    quint64 v = 0;
    for (int i = 0; i < 8; ++i)
        v = (v << 8) | p[i];
    return v;
}

// Characters left from `depth`, up to one more than a key holds: keys equal in their
// characters order a line that ends before one that goes on.
inline quint32 restOf(quint32 length, qsizetype depth, qsizetype step)
{
    const qsizetype rest = qsizetype(length) - depth;
    return quint32(rest > step ? step + 1 : std::max<qsizetype>(rest, 0));
}

// Byte `d` of a key, most significant first: the bytes of its characters, then how many
// characters are left (a line that ends before the key is full comes first).
template <class Key>
inline unsigned digitOf(const Key& k, int d, qsizetype depth, qsizetype step)
{
    if (d < kRestDigit)
        return unsigned(k.word[d / 8] >> (56 - 8 * (d % 8))) & 0xFFu;
    return restOf(k.length, depth, step);
}

template <class Key>
inline bool sameCharacters(const Key& a, const Key& b)
{
    for (int w = 0; w < kKeyWords; ++w)
        if (a.word[w] != b.word[w])
            return false;
    return true;
}

// Sorts keys by their characters and the characters left, keeping the order of equal
// ones: by one byte at a time from the first, each bucket on its own. The bytes every key
// of a bucket shares (the rest of a column of blanks, a name common to the bucket) are
// passed over without moving a key.
template <class Key, class Less>
void radixSort(Key* first, Key* last, Key* temp, int digit, qsizetype depth, qsizetype step, const Less& less)
{
    constexpr qsizetype kSmall = 32;
    for (;;) {
        const qsizetype n = last - first;
        if (n < kSmall) {
            // Insertion sort: stable, and quick on the few keys left.
            for (Key* i = first + 1; i < last; ++i) {
                Key k = *i;
                Key* j = i;
                for (; j > first && less(k, j[-1]); --j)
                    *j = j[-1];
                *j = k;
            }
            return;
        }
        quint64 differ[kKeyWords] = {};
        bool rest = false;
        const quint32 rest0 = restOf(first->length, depth, step);
        for (const Key* k = first; k != last; ++k) {
            for (int w = 0; w < kKeyWords; ++w)
                differ[w] |= k->word[w] ^ first->word[w];
            rest |= restOf(k->length, depth, step) != rest0;
        }
        while (digit <= kRestDigit) {
            const bool varies = digit < kRestDigit ? ((differ[digit / 8] >> (56 - 8 * (digit % 8))) & 0xFF) != 0 : rest;
            if (varies)
                break;
            ++digit;
        }
        if (digit > kRestDigit)
            return; // every key the same
        qsizetype count[257] = {};
        for (const Key* k = first; k != last; ++k)
            ++count[digitOf(*k, digit, depth, step) + 1];
        for (int b = 0; b < 256; ++b)
            count[b + 1] += count[b];
        qsizetype at[256];
        std::copy(count, count + 256, at);
        for (const Key* k = first; k != last; ++k)
            temp[at[digitOf(*k, digit, depth, step)]++] = *k;
        std::copy(temp, temp + n, first);
        if (digit == kRestDigit)
            return; // the last digit: each bucket holds equal keys
        // Every bucket but the largest by recursion, the largest by the loop, so that the
        // stack stays shallow whatever the keys.
        int largest = 0;
        for (int b = 1; b < 256; ++b)
            if (count[b + 1] - count[b] > count[largest + 1] - count[largest])
                largest = b;
        for (int b = 0; b < 256; ++b)
            if (b != largest && count[b + 1] - count[b] > 1)
                radixSort(first + count[b], first + count[b + 1], temp, digit + 1, depth, step, less);
        last = first + count[largest + 1];
        first += count[largest];
        ++digit;
    }
}

} // namespace

void PackedLines::fillKey(SortKey& k, qsizetype depth, qsizetype step) const
{
    const qsizetype length = k.length;
    const qsizetype end = std::min(length, depth + step);
    if (step == kKeyBytes) {
        unsigned char bytes[kKeyBytes] = {};
        const auto* n = reinterpret_cast<const unsigned char*>(k.data);
        for (qsizetype c = depth; c < end; ++c)
            bytes[c - depth] = (n[c] >= 'a' && n[c] <= 'z') ? n[c] - 32 : n[c];
        for (int w = 0; w < kKeyWords; ++w)
            k.word[w] = bigEndian(bytes + 8 * w);
    } else {
        quint64 part[kKeyWords] = {};
        for (qsizetype c = depth; c < end; ++c) {
            const char16_t ch = k.wide ? Wide{k.data}[c] : char16_t(static_cast<unsigned char>(k.data[c]));
            part[(c - depth) / 4] |= quint64(upper(ch)) << (48 - 16 * ((c - depth) % 4));
        }
        std::copy(part, part + kKeyWords, k.word);
    }
}

void PackedLines::sortKeys(SortKey* first, SortKey* last, qsizetype depth) const
{
    // Equal keys with rest up to a key's length are equal lines (a line that ends is a
    // prefix of the longer ones with the same key); line numbers keep equal lines in order.
    constexpr qsizetype kShortRun = 24, kDeepest = 256;
    if (last - first < kShortRun || depth >= kDeepest) {
        std::sort(first, last, [this](const SortKey& a, const SortKey& b) {
            const int c = compare(a.line, b.line);
            return c != 0 ? c < 0 : a.line < b.line;
        });
        return;
    }
    const qsizetype step = anyWide_ ? kKeyBytes / 2 : kKeyBytes;
    constexpr qsizetype kAhead = 32;
    for (SortKey* k = first; k != last; ++k) {
        // The lines are all over the buffer: ask for the ones a few keys ahead early.
        if (last - k > kAhead) {
            // Both ends of the characters a key takes: they may lie in two cache lines.
            const char* at = k[kAhead].data + (k[kAhead].wide ? 2 : 1) * depth;
            __builtin_prefetch(at);
            __builtin_prefetch(at + kKeyBytes - 1);
        }
        fillKey(*k, depth, step);
    }
    const auto less = [depth, step](const SortKey& a, const SortKey& b) {
        for (int w = 0; w < kKeyWords; ++w)
            if (a.word[w] != b.word[w])
                return a.word[w] < b.word[w];
        const quint32 ra = restOf(a.length, depth, step), rb = restOf(b.length, depth, step);
        if (ra != rb)
            return ra < rb;
        return a.line < b.line;
    };
    // A run comes out of the level above in line order; when its lines also agree in
    // these characters (a column that is the same all down the run) it is already sorted.
    if (!std::is_sorted(first, last, less)) {
        std::vector<SortKey> temp(size_t(last - first));
        radixSort(first, last, temp.data(), 0, depth, step, less);
    }
    const auto sameKey = [depth, step](const SortKey& a, const SortKey& b) {
        return sameCharacters(a, b) && restOf(a.length, depth, step) == restOf(b.length, depth, step);
    };
    for (SortKey* run = first; run != last;) {
        SortKey* end = run + 1;
        while (end != last && sameKey(*run, *end))
            ++end;
        if (restOf(run->length, depth, step) == quint32(step + 1) && end - run > 1)
            sortKeys(run, end, depth + step);
        run = end;
    }
}

std::vector<quint32> PackedLines::sortedOrder() const
{
    std::vector<SortKey> keys(entries_.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        const Entry& e = entries_[i];
        SortKey& k = keys[i];
        k.data = blocks_[e.block].data.get() + e.offset;
        k.line = quint32(i);
        k.length = e.length;
        k.wide = e.wide;
    }
    sortKeys(keys.data(), keys.data() + keys.size(), 0);
    std::vector<quint32> order(keys.size());
    for (size_t i = 0; i < keys.size(); ++i)
        order[i] = keys[i].line;
    return order;
}

qsizetype PackedLines::bytes() const
{
    qsizetype n = qsizetype(entries_.capacity() * sizeof(Entry) + tags_.capacity() * sizeof(qint64));
    for (const Block& b : blocks_)
        n += b.size;
    return n;
}

} // namespace orv::platform
