#include "script/front/grammar.h"

#include <QHash>
#include <functional>

#include "script/front/tokenizer.h"

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

    // Tokenizer settings, keywords and error texts.
    const int parserIndex = root->Find(QStringLiteral("parser"));
    if (parserIndex >= 0) {
        const TfsXMLItem* parser = root->Items(parserIndex);
        const int kw = parser->Find(QStringLiteral("keywords"));
        if (kw >= 0)
            for (int i = 0; i < parser->Items(kw)->Count(); ++i)
                g->FKeywords.push_back(parser->Items(kw)->Items(i)->Name());
        for (int i = 0; i < parser->Count(); ++i) {
            const TfsXMLItem* setting = parser->Items(i);
            g->FSettings.emplace_back(lower1to1(setting->Name()), setting->GetProp(QStringLiteral("text")));
        }
        const int errors = parser->Find(QStringLiteral("errors"));
        if (errors >= 0)
            g->FErrors = parser->Items(errors);
    }
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
    return g;
}

bool CompiledGrammar::applyTo(TfsParser& parser) const
{
    parser.Clear();
    parser.SetCaseSensitive(false);
    parser.SetCommentLine2(QString());
    for (const QString& keyword : FKeywords)
        parser.AddKeyword(keyword);
    bool declareVars = true;
    for (const auto& [name, text] : FSettings) {
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
            declareVars = false;
    }
    return declareVars;
}

} // namespace orv::script
