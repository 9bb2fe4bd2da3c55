#include "archive/helpers.h"

#include <cmath>

#include "platform/core/formats.h"
#include "platform/core/services.h"
#include "platform/core/text.h"

namespace orv::archive {

QString Sinistra(const QString& s, int n) { return n <= 0 ? QString() : s.left(n); }

QString Destra(const QString& s, int n) { return n <= 0 ? QString() : s.right(n); }

bool SoloCifre(const QString& s)
{
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

bool DataValida(const QString& s)
{
    orv::platform::TDateTime d;
    return orv::platform::tryStrToDate(s, d, orv::platform::currentYear());
}

double Arrotonda(double x, int n)
{
    double p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return double(std::floor(static_cast<long double>(x) * p + 0.5L) / p);
}

namespace {

// Read, round to n decimals, write back in the shortest form; false for a non-number.
bool roundedText(const QString& text, int n, QString& out)
{
    double v;
    if (!orv::platform::tryStrToFloat(text, v))
        return false;
    out = orv::platform::floatToStr(Arrotonda(v, n));
    return true;
}

} // namespace

QString NormalizzaImporto(const QString& text, orv::archive::AmountKind kind, int n, const QString& fallback)
{
    const QChar comma = orv::platform::formats().decimalSeparator;
    const QString t = orv::platform::trimmed(text);
    QString r;
    switch (kind) {
    case orv::archive::AmountKind::Money:
        if (t.isEmpty() || !roundedText(t, n, r))
            return u"0,00"_qs;
        if (!r.contains(comma))
            r += u",00"_qs;
        if (r == comma)
            return u"0,00"_qs;
        if (r.startsWith(comma))
            r.prepend(u'0');
        if (r.endsWith(comma))
            r += u"00"_qs;
        if (r.size() >= 2 && r[r.size() - 2] == comma && r.back() >= u'0' && r.back() <= u'9')
            r += u'0';
        return r;
    case orv::archive::AmountKind::Short:
        if (t.isEmpty())
            return t;
        if (!roundedText(t, n, r) || r == comma)
            return fallback;
        if (r.startsWith(comma))
            r.prepend(u'0');
        if (r.endsWith(comma))
            r += u"00"_qs;
        return r;
    case orv::archive::AmountKind::Whole:
        if (t.isEmpty() || !roundedText(t, 0, r) || r == comma || r.startsWith(comma) || r.endsWith(comma))
            return u"0"_qs;
        return r;
    }
    return r;
}

} // namespace orv::archive
