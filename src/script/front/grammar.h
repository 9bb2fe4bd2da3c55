#pragma once
// A language grammar compiled once from its XML text into a graph of rule items with
// resolved references, so that parsing never looks up names or reads attributes.
#include <QString>
#include <memory>
#include <utility>
#include <vector>

#include "script/front/xml.h"

class TfsParser;

namespace orv::script {

struct GrammarItem {
    enum class Kind : unsigned char {
        Rule,           // a direct child of the grammar's outermost element
        Char,
        Keyword,
        Ident,
        Number,
        String,
        FRString,
        Eol,
        Sequence,
        Switch,
        OptionalSwitch,
        Loop,
        OptionalLoop,
        Optional,
        Reference,      // any other name: the rule of that name
    };
    Kind kind = Kind::Rule;
    bool noSkip = false;    // char with skip="0": no space skipping before it
    bool loopSkip = false;  // loop with skip="1": drop the error that ended it
    bool term = false;      // term="1"
    bool hasErr = false;    // err names an error (its text may still be empty)
    bool nodeIsUses = false; // node "uses": unit inclusion instead of wrapping
    bool nodeIsExpr = false; // node "expr": also records where the expression ends
    int target = -1;        // Reference: the rule's item index; -1 when the grammar lacks it
    QString text;           // expected token or loop separator, lower-cased
    QString node;           // wrapping element, lower-cased
    QString add;            // element added on success
    QString addText;        // its text, already escaped
    QString errText;
    std::vector<int> children;
};

class CompiledGrammar {
public:
    // Reads and compiles a grammar; malformed XML raises "Invalid file format".
    static std::shared_ptr<const CompiledGrammar> compile(const QString& grammarText);

    const TfsXMLDocument& document() const { return FDocument; }
    const GrammarItem& item(int index) const { return FItems[size_t(index)]; }
    // The start rule; a grammar without one gets an empty rule.
    int programRule() const { return FProgramRule; }
    // The type aliases copied into every intermediate program.
    const TfsXMLItem& types() const { return FTypes; }

    // Puts the grammar's keywords and tokenizer settings into a freshly cleared tokenizer;
    // false when the grammar switches declarations off ("declarevars" "0").
    bool applyTo(TfsParser& parser) const;

private:
    CompiledGrammar() = default;
    int compileItem(const TfsXMLItem* element, bool isRule);

    TfsXMLDocument FDocument;
    std::vector<GrammarItem> FItems;
    int FProgramRule = -1;
    TfsXMLItem FTypes;
    std::vector<QString> FKeywords;
    std::vector<std::pair<QString, QString>> FSettings; // lower-cased name, text
    const TfsXMLItem* FErrors = nullptr;
};

} // namespace orv::script
