#include "shell/crypt.h"

namespace orv::shell {

namespace {

constexpr quint16 kStartKey = 7316;

quint16 nextKey(quint16 key, unsigned scrambled)
{
    return quint16((scrambled + key) * 40493u + 52841u);
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    if (u >= u'a' && u <= u'f') return u - u'a' + 10;
    return -1;
}

} // namespace

// Texts of any length are handled whole: the original's 8-bit character counter would
// have silently dropped everything past the 255th character.
QString Cifra(const QString& plain)
{
    static const char digits[] = "0123456789ABCDEF";
    QString out;
    out.reserve(plain.size() * 2);
    quint16 key = kStartKey;
    for (QChar c : plain) {
        const unsigned s = (c.unicode() & 0xFFu) ^ (key >> 8);
        out += QLatin1Char(digits[s >> 4]);
        out += QLatin1Char(digits[s & 0xF]);
        key = nextKey(key, s);
    }
    return out;
}

QString Decifra(const QString& hex)
{
    const qsizetype n = hex.size() / 2;
    QString out;
    out.reserve(n);
    quint16 key = kStartKey;
    for (qsizetype i = 0; i < n; ++i) {
        const int hi = hexDigit(hex[2 * i]);
        const int lo = hexDigit(hex[2 * i + 1]);
        if (hi < 0 || lo < 0)
            throw orv::shell::ConversionError(("'" + hex.mid(2 * i, 2) + "' is not a valid hexadecimal value").toStdString());
        const unsigned s = unsigned(hi * 16 + lo);
        out += QChar(char16_t(s ^ (key >> 8)));
        key = nextKey(key, s);
    }
    return out;
}

} // namespace orv::shell
