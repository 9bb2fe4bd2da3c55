#include "script/front/ilparser.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include "platform/core/cp1252.h"
#include "platform/core/exceptions.h"
#include "platform/core/services.h"
#include "platform/core/text.h"
#include "script/core/script.h"
#include "script/front/grammar.h"
#include "script/front/languages.h"
#include "script/front/messages.h"

using orv::script::GrammarItem;
using Kind = GrammarItem::Kind;

namespace {

inline char16_t lower1(char16_t c)
{
    if (c < 128)
        return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
    return char16_t(QChar::toLower(c));
}

// A token against an item's expected text, which the grammar compiler lower-cased.
bool sameToken(QStringView token, const QString& expected, bool caseSensitive)
{
    if (token.size() != expected.size())
        return false;
    if (caseSensitive)
        return token == expected;
    for (qsizetype i = 0; i < token.size(); ++i)
        if (lower1(token[i].unicode()) != expected[i].unicode())
            return false;
    return true;
}

// The intermediate program travels as UTF-8 text in the file format; a lone surrogate of
// a string literal comes back from that the way the writer encodes it.
QString asStoredText(const QString& s)
{
    for (QChar c : s)
        if (c.isSurrogate())
            return QString::fromUtf8(s.toUtf8());
    return s;
}

QString decodeSourceFile(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE).decode(bytes.mid(2));
    if (bytes.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringDecoder::Utf16BE).decode(bytes.mid(2));
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? orv::cp1252::decode(bytes) : text;
}

} // namespace

TfsILParser::TfsILParser(TfsScript* program)
    : FProgram(program), FILScript(std::make_unique<TfsXMLDocument>())
{
}

TfsILParser::~TfsILParser() = default;

const TfsXMLDocument* TfsILParser::Grammar() const
{
    return FGrammar ? &FGrammar->document() : nullptr;
}

const TfsXMLItem* TfsILParser::Root() const
{
    return FGrammar ? FGrammar->document().Root() : nullptr;
}

void TfsILParser::SelectLanguage(const QString& langName)
{
    auto grammar = orv::script::compiledGrammar(langName);
    FGrammar = std::move(grammar);
    FLangName = langName;
    FNeedDeclareVars = FGrammar->applyTo(FParser);
    if (FProgram->ExtendedCharset())
        FParser.AddIdentifierChars(128, 255);
}

bool TfsILParser::MakeILScript(const QString& text)
{
    if (!FGrammar)
        SelectLanguage(FProgram->SyntaxType());
    TfsXMLItem* root = FILScript->Root();
    root->Clear();
    root->SetName(QString());
    root->SetText(QString());
    FLines.clear();
    FUnits.clear();
    FErrorText.clear();
    FErrorPos.clear();
    FTermFlag = false;
    FDepth = FDepthBase;
    if (FUnitName.isEmpty())
        FProgram->SetErrorUnit(QString());

    FParser.SetText(text);
    int start = 1;
    // A first line "#language <name>" selects the language of the rest of the text.
    if (text.startsWith(u'#')) {
        FParser.SetPosition(2);
        if (FParser.readWord().compare(u"language", Qt::CaseInsensitive) == 0) {
            const qsizetype from = FParser.Position() - 1;
            qsizetype end = from;
            while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
                ++end;
            SelectLanguage(orv::trimmed(text.mid(from, end - from)));
            if (end + 1 < text.size() && text[end] == u'\r' && text[end + 1] == u'\n')
                start = int(end) + 3;
            else
                start = int(std::min(end + 2, text.size() + 1));
        }
    }
    FParser.SetPosition(start);

    bool matched;
    try {
        matched = match(FGrammar->programRule());
    } catch (const NestingTooDeep& deep) {
        matched = false;
        FErrorText = orv::script::nestingTooDeepText();
        FErrorPos = positionAfterSpaces(deep.position);
    }
    const bool success = matched && FErrorText.isEmpty();
    if (!matched && FErrorText.isEmpty()) {
        // The grammar gave up without naming an error: report it where it stopped.
        FErrorText = orv::script::statementExpectedText();
        FErrorPos = positionAfterSpaces(FParser.Position());
    }
    if (success) {
        buildILScript();
        FErrorPos.clear();
    }
    FLines.clear();
    FUnits.clear();
    FProgram->SetErrorPos(FErrorPos);
    FProgram->SetErrorMsg(FErrorText);
    return success;
}

bool TfsILParser::match(int itemIndex)
{
    const GrammarItem& item = FGrammar->item(itemIndex);
    const int p0 = FParser.Position();
    if (FDepth >= MaxNesting)
        throw NestingTooDeep{p0};
    ++FDepth;
    struct Leave {
        int& depth;
        ~Leave() { --depth; }
    } leave{FDepth};
    const int l0 = int(FLines.size());
    const bool caseSensitive = FParser.CaseSensitive();
    // The token read, kept only where an added element needs it.
    const bool keepToken = !item.add.isEmpty() && item.addText.isEmpty();
    QString token;
    bool matched = false;

    switch (item.kind) {
    case Kind::Rule:
    case Kind::Sequence:
        matched = true;
        break;
    case Kind::Char: {
        if (!item.noSkip)
            FParser.SkipSpaces();
        const char16_t c = FParser.readChar();
        matched = c != 0 && (item.text.isEmpty() || sameToken(QStringView(&c, 1), item.text, caseSensitive));
        if (matched && keepToken)
            token = QChar(c);
        break;
    }
    case Kind::Keyword:
    case Kind::Ident: {
        const QStringView word = item.kind == Kind::Keyword ? FParser.readWord() : FParser.readIdent();
        matched = !word.isEmpty() && (item.text.isEmpty() || sameToken(word, item.text, caseSensitive));
        if (matched && keepToken)
            token = word.toString();
        break;
    }
    case Kind::Number:
    case Kind::String:
        token = item.kind == Kind::Number ? FParser.GetNumber() : FParser.GetString();
        matched = !token.isEmpty() && (item.text.isEmpty() || sameToken(token, item.text, caseSensitive));
        break;
    case Kind::FRString:
        token = FParser.GetFRString();
        appendReportText(token);
        matched = !token.isEmpty();
        break;
    case Kind::Eol:
        matched = FParser.GetEOL();
        break;
    case Kind::Switch:
    case Kind::OptionalSwitch:
        for (int child : item.children)
            if (match(child))
                return true;
        if (item.kind == Kind::OptionalSwitch)
            return true;
        recordError(item, p0);
        return false;
    case Kind::Loop:
    case Kind::OptionalLoop:
        return matchLoop(item, p0);
    case Kind::Optional:
        for (int child : item.children) {
            if (!match(child)) {
                FParser.SetPosition(p0);
                break;
            }
        }
        return true;
    case Kind::Reference:
        if (item.target < 0)
            throw orv::Exception(fsMessage(TfsMessage::SInvalidLanguage));
        matched = match(item.target);
        break;
    }

    bool result = matched;
    if (matched) {
        if (item.kind != Kind::Rule)
            applyNode(item, true, p0, l0);
        if (!item.add.isEmpty())
            appendAdded(item.add, item.addText.isEmpty() ? fsEscapeXMLText(token) : item.addText);
        result = matchChildren(item);
    } else {
        recordError(item, p0);
    }
    if (!result)
        FParser.SetPosition(p0);
    if (item.kind == Kind::Rule)
        applyNode(item, result, p0, l0);
    else if (!matched)
        applyNode(item, false, p0, l0);
    return result;
}

bool TfsILParser::matchChildren(const GrammarItem& item)
{
    for (int child : item.children)
        if (!match(child))
            return false;
    return true;
}

bool TfsILParser::matchLoop(const GrammarItem& item, int p0)
{
    int iterations = 0;
    int afterIteration = p0;
    bool ok = false;
    for (;;) {
        const int iterationStart = FParser.Position();
        ++iterations;
        ok = matchChildren(item);
        afterIteration = FParser.Position();
        if (ok && !item.text.isEmpty()) {
            FParser.SkipSpaces();
            const char16_t c = FParser.readChar();
            if (c == 0 || !sameToken(QStringView(&c, 1), item.text, true)) {
                FParser.SetPosition(afterIteration);
                break;
            }
        }
        if (!ok || FParser.Position() == iterationStart)
            break;
    }
    if (iterations > 1) {
        // The attempt after the last separator may fail; what came before stands.
        if (item.loopSkip || FTermFlag)
            FErrorText.clear();
        FParser.SetPosition(afterIteration);
        ok = true;
    }
    if (!ok)
        FParser.SetPosition(p0);
    return ok || item.kind == Kind::OptionalLoop;
}

QString TfsILParser::positionAfterSpaces(int position)
{
    const int keep = FParser.Position();
    FParser.SetPosition(position);
    FParser.SkipSpaces();
    const QString text = FParser.GetXYPosition();
    FParser.SetPosition(keep);
    return text;
}

void TfsILParser::applyNode(const GrammarItem& item, bool success, int p0, int l0)
{
    if (item.node.isEmpty())
        return;
    if (item.nodeIsUses) {
        includeUnits(l0);
        return;
    }
    if (!success) {
        FLines.erase(FLines.begin() + l0, FLines.end());
        return;
    }
    QString attributes = QStringLiteral("pos=\"") + positionAfterSpaces(p0) + u'"';
    if (item.nodeIsExpr)
        attributes += QStringLiteral(" pos1=\"") + FParser.GetXYPosition() + u'"';
    FLines.insert(FLines.begin() + l0, Line{Line::Open, item.node, std::move(attributes)});
    FLines.push_back(Line{Line::Close, item.node, QString()});
}

void TfsILParser::appendAdded(const QString& name, const QString& escapedText)
{
    FLines.push_back(Line{Line::Empty, name,
                          QStringLiteral("text=\"") + asStoredText(escapedText) + QStringLiteral("\" pos=\"") + FParser.GetXYPosition() + u'"'});
}

// A report text «<...>» becomes the designator of the call Get('...').
void TfsILParser::appendReportText(const QString& text)
{
    const QString pos = QStringLiteral("pos=\"") + FParser.GetXYPosition() + u'"';
    const QString dsgn = QStringLiteral("dsgn"), expr = QStringLiteral("expr");
    FLines.push_back(Line{Line::Open, dsgn, pos});
    FLines.push_back(Line{Line::Empty, QStringLiteral("node"), QStringLiteral("text=\"Get\" ") + pos});
    FLines.push_back(Line{Line::Open, expr, pos});
    FLines.push_back(Line{Line::Empty, QStringLiteral("string"),
                          QStringLiteral("text=\"'") + asStoredText(fsEscapeXMLText(text)) + QStringLiteral("'\" ") + pos});
    FLines.push_back(Line{Line::Close, expr, QString()});
    FLines.push_back(Line{Line::Close, dsgn, QString()});
}

void TfsILParser::recordError(const GrammarItem& item, int p0)
{
    if (!item.hasErr || !FErrorText.isEmpty())
        return;
    FErrorText = item.errText;
    FErrorPos = positionAfterSpaces(p0);
    FTermFlag = item.term;
}

// Replaces the `file` elements a uses clause added, from the last one back, by the
// included units; each unit goes in front of those included before it.
void TfsILParser::includeUnits(int l0)
{
    for (int i = int(FLines.size()) - 1; i >= l0; --i) {
        const Line& line = FLines[size_t(i)];
        if (line.kind != Line::Empty || line.name.compare(u"file", Qt::CaseInsensitive) != 0)
            continue;
        // text="'name'": the unit name is the value as written, without its apostrophes.
        const QString& a = line.attributes;
        const qsizetype from = a.indexOf(u"text=\"");
        const qsizetype valueStart = from < 0 ? 0 : from + 6;
        const qsizetype valueEnd = a.indexOf(u'"', valueStart);
        const QString value = from < 0 ? QString() : a.mid(valueStart, valueEnd - valueStart);
        const QString name = value.mid(1, value.size() - 2);
        FLines.erase(FLines.begin() + i);
        bool included = false;
        std::unique_ptr<TfsXMLItem> unit = includeUnit(name, included);
        if (!included)
            continue;
        int unitIndex = -1;
        if (unit) {
            unitIndex = int(FUnits.size());
            FUnits.push_back(std::move(unit));
        }
        const QString uses = QStringLiteral("uses");
        const Line block[] = {
            {Line::Open, uses, QStringLiteral("unit=\"") + name + u'"'},
            {Line::Unit, QString(), QString(), unitIndex},
            {Line::Close, uses, QString()},
        };
        FLines.insert(FLines.begin() + l0, std::begin(block), std::end(block));
        l0 += 3;
        i += 3;
    }
}

std::unique_ptr<TfsXMLItem> TfsILParser::includeUnit(const QString& name, bool& included)
{
    included = false;
    for (const QString& done : FUsesList)
        if (done.compare(name, Qt::CaseInsensitive) == 0)
            return nullptr;
    included = true;
    FUsesList << name;
    const QStringList lines = fsTextToLines(unitSource(name));
    if (lines.isEmpty())
        return nullptr;

    TfsILParser unitParser(FProgram);
    unitParser.FUnitName = name;
    unitParser.SelectLanguage(FLangName);
    unitParser.FUsesList = FUsesList;
    unitParser.FDepthBase = FDepth;
    if (unitParser.MakeILScript(fsLinesToText(lines))) {
        FUsesList = unitParser.FUsesList;
        auto program = std::make_unique<TfsXMLItem>();
        program->Assign(unitParser.ILScript()->Root());
        return program;
    }
    FErrorText = FProgram->ErrorMsg();
    FErrorPos = FProgram->ErrorPos();
    if (FProgram->ErrorUnit().isEmpty())
        FProgram->SetErrorUnit(name);
    return nullptr;
}

QString TfsILParser::unitSource(const QString& name)
{
    if (FProgram->OnGetUnit()) {
        QString source;
        FProgram->OnGetUnit()(*FProgram, name, source);
        return source;
    }
    // The first include folder holding the file, else the last one tried; without
    // include folders the program folder.
    QString path;
    const QStringList& folders = FProgram->IncludePath();
    if (folders.isEmpty())
        path = QDir(orv::programFolder()).filePath(name);
    for (QString folder : folders) {
        if (!folder.endsWith(u'/') && !folder.endsWith(u'\\'))
            folder += u'/';
        path = folder + name;
        if (QFile::exists(path))
            break;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw orv::EFileError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    return decodeSourceFile(file.readAll());
}

void TfsILParser::buildILScript()
{
    TfsXMLItem* root = FILScript->Root();
    root->SetName(QStringLiteral("program"));
    std::vector<TfsXMLItem*> open{root};
    for (Line& line : FLines) {
        switch (line.kind) {
        case Line::Open: {
            TfsXMLItem* item = open.back()->Add();
            item->SetName(line.name);
            item->SetText(line.attributes);
            open.push_back(item);
            break;
        }
        case Line::Close:
            if (open.size() > 1)
                open.pop_back();
            break;
        case Line::Empty: {
            TfsXMLItem* item = open.back()->Add();
            item->SetName(line.name);
            item->SetText(line.attributes);
            break;
        }
        case Line::Unit:
            if (line.unit >= 0)
                open.back()->AddItem(FUnits[size_t(line.unit)].release());
            break;
        }
    }
    root->Add()->Assign(&FGrammar->types());
}
