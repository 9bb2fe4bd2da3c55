#include "script/front/grammar.h"

#include <QHash>
#include <functional>


namespace orv::script {

namespace {

using Kind = GrammarItem::Kind;

QString lower1to1(const QString& s)
{
    QString r = s;
    for (QChar& c : r)
        c = QChar(char16_t(QChar::toLower(c.unicode())));
    return r;
}

Kind kindOfName(const QString& lowerName)
{
    static const QHash<QString, Kind> kinds = {
        {QStringLiteral("char"), Kind::Char},
        {QStringLiteral("keyword"), Kind::Keyword},
        {QStringLiteral("ident"), Kind::Ident},
        {QStringLiteral("number"), Kind::Number},
        {QStringLiteral("string"), Kind::String},
        {QStringLiteral("frstring"), Kind::FRString},
        {QStringLiteral("eol"), Kind::Eol},
        {QStringLiteral("sequence"), Kind::Sequence},
        {QStringLiteral("switch"), Kind::Switch},
        {QStringLiteral("optionalswitch"), Kind::OptionalSwitch},
        {QStringLiteral("loop"), Kind::Loop},
        {QStringLiteral("optionalloop"), Kind::OptionalLoop},
        {QStringLiteral("optional"), Kind::Optional},
    };
    return kinds.value(lowerName, Kind::Reference);
}

} // namespace

std::shared_ptr<const CompiledGrammar> CompiledGrammar::compile(const QString& grammarText)
{
    std::shared_ptr<CompiledGrammar> g(new CompiledGrammar);
    g->FDocument.LoadFromBytes(grammarText.toUtf8());
    const TfsXMLItem* root = g->FDocument.Root();

    // Tokenizer settings, keywords and error texts. The settings are applied in the
    // order the grammar lists them, to a tokenizer in its default state.
    TfsParser parser;
    parser.SetCaseSensitive(false);
    parser.SetCommentLine2(QString());
    const int parserIndex = root->Find(QStringLiteral("parser"));
    if (parserIndex >= 0) {
        const TfsXMLItem* settings = root->Items(parserIndex);
        const int kw = settings->Find(QStringLiteral("keywords"));
        if (kw >= 0)
            for (int i = 0; i < settings->Items(kw)->Count(); ++i)
                parser.AddKeyword(settings->Items(kw)->Items(i)->Name());
        for (int i = 0; i < settings->Count(); ++i) {
            const QString name = lower1to1(settings->Items(i)->Name());
            const QString text = settings->Items(i)->GetProp(QStringLiteral("text"));
            if (name == u"identchars")
                parser.ConstructCharset(text);
            else if (name == u"commentline1")
                parser.SetCommentLine1(text);
            else if (name == u"commentline2")
                parser.SetCommentLine2(text);
            else if (name == u"commentblock1")
                parser.SetCommentBlock1(text);
            else if (name == u"commentblock2")
                parser.SetCommentBlock2(text);
            else if (name == u"stringquotes")
                parser.SetStringQuotes(text);
            else if (name == u"hexsequence")
                parser.SetHexSequence(text);
            else if (name == u"skipchar")
                parser.SetSkipChar(text);
            else if (name == u"specstrchar" && text == u"1")
                parser.SetSpecStrChar(true);
            else if (name == u"casesensitive" && text == u"1")
                parser.SetCaseSensitive(true);
            else if (name == u"skipeol" && text == u"0")
                parser.SetSkipEOL(false);
            else if (name == u"declarevars" && text == u"0")
                g->FDeclareVars = false;
            else if (name == u"wholetext" && text == u"1")
                g->FWholeText = true;
        }
        const int errors = settings->Find(QStringLiteral("errors"));
        if (errors >= 0)
            g->FErrors = settings->Items(errors);
    }
    g->FParserSettings = parser.CurrentSettings();
    const int typesIndex = root->Find(QStringLiteral("types"));
    if (typesIndex >= 0)
        g->FTypes.Assign(root->Items(typesIndex));
    else
        g->FTypes.SetName(QStringLiteral("types"));

    // Rules reachable from the start rule, each compiled once; references are resolved
    // to item indexes. A worklist keeps long reference chains off the native stack.
    std::vector<int> ruleSlot(size_t(root->Count()), -1);
    std::vector<int> pending;
    auto ruleFor = [&](int rootChild) {
        if (ruleSlot[size_t(rootChild)] < 0) {
            ruleSlot[size_t(rootChild)] = int(g->FItems.size());
            g->FItems.emplace_back();
            pending.push_back(rootChild);
        }
        return ruleSlot[size_t(rootChild)];
    };

    // Compiles the element into the item at `slot` and its children into new items.
    std::function<void(const TfsXMLItem*, int, bool)> fill = [&](const TfsXMLItem* e, int slot, bool isRule) {
        GrammarItem item;
        const QString name = lower1to1(e->Name());
        item.kind = isRule ? Kind::Rule : kindOfName(name);
        item.text = lower1to1(e->GetProp(QStringLiteral("text")));
        item.node = lower1to1(e->GetProp(QStringLiteral("node")));
        item.nodeIsUses = item.node == u"uses";
        item.nodeIsExpr = item.node == u"expr";
        item.add = e->GetProp(QStringLiteral("add"));
        item.addText = fsEscapeXMLText(e->GetProp(QStringLiteral("addtext")));
        const QString skip = e->GetProp(QStringLiteral("skip"));
        item.noSkip = skip == u"0";
        item.loopSkip = skip == u"1";
        item.term = e->GetProp(QStringLiteral("term")) == u"1";
        const QString err = e->GetProp(QStringLiteral("err"));
        item.hasErr = !err.isEmpty();
        if (item.hasErr && g->FErrors) {
            const int at = g->FErrors->Find(err);
            if (at >= 0)
                item.errText = g->FErrors->Items(at)->GetProp(QStringLiteral("text"));
        }
        if (item.kind == Kind::Reference) {
            const int rc = root->Find(e->Name());
            item.target = rc >= 0 ? ruleFor(rc) : -1;
        }
        for (int i = 0; i < e->Count(); ++i) {
            const int childSlot = int(g->FItems.size());
            g->FItems.emplace_back();
            item.children.push_back(childSlot);
            fill(e->Items(i), childSlot, false);
        }
        g->FItems[size_t(slot)] = std::move(item);
    };

    const int programIndex = root->Find(QStringLiteral("program"));
    if (programIndex >= 0) {
        g->FProgramRule = ruleFor(programIndex);
    } else {
        g->FProgramRule = int(g->FItems.size());
        g->FItems.emplace_back();
    }
    while (!pending.empty()) {
        const int rc = pending.back();
        pending.pop_back();
        fill(root->Items(rc), ruleSlot[size_t(rc)], true);
    }
    g->computeLookahead();
    return g;
}

// The characters a token item's token may start with, as the grammar's tokenizer reads.
LookaheadSet CompiledGrammar::tokenStarts(const GrammarItem& item) const
{
    const TfsParser::Settings& ps = FParserSettings;
    LookaheadSet starts;
    auto addLetter = [&](QChar c) {
        starts.set(size_t(lookaheadClass(c.unicode())));
        if (!ps.CaseSensitive) {
            starts.set(size_t(lookaheadClass(QChar::toUpper(c.unicode()))));
            starts.set(128); // other letters may fold to it
        }
    };
    switch (item.kind) {
    case Kind::Char:
        if (item.text.size() == 1)
            addLetter(item.text[0]);
        else if (item.text.isEmpty())
            for (int c = 33; c < 127; ++c)
                if (!QChar(c).isLetterOrNumber() && c != '_')
                    starts.set(size_t(c));
        break;
    case Kind::Keyword:
    case Kind::Ident:
        if (!item.text.isEmpty()) {
            addLetter(item.text[0]);
        } else {
            for (int c = 1; c < 127; ++c)
                if (ps.IdentifierCharset[size_t(c)] && !(c >= '0' && c <= '9'))
                    starts.set(size_t(c));
            starts.set(127);
            starts.set(128);
        }
        break;
    case Kind::Number:
        for (int c = '0'; c <= '9'; ++c)
            starts.set(size_t(c));
        if (!ps.HexSequence.isEmpty())
            starts.set(size_t(lookaheadClass(ps.HexSequence[0].unicode())));
        break;
    case Kind::String:
        starts.set('#');
        if (!ps.StringQuotes.isEmpty())
            starts.set(size_t(lookaheadClass(ps.StringQuotes[0].unicode())));
        break;
    case Kind::Eol:
        starts.set(10);
        starts.set(13);
        break;
    default:
        starts.set(); // not a token item
    }
    return starts;
}

// Least fixed point of "fails silently" and "passes silently" over the rule graph.
// Every rule below only ever adds characters, and each set is sound on its own: an
// item is decided early only where running it could not have shown any difference.
void CompiledGrammar::computeLookahead()
{
    const LookaheadSet all = LookaheadSet().set();
    // A sequence of items fails silently where some item fails silently and every item
    // before it passes silently.
    auto sequenceFails = [this](const std::vector<int>& items) {
        LookaheadSet result, prefixPasses = LookaheadSet().set();
        for (int i : items) {
            result |= prefixPasses & FItems[size_t(i)].failsOn;
            prefixPasses &= FItems[size_t(i)].passesOn;
        }
        return result;
    };
    auto sequencePasses = [this](const std::vector<int>& items) {
        LookaheadSet result = LookaheadSet().set();
        for (int i : items)
            result &= FItems[size_t(i)].passesOn;
        return result;
    };

    for (bool changed = true; changed;) {
        changed = false;
        for (GrammarItem& item : FItems) {
            LookaheadSet fails, passes;
            const bool quiet = item.add.isEmpty();
            switch (item.kind) {
            case Kind::Char:
                if (!item.noSkip && !item.hasErr)
                    fails = ~tokenStarts(item);
                break;
            case Kind::Keyword:
            case Kind::Ident:
            case Kind::Number:
            case Kind::String:
            case Kind::Eol:
                if (!item.hasErr)
                    fails = ~tokenStarts(item);
                break;
            case Kind::FRString:
                break;
            case Kind::Rule:
            case Kind::Sequence:
                // A sequence's own element is written before its children run.
                if (quiet && (item.kind == Kind::Rule || item.node.isEmpty()))
                    fails = sequenceFails(item.children);
                if (quiet && item.node.isEmpty())
                    passes = sequencePasses(item.children);
                break;
            case Kind::Reference:
                if (item.target >= 0) {
                    const GrammarItem& rule = FItems[size_t(item.target)];
                    if (!item.hasErr)
                        fails = rule.failsOn;
                    if (quiet && item.node.isEmpty())
                        passes = rule.passesOn;
                }
                break;
            case Kind::Switch:
            case Kind::OptionalSwitch: {
                LookaheadSet allFail = all;
                for (int c : item.children) {
                    passes |= allFail & FItems[size_t(c)].passesOn;
                    allFail &= FItems[size_t(c)].failsOn;
                }
                if (item.kind == Kind::OptionalSwitch)
                    passes |= allFail;
                else if (!item.hasErr)
                    fails = allFail;
                break;
            }
            case Kind::Loop:
            case Kind::OptionalLoop: {
                // The first iteration decides: failing silently, or passing silently
                // with no separator to read behind it.
                const LookaheadSet firstFails = sequenceFails(item.children);
                LookaheadSet emptyIteration = sequencePasses(item.children);
                if (item.text.size() == 1)
                    emptyIteration.reset(size_t(lookaheadClass(item.text[0].unicode())));
                passes = emptyIteration;
                if (item.kind == Kind::OptionalLoop)
                    passes |= firstFails;
                else
                    fails = firstFails;
                break;
            }
            case Kind::Optional:
                passes = sequenceFails(item.children) | sequencePasses(item.children);
                break;
            }
            fails |= item.failsOn;
            passes |= item.passesOn;
            if (fails != item.failsOn || passes != item.passesOn) {
                item.failsOn = fails;
                item.passesOn = passes;
                changed = true;
            }
        }
    }
    for (GrammarItem& item : FItems)
        item.decidedEarly = item.failsOn.any() || item.passesOn.any();
}

} // namespace orv::script
