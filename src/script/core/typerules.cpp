#include "script/core/typerules.h"

#include "platform/core/exceptions.h"
#include "platform/core/formats.h"
#include "platform/core/reflection.h"
#include "script/core/objects.h"
#include "script/core/script.h"
#include "script/front/tokenizer.h"

namespace orv::script {

using orv::script::Value;

TfsVarType fsNameToVarType(const QString& TypeName, const TfsScript* Script)
{
    const TfsCustomVariable* item = Script ? Script->Find(TypeName) : nullptr;
    return item ? item->Typ() : fvtClass;
}

bool fsClassAssignable(const QString& TargetClass, const QString& SourceClass, const TfsScript* Script)
{
    const TfsClassVariable* target = Script->FindClass(TargetClass);
    const TfsClassVariable* source = Script->FindClass(SourceClass);
    if (!target || !source)
        return false;
    if (source->ClassRef() && target->ClassRef())
        return source->ClassRef()->inheritsFrom(*target->ClassRef());
    // Descriptions without a host class: follow the ancestor names.
    for (const TfsClassVariable* c = source; c; c = Script->FindClass(c->Ancestor())) {
        if (c == target)
            return true;
        if (c->Ancestor().isEmpty())
            break;
    }
    return false;
}

bool fsKindsCompatible(TfsVarType TargetTyp, const QString& TargetTypeName, TfsVarType SourceTyp,
                       const QString& SourceTypeName, const TfsScript* Script)
{
    if (SourceTyp == fvtVariant && TargetTyp != fvtConstructor)
        return true;
    switch (TargetTyp) {
    case fvtInt:
    case fvtInt64:
        return SourceTyp == fvtInt || SourceTyp == fvtFloat || SourceTyp == fvtEnum || SourceTyp == fvtInt64;
    case fvtBool:
        return SourceTyp == fvtBool;
    case fvtFloat:
        return SourceTyp == fvtInt || SourceTyp == fvtFloat;
    case fvtChar:
    case fvtString:
        return SourceTyp == fvtChar || SourceTyp == fvtString;
    case fvtClass:
        return SourceTyp == fvtClass && fsClassAssignable(TargetTypeName, SourceTypeName, Script);
    case fvtArray:
        return SourceTyp == fvtArray;
    case fvtVariant:
        return true;
    case fvtEnum:
        return SourceTyp == fvtInt || SourceTyp == fvtInt64
               || (SourceTyp == fvtEnum && TargetTypeName.compare(SourceTypeName, Qt::CaseInsensitive) == 0);
    case fvtConstructor:
        return false;
    }
    return false;
}

bool fsAssignmentCompatible(const TfsCustomVariable* Target, const TfsCustomVariable* Source,
                            const TfsScript* Script)
{
    if (Target->Typ() == fvtInt && Source->Typ() == fvtFloat)
        return false;
    return fsKindsCompatible(Target->Typ(), Target->TypeName(), Source->Typ(), Source->TypeName(), Script);
}

Value fsConstantValue(const QString& Token)
{
    if (Token.isEmpty())
        return Value::null();
    if (Token.startsWith(u'\''))
        return Value(Token.mid(1, Token.size() - 2));
    qint64 i;
    if (orv::platform::tryStrToInt64(Token, i) && !Token.contains(u' ')) {
        if (i >= INT32_MIN && i <= INT32_MAX)
            return Value(int(i));
        return Value::fromInt64(i);
    }
    QString text = Token;
    if (const qsizetype dot = text.indexOf(u'.'); dot >= 0)
        text[dot] = orv::platform::formats().decimalSeparator;
    double d;
    if (orv::platform::tryStrToFloat(text, d))
        return Value(d);
    throw orv::platform::EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(Token));
}

namespace {

// Reads a declaration text with the tokenizer in its default settings.
class DeclarationReader {
public:
    DeclarationReader(const QString& text, bool extended)
    {
        if (extended)
            FParser.AddIdentifierChars(128, 255);
        FParser.SetText(text);
    }
    QString word() { return FParser.GetWord(); }
    // The next significant character, not consumed.
    QChar peek()
    {
        FParser.SkipSpaces();
        return FParser.Position() <= FParser.Size() ? FParser.Text()[FParser.Position() - 1] : QChar();
    }
    bool consume(QChar c)
    {
        if (peek() != c)
            return false;
        FParser.SetPosition(FParser.Position() + 1);
        return true;
    }
    bool atEnd() { return peek().isNull(); }
    TfsParser& parser() { return FParser; }

private:
    TfsParser FParser;
};

Value defaultValue(DeclarationReader& r, const TfsScript* Script)
{
    TfsParser& p = r.parser();
    const int keep = p.Position();
    QString token = p.GetNumber();
    if (!token.isEmpty())
        return fsConstantValue(token);
    p.SetPosition(keep);
    token = p.GetString();
    if (!token.isEmpty())
        return fsConstantValue(token);
    p.SetPosition(keep);
    if (r.consume(u'-')) {
        token = p.GetNumber();
        if (!token.isEmpty())
            return orv::script::negate(fsConstantValue(token));
    }
    p.SetPosition(keep);
    const QString name = r.word();
    if (!name.isEmpty() && Script) {
        if (TfsCustomVariable* item = Script->Find(name))
            return item->GetValue();
    }
    return Value::null();
}

} // namespace

TfsCustomVariable* fsParseDeclaration(const QString& Syntax, const TfsScript* Script)
{
    DeclarationReader r(Syntax, Script && Script->ExtendedCharset());
    QString kind = r.word();
    bool isMacro = false;
    if (kind.startsWith(QStringLiteral("macro"), Qt::CaseInsensitive)) {
        isMacro = true;
        kind = kind.mid(5);
    }
    const bool isFunction = kind.compare(QStringLiteral("function"), Qt::CaseInsensitive) == 0;
    const QString name = r.word();

    QString typeName;
    if (isFunction) {
        const qsizetype colon = Syntax.lastIndexOf(u':');
        if (colon >= 0) {
            DeclarationReader t(Syntax.mid(colon + 1), Script && Script->ExtendedCharset());
            typeName = t.word();
        }
    }
    auto* item = new TfsCustomVariable(name, fsNameToVarType(typeName, Script), typeName);
    item->SetIsMacro(isMacro);

    try {
        if (r.consume(u'(')) {
            bool listEnded = false;
            while (!listEnded && !r.atEnd()) {
                QStringList names;
                bool byRef = false;
                bool typed = false;
                // Names up to ':', separated by ','; "var" and "const" mark the group.
                while (!r.atEnd()) {
                    const int before = r.parser().Position();
                    const QString word = r.word();
                    if (word.compare(u"var", Qt::CaseInsensitive) == 0)
                        byRef = true;
                    else if (word.compare(u"const", Qt::CaseInsensitive) == 0)
                        ;
                    else if (!word.isEmpty())
                        names << word;
                    if (r.consume(u','))
                        continue;
                    if (r.consume(u':')) {
                        typed = true;
                        break;
                    }
                    if (r.consume(u')')) {
                        listEnded = true;
                        break;
                    }
                    if (r.parser().Position() == before) // nothing readable: stop
                        r.parser().SetPosition(r.parser().Size() + 1);
                }
                if (!typed)
                    break;
                const QString paramType = r.word();
                Value def = Value::null();
                if (r.consume(u'='))
                    def = defaultValue(r, Script);
                const TfsVarType paramKind = fsNameToVarType(paramType, Script);
                for (qsizetype i = 0; i < names.size(); ++i) {
                    const bool last = i == names.size() - 1;
                    auto* param = new TfsParamItem(names[i], paramKind, paramType, last && !def.isNull(), byRef);
                    if (last && !def.isNull())
                        param->SetDefValue(def);
                    item->Add(param);
                }
                if (r.consume(u';'))
                    continue;
                r.consume(u')');
                listEnded = true;
            }
        }
    } catch (...) {
        delete item;
        throw;
    }
    return item;
}

Value fsVarRecToValue(const TfsVarRec& Rec)
{
    switch (Rec.VType) {
    case TfsVarRec::vtInteger:
        return Value(int(Rec.VInteger));
    case TfsVarRec::vtObject:
        return orv::script::objectValue(Rec.VObject);
    case TfsVarRec::vtBoolean:
        return Value(Rec.VInteger != 0);
    case TfsVarRec::vtChar:
    case TfsVarRec::vtWideChar:
    case TfsVarRec::vtString:
    case TfsVarRec::vtAnsiString:
    case TfsVarRec::vtWideString:
    case TfsVarRec::vtUnicodeString:
        return Value(Rec.VString);
    case TfsVarRec::vtExtended:
    case TfsVarRec::vtCurrency:
        return Value(double(Rec.VExtended));
    case TfsVarRec::vtInt64:
        return Value::fromInt64(Rec.VInteger);
    case TfsVarRec::vtVariant:
        return Rec.VVariant;
    default:
        return Value::null();
    }
}

TfsVarRec fsValueToVarRec(const Value& v)
{
    TfsVarRec rec;
    switch (v.type()) {
    case orv::script::varSmallint:
    case orv::script::varInteger:
    case orv::script::varShortInt:
    case orv::script::varByte:
    case orv::script::varWord:
        rec.VType = TfsVarRec::vtInteger;
        rec.VInteger = v.asInt();
        break;
    case orv::script::varLongWord:
        rec.VType = TfsVarRec::vtInteger;
        rec.VInteger = v.asInt64();
        break;
    case orv::script::varSingle:
    case orv::script::varDouble:
    case orv::script::varCurrency:
    case orv::script::varDate:
        rec.VType = TfsVarRec::vtExtended;
        rec.VExtended = v.toDouble();
        break;
    case orv::script::varOleStr:
    case orv::script::varString:
        // Whole texts: an 8-bit short string would cut them at 255 characters.
        rec.VType = TfsVarRec::vtAnsiString;
        rec.VString = v.text();
        break;
    case orv::script::varUString:
        rec.VType = TfsVarRec::vtUnicodeString;
        rec.VString = v.text();
        break;
    case orv::script::varBoolean:
        rec.VType = TfsVarRec::vtBoolean;
        rec.VInteger = v.asBool() ? 1 : 0;
        break;
    case orv::script::varInt64:
        rec.VType = TfsVarRec::vtInt64;
        rec.VInteger = v.asInt64();
        break;
    case orv::script::varVariant:
        rec.VType = TfsVarRec::vtVariant;
        rec.VVariant = v;
        break;
    default:
        rec.VType = TfsVarRec::vtInteger;
        rec.VInteger = 0;
        break;
    }
    return rec;
}

void fsValueArrayToVarRecs(const Value& Array, std::vector<TfsVarRec>& Recs)
{
    Recs.clear();
    if (!Array.isArray())
        return;
    const int low = Array.lowBound(1), high = Array.highBound(1);
    const int dims = Array.dimCount();
    for (int i = low; i <= high; ++i)
        Recs.push_back(fsValueToVarRec(dims == 1 ? Array.element({i}) : Array.elements()[size_t(i - low)]));
}

void fsFreeVarRecs(std::vector<TfsVarRec>& Recs)
{
    Recs.clear();
}

QPoint fsPositionToPoint(const QString& Pos)
{
    if (Pos.isEmpty())
        return QPoint(0, 0);
    const qsizetype colon = Pos.indexOf(u':');
    if (colon < 0)
        throw orv::platform::EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(Pos));
    bool okY, okX;
    const int y = Pos.left(colon).toInt(&okY);
    const int x = Pos.mid(colon + 1).toInt(&okX);
    if (!okY)
        throw orv::platform::EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(Pos.left(colon)));
    if (!okX)
        throw orv::platform::EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(Pos.mid(colon + 1)));
    return QPoint(x, y);
}

} // namespace orv::script
