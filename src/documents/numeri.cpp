#include "documents/numeri.h"

#include "platform/core/formats.h"
#include "platform/core/text.h"

#include <cmath>
#include <optional>
#include <string>

namespace orv::documents {
using namespace orv::platform;
} // namespace orv::documents

namespace orv::documents {

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// 10^k in the extended format: exact up to 10^27.
long double powerOfTen(int k)
{
    long double p = 1;
    for (int i = 0; i < k; ++i) p *= 10;
    return p;
}

// The magnitude scaled to 18 digits (10^17 <= s < 10^18), rounded to a whole number with
// ties to even; `e` is the decimal exponent of its first digit.
unsigned long long eighteenDigits(long double m, int& e)
{
    const auto scaled = [m](int exp) {
        const int k = 17 - exp;
        return std::nearbyint(k >= 0 ? m * powerOfTen(k) : m / powerOfTen(-k));
    };
    e = int(std::floor(std::log10(m)));
    long double s = scaled(e);
    if (s >= 1e18L) s = scaled(++e);
    else if (s < 1e17L) s = scaled(--e);
    if (s >= 1e18L) { // rounding carried into a 19th digit: the value is 10^(e+1)
        ++e;
        s = 1e17L;
    }
    return static_cast<unsigned long long>(s);
}

} // namespace

bool readNumber(const QString& text, long double& out)
{
    const QString t = trimmed(text);
    const QChar comma = formats().decimalSeparator;
    qsizetype i = 0;
    const qsizetype n = t.size();
    QString plain;
    if (i < n && (t[i] == u'+' || t[i] == u'-')) plain += t[i++];
    const qsizetype mantissa = i;
    while (i < n && isDigit(t[i])) ++i;
    bool hasComma = false;
    if (i < n && t[i] == comma) {
        hasComma = true;
        ++i;
        while (i < n && isDigit(t[i])) ++i;
    }
    const QString body = t.mid(mantissa, i - mantissa);
    if (body.isEmpty()) return false;
    // Digits may be missing on either side of the comma; the comma alone is 0.
    plain += (hasComma && body.size() == 1) ? u"0"_qs : body;
    if (i < n && (t[i] == u'e' || t[i] == u'E')) {
        ++i;
        QString exponent;
        if (i < n && (t[i] == u'+' || t[i] == u'-')) exponent += t[i++];
        const qsizetype digits = i;
        while (i < n && isDigit(t[i])) ++i;
        exponent += i > digits ? t.mid(digits, i - digits) : u"0"_qs;
        plain += u'E' + exponent;
    }
    if (i != n) return false;
    return tryStrToFloat(plain, out) && std::isfinite(out);
}

QString numberText(long double v)
{
    if (v == 0 || !std::isfinite(v)) return u"0"_qs;
    const bool negative = v < 0;
    int e = 0;
    const unsigned long long s = eighteenDigits(negative ? -v : v, e);
    // Half up from 18 to 15 digits.
    unsigned long long d = s / 1000 + (s % 1000 >= 500 ? 1 : 0);
    if (d >= 1000000000000000ULL) {
        d /= 10;
        ++e;
    }
    std::string digits = std::to_string(d);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const QString all = QString::fromLatin1(digits.data(), qsizetype(digits.size()));
    const QChar comma = formats().decimalSeparator;

    QString out = negative ? u"-"_qs : QString();
    if (e < -4 || e >= 15) {
        out += all.left(1);
        if (all.size() > 1) out += comma + all.mid(1);
        out += u'E' + QString::number(e);
        return out;
    }
    if (e >= 0) {
        const qsizetype whole = e + 1;
        out += all.left(whole).leftJustified(whole, u'0');
        if (all.size() > whole) out += comma + all.mid(whole);
    } else {
        out += u'0' + QString(comma) + QString(-e - 1, u'0') + all;
    }
    return out;
}

double Arrotonda(double x, int n)
{
    const long double p = powerOfTen(n);
    return double(std::trunc(static_cast<long double>(x) * p + 0.5L) / p);
}

QString NormalizzaImporto(const QString& text)
{
    const QChar comma = formats().decimalSeparator;
    QString t = text;
    if (!t.contains(comma)) t += comma + u"00"_qs;
    if (trimmed(t) == comma) t = u"0"_qs + comma + u"00"_qs;
    if (t.startsWith(comma)) t = u'0' + trimmed(t);
    if (t.endsWith(comma)) t = trimmed(t) + u"00"_qs;
    if (t.size() >= 2 && t[t.size() - 2] == comma && isDigit(t.back())) t = trimmed(t) + u'0';
    return t;
}

QString shortForm(const QString& text)
{
    const QChar comma = formats().decimalSeparator;
    QString t = text;
    if (trimmed(t) == comma) t.clear();
    if (t.startsWith(comma)) t = u'0' + trimmed(t);
    if (t.endsWith(comma)) t = trimmed(t) + u"00"_qs;
    return t;
}

namespace {

// The text read and rounded to 4 decimals, in the general format; nothing when it is not
// a number a double can hold.
std::optional<QString> roundedText(const QString& text)
{
    long double v = 0;
    if (!readNumber(text, v) || !std::isfinite(double(v))) return std::nullopt;
    return numberText(Arrotonda(double(v), 4));
}

} // namespace

QString numberOnExit(const QString& text)
{
    if (trimmed(text).isEmpty()) return text;
    const std::optional<QString> r = roundedText(text);
    return r ? shortForm(*r) : QString();
}

QString priceOnExit(const QString& text)
{
    if (trimmed(text).isEmpty()) return QString();
    const std::optional<QString> r = roundedText(text);
    return r ? NormalizzaImporto(*r) : u"0"_qs + formats().decimalSeparator + u"00"_qs;
}

} // namespace orv::documents
