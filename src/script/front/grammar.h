#pragma once
// A language grammar compiled once from its XML text into a graph of rule items with
// resolved references, so that parsing never looks up names or reads attributes.
#include <QString>
#include <bitset>
#include <memory>
#include <utility>
#include <vector>

#include "script/front/tokenizer.h"
#include "script/front/xml.h"

namespace orv::script {

// What the parser may know from the next significant character alone (the character
// where skipping spaces and comments stops): codes 0 to 127 by themselves, every higher
// code as one class. Code 0 is also the end of the source.
inline constexpr int lookaheadClasses = 129;
using LookaheadSet = std::bitset<lookaheadClasses>;
inline int lookaheadClass(char16_t c) { return c < 128 ? c : 128; }

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

    // Next significant characters on which matching the item surely fails without any
    // effect (no error recorded, no output, position unchanged), and on which it surely
    // succeeds without reading anything and without any effect. The parser answers
    // those cases at once instead of running the item.
    LookaheadSet failsOn;
    LookaheadSet passesOn;
    bool decidedEarly = false; // either set is not empty
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

    // The tokenizer settings the grammar makes, starting from the tokenizer defaults.
    const TfsParser::Settings& parserSettings() const { return FParserSettings; }
    // False when the grammar switches declarations off ("declarevars" "0").
    bool declareVars() const { return FDeclareVars; }
    // True when the program must take the whole text ("wholetext" "1"): text the start
    // rule leaves unread is an error there.
    bool wholeText() const { return FWholeText; }

private:
    CompiledGrammar() = default;
    void computeLookahead();
    LookaheadSet tokenStarts(const GrammarItem& item) const;

    TfsXMLDocument FDocument;
    std::vector<GrammarItem> FItems;
    int FProgramRule = -1;
    TfsXMLItem FTypes;
    TfsParser::Settings FParserSettings;
    bool FDeclareVars = true;
    bool FWholeText = false;
    const TfsXMLItem* FErrors = nullptr;
};

} // namespace orv::script
