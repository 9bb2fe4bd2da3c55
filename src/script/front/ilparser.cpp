#include "script/front/ilparser.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <iterator>
#include <type_traits>

#include "platform/core/cp1252.h"
#include "platform/core/exceptions.h"
#include "platform/core/services.h"
#include "platform/core/text.h"
#include "script/core/script.h"
#include "script/front/grammar.h"
#include "script/front/languages.h"
#include "script/front/messages.h"

namespace orv::script {

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
    return utf8.hasError() ? orv::platform::cp1252::decode(bytes) : text;
}

} // namespace

TfsILParser::TfsILParser(TfsScript* program)
    : FProgram(program), FILScript(std::make_unique<TfsXMLDocument>())
{
    // The intermediate program's elements live and die with the parser.
    FILScript->UsePool();
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
    FParser.SetSettings(FGrammar->parserSettings());
    FNeedDeclareVars = FGrammar->declareVars();
    if (FProgram->ExtendedCharset())
        FParser.AddIdentifierChars(128, 255);
}

bool TfsILParser::MakeILScript(const QString& text)
{
    if (!FGrammar)
        SelectLanguage(FProgram->SyntaxType());
    FILScript->Clear();
    TfsXMLItem* root = FILScript->Root();
    root->SetName(QString());
    root->SetText(QString());
    FLines.clear();
    FLines.reserve(64);
    FLineTexts.clear();
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
            SelectLanguage(orv::platform::trimmed(text.mid(from, end - from)));
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
    bool success = matched && FErrorText.isEmpty();
    if (!matched && FErrorText.isEmpty()) {
        // The grammar gave up without naming an error: report it where it stopped.
        FErrorText = orv::script::statementExpectedText();
        FErrorPos = positionAfterSpaces(FParser.Position());
    }
    // A language whose program is a loop of statements would otherwise drop, without a
    // word, everything from the first text that starts no statement.
    if (success && FGrammar->wholeText()) {
        const int unread = firstUnreadPosition();
        if (unread <= FParser.Size()) {
            success = false;
            FErrorText = orv::script::statementExpectedText();
            FErrorPos = FParser.positionText(unread);
        }
    }
    if (success) {
        buildILScript();
        FErrorPos.clear();
    }
    FLines.clear();
    FLineTexts.clear();
    FUnits.clear();
    FProgram->SetErrorPos(FErrorPos);
    FProgram->SetErrorMsg(FErrorText);
    return success;
}

namespace {
bool lookahead = true;
}

void TfsILParser::SetLookahead(bool on)
{
    lookahead = on;
}

bool TfsILParser::match(int itemIndex)
{
    const GrammarItem& item = FGrammar->item(itemIndex);
    // The early decisions hold for token readers that skip spaces, as grammars have them.
    if (item.decidedEarly && lookahead && FParser.SkipSpace()) {
        const int c = orv::script::lookaheadClass(FParser.peekSignificant());
        if (item.failsOn[size_t(c)])
            return false;
        if (item.passesOn[size_t(c)])
            return true;
    }
    if (FDepth >= MaxNesting)
        throw NestingTooDeep{FParser.Position()};
    ++FDepth;
    const bool result = matchItem(item);
    --FDepth; // an exception abandons the whole parse, depth and all
    return result;
}

bool TfsILParser::matchItem(const GrammarItem& item)
{
    const int p0 = FParser.Position();
    switch (item.kind) {
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
    default:
        break;
    }

    const int l0 = int(FLines.size());
    const bool caseSensitive = FParser.CaseSensitive();
    int tokenStart = -1; // where the token read starts in the source, when it is a piece of it
    bool ownToken = false; // the token read is FToken, a text of its own
    bool matched = false;
    switch (item.kind) {
    case Kind::Char: {
        if (!item.noSkip)
            FParser.SkipSpaces();
        tokenStart = FParser.Position();
        const char16_t c = FParser.readChar();
        matched = c != 0 && (item.text.isEmpty() || sameToken(QStringView(&c, 1), item.text, caseSensitive));
        break;
    }
    case Kind::Keyword:
    case Kind::Ident: {
        const QStringView word = item.kind == Kind::Keyword ? FParser.readWord() : FParser.readIdent();
        matched = !word.isEmpty() && (item.text.isEmpty() || sameToken(word, item.text, caseSensitive));
        tokenStart = FParser.Position() - int(word.size());
        break;
    }
    case Kind::Number:
    case Kind::String:
        FToken = item.kind == Kind::Number ? FParser.GetNumber() : FParser.GetString();
        ownToken = true;
        matched = !FToken.isEmpty() && (item.text.isEmpty() || sameToken(FToken, item.text, caseSensitive));
        break;
    case Kind::FRString: {
        tokenStart = FParser.Position();
        const QString text = FParser.GetFRString();
        appendReportText(text);
        matched = !text.isEmpty();
        break;
    }
    case Kind::Eol:
        matched = FParser.GetEOL();
        break;
    case Kind::Reference:
        if (item.target < 0)
            throw orv::platform::Exception(fsMessage(TfsMessage::SInvalidLanguage));
        matched = match(item.target);
        break;
    default: // rule definitions and sequences run their children below
        matched = true;
        break;
    }

    bool result = matched;
    if (matched) {
        if (item.kind != Kind::Rule)
            applyNode(item, true, p0, l0);
        if (!item.add.isEmpty())
            appendAdded(item, tokenStart, ownToken ? &FToken : nullptr);
        if (!item.children.empty())
            result = matchChildren(item);
    } else {
        recordError(item, p0);
    }
    if (!result)
        FParser.SetPosition(p0);
    if (item.kind == Kind::Rule)
        applyNode(item, result, p0, l0);
    else if (!matched && !item.node.isEmpty())
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

int TfsILParser::firstUnreadPosition()
{
    const int keep = FParser.Position();
    while (FParser.GetEOL()) {
    }
    const int unread = FParser.Position();
    FParser.SetPosition(keep);
    return unread;
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
    Line open;
    open.kind = Line::Open;
    open.name = &item.node;
    open.pos = p0;
    open.withEnd = item.nodeIsExpr;
    open.end = FParser.Position();
    FLines.insert(FLines.begin() + l0, std::move(open));
    Line close;
    close.kind = Line::Close;
    FLines.push_back(std::move(close));
}

const QString& TfsILParser::lineText(const Line& line) const
{
    static const QString none;
    if (line.fixedText)
        return *line.fixedText;
    return line.ownText >= 0 ? FLineTexts[size_t(line.ownText)] : none;
}

void TfsILParser::setOwnText(Line& line, const QString& text)
{
    line.fixedText = nullptr;
    line.ownText = int(FLineTexts.size());
    FLineTexts.push_back(text);
}

// An element added by an item: its text is the item's addtext or the token read; its
// position is right behind the token.
void TfsILParser::appendAdded(const GrammarItem& item, int tokenStart, const QString* ownToken)
{
    Line line;
    line.name = &item.add;
    line.pos = FParser.Position();
    if (!item.addText.isEmpty()) {
        line.fixedText = &item.addText;
        line.escaped = true;
    } else if (ownToken) {
        setOwnText(line, *ownToken);
    } else if (tokenStart >= 0) {
        line.sliceStart = tokenStart;
        line.sliceLength = FParser.Position() - tokenStart;
    }
    FLines.push_back(std::move(line));
}

// A report text «<...>» becomes the designator of the call Get('...'), every element at
// the position of the closing '>'.
void TfsILParser::appendReportText(const QString& text)
{
    static const QString dsgn = QStringLiteral("dsgn"), expr = QStringLiteral("expr"),
                         node = QStringLiteral("node"), string = QStringLiteral("string"),
                         get = QStringLiteral("Get");
    const int pos = FParser.Position();
    auto open = [&](const QString* name) {
        Line line;
        line.kind = Line::Open;
        line.name = name;
        line.pos = pos;
        line.skipToPos = false;
        FLines.push_back(std::move(line));
    };
    auto empty = [&](const QString* name, const QString* fixed, const QString& value, bool escaped) {
        Line line;
        line.name = name;
        line.pos = pos;
        if (fixed)
            line.fixedText = fixed;
        else
            setOwnText(line, value);
        line.escaped = escaped;
        FLines.push_back(std::move(line));
    };
    auto close = [&] {
        Line line;
        line.kind = Line::Close;
        FLines.push_back(std::move(line));
    };
    open(&dsgn);
    empty(&node, &get, QString(), true);
    open(&expr);
    empty(&string, nullptr, u'\'' + text + u'\'', false);
    close();
    close();
}

// The `text` attribute's value of an added element, escaped.
void TfsILParser::appendAttributeValue(QString& out, const Line& line) const
{
    if (line.escaped) {
        out += lineText(line);
        return;
    }
    const QStringView value = line.sliceStart >= 0
                                  ? QStringView(FParser.Text()).mid(line.sliceStart - 1, line.sliceLength)
                                  : QStringView(lineText(line));
    if (std::any_of(value.begin(), value.end(), [](QChar c) { return c.isSurrogate(); }))
        fsAppendEscapedXMLText(out, asStoredText(value.toString()));
    else
        fsAppendEscapedXMLText(out, value);
}

void TfsILParser::appendAttributeValue(std::u16string& out, const Line& line) const
{
    const QStringView value = line.escaped ? QStringView(lineText(line))
                              : line.sliceStart >= 0
                                  ? QStringView(FParser.Text()).mid(line.sliceStart - 1, line.sliceLength)
                                  : QStringView(lineText(line));
    auto plain = [](QChar c) {
        const char16_t u = c.unicode();
        return u != 10 && u != 13 && u != u'"' && u != u'<' && u != u'>' && u != u'&' && !c.isSurrogate();
    };
    if (line.escaped || std::all_of(value.begin(), value.end(), plain)) {
        out.append(value.utf16(), size_t(value.size()));
        return;
    }
    QString escaped;
    appendAttributeValue(escaped, line);
    out.append(reinterpret_cast<const char16_t*>(escaped.constData()), size_t(escaped.size()));
}

void TfsILParser::appendPosition(std::u16string& out, int position) const
{
    int line, column;
    FParser.lineColumn(position, line, column);
    char16_t text[24];
    char16_t* end = text + std::size(text);
    char16_t* p = end;
    for (int v = column;; v /= 10) {
        *--p = char16_t(u'0' + v % 10);
        if (v < 10)
            break;
    }
    *--p = u':';
    for (int v = line;; v /= 10) {
        *--p = char16_t(u'0' + v % 10);
        if (v < 10)
            break;
    }
    out.append(p, size_t(end - p));
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
        if (line.kind != Line::Empty || line.name->compare(u"file", Qt::CaseInsensitive) != 0)
            continue;
        // text="'name'": the unit name is the value as written, without its apostrophes.
        QString value;
        appendAttributeValue(value, line);
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
        Line block[3];
        block[0].kind = Line::UsesOpen;
        setOwnText(block[0], name);
        block[1].kind = Line::Unit;
        block[1].unit = unitIndex;
        block[2].kind = Line::Close;
        FLines.insert(FLines.begin() + l0, std::make_move_iterator(std::begin(block)), std::make_move_iterator(std::end(block)));
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
        path = QDir(orv::platform::programFolder()).filePath(name);
    for (QString folder : folders) {
        // An empty entry (a new script has one) is the program folder, not the
        // root of the file system.
        if (folder.isEmpty())
            folder = orv::platform::programFolder();
        if (!folder.endsWith(u'/') && !folder.endsWith(u'\\'))
            folder += u'/';
        path = folder + name;
        if (QFile::exists(path))
            break;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw orv::platform::EFileError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    return decodeSourceFile(file.readAll());
}

void TfsILParser::buildILScript()
{
    static_assert(std::is_trivially_copyable_v<Line>, "lines are moved as bytes");
    static const QString program = QStringLiteral("program"), uses = QStringLiteral("uses");
    // Count each element's children first, so that every child list is made once.
    std::vector<int> childCount(FLines.size() + 1, 0), openLine{int(FLines.size())};
    for (size_t i = 0; i < FLines.size(); ++i) {
        const Line& line = FLines[i];
        if (line.kind == Line::Close) {
            if (openLine.size() > 1)
                openLine.pop_back();
            continue;
        }
        if (line.kind != Line::Unit || line.unit >= 0)
            ++childCount[size_t(openLine.back())];
        if (line.kind == Line::Open || line.kind == Line::UsesOpen)
            openLine.push_back(int(i));
    }

    TfsXMLItem* root = FILScript->Root();
    root->SetName(program);
    root->Reserve(childCount.back() + 1);
    std::vector<TfsXMLItem*> open{root};
    // One buffer for every attribute text: the elements copy it into their pool.
    std::u16string attributes;
    attributes.reserve(64);
    auto text = [&] { return QStringView(attributes.data(), qsizetype(attributes.size())); };
    auto openElement = [&](const QString& name, size_t line) {
        TfsXMLItem* item = open.back()->Add();
        item->SetName(name);
        item->SetText(text());
        item->Reserve(childCount[line]);
        open.push_back(item);
    };
    for (size_t i = 0; i < FLines.size(); ++i) {
        Line& line = FLines[i];
        switch (line.kind) {
        case Line::Open: {
            int pos = line.pos;
            if (line.skipToPos) {
                FParser.SetPosition(pos);
                FParser.SkipSpaces();
                pos = FParser.Position();
            }
            attributes.assign(u"pos=\"", 5);
            appendPosition(attributes, pos);
            if (line.withEnd) {
                attributes.append(u"\" pos1=\"", 8);
                appendPosition(attributes, line.end);
            }
            attributes += u'"';
            openElement(*line.name, i);
            break;
        }
        case Line::UsesOpen:
            attributes.assign(u"unit=\"", 6);
            attributes.append(reinterpret_cast<const char16_t*>(lineText(line).constData()), size_t(lineText(line).size()));
            attributes += u'"';
            openElement(uses, i);
            break;
        case Line::Close:
            if (open.size() > 1)
                open.pop_back();
            break;
        case Line::Empty: {
            attributes.assign(u"text=\"", 6);
            appendAttributeValue(attributes, line);
            attributes.append(u"\" pos=\"", 7);
            appendPosition(attributes, line.pos);
            attributes += u'"';
            TfsXMLItem* item = open.back()->Add();
            item->SetName(*line.name);
            item->SetText(text());
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

} // namespace orv::script
