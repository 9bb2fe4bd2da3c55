#include "platform/core/cp1252.h"

namespace orv::platform::cp1252 {

static const char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t toUnicode(unsigned char b)
{
    return (b >= 0x80 && b < 0xA0) ? kHigh[b - 0x80] : char16_t(b);
}

int fromUnicode(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == c)
            return 0x80 + i;
    return -1;
}

QString decode(const char* data, qsizetype size)
{
    QString r(size, Qt::Uninitialized);
    QChar* out = r.data();
    for (qsizetype i = 0; i < size; ++i)
        out[i] = QChar(toUnicode(static_cast<unsigned char>(data[i])));
    return r;
}

QString decode(const QByteArray& bytes) { return decode(bytes.constData(), bytes.size()); }

QByteArray encode(const QString& text, bool* lossless)
{
    QByteArray r(text.size(), Qt::Uninitialized);
    bool ok = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int b = fromUnicode(text[i].unicode());
        if (b < 0)
            ok = false;
        r[i] = char(b < 0 ? '?' : b);
    }
    if (lossless)
        *lossless = ok;
    return r;
}

bool canEncode(const QString& text)
{
    for (QChar c : text)
        if (fromUnicode(c.unicode()) < 0)
            return false;
    return true;
}

} // namespace orv::platform::cp1252
