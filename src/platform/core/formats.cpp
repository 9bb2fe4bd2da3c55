#include "platform/core/formats.h"

#include "platform/core/exceptions.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

namespace orv::platform {

FormatSettings::FormatSettings()
{
    shortMonthNames = {u"gen"_qs, u"feb"_qs, u"mar"_qs, u"apr"_qs, u"mag"_qs, u"giu"_qs,
                       u"lug"_qs, u"ago"_qs, u"set"_qs, u"ott"_qs, u"nov"_qs, u"dic"_qs};
    longMonthNames = {u"gennaio"_qs, u"febbraio"_qs, u"marzo"_qs,     u"aprile"_qs,
                      u"maggio"_qs,  u"giugno"_qs,   u"luglio"_qs,    u"agosto"_qs,
                      u"settembre"_qs, u"ottobre"_qs, u"novembre"_qs, u"dicembre"_qs};
    shortDayNames = {u"dom"_qs, u"lun"_qs, u"mar"_qs, u"mer"_qs, u"gio"_qs, u"ven"_qs, u"sab"_qs};
    longDayNames = {u"domenica"_qs, u"lunedì"_qs,  u"martedì"_qs, u"mercoledì"_qs,
                    u"giovedì"_qs,  u"venerdì"_qs, u"sabato"_qs};
}

FormatSettings& formats()
{
    static FormatSettings settings;
    return settings;
}

void applyProgramFormats() { formats() = FormatSettings(); }

// ---------------------------------------------------------------- numbers

QString floatToStr(long double v, const FormatSettings& fs, int precision)
{
    if (std::isnan(v))
        return QStringLiteral("NAN");
    if (std::isinf(v))
        return v < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (v == 0)
        return QStringLiteral("0");
    precision = std::clamp(precision, 1, 18);

    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, precision - 1);
    std::string sci(buf, res.ptr);
    const bool negative = sci[0] == '-';
    if (negative)
        sci.erase(0, 1);
    const auto ePos = sci.find('e');
    int exponent = std::stoi(sci.substr(ePos + 1));
    std::string digits;
    for (size_t i = 0; i < ePos; ++i)
        if (sci[i] != '.')
            digits += sci[i];
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    QString out;
    if (negative)
        out += u'-';
    if (exponent >= precision || exponent < -5) {
        out += QChar(digits[0]);
        if (digits.size() > 1) {
            out += fs.decimalSeparator;
            out += QString::fromLatin1(digits.data() + 1, qsizetype(digits.size() - 1));
        }
        out += u'E';
        if (exponent < 0)
            out += u'-';
        out += QString::number(std::abs(exponent));
        return out;
    }
    if (exponent >= 0) {
        const size_t intDigits = size_t(exponent) + 1;
        std::string ip = digits.substr(0, std::min(intDigits, digits.size()));
        ip.append(intDigits > ip.size() ? intDigits - ip.size() : 0, '0');
        out += QString::fromLatin1(ip.data(), qsizetype(ip.size()));
        if (digits.size() > intDigits) {
            out += fs.decimalSeparator;
            out += QString::fromLatin1(digits.data() + intDigits, qsizetype(digits.size() - intDigits));
        }
    } else {
        out += u'0';
        out += fs.decimalSeparator;
        out += QString(-exponent - 1, u'0');
        out += QString::fromLatin1(digits.data(), qsizetype(digits.size()));
    }
    return out;
}

template <typename F>
static bool parseFloat(const QString& s, F& out, const FormatSettings& fs)
{
    std::string a;
    a.reserve(size_t(s.size()));
    qsizetype i = 0, n = s.size();
    while (i < n && s[i].unicode() <= 32)
        ++i;
    while (n > i && s[n - 1].unicode() <= 32)
        --n;
    if (i < n && (s[i] == u'+' || s[i] == u'-'))
        a += char(s[i++].unicode());
    int mantissaDigits = 0;
    while (i < n && s[i].isDigit() && s[i].unicode() < 128) {
        a += char(s[i++].unicode());
        ++mantissaDigits;
    }
    if (i < n && s[i] == fs.decimalSeparator) {
        a += '.';
        ++i;
        while (i < n && s[i].unicode() >= '0' && s[i].unicode() <= '9') {
            a += char(s[i++].unicode());
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return false;
    if (i < n && (s[i] == u'e' || s[i] == u'E')) {
        a += 'e';
        ++i;
        if (i < n && (s[i] == u'+' || s[i] == u'-'))
            a += char(s[i++].unicode());
        int expDigits = 0;
        while (i < n && s[i].unicode() >= '0' && s[i].unicode() <= '9') {
            a += char(s[i++].unicode());
            ++expDigits;
        }
        if (expDigits == 0)
            return false;
    }
    if (i != n)
        return false;
    const char* first = a.data();
    if (*first == '+')
        ++first;
    F value{};
    auto res = std::from_chars(first, a.data() + a.size(), value);
    if (res.ec != std::errc() || res.ptr != a.data() + a.size())
        return false;
    out = value;
    return true;
}

bool tryStrToFloat(const QString& s, long double& out, const FormatSettings& fs)
{
    return parseFloat(s, out, fs);
}

bool tryStrToFloat(const QString& s, double& out, const FormatSettings& fs)
{
    return parseFloat(s, out, fs);
}

bool tryStrToInt64(const QString& s, qint64& out)
{
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n && s[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (s[i] == u'+' || s[i] == u'-'))
        negative = s[i++] == u'-';
    int base = 10;
    if (i < n && s[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < n && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= n)
        return false;
    quint64 value = 0;
    const quint64 limit = negative ? quint64(1) << 63 : (quint64(1) << 63) - 1;
    for (; i < n; ++i) {
        const char16_t c = s[i].unicode();
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        if (base == 16) {
            if (value >> 60)
                return false;
            value = value * 16 + quint64(d); // hex texts may set the sign bit
        } else {
            if (value > (limit - quint64(d)) / 10)
                return false;
            value = value * 10 + quint64(d);
        }
    }
    out = negative ? qint64(0 - value) : qint64(value);
    return true;
}

bool tryStrToInt(const QString& s, int& out)
{
    qint64 v;
    if (!tryStrToInt64(s, v))
        return false;
    const bool hex = s.contains(u'$') || s.contains(u'x') || s.contains(u'X');
    if (hex && v >= 0 && v <= 0xFFFFFFFFLL)
        v = qint32(quint32(v));
    if (v < INT32_MIN || v > INT32_MAX)
        return false;
    out = int(v);
    return true;
}

// ---------------------------------------------------------------- dates

bool isLeapYear(int y) { return (y % 4 == 0) && (y % 100 != 0 || y % 400 == 0); }

int daysInMonth(int y, int m)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m < 1 || m > 12)
        return 0;
    return days[m - 1] + (m == 2 && isLeapYear(y) ? 1 : 0);
}

static qint64 daysFromCivil(qint64 y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + qint64(doe) - 719468;
}

static void civilFromDays(qint64 z, int& y, int& m, int& d)
{
    z += 719468;
    const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const qint64 yy = qint64(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = int(yy + (m <= 2));
}

static const qint64 kEpoch = daysFromCivil(1899, 12, 30);

bool tryEncodeDate(int year, int month, int day, TDateTime& out)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
        return false;
    out = double(daysFromCivil(year, unsigned(month), unsigned(day)) - kEpoch);
    return true;
}

bool tryEncodeTime(int hour, int minute, int second, int msec, TDateTime& out)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 ||
        msec > 999)
        return false;
    out = (((hour * 60 + minute) * 60 + second) * 1000.0 + msec) / 86400000.0;
    return true;
}

void decodeDate(TDateTime dt, int& year, int& month, int& day)
{
    civilFromDays(qint64(std::trunc(dt)) + kEpoch, year, month, day);
}

void decodeTime(TDateTime dt, int& hour, int& minute, int& second, int& msec)
{
    double frac = std::fabs(dt - std::trunc(dt));
    qint64 ms = qint64(std::llround(frac * 86400000.0));
    if (ms >= 86400000)
        ms = 86399999;
    msec = int(ms % 1000);
    ms /= 1000;
    second = int(ms % 60);
    ms /= 60;
    minute = int(ms % 60);
    hour = int(ms / 60);
}

int dayOfWeek(TDateTime dt)
{
    const qint64 days = qint64(std::trunc(dt)); // 30/12/1899 was a Saturday
    return int(((days % 7) + 7 + 6) % 7) + 1;
}

namespace {
struct Scanner {
    const QString& s;
    qsizetype pos = 0;
    void blanks()
    {
        while (pos < s.size() && s[pos] == u' ')
            ++pos;
    }
    bool ch(QChar c)
    {
        blanks();
        if (pos < s.size() && s[pos] == c) {
            ++pos;
            return true;
        }
        return false;
    }
    // A run of digits read while the value stays below 1000.
    bool number(int& value, int& digits)
    {
        blanks();
        value = 0;
        digits = 0;
        while (pos < s.size() && s[pos] >= u'0' && s[pos] <= u'9' && value < 1000) {
            value = value * 10 + (s[pos].unicode() - '0');
            ++pos;
            ++digits;
        }
        return digits > 0;
    }
    bool atEnd()
    {
        blanks();
        return pos == s.size();
    }
};
} // namespace

bool tryStrToDate(const QString& s, TDateTime& out, int currentYear, const FormatSettings& fs)
{
    // The order of day, month and year follows the short date format.
    QString order;
    for (QChar c : fs.shortDateFormat) {
        const QChar u = c.toUpper();
        if ((u == u'D' || u == u'M' || u == u'Y') && !order.contains(u))
            order += u;
    }
    if (order.size() != 3)
        order = QStringLiteral("DMY");

    Scanner sc{s};
    int n1, n2, n3 = 0, d1, d2, d3 = 0;
    if (!sc.number(n1, d1) || !sc.ch(fs.dateSeparator) || !sc.number(n2, d2))
        return false;
    bool hasThird = false;
    if (sc.ch(fs.dateSeparator)) {
        if (!sc.number(n3, d3))
            return false;
        hasThird = true;
        sc.ch(fs.dateSeparator);
    }
    if (!sc.atEnd())
        return false;

    int day = 0, month = 0, year = 0, yearDigits = 4;
    if (!hasThird) {
        // Two numbers: the year is the one left out, in the order of the format.
        year = currentYear;
        if (order.indexOf(u'M') < order.indexOf(u'D')) {
            month = n1;
            day = n2;
        } else {
            day = n1;
            month = n2;
        }
    } else {
        const int values[3] = {n1, n2, n3};
        const int digits[3] = {d1, d2, d3};
        for (int i = 0; i < 3; ++i) {
            if (order[i] == u'D')
                day = values[i];
            else if (order[i] == u'M')
                month = values[i];
            else {
                year = values[i];
                yearDigits = digits[i];
            }
        }
        if (yearDigits <= 2) {
            const int base = currentYear - fs.twoDigitYearCenturyWindow;
            year += base / 100 * 100;
            if (fs.twoDigitYearCenturyWindow > 0 && year < base)
                year += 100;
        }
    }
    return tryEncodeDate(year, month, day, out);
}

bool tryStrToTime(const QString& s, TDateTime& out, const FormatSettings& fs)
{
    Scanner sc{s};
    int h, m, sec = 0, ms = 0, dg;
    if (!sc.number(h, dg) || !sc.ch(fs.timeSeparator) || !sc.number(m, dg))
        return false;
    if (sc.ch(fs.timeSeparator)) {
        if (!sc.number(sec, dg))
            return false;
        if (sc.ch(u'.') && !sc.number(ms, dg))
            return false;
    }
    sc.blanks();
    const QString rest = s.mid(sc.pos).trimmed().toUpper();
    if (!rest.isEmpty()) {
        const bool pm = rest == fs.timePMString.toUpper() || rest == u"PM"_qs;
        const bool am = rest == fs.timeAMString.toUpper() || rest == u"AM"_qs;
        if (!pm && !am)
            return false;
        if (h < 1 || h > 12)
            return false;
        if (am && h == 12)
            h = 0;
        if (pm && h < 12)
            h += 12;
    }
    return tryEncodeTime(h, m, sec, ms, out);
}

namespace {
struct DateTimeWriter {
    const FormatSettings& fs;
    TDateTime dt;
    QString out;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, msec = 0;

    void number(int v, int width) { out += QString::number(v).rightJustified(width, u'0'); }

    static bool startsWithCI(const QString& f, qsizetype at, const char* what)
    {
        const qsizetype n = qsizetype(std::strlen(what));
        if (at + n > f.size())
            return false;
        for (qsizetype k = 0; k < n; ++k)
            if (f[at + k].toUpper() != QChar(what[k]))
                return false;
        return true;
    }

    void append(const QString& f, int level)
    {
        if (level >= 2)
            return;
        QChar lastToken = u' ';
        bool use12 = false;
        qsizetype i = 0;
        while (i < f.size()) {
            // Each part writes a few dozen characters at most: checked between parts.
            if (out.size() > kMaxFormattedLength)
                formattedTooLong();
            const QChar starter = f[i];
            QChar token = starter.toUpper();
            ++i;
            auto count = [&]() {
                int c = 1;
                while (i < f.size() && f[i].toUpper() == starter.toUpper()) {
                    ++i;
                    ++c;
                }
                return c;
            };
            if (token >= u'A' && token <= u'Z') {
                if (token == u'M' && lastToken == u'H')
                    token = u'N';
                lastToken = token;
            }
            switch (token.unicode()) {
            case 'Y': {
                const int c = count();
                c <= 2 ? number(year % 100, 2) : number(year, 4);
                break;
            }
            case 'M': {
                const int c = count();
                if (c <= 2)
                    number(month, c);
                else
                    out += (c == 3 ? fs.shortMonthNames : fs.longMonthNames).value(month - 1);
                break;
            }
            case 'D': {
                const int c = count();
                if (c <= 2)
                    number(day, c);
                else if (c == 3)
                    out += fs.shortDayNames.value(dayOfWeek(dt) - 1);
                else if (c == 4)
                    out += fs.longDayNames.value(dayOfWeek(dt) - 1);
                else
                    append(c == 5 ? fs.shortDateFormat : fs.longDateFormat, level + 1);
                break;
            }
            case 'H': {
                const int c = count();
                // A later am/pm code before the next hour code switches to the 12-hour clock.
                bool quoted = false;
                use12 = false;
                for (qsizetype p = i; p < f.size(); ++p) {
                    const QChar q = f[p];
                    if (q == u'\'' || q == u'"')
                        quoted = !quoted;
                    else if (!quoted && (q == u'A' || q == u'a')) {
                        use12 = startsWithCI(f, p, "AM/PM") || startsWithCI(f, p, "A/P") ||
                                startsWithCI(f, p, "AMPM");
                        break;
                    } else if (!quoted && (q == u'H' || q == u'h'))
                        break;
                }
                int h = hour;
                if (use12)
                    h = h == 0 ? 12 : (h > 12 ? h - 12 : h);
                number(h, c >= 2 ? 2 : 1);
                break;
            }
            case 'N': {
                const int c = count();
                number(minute, c >= 2 ? 2 : 1);
                break;
            }
            case 'S': {
                const int c = count();
                number(second, c >= 2 ? 2 : 1);
                break;
            }
            case 'Z': {
                const int c = count();
                number(msec, c <= 2 ? 1 : 3);
                break;
            }
            case 'T': {
                const int c = count();
                append(c == 1 ? fs.shortTimeFormat : fs.longTimeFormat, level + 1);
                break;
            }
            case 'C':
                count();
                appendC(level);
                break;
            case 'A': {
                const qsizetype p = i - 1;
                if (startsWithCI(f, p, "AM/PM")) {
                    out += hour >= 12 ? f.mid(p + 3, 2) : f.mid(p, 2);
                    i = p + 5;
                } else if (startsWithCI(f, p, "A/P")) {
                    out += hour >= 12 ? f.mid(p + 2, 1) : f.mid(p, 1);
                    i = p + 3;
                } else if (startsWithCI(f, p, "AMPM")) {
                    out += hour < 12 ? fs.timeAMString : fs.timePMString;
                    i = p + 4;
                } else if (startsWithCI(f, p, "AAAA")) {
                    out += fs.longDayNames.value(dayOfWeek(dt) - 1);
                    i = p + 4;
                } else if (startsWithCI(f, p, "AAA")) {
                    out += fs.shortDayNames.value(dayOfWeek(dt) - 1);
                    i = p + 3;
                } else
                    out += starter;
                break;
            }
            case '/':
                out += fs.dateSeparator;
                break;
            case ':':
                out += fs.timeSeparator;
                break;
            case '\'':
            case '"': {
                const qsizetype start = i;
                while (i < f.size() && f[i] != starter)
                    ++i;
                out += f.mid(start, i - start);
                if (i < f.size())
                    ++i;
                break;
            }
            default:
                out += starter;
            }
        }
    }

    void appendC(int level)
    {
        append(fs.shortDateFormat, level + 1);
        if (hour != 0 || minute != 0 || second != 0) {
            out += u' ';
            append(fs.longTimeFormat, level + 1);
        }
    }
};
} // namespace

QString formatDateTime(const QString& picture, TDateTime dt, const FormatSettings& fs)
{
    DateTimeWriter w{fs, dt, {}};
    decodeDate(dt, w.year, w.month, w.day);
    decodeTime(dt, w.hour, w.minute, w.second, w.msec);
    if (picture.isEmpty())
        w.appendC(0);
    else
        w.append(picture, 0);
    if (w.out.size() > kMaxFormattedLength)
        formattedTooLong();
    return w.out;
}

QString dateToStr(TDateTime dt, const FormatSettings& fs)
{
    return formatDateTime(fs.shortDateFormat, dt, fs);
}

QString timeToStr(TDateTime dt, const FormatSettings& fs)
{
    return formatDateTime(fs.longTimeFormat, dt, fs);
}

QString dateTimeToStr(TDateTime dt, const FormatSettings& fs) { return formatDateTime(u"c"_qs, dt, fs); }

} // namespace orv::platform
