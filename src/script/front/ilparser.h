#pragma once
// The first half of compiling a script: the selected language's grammar is run over the
// source and produces the intermediate program (IL), an XML document whose elements the
// grammar names. The builder (second half) reads the IL into the interpreter's objects.
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "script/front/tokenizer.h"
#include "script/front/xml.h"

class TfsScript;

namespace orv::script {
class CompiledGrammar;
struct GrammarItem;
}

class TfsILParser {
public:
    // Rule items the parser may have open at once: deeper source fails to parse with
    // nestingTooDeepText() instead of exhausting the native stack.
    static constexpr int MaxNesting = 2500;

    explicit TfsILParser(TfsScript* program);
    ~TfsILParser();
    TfsILParser(const TfsILParser&) = delete;
    TfsILParser& operator=(const TfsILParser&) = delete;

    // Selects a registered language; an unknown name raises SLangNotFound. Every
    // selection starts the tokenizer from its defaults.
    void SelectLanguage(const QString& langName);
    // Parses the text into ILScript. False on a syntax error, with the script's ErrorMsg
    // and ErrorPos (and ErrorUnit for an error inside an included unit) describing the
    // first one; both are empty on success. A language that cannot be found, a grammar
    // naming a missing rule and an unreadable unit file raise exceptions.
    bool MakeILScript(const QString& text);

    TfsScript* Program() const { return FProgram; }
    TfsXMLDocument* ILScript() const { return FILScript.get(); }
    const TfsXMLDocument* Grammar() const;
    const TfsXMLItem* Root() const;
    const orv::script::CompiledGrammar* CompiledGrammar() const { return FGrammar.get(); }
    TfsParser* Parser() { return &FParser; }
    const QString& LangName() const { return FLangName; }
    bool NeedDeclareVars() const { return FNeedDeclareVars; }
    QStringList& UsesList() { return FUsesList; }
    const QString& UnitName() const { return FUnitName; }
    void SetUnitName(const QString& value) { FUnitName = value; }

private:
    // One line of output: an opening tag, a closing tag, an empty element, or the
    // intermediate program of an included unit.
    struct Line {
        enum Kind : unsigned char { Open, Close, Empty, Unit } kind;
        QString name;
        QString attributes;
        int unit = -1; // index into FUnits; -1 for a unit that gave no program
    };
    struct NestingTooDeep {
        int position;
    };

    bool match(int itemIndex);
    bool matchChildren(const orv::script::GrammarItem& item);
    bool matchLoop(const orv::script::GrammarItem& item, int p0);
    void applyNode(const orv::script::GrammarItem& item, bool success, int p0, int l0);
    void appendAdded(const QString& name, const QString& escapedText);
    void appendReportText(const QString& text);
    void recordError(const orv::script::GrammarItem& item, int p0);
    QString positionAfterSpaces(int position);
    void includeUnits(int l0);
    // The unit's program, or null; `included` is false when the unit was included before.
    std::unique_ptr<TfsXMLItem> includeUnit(const QString& name, bool& included);
    QString unitSource(const QString& name);
    void buildILScript();

    TfsScript* FProgram;
    std::shared_ptr<const orv::script::CompiledGrammar> FGrammar;
    TfsParser FParser;
    QString FLangName;
    bool FNeedDeclareVars = true;
    std::unique_ptr<TfsXMLDocument> FILScript;
    QStringList FUsesList;
    QString FUnitName;

    // State of one MakeILScript.
    std::vector<Line> FLines;
    std::vector<std::unique_ptr<TfsXMLItem>> FUnits;
    QString FErrorText;
    QString FErrorPos;
    bool FTermFlag = false;
    int FDepth = 0;
    int FDepthBase = 0; // items open in the parse that includes this unit
};
