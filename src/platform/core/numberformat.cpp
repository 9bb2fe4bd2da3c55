#include "platform/core/numberformat.h"

#include <charconv>
#include <cmath>
#include <string>
#include <vector>

namespace orv::platform {

namespace {

// |v| as decimal digits: value = 0.digits x 10^exponent, 18 significant digits at most,
// no leading or trailing zeros; zero has no digits.
struct Decimal {
    std::string digits;
    int exponent = 0;
};

Decimal toDecimal(long double v)
{
    Decimal d;
    v = std::fabs(v);
    if (v == 0)
        return d;
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 17);
    const std::string sci(buf, res.ptr);
    const auto e = sci.find('e');
    for (size_t i = 0; i < e; ++i)
        if (sci[i] != '.')
            d.digits += sci[i];
    d.exponent = std::stoi(sci.substr(e + 1)) + 1;
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    return d;
}

// Rounds half away from zero so that at most `fraction` digits follow the point.
void roundAt(Decimal& d, int fraction)
{
    const long keep = long(d.exponent) + fraction;
    if (keep >= long(d.digits.size()))
        return;
    if (keep < 0) {
        d.digits.clear();
        d.exponent = 0;
        return;
    }
    const bool up = d.digits[size_t(keep)] >= '5';
    d.digits.resize(size_t(keep));
    if (up) {
        long i = keep - 1;
        for (; i >= 0; --i) {
            if (d.digits[size_t(i)] == '9') {
                d.digits[size_t(i)] = '0';
            } else {
                ++d.digits[size_t(i)];
                break;
            }
        }
        if (i < 0) {
            d.digits.insert(d.digits.begin(), '1');
            ++d.exponent;
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    if (d.digits.empty())
        d.exponent = 0;
}

QString integerDigits(const Decimal& d)
{
    QString s;
    for (int i = 0; i < d.exponent; ++i)
        s += size_t(i) < d.digits.size() ? QChar(d.digits[size_t(i)]) : QChar(u'0');
    return s;
}

QString fractionDigits(const Decimal& d, int count)
{
    QString s;
    for (int i = 0; i < count; ++i) {
        const long at = long(d.exponent) + i;
        s += at >= 0 && size_t(at) < d.digits.size() ? QChar(d.digits[size_t(at)]) : QChar(u'0');
    }
    return s;
}

QString grouped(const QString& digits, QChar separator)
{
    QString out;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += separator;
        out += digits[i];
    }
    return out;
}

// ---------------------------------------------------------------- pictures

QStringList pictureSections(const QString& picture)
{
    QStringList sections{QString()};
    QChar quote;
    for (QChar c : picture) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u';') {
            sections << QString();
            continue;
        }
        sections.last() += c;
    }
    return sections;
}

struct Picture {
    struct Token {
        enum Kind { Literal, IntDigit, FracDigit, Point, Exponent } kind;
        QString text;
    };
    std::vector<Token> tokens;
    int intPlaceholders = 0;
    int minInt = 0;
    int fracMax = 0;
    int fracMin = 0;
    bool grouping = false;
    bool scientific = false;
    bool expPlus = false;
    int expDigits = 0;
    QString expLetter;
};

Picture parsePicture(const QString& section)
{
    Picture p;
    bool afterPoint = false;
    int firstZero = -1;
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section[i];
        if (c == u'\'' || c == u'"') {
            qsizetype end = section.indexOf(c, i + 1);
            if (end < 0)
                end = section.size();
            p.tokens.push_back({Picture::Token::Literal, section.mid(i + 1, end - i - 1)});
            i = end;
        } else if (c == u'0' || c == u'#') {
            if (p.scientific) {
                p.tokens.push_back({Picture::Token::Literal, QString(c)});
            } else if (afterPoint) {
                ++p.fracMax;
                if (c == u'0')
                    p.fracMin = p.fracMax;
                p.tokens.push_back({Picture::Token::FracDigit, QString()});
            } else {
                if (c == u'0' && firstZero < 0)
                    firstZero = p.intPlaceholders;
                ++p.intPlaceholders;
                p.tokens.push_back({Picture::Token::IntDigit, QString()});
            }
        } else if (c == u'.' && !p.scientific) {
            if (!afterPoint) {
                afterPoint = true;
                p.tokens.push_back({Picture::Token::Point, QString()});
            }
        } else if (c == u',' && !p.scientific) {
            p.grouping = true;
        } else if ((c == u'E' || c == u'e') && !p.scientific && i + 1 < section.size()
                   && (section[i + 1] == u'+' || section[i + 1] == u'-')) {
            p.scientific = true;
            p.expLetter = QString(c);
            p.expPlus = section[i + 1] == u'+';
            i += 2;
            while (i < section.size() && section[i] == u'0' && p.expDigits < 4) {
                ++p.expDigits;
                ++i;
            }
            --i;
            p.tokens.push_back({Picture::Token::Exponent, QString()});
        } else {
            p.tokens.push_back({Picture::Token::Literal, QString(c)});
        }
    }
    if (firstZero >= 0)
        p.minInt = p.intPlaceholders - firstZero;
    return p;
}

bool hasPlaceholders(const Picture& p)
{
    return p.intPlaceholders + p.fracMax > 0;
}

// The number as the picture rounds it.
Decimal roundedFor(const Picture& p, long double v, int& exponent)
{
    Decimal d = toDecimal(v);
    exponent = 0;
    if (p.scientific && !d.digits.empty()) {
        const int intDigits = std::max(p.intPlaceholders, 1);
        exponent = d.exponent - intDigits;
        d.exponent = intDigits;
        roundAt(d, p.fracMax);
        if (d.exponent > intDigits) { // 9.99 became 10.0
            d.exponent = intDigits;
            ++exponent;
        }
    } else {
        roundAt(d, p.fracMax);
    }
    return d;
}

QString applyPicture(const Picture& p, const Decimal& d, int exponent, bool minus, const FormatSettings& fs)
{
    QString intStr = integerDigits(d);
    if (intStr.size() < p.minInt)
        intStr = QString(p.minInt - intStr.size(), u'0') + intStr;
    QString frac = fractionDigits(d, p.fracMax);
    while (frac.size() > p.fracMin && frac.endsWith(u'0'))
        frac.chop(1);

    QString out;
    if (minus)
        out += u'-';
    auto emitDigit = [&](qsizetype j) {
        if (p.grouping && j > 0 && (intStr.size() - j) % 3 == 0)
            out += fs.thousandSeparator;
        out += intStr[j];
    };
    const qsizetype excess = intStr.size() - p.intPlaceholders;
    int intSeen = 0, fracSeen = 0;
    bool intEmitted = p.intPlaceholders > 0;
    for (const Picture::Token& t : p.tokens) {
        switch (t.kind) {
        case Picture::Token::Literal:
            out += t.text;
            break;
        case Picture::Token::IntDigit: {
            if (intSeen == 0)
                for (qsizetype j = 0; j < excess; ++j)
                    emitDigit(j);
            const qsizetype j = excess + intSeen;
            if (j >= 0)
                emitDigit(j);
            ++intSeen;
            break;
        }
        case Picture::Token::Point:
            if (!intEmitted) {
                for (qsizetype j = 0; j < intStr.size(); ++j)
                    emitDigit(j);
                intEmitted = true;
            }
            if (!frac.isEmpty())
                out += fs.decimalSeparator;
            break;
        case Picture::Token::FracDigit:
            if (fracSeen < frac.size())
                out += frac[fracSeen];
            ++fracSeen;
            break;
        case Picture::Token::Exponent:
            out += p.expLetter;
            if (exponent < 0)
                out += u'-';
            else if (p.expPlus)
                out += u'+';
            out += QString::number(std::abs(exponent)).rightJustified(p.expDigits, u'0');
            break;
        }
    }
    if (!intEmitted)
        out += intStr;
    return out;
}

} // namespace

QString formatFloatPicture(const QString& picture, long double value, const FormatSettings& fs)
{
    if (picture.isEmpty() || std::isnan(value) || std::isinf(value))
        return floatToStr(value, fs, 15);
    const QStringList sections = pictureSections(picture);
    QString section = sections[0];
    bool minus = false;
    if (value < 0) {
        if (sections.size() >= 2 && !sections[1].isEmpty())
            section = sections[1];
        else
            minus = true;
    }
    Picture p = parsePicture(section);
    int exponent = 0;
    Decimal d = roundedFor(p, value, exponent);
    if (d.digits.empty()) {
        // Zero, or a value the picture rounds to zero: the zero section, without a sign.
        minus = false;
        if (sections.size() >= 3 && !sections[2].isEmpty()) {
            p = parsePicture(sections[2]);
            d = roundedFor(p, 0, exponent);
        } else if (section != sections[0]) {
            p = parsePicture(sections[0]);
            d = roundedFor(p, 0, exponent);
        }
    }
    if (!hasPlaceholders(p)) {
        QString out;
        for (const Picture::Token& t : p.tokens)
            out += t.text;
        return out;
    }
    return applyPicture(p, d, exponent, minus, fs);
}

// ---------------------------------------------------------------- format strings

QString invalidFormatText(const QString& format)
{
    return QStringLiteral("Format '%1' invalid or incompatible with argument").arg(format);
}

QString argumentMissingText(const QString& format)
{
    return QStringLiteral("No argument for format '%1'").arg(format);
}

namespace {

QString fixed(long double v, int decimals, bool grouping, const FormatSettings& fs)
{
    Decimal d = toDecimal(v);
    roundAt(d, decimals);
    QString intStr = integerDigits(d);
    if (intStr.isEmpty())
        intStr = QStringLiteral("0");
    QString out;
    if (v < 0 && !d.digits.empty())
        out += u'-';
    out += grouping ? grouped(intStr, fs.thousandSeparator) : intStr;
    if (decimals > 0) {
        out += fs.decimalSeparator;
        out += fractionDigits(d, decimals);
    }
    return out;
}

QString scientific(long double v, int digits, const FormatSettings& fs)
{
    Decimal d = toDecimal(v);
    int exponent = 0;
    if (!d.digits.empty()) {
        exponent = d.exponent - 1;
        d.exponent = 1;
        roundAt(d, digits - 1);
        if (d.exponent > 1) {
            d.exponent = 1;
            ++exponent;
        }
    }
    QString out;
    if (v < 0 && !d.digits.empty())
        out += u'-';
    out += d.digits.empty() ? QStringLiteral("0") : integerDigits(d);
    if (digits > 1) {
        out += fs.decimalSeparator;
        out += fractionDigits(d, digits - 1);
    }
    out += u'E';
    out += exponent < 0 ? u'-' : u'+';
    out += QString::number(std::abs(exponent)).rightJustified(3, u'0');
    return out;
}

QString money(long double v, int decimals, const FormatSettings& fs)
{
    // The Italian currency format: amount, blank, euro sign.
    const QString amount = fixed(std::fabs(v), decimals, true, fs);
    bool nonZero = false;
    for (QChar c : amount)
        nonZero = nonZero || (c >= u'1' && c <= u'9');
    const bool negative = v < 0 && nonZero;
    return (negative ? QStringLiteral("-") : QString()) + amount + QStringLiteral(" \u20AC");
}

} // namespace

QString formatString(const QString& format, std::span<const FormatArg> args, const FormatSettings& fs)
{
    QString out;
    out.reserve(format.size() + 16);
    size_t next = 0;
    const qsizetype n = format.size();
    auto invalid = [&]() -> QString { throw EConvertError(invalidFormatText(format)); };
    auto argument = [&]() -> const FormatArg& {
        if (next >= args.size())
            throw EConvertError(argumentMissingText(format));
        return args[next++];
    };
    // A number written in the directive, or "*" taken from the next argument; -1 when
    // there is neither.
    auto readNumber = [&](qsizetype& i) -> qint64 {
        if (i < n && format[i] == u'*') {
            ++i;
            const FormatArg& a = argument();
            if (a.kind != FormatArg::Kind::Integer)
                invalid();
            return a.integer;
        }
        qint64 v = -1;
        while (i < n && format[i] >= u'0' && format[i] <= u'9') {
            v = (v < 0 ? 0 : v) * 10 + (format[i].unicode() - u'0');
            if (v > 1000000)
                invalid();
            ++i;
        }
        return v;
    };

    for (qsizetype i = 0; i < n; ++i) {
        if (format[i] != u'%') {
            out += format[i];
            continue;
        }
        ++i;
        if (i >= n)
            invalid();
        if (format[i] == u'%') {
            out += u'%';
            continue;
        }
        qint64 first = readNumber(i);
        if (i < n && format[i] == u':') {
            if (first < 0)
                invalid();
            next = size_t(first);
            ++i;
            first = -1;
        }
        bool left = false;
        if (first < 0 && i < n && format[i] == u'-') {
            left = true;
            ++i;
        }
        const qint64 width = first >= 0 ? first : readNumber(i);
        qint64 precision = -1;
        if (i < n && format[i] == u'.') {
            ++i;
            precision = readNumber(i);
            if (precision < 0)
                precision = 0;
        }
        // Widths and precisions from arguments may ask for any size: the padding they
        // make stays within the bound, counted with what is written already.
        if (out.size() + width > kMaxFormattedLength)
            formattedTooLong();
        auto zeros = [&](QString& digits) {
            if (precision > digits.size()) {
                if (out.size() + precision > kMaxFormattedLength)
                    formattedTooLong();
                digits = QString(precision - digits.size(), u'0') + digits;
            }
        };
        if (i >= n)
            invalid();
        const char16_t type = format[i].toLower().unicode();
        const FormatArg& a = argument();
        using K = FormatArg::Kind;
        const bool integral = a.kind == K::Integer || a.kind == K::Int64;
        QString text;
        switch (type) {
        case u'd': {
            if (!integral)
                invalid();
            QString digits = QString::number(a.integer < 0 ? -(unsigned long long)a.integer : (unsigned long long)a.integer);
            zeros(digits);
            text = (a.integer < 0 ? QStringLiteral("-") : QString()) + digits;
            break;
        }
        case u'u': {
            if (!integral)
                invalid();
            QString digits = a.kind == K::Integer ? QString::number(quint32(qint32(a.integer)))
                                                  : QString::number(quint64(a.integer));
            zeros(digits);
            text = digits;
            break;
        }
        case u'x': {
            if (!integral)
                invalid();
            QString digits = a.kind == K::Integer ? QString::number(quint32(qint32(a.integer)), 16)
                                                  : QString::number(quint64(a.integer), 16);
            digits = digits.toUpper();
            zeros(digits);
            text = digits;
            break;
        }
        case u'e':
            if (a.kind != K::Float)
                invalid();
            text = scientific(a.number, precision < 0 ? 15 : int(std::clamp<qint64>(precision, 1, 18)), fs);
            break;
        case u'f':
        case u'n':
            if (a.kind != K::Float)
                invalid();
            text = fixed(a.number, precision < 0 ? 2 : int(std::min<qint64>(precision, 18)), type == u'n', fs);
            break;
        case u'g':
            if (a.kind != K::Float)
                invalid();
            text = floatToStr(a.number, fs, precision < 0 ? 15 : int(std::clamp<qint64>(precision, 1, 18)));
            break;
        case u'm':
            if (a.kind != K::Float)
                invalid();
            text = money(a.number, precision < 0 ? 2 : int(std::min<qint64>(precision, 18)), fs);
            break;
        case u's':
            if (a.kind != K::String)
                invalid();
            text = precision >= 0 && precision < a.text.size() ? a.text.left(precision) : a.text;
            break;
        default: // 'p' and anything else: scripts hand no pointers
            invalid();
        }
        if (width > text.size()) {
            const QString pad(width - text.size(), u' ');
            text = left ? text + pad : pad + text;
        }
        if (out.size() + text.size() > kMaxFormattedLength)
            formattedTooLong();
        out += text;
    }
    return out;
}

} // namespace orv::platform
