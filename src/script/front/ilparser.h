#pragma once
// The first half of compiling a script: the selected language's grammar is run over the
// source and produces the intermediate program (IL), an XML document whose elements the
// grammar names. The builder (second half) reads the IL into the interpreter's objects.
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "script/core/items.h"
#include "script/front/tokenizer.h"
#include "script/front/xml.h"

namespace orv::script {

class TfsScript;
class TfsStatement;
class TfsDesignator;
class TfsDesignatorItem;
class TfsExpression;
class TfsSetExpression;
class TfsWithStmt;

} // namespace orv::script

namespace orv::script {
class CompiledGrammar;
struct GrammarItem;
}

namespace orv::script {

// What a name path asks for besides its value: `new` creates an object of the class it
// names, `delete` frees the object it reaches.
enum TfsEmitOp { emNone, emCreate, emFree };

class TfsILParser {
public:
    // Rule items the parser may have open at once: deeper source fails to parse with
    // nestingTooDeepText() instead of exhausting the native stack.
    static constexpr int MaxNesting = 2500;

    explicit TfsILParser(TfsScript* program);
    // Deciding items early from the next character is on by default; switching it off
    // runs every item in full (for checking that both give the same results).
    static void SetLookahead(bool on);
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

    // Builds the intermediate program into the script: its symbols, statements,
    // expressions and designators. Errors in the program become the script's ErrorMsg,
    // ErrorPos (the position of the element examined last) and ErrorUnit.
    void ParseILScript();
    // Resolves a name path (a `dsgn` element) in the scope Prog; owned by the caller.
    // Raises the compiler's messages.
    TfsDesignator* DoDesignator(TfsXMLItem* xi, TfsScript* Prog, TfsEmitOp EmitOp = emNone);
    void SetNeedDeclareVars(bool value) { FNeedDeclareVars = value; }
    const QString& ErrorPos() { return errorPos(); }

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
    // One line of output: an opening tag, a closing tag, an empty element, the opening
    // tag of an included unit, or the unit's intermediate program. Attribute texts are
    // made only for the lines that survive, when the program is built.
    struct Line {
        enum Kind : unsigned char { Open, Close, Empty, UsesOpen, Unit } kind = Empty;
        bool withEnd = false;   // Open: also records where the construct ended (pos1)
        bool skipToPos = true;  // Open: pos is taken after the spaces behind `pos`
        bool escaped = false;   // Empty: `text` is already escaped
        const QString* name = nullptr;
        int pos = 0;
        int end = 0;
        int sliceStart = -1;    // Empty: the token as a piece of the source...
        int sliceLength = 0;
        // ...or as a text of its own (UsesOpen: the unit name): a text that outlives the
        // parse (the grammar's), or one kept in FLineTexts. Lines hold no text
        // themselves, so that moving them around is copying bytes.
        const QString* fixedText = nullptr;
        int ownText = -1;
        int unit = -1;          // Unit: index into FUnits, -1 for a unit without program
    };
    const QString& lineText(const Line& line) const;
    void setOwnText(Line& line, const QString& text);
    struct NestingTooDeep {
        int position;
    };

    bool match(int itemIndex);
    bool matchItem(const orv::script::GrammarItem& item);
    bool matchChildren(const orv::script::GrammarItem& item);
    bool matchLoop(const orv::script::GrammarItem& item, int p0);
    void applyNode(const orv::script::GrammarItem& item, bool success, int p0, int l0);
    void appendAdded(const orv::script::GrammarItem& item, int tokenStart, const QString* ownToken);
    void appendReportText(const QString& text);
    void appendAttributeValue(QString& out, const Line& line) const;
    void appendAttributeValue(std::u16string& out, const Line& line) const;
    void appendPosition(std::u16string& out, int position) const;
    void recordError(const orv::script::GrammarItem& item, int p0);
    QString positionAfterSpaces(int position);
    // The position of the first text behind spaces, comments and line ends.
    int firstUnreadPosition();
    void includeUnits(int l0);
    // The unit's program, or null; `included` is false when the unit was included before.
    std::unique_ptr<TfsXMLItem> includeUnit(const QString& name, bool& included);
    QString unitSource(const QString& name);
    void buildILScript();

    // ---- building (the second half)
    struct WithEntry {
        QString name;
        TfsWithStmt* statement;
        TfsVariable* variable;
    };
    [[noreturn]] void fail(const QString& message) const;
    // The element examined last gives the error position; its text is made only when
    // asked for.
    void examine(const TfsXMLItem* item);
    const QString& errorPos();
    void setErrorPos(const QString& pos);
    void buildProgram(TfsXMLItem* element, TfsScript* scope);
    void declareRoutines(TfsXMLItem* element, TfsScript* scope);
    void declareRoutine(TfsXMLItem* element, TfsScript* scope);
    void buildStatement(TfsXMLItem* element, TfsStatement* list, TfsScript* scope);
    void buildChildren(TfsXMLItem* element, TfsStatement* list, TfsScript* scope);
    void buildAssignment(TfsXMLItem* element, TfsStatement* list, TfsScript* scope);
    void buildCall(TfsXMLItem* element, TfsStatement* list, TfsScript* scope);
    void buildIf(TfsXMLItem* element, TfsStatement* list, TfsScript* scope);
    void buildCase(TfsXMLItem* element, TfsStatement* list, TfsScript* scope);
    // A statement of the element's position, and adding it with its code line.
    template <class S>
    std::unique_ptr<S> newStatement(TfsXMLItem* element, TfsScript* scope);
    void addStatement(std::unique_ptr<TfsStatement> statement, TfsStatement* list, TfsXMLItem* element);
    void buildFor(TfsXMLItem* element, TfsStatement* list, TfsScript* scope);
    // The variable a counting loop counts in; it must be a numeric variable.
    TfsCustomVariable* loopVariable(TfsXMLItem* element, TfsScript* scope);
    void buildVbFor(TfsXMLItem* element, TfsStatement* list, TfsScript* scope);
    void buildCppFor(TfsXMLItem* element, TfsStatement* list, TfsScript* scope);
    void buildWhile(TfsXMLItem* element, TfsStatement* list, TfsScript* scope);
    void buildRepeat(TfsXMLItem* element, TfsStatement* list, TfsScript* scope);
    void buildTry(TfsXMLItem* element, TfsStatement* list, TfsScript* scope);
    void buildReturn(TfsXMLItem* element, TfsStatement* list, TfsScript* scope);
    void buildWith(TfsXMLItem* element, TfsStatement* list, TfsScript* scope);
    void buildDelete(TfsXMLItem* element, TfsStatement* list, TfsScript* scope);
    void buildUses(TfsXMLItem* element, TfsScript* scope);
    void buildVar(TfsXMLItem* element, TfsStatement* list, TfsScript* scope);
    void buildConst(TfsXMLItem* element, TfsScript* scope);
    void buildRoutineBody(TfsXMLItem* element, TfsScript* scope);
    TfsCustomVariable* makeVariable(TfsXMLItem* element, const QString& name, TfsStatement* list,
                                    TfsScript* scope, bool isParam, bool byRef);
    void makeArray(TfsXMLItem* array, TfsCustomVariable* variable, TfsScript* scope, TfsVarType elementKind,
                   const QString& elementType, orv::script::Value& initial, TfsCustomVariable*& helper);
    void addCodeLine(const TfsXMLItem* element);
    // The kind of a type name (aliases first); a class name must be registered.
    TfsVarType resolveType(QString& typeName);
    TfsExpression* buildExpression(TfsXMLItem* element, TfsScript* scope);
    void addExpressionItems(TfsExpression* expr, TfsXMLItem* element, TfsScript* scope);
    TfsSetExpression* buildSet(TfsXMLItem* element, TfsScript* scope);
    orv::script::Value evaluateNow(TfsXMLItem* element, TfsScript* scope);
    void checkAssignment(const TfsCustomVariable* target, const TfsCustomVariable* source) const;
    TfsCustomVariable* findFirstName(const QString& name, TfsScript* scope, TfsDesignator* designator,
                                     TfsXMLItem* path, bool& lateBound);
    void checkArguments(TfsDesignator* designator);
    QString sourceOf(const TfsXMLItem* expr);

    TfsScript* FProgram;
    std::shared_ptr<const orv::script::CompiledGrammar> FGrammar;
    TfsParser FParser;
    QString FLangName;
    bool FNeedDeclareVars = true;
    std::unique_ptr<TfsXMLDocument> FILScript;
    QStringList FUsesList;
    QString FUnitName;

    // State of building.
    TfsXMLItem* FProgRoot = nullptr;
    const TfsXMLItem* FErrorItem = nullptr;
    bool FErrorPosMade = true;
    std::vector<WithEntry> FWithList;
    // The code line recorded last, with its unit.
    bool FCodeLineKnown = false;
    QString FLastCodeLine;
    QString FLastCodeUnit;

    // State of one MakeILScript.
    std::vector<Line> FLines;
    std::vector<QString> FLineTexts;
    std::vector<std::unique_ptr<TfsXMLItem>> FUnits;
    QString FErrorText;
    QString FErrorPos;
    bool FTermFlag = false;
    QString FToken; // the last number or string read
    int FDepth = 0;
    int FDepthBase = 0; // items open in the parse that includes this unit
};

} // namespace orv::script
