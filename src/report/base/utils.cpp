#include "report/base/utils.h"

#include "platform/core/formats.h"
#include "platform/core/text.h"
#include "report/base/collection.h"
#include "report/base/errors.h"
#include "report/base/propstream.h"
#include "report/base/serializer.h"
#include "report/model/component.h"
#include "report/model/report.h"

#include <QBuffer>
#include <QDebug>
#include <QDir>
#include <QSaveFile>
#include <QTemporaryFile>

#include <charconv>
#include <cmath>
#include <string>
#include <zlib.h>

namespace orv::report {

using namespace orv::report;

// ---------------------------------------------------------------- alignment

int frxRound(long double Value)
{
    // Rounding a long double is slow x87 code, and the engine's values nearly always come
    // from doubles, which round the same way (halves to even) as doubles.
    const double d = static_cast<double>(Value);
    const long double r = static_cast<long double>(d) == Value ? static_cast<long double>(std::nearbyint(d))
                                                                : std::nearbyint(Value);
    if (r >= 2147483647.0L)
        return 2147483647;
    if (r <= -2147483648.0L)
        return -2147483647 - 1;
    return int(r);
}

TextAlign frxHorzAlignToTextAlign(TfrxHAlign HAlign)
{
    switch (HAlign) {
    case haRight:
        return TextAlign::Trailing;
    case haCenter:
    case haBlock:
        return TextAlign::Center;
    default:
        return TextAlign::Leading;
    }
}

TextAlign frxVertAlignToTextAlign(TfrxVAlign VAlign)
{
    switch (VAlign) {
    case vaBottom:
        return TextAlign::Trailing;
    case vaCenter:
        return TextAlign::Center;
    default:
        return TextAlign::Leading;
    }
}

// ---------------------------------------------------------------- rectangles

TfrxRectArea::TfrxRectArea(const TfrxComponent* c)
    : X(c->AbsLeft()), Y(c->AbsTop()), X1(c->AbsLeft() + c->Width()), Y1(c->AbsTop() + c->Height())
{
}

TfrxRectArea::TfrxRectArea(long double Left, long double Top, long double Right, long double Bottom)
    : X(Left), Y(Top), X1(Right), Y1(Bottom)
{
}

bool TfrxRectArea::InterceptsX(const TfrxRectArea& a) const { return a.X < X1 - 0.0001L && a.X1 > X + 0.0001L; }

bool TfrxRectArea::InterceptsY(const TfrxRectArea& a) const { return a.Y < Y1 - 0.0001L && a.Y1 > Y + 0.0001L; }

std::unique_ptr<TfrxRectArea> TfrxRectArea::InterceptX(const TfrxRectArea& a) const
{
    if (!InterceptsX(a))
        return nullptr;
    return std::make_unique<TfrxRectArea>(Max(X, a.X), 0, Min(X1, a.X1), 0);
}

std::unique_ptr<TfrxRectArea> TfrxRectArea::InterceptY(const TfrxRectArea& a) const
{
    if (!InterceptsY(a))
        return nullptr;
    return std::make_unique<TfrxRectArea>(0, Max(Y, a.Y), 0, Min(Y1, a.Y1));
}

// ---------------------------------------------------------------- numbers and text

double frxTextToFloat(const QString& S)
{
    const QChar sep = orv::platform::formats().decimalSeparator;
    QString t;
    t.reserve(S.size());
    for (QChar c : S) {
        if (c == u'.' || c == u',')
            t += sep;
        else if (c != u' ')
            t += c;
    }
    double v = 0;
    if (!orv::platform::tryStrToFloat(t, v))
        throw ConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(S));
    return v;
}

QString frxFloatToDisplayText(double X)
{
    if (std::trunc(X) != X)
        return frxFloatToFixed(2, orv::platform::formats().decimalSeparator, X);
    return orv::platform::floatToStr(X);
}

QString frxFloatToFixed(int Digits, QChar DecimalSeparator, long double Value)
{
    // The decimal text is rounded half away from zero, as the fixed format of the
    // engine's texts always was: 0,125 with two decimals gives 0,13.
    Digits = std::clamp(Digits, 0, 32);
    char buf[640];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(Value), std::chars_format::fixed, Digits + 6);
    std::string text(buf, res.ptr);
    const size_t dot = text.find('.');
    std::string digits = text.substr(0, dot) + text.substr(dot + 1, size_t(Digits));
    if (text[dot + 1 + size_t(Digits)] >= '5') {
        int i = int(digits.size()) - 1;
        for (; i >= 0 && digits[size_t(i)] == '9'; --i)
            digits[size_t(i)] = '0';
        if (i < 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[size_t(i)];
    }
    const size_t intLen = digits.size() - size_t(Digits);
    QString out = QString::fromLatin1(digits.data(), qsizetype(intLen));
    if (Digits > 0)
        out += DecimalSeparator + QString::fromLatin1(digits.data() + intLen, Digits);
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    return Value < 0 && !zero ? u'-' + out : out;
}

QString frxReplaceChar(const QString& Text, QChar Old, QChar New)
{
    QString out = Text;
    out.replace(Old, New);
    return out;
}

QString frxSlashesToBackslashes(const QString& Text) { return frxReplaceChar(Text, u'/', u'\\'); }

QString frxNextSeparatedItem(const QString& Text, qsizetype& Pos, QChar Separator)
{
    qsizetype end = Text.indexOf(Separator, Pos);
    if (end < 0)
        end = Text.size();
    const QString item = Text.mid(Pos, end - Pos);
    Pos = end + 1;
    return item;
}

void frxSplitAtSeparator(const QString& Text, QStringList& List, QChar Separator)
{
    List.clear();
    qsizetype pos = 0;
    while (pos < Text.size())
        List << frxNextSeparatedItem(Text, pos, Separator);
}

namespace {

int pageNumber(const QString& s)
{
    int n = 0;
    bool ok = !s.isEmpty();
    for (QChar c : s)
        ok = ok && c >= u'0' && c <= u'9';
    if (!ok || !orv::platform::tryStrToInt(s, n))
        throw ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(s));
    return n;
}

} // namespace

void frxExpandPageNumbers(const QString& PageNumbers, QStringList& List, int Total)
{
    List.clear();
    QString s = PageNumbers;
    s.remove(u' ');
    if (s.isEmpty())
        return;
    if (s.endsWith(u'-'))
        s += QString::number(Total);
    s += u',';
    qsizetype last = 0;
    bool inRange = false;
    int rangeStart = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'-') {
            rangeStart = pageNumber(s.mid(last, i - last));
            inRange = true;
            last = i + 1;
        } else if (s[i] == u',') {
            const int n = pageNumber(s.mid(last, i - last));
            if (inRange) {
                for (int p = rangeStart; p <= n; ++p)
                    List << QString::number(p);
            } else {
                List << QString::number(n);
            }
            inRange = false;
            last = i + 1;
        }
    }
}

QString frxFindBracketedExpression(const QString& Str, const QString& OpenBracket, const QString& CloseBracket,
                                   qsizetype& I, qsizetype& J, bool* Balanced)
{
    J = I;
    if (Balanced)
        *Balanced = false;
    if (Str.isEmpty() || I < 0 || I >= Str.size() || OpenBracket.isEmpty() || CloseBracket.isEmpty())
        return {};
    int depth = 0;
    bool outSingle = true, outDouble = true;
    const QStringView s(Str);
    for (;;) {
        if (outSingle && outDouble) {
            if (s.mid(J).startsWith(OpenBracket)) {
                if (depth == 0)
                    I = J;
                ++depth;
            } else if (s.mid(J).startsWith(CloseBracket)) {
                --depth;
            }
        }
        if (outSingle && Str[J] == u'"')
            outDouble = !outDouble;
        if (outDouble && Str[J] == u'\'')
            outSingle = !outSingle;
        if (depth == 0 || J >= Str.size() - 1)
            break;
        ++J;
    }
    if (Balanced)
        *Balanced = depth == 0 && I != J;
    const qsizetype len = J - I - OpenBracket.size();
    const QString result = len > 0 ? Str.mid(I + OpenBracket.size(), len) : QString();
    if (I != J)
        J += CloseBracket.size() - 1;
    return result;
}

void frxExpandBracketedExpressions(QString& S, const QString& Open, const QString& Close,
                                   const std::function<QString(const QString& Expr)>& Expand)
{
    if (Open.isEmpty())
        return;
    qsizetype i = 0;
    for (;;) {
        while (i < S.size() - 1 && QStringView(S).mid(i, Open.size()) != Open)
            ++i;
        qsizetype j = i;
        bool balanced = false;
        const QString expr = frxFindBracketedExpression(S, Open, Close, i, j, &balanced);
        if (!balanced)
            return;
        const QString value = Expand(expr);
        S.replace(i, j - i + 1, value);
        i += value.size();
    }
}

// ---------------------------------------------------------------- component references

namespace {

QList<orv::platform::Component*>& globalComponents()
{
    static QList<orv::platform::Component*> list;
    return list;
}

orv::platform::Component* globalComponent(const QString& name)
{
    for (orv::platform::Component* c : globalComponents())
        if (orv::platform::sameTextAZ(c->Name(), name))
            return c;
    return nullptr;
}

} // namespace

void frxRegisterGlobalComponent(orv::platform::Component* c)
{
    if (c && !globalComponents().contains(c))
        globalComponents() << c;
}

void frxUnregisterGlobalComponent(orv::platform::Component* c) { globalComponents().removeAll(c); }

orv::platform::Component* frxLookupComponent(orv::platform::Component* Owner, const QString& AName)
{
    try {
        if (AName.contains(u'.')) {
            const QStringList parts = AName.split(u'.');
            orv::platform::Component* c = globalComponent(parts[0]);
            for (qsizetype i = 1; c && i < parts.size() && i < 3; ++i)
                c = c->FindComponent(parts[i].left(255));
            return c;
        }
        if (!Owner)
            return nullptr;
        if (orv::platform::Component* c = Owner->FindComponent(AName))
            return c;
        if (dynamic_cast<TfrxReport*>(Owner) && Owner->Owner())
            return Owner->Owner()->FindComponent(AName);
        return nullptr;
    } catch (const std::exception&) {
        throw EClassNotFound(QStringLiteral("Missing ") + AName);
    }
}

QString frxQualifiedComponentName(const TfrxReport* Report, const orv::platform::Component* Obj)
{
    if (!Obj)
        return {};
    const orv::platform::Component* owner = Obj->Owner();
    if (!owner || owner == Report || (Report && owner == Report->Owner()))
        return Obj->Name();
    if (globalComponents().contains(const_cast<orv::platform::Component*>(owner)))
        return owner->Name() + u'.' + Obj->Name();
    return {};
}

// ---------------------------------------------------------------- streams

quint32 frxChecksum(const QByteArray& bytes)
{
    return quint32(crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(bytes.constData()), uInt(bytes.size())));
}

quint32 frxStreamChecksum(QIODevice& Stream)
{
    const qint64 pos = Stream.pos();
    Stream.seek(0);
    const quint32 crc = frxChecksum(Stream.readAll());
    Stream.seek(pos);
    return crc;
}

QString frxBytesToHex(const QByteArray& bytes) { return QString::fromLatin1(bytes.toHex().toUpper()); }

QString frxStreamToHex(QIODevice& Stream)
{
    Stream.seek(0);
    return frxBytesToHex(Stream.readAll());
}

QByteArray frxHexToBytes(const QString& S)
{
    auto nibble = [](QChar c) -> int {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9')
            return u - u'0';
        if (u >= u'A' && u <= u'F')
            return u - u'A' + 10;
        if (u >= u'a' && u <= u'f')
            return u - u'a' + 10;
        return -1;
    };
    QByteArray out;
    out.reserve(S.size() / 2);
    for (qsizetype i = 0; i + 1 < S.size(); i += 2) {
        const int hi = nibble(S[i]), lo = nibble(S[i + 1]);
        if (hi < 0 || lo < 0)
            break;
        out.append(char(hi * 16 + lo));
    }
    return out;
}

void frxHexToStream(const QString& S, QIODevice& Stream)
{
    Stream.seek(0);
    Stream.write(frxHexToBytes(S));
}

// ---------------------------------------------------------------- collections

void frxWriteCollection(CollectionBase& Collection, PropertyWriter& Writer, TfrxReport* Report)
{
    TfrxXMLSerializer serializer(nullptr);
    serializer.Owner = Report;
    Writer.writeListBegin();
    for (int i = 0; i < Collection.Count(); ++i) {
        Writer.writeListBegin();
        Writer.writeString(serializer.ObjToXML(Collection.GetItem(i)));
        Writer.writeListEnd();
    }
    Writer.writeListEnd();
}

void frxReadCollection(CollectionBase& Collection, PropertyReader& Reader, TfrxReport* Report)
{
    std::unique_ptr<TfrxXMLSerializer> own;
    TfrxXMLSerializer* serializer = Report ? Report->XMLSerializer() : nullptr;
    if (!serializer) {
        own = std::make_unique<TfrxXMLSerializer>(nullptr);
        own->Owner = Report;
        serializer = own.get();
    }
    Collection.Clear();
    Reader.readListBegin();
    while (!Reader.endOfList()) {
        Reader.readListBegin();
        QString text;
        while (!Reader.endOfList())
            text = Reader.readString();
        serializer->XMLToObj(text, Collection.AddItem());
    }
}

QString frxRecodeText(const QString& S)
{
    QString out;
    out.reserve(S.size());
    for (qsizetype i = 0; i < S.size(); ++i) {
        if (S[i].unicode() == 1 && i + 1 < S.size()) {
            ++i;
            out += QChar(char16_t(S[i].unicode() + 128));
        } else {
            out += S[i];
        }
    }
    return out;
}

void frxRecodeItemStrings(orv::platform::rtti::Object& Item)
{
    for (const orv::platform::rtti::PropInfo* p : Item.classInfo().properties()) {
        if (!p->isReadable() || !p->isWritable())
            continue;
        if (p->kind == orv::platform::rtti::Kind::String) {
            const QString s = p->readString(Item);
            const QString r = frxRecodeText(s);
            if (r != s)
                p->write(Item, r);
        } else if (p->kind == orv::platform::rtti::Kind::Variant) {
            const QVariant v = p->read(Item);
            if (v.typeId() == QMetaType::QString)
                p->write(Item, frxRecodeText(v.toString()));
        }
    }
}

// ---------------------------------------------------------------- errors

namespace {

std::function<void(const QString&)>& errorBoxHandler()
{
    static std::function<void(const QString&)> handler;
    return handler;
}

} // namespace

void frxSetErrorBoxHandler(std::function<void(const QString&)> handler) { errorBoxHandler() = std::move(handler); }

void frxErrorBox(const QString& Msg)
{
    if (errorBoxHandler())
        errorBoxHandler()(Msg);
    else
        qWarning().noquote() << Msg;
}

void frxReportError(const TfrxReport* Report, const QString& Msg)
{
    const TfrxSilentMode mode = Report ? Report->EngineOptions()->NewSilentMode() : simMessageBoxes;
    switch (mode) {
    case simSilent:
        return;
    case simReThrow:
        throw Error(Msg);
    default:
        frxErrorBox(Msg);
    }
}

// ---------------------------------------------------------------- files

void saveFile(const QString& FileName, const std::function<void(QIODevice&)>& write)
{
    QSaveFile file(FileName);
    if (!file.open(QIODevice::WriteOnly))
        throw orv::platform::EFileError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, file.errorString()));
    write(file);
    if (!file.commit())
        throw orv::platform::EFileError(QStringLiteral("Cannot write file \"%1\". %2").arg(FileName, file.errorString()));
}

void loadFile(const QString& FileName, const std::function<void(QIODevice&)>& read)
{
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        throw orv::platform::EFileError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, file.errorString()));
    read(file);
}

// ---------------------------------------------------------------- folders

QString frxTempFolder() { return QDir::tempPath(); }

QString frxTempFileNameIn(const QString& Folder)
{
    const QString dir = Folder.isEmpty() ? frxTempFolder() : Folder;
    QTemporaryFile file(QDir(dir).filePath(QStringLiteral("frxXXXXXX.tmp")));
    file.setAutoRemove(false);
    if (!file.open())
        throw orv::platform::EFileError(QStringLiteral("Cannot create a temporary file in \"%1\". %2").arg(dir, file.errorString()));
    return file.fileName();
}

QString frxTempFileName() { return frxTempFileNameIn(QString()); }

QString frxDefaultFolder() { return QString(); }

} // namespace orv::report
