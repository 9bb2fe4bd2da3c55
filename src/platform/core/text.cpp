#include "platform/core/text.h"

namespace orv::platform {

static bool isBlank(QChar c) { return c.unicode() <= 32; }

QString trimmed(const QString& s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return (b == 0 && e == s.size()) ? s : s.mid(b, e - b);
}

QString trimmedLeft(const QString& s)
{
    qsizetype b = 0;
    while (b < s.size() && isBlank(s[b]))
        ++b;
    return b == 0 ? s : s.mid(b);
}

QString trimmedRight(const QString& s)
{
    qsizetype e = s.size();
    while (e > 0 && isBlank(s[e - 1]))
        --e;
    return e == s.size() ? s : s.left(e);
}

QString upperAZ(const QString& s)
{
    QString r = s;
    for (QChar& c : r)
        c = upperAZ(c);
    return r;
}

QString lowerAZ(const QString& s)
{
    QString r = s;
    for (QChar& c : r)
        c = lowerAZ(c);
    return r;
}

int compareTextAZ(const QString& a, const QString& b)
{
    const qsizetype n = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const ushort x = upperAZ(a[i]).unicode(), y = upperAZ(b[i]).unicode();
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool containsAZ(const QString& hay, const QString& needle) { return indexOfAZ(hay, needle) >= 0; }

qsizetype indexOfAZ(QStringView hay, QStringView needle)
{
    const qsizetype n = needle.size(), h = hay.size();
    if (n == 0)
        return 0;
    const QChar first = upperAZ(needle[0]);
    // A first character that is no letter is found by the plain search.
    const bool letter = first >= u'A' && first <= u'Z';
    for (qsizetype i = 0; i + n <= h; ++i) {
        if (!letter) {
            i = hay.indexOf(first, i);
            if (i < 0 || i + n > h)
                return -1;
        }
        qsizetype k = 0;
        while (k < n && upperAZ(hay[i + k]) == upperAZ(needle[k]))
            ++k;
        if (k == n)
            return i;
    }
    return -1;
}

} // namespace orv::platform
