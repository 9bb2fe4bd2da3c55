#include "script/front/tokenizer.h"

#include <QStringList>
#include <algorithm>
#include <string_view>

namespace orv::script {

namespace {

constexpr char16_t CR = 13, LF = 10;

inline char16_t foldAZ(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
}

int compareAZ(QStringView a, QStringView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = foldAZ(a[i].unicode()), y = foldAZ(b[i].unicode());
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

inline bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
inline bool isHexDigit(char16_t c)
{
    return isDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}
inline int hexValue(char16_t c)
{
    return isDigit(c) ? c - u'0' : (c >= u'a' ? c - u'a' + 10 : c - u'A' + 10);
}
// Codes that end a string part: all controls but the tab.
inline bool isStringControl(char16_t c) { return c < 32 && c != 9; }

void splitPair(const QString& value, QString& first, QString& second)
{
    const QStringList parts = value.split(u',');
    first = parts.value(0);
    second = parts.value(1);
}

} // namespace

namespace {

const TfsParser::Settings& defaultSettings()
{
    static const TfsParser::Settings defaults = [] {
        TfsParser::Settings s;
        s.CommentLine1 = QStringLiteral("//");
        s.BlockOpen1 = QStringLiteral("{");
        s.BlockClose1 = QStringLiteral("}");
        s.BlockOpen2 = QStringLiteral("(*");
        s.BlockClose2 = QStringLiteral("*)");
        s.HexSequence = QStringLiteral("$");
        s.StringQuotes = QStringLiteral("'");
        for (const char c : std::string_view("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz"))
            s.IdentifierCharset.set(static_cast<unsigned char>(c));
        return s;
    }();
    return defaults;
}

const QString& emptySource()
{
    static const QString sentinel(1, QChar(0));
    return sentinel;
}

} // namespace

TfsParser::TfsParser() : FS(defaultSettings())
{
    refreshStarts();
    FText = emptySource();
    FData = reinterpret_cast<const char16_t*>(FText.constData());
    FLines.assign(1, 0);
}

void TfsParser::Clear()
{
    const bool caseSensitive = FS.CaseSensitive;
    const QString commentLine2 = FS.CommentLine2;
    FS = defaultSettings();
    FS.CaseSensitive = caseSensitive;
    FS.CommentLine2 = commentLine2;
    refreshStarts();
}

char16_t TfsParser::peekBehindSpaces()
{
    if (FPosition != FPeekFrom) {
        const int keep = FPosition, keepLast = FLastPosition;
        SkipSpaces();
        FPeekChar = at(FPosition);
        FPeekFrom = keep;
        FPosition = keep;
        FLastPosition = keepLast;
    }
    return FPeekChar;
}

void TfsParser::refreshStarts()
{
    FPeekFrom = -1;
    // A start of 0 matches only the sentinel, where skipping stops anyway.
    const QString* texts[] = {&FS.CommentLine1, &FS.CommentLine2, &FS.BlockOpen1, &FS.BlockOpen2, &FS.SkipChar};
    for (int i = 0; i < 5; ++i)
        FStarts[i] = texts[i]->isEmpty() ? 0 : texts[i]->at(0).unicode();
}

void TfsParser::SetText(const QString& text)
{
    FText = text;
    FText.append(QChar(0));
    FData = reinterpret_cast<const char16_t*>(FText.constData());
    FSize = int(text.size());
    FPosition = FLastPosition = 1;
    FPeekFrom = -1;
    FLines.assign(1, 0);
    for (int i = 0; i < FSize; ++i)
        if (FData[i] == LF)
            FLines.push_back(i + 1);
}

void TfsParser::SetPosition(int value)
{
    FPosition = FLastPosition = std::clamp(value, 1, FSize + 1);
}

QString TfsParser::CommentBlock1() const
{
    return FS.BlockOpen1 + u',' + FS.BlockClose1;
}

void TfsParser::SetCommentBlock1(const QString& value)
{
    splitPair(value, FS.BlockOpen1, FS.BlockClose1);
    refreshStarts();
}

QString TfsParser::CommentBlock2() const
{
    return FS.BlockOpen2 + u',' + FS.BlockClose2;
}

void TfsParser::SetCommentBlock2(const QString& value)
{
    splitPair(value, FS.BlockOpen2, FS.BlockClose2);
    refreshStarts();
}

void TfsParser::ConstructCharset(const QString& chars)
{
    FS.IdentifierCharset.reset();
    for (QChar c : chars)
        FS.IdentifierCharset.set(c.unicode() & 0xFF);
    FS.IdentifierCharset.reset(0); // the sentinel never belongs to a word
}

void TfsParser::AddIdentifierChars(int from, int to)
{
    for (int c = std::max(from, 1); c <= std::min(to, 255); ++c)
        FS.IdentifierCharset.set(size_t(c));
}

void TfsParser::AddKeyword(const QString& word)
{
    auto it = std::lower_bound(FS.Keywords.begin(), FS.Keywords.end(), word,
                               [](const QString& a, const QString& b) { return compareAZ(a, b) < 0; });
    if (it != FS.Keywords.end() && compareAZ(*it, word) == 0)
        return;
    FS.Keywords.insert(it, word);
}

bool TfsParser::IsKeyWord(QStringView word) const
{
    if (FS.CaseSensitive)
        return std::any_of(FS.Keywords.begin(), FS.Keywords.end(), [&](const QString& k) { return k == word; });
    auto it = std::lower_bound(FS.Keywords.begin(), FS.Keywords.end(), word,
                               [](const QString& a, QStringView b) { return compareAZ(a, b) < 0; });
    return it != FS.Keywords.end() && compareAZ(*it, word) == 0;
}

bool TfsParser::startsWith(int position, const QString& s) const
{
    const int n = int(s.size());
    if (n == 0 || position - 1 + n > FSize)
        return false;
    return std::equal(s.begin(), s.end(), FData + position - 1,
                      [](QChar a, char16_t b) { return a.unicode() == b; });
}

void TfsParser::SkipSpaces()
{
    if (FPosition <= FSize) {
        const char16_t c = at(FPosition);
        if (c > 32 && !mayStartSkip(c)) {
            FLastPosition = FPosition;
            return;
        }
    }
    // A continuation character asks for a line end behind whatever spaces and comments
    // follow it; each such request is served, in turn, where skipping would stop.
    int pendingLineEnds = 0;
    const char16_t skipChar = FS.SkipChar.isEmpty() ? 0 : FS.SkipChar[0].unicode();
    for (;;) {
        while (FPosition <= FSize) {
            const char16_t c = at(FPosition);
            if (c > 32 || (c == CR && !FS.SkipEOL))
                break;
            ++FPosition;
        }
        const bool special = FPosition <= FSize && mayStartSkip(at(FPosition));
        if (special && skipChar != 0 && at(FPosition) == skipChar) {
            ++FPosition;
            ++pendingLineEnds;
            continue;
        }
        if (special && FPosition < FSize) {
            if (startsWith(FPosition, FS.CommentLine1) || startsWith(FPosition, FS.CommentLine2)) {
                const bool atLineStart = FPosition == 1 || at(FPosition - 1) == LF;
                while (FPosition <= FSize && at(FPosition) != LF) {
                    if (!FS.SkipEOL && !atLineStart && at(FPosition) == CR)
                        break;
                    ++FPosition;
                }
                continue;
            }
            const QString* closer = nullptr;
            if (startsWith(FPosition, FS.BlockOpen1))
                closer = &FS.BlockClose1;
            else if (startsWith(FPosition, FS.BlockOpen2))
                closer = &FS.BlockClose2;
            if (closer) {
                FPosition = std::min(FPosition + int(closer->size()), FSize + 1);
                while (FPosition <= FSize && !startsWith(FPosition, *closer))
                    ++FPosition;
                FPosition = std::min(FPosition + int(closer->size()), FSize + 1);
                continue;
            }
        }
        if (pendingLineEnds > 0) {
            --pendingLineEnds;
            while (FPosition <= FSize && (at(FPosition) == CR || at(FPosition) == LF))
                ++FPosition;
            continue;
        }
        break;
    }
    FLastPosition = FPosition;
}

bool TfsParser::GetEOL()
{
    SkipSpaces();
    if (FPosition > FSize || (at(FPosition) != CR && at(FPosition) != LF))
        return false;
    while (FPosition <= FSize && (at(FPosition) == CR || at(FPosition) == LF))
        ++FPosition;
    return true;
}

bool TfsParser::isIdentStart(char16_t c) const
{
    return c >= 127 || (FS.IdentifierCharset[c] && !isDigit(c));
}

bool TfsParser::isIdentPart(char16_t c) const
{
    return c >= 127 || FS.IdentifierCharset[c];
}

QStringView TfsParser::readWord()
{
    if (FS.SkipSpace)
        SkipSpaces();
    const int start = FPosition;
    if (start > FSize || !isIdentStart(at(start)))
        return {};
    int p = start + 1;
    while (p <= FSize && isIdentPart(at(p)))
        ++p;
    FPosition = p;
    return QStringView(FData + start - 1, p - start);
}

QStringView TfsParser::readIdent()
{
    const QStringView word = readWord();
    if (!word.isEmpty() && IsKeyWord(word))
        return {};
    return word;
}

char16_t TfsParser::readChar()
{
    if (FPosition > FSize)
        return 0;
    const char16_t c = at(FPosition);
    const bool punctuation = (c >= 33 && c <= 47) || (c >= 58 && c <= 64) || (c >= 91 && c <= 96)
                             || (c >= 123 && c <= 126);
    if (!punctuation)
        return 0;
    ++FPosition;
    return c;
}

QString TfsParser::GetChar()
{
    const char16_t c = readChar();
    return c ? QString(QChar(c)) : QString();
}

// An unsigned integer at p: the hexadecimal prefix and hex digits, or decimal digits.
// Codes wider than 32 bits keep their low bits.
bool TfsParser::readUnsigned(int& p, quint32& value) const
{
    value = 0;
    if (startsWith(p, FS.HexSequence) && isHexDigit(at(p + int(FS.HexSequence.size())))) {
        p += int(FS.HexSequence.size());
        while (p <= FSize && isHexDigit(at(p)))
            value = value * 16 + quint32(hexValue(at(p++)));
        return true;
    }
    if (p > FSize || !isDigit(at(p)))
        return false;
    while (p <= FSize && isDigit(at(p)))
        value = value * 10 + quint32(at(p++) - u'0');
    return true;
}

QString TfsParser::GetNumber()
{
    if (FS.SkipSpace)
        SkipSpaces();
    const int start = FPosition;
    int p = start;
    quint32 ignored;
    if (!readUnsigned(p, ignored))
        return QString();
    if (at(p) == u'.' && isDigit(at(p + 1))) {
        p += 2;
        while (p <= FSize && isDigit(at(p)))
            ++p;
    }
    if (at(p) == u'e' || at(p) == u'E') {
        int q = p + 1;
        if (at(q) == u'+' || at(q) == u'-')
            ++q;
        if (isDigit(at(q))) {
            p = q + 1;
            while (p <= FSize && isDigit(at(p)))
                ++p;
        }
    }
    FPosition = p;
    QString number(reinterpret_cast<const QChar*>(FData + start - 1), p - start);
    if (FS.HexSequence != u"$" && !FS.HexSequence.isEmpty())
        number.replace(FS.HexSequence, QStringLiteral("$"));
    return number;
}

// One quoted part at the position (which holds the quote). On success the position is
// behind the closing quote; a control character before it leaves the position alone.
bool TfsParser::readQuotedPart(QString& value)
{
    const char16_t quote = at(FPosition);
    const qsizetype keep = value.size();
    int p = FPosition + 1;
    for (;;) {
        const char16_t c = at(p);
        if (c == quote && p <= FSize) {
            if (!FS.SpecStrChar && at(p + 1) == quote) {
                value += QChar(quote);
                p += 2;
                continue;
            }
            ++p;
            break;
        }
        if (isStringControl(c)) {
            value.truncate(keep);
            return false;
        }
        if (FS.SpecStrChar && c == u'\\') {
            const char16_t e = at(p + 1);
            if (isStringControl(e)) {
                value.truncate(keep);
                return false;
            }
            p += 2;
            switch (e) {
            case u'n': case u'N': value += QChar(LF); break;
            case u'r': case u'R': value += QChar(CR); break;
            case u'x': case u'X': {
                quint32 code = 0;
                bool any = false;
                while (p <= FSize && isHexDigit(at(p))) {
                    code = code * 16 + quint32(hexValue(at(p++)));
                    any = true;
                }
                if (any)
                    value += QChar(char16_t(code));
                break;
            }
            default: value += QChar(e);
            }
            continue;
        }
        value += QChar(c);
        ++p;
    }
    FPosition = p;
    return true;
}

QString TfsParser::GetString()
{
    if (FS.SkipSpace)
        SkipSpaces();
    const char16_t quote = FS.StringQuotes.isEmpty() ? 0 : FS.StringQuotes[0].unicode();
    QString value;
    int parts = 0;
    for (;;) {
        if (FPosition > FSize)
            break;
        const char16_t c = at(FPosition);
        if (quote != 0 && c == quote) {
            if (!readQuotedPart(value))
                break;
        } else if (c == u'#') {
            int p = FPosition + 1;
            quint32 code;
            if (!readUnsigned(p, code))
                break;
            value += QChar(char16_t(code));
            FPosition = p;
        } else {
            break;
        }
        ++parts;
    }
    if (parts == 0)
        return QString();
    return u'\'' + value + u'\'';
}

QString TfsParser::GetFRString()
{
    int depth = 1;
    bool inDouble = false, inSingle = false;
    const int start = FPosition;
    int p = start;
    while (p <= FSize) {
        const char16_t c = at(p);
        if (c == 0)
            break;
        if (!inDouble && !inSingle) {
            if (c == u'<' || c == u'[') {
                ++depth;
            } else if (c == u'>' || c == u']') {
                if (--depth == 0)
                    break;
            }
        }
        if (c == u'"' && !inSingle)
            inDouble = !inDouble;
        else if (c == u'\'' && !inDouble)
            inSingle = !inSingle;
        ++p;
    }
    FPosition = p;
    return QString(reinterpret_cast<const QChar*>(FData + start - 1), p - start);
}

void TfsParser::lineColumn(int position, int& line, int& column) const
{
    // The line is the count of line feeds before the position; a line feed belongs to
    // the line it ends.
    const auto it = std::lower_bound(FLines.begin(), FLines.end(), position);
    const int k = int(it - FLines.begin());
    column = position - (k > 0 ? FLines[size_t(k - 1)] : 0);
    line = std::max(k, 1);
}

QString TfsParser::positionText(int position) const
{
    int line, column;
    lineColumn(position, line, column);
    return QString::number(line) + u':' + QString::number(column);
}

int TfsParser::GetPlainPosition(QPoint point) const
{
    const int index = point.y() - 1;
    if (index < 0 || index >= int(FLines.size()))
        return -1;
    return point.x() + FLines[size_t(index)];
}

} // namespace orv::script
