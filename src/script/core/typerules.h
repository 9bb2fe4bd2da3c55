#pragma once
// Rules the parts of the script engine share: the kind of a type name, the compatibility
// of two types, the parser of the declaration texts with which hosts register routines,
// the value of a constant token, host argument records, and position texts.
#include <QPoint>
#include <QString>
#include <vector>

#include "script/core/items.h"
#include "script/core/value.h"

namespace orv::script {

class TfsScript;

// One argument of a host call in the platform's open-array form: a kind code and the
// payload that kind reads.
struct TfsVarRec {
    enum Kind : int {
        vtInteger = 0,
        vtBoolean = 1,
        vtChar = 2,
        vtExtended = 3,
        vtString = 4,
        vtPointer = 5,
        vtPChar = 6,
        vtObject = 7,
        vtClass = 8,
        vtWideChar = 9,
        vtPWideChar = 10,
        vtAnsiString = 11,
        vtCurrency = 12,
        vtVariant = 13,
        vtInterface = 14,
        vtWideString = 15,
        vtInt64 = 16,
        vtUnicodeString = 17,
    };
    int VType = vtInteger;
    qint64 VInteger = 0;        // integer, Boolean (0 or 1), 64-bit integer
    long double VExtended = 0;  // extended float, currency
    QString VString;            // every text and character kind
    orv::script::Value VVariant;
    TfsObject VObject = nullptr;
    const void* VPointer = nullptr; // pointer, class, interface
};

// The kind of the script symbol of that name; fvtClass when there is none.
TfsVarType fsNameToVarType(const QString& TypeName, const TfsScript* Script);
// True when both name registered class descriptions and the source's class is the
// target's class or one of its descendants.
bool fsClassAssignable(const QString& TargetClass, const QString& SourceClass, const TfsScript* Script);
bool fsKindsCompatible(TfsVarType TargetTyp, const QString& TargetTypeName, TfsVarType SourceTyp,
                       const QString& SourceTypeName, const TfsScript* Script);
// As fsKindsCompatible, but an Integer target never takes a floating source.
bool fsAssignmentCompatible(const TfsCustomVariable* Target, const TfsCustomVariable* Source,
                            const TfsScript* Script);
// The value of a number or string token; a text that is neither raises the conversion
// error.
orv::script::Value fsConstantValue(const QString& Token);
// The routine a declaration text declares ("function Pos(substr, s: String): Integer"),
// with its parameters; owned by the caller.
TfsCustomVariable* fsParseDeclaration(const QString& Syntax, const TfsScript* Script);

orv::script::Value fsVarRecToValue(const TfsVarRec& Rec);
// The record one value becomes: by its type code.
TfsVarRec fsValueToVarRec(const orv::script::Value& Value);
void fsValueArrayToVarRecs(const orv::script::Value& Array, std::vector<TfsVarRec>& Recs);
void fsFreeVarRecs(std::vector<TfsVarRec>& Recs);

// "line:col" as a point (X the column, Y the line); empty gives (0, 0).
QPoint fsPositionToPoint(const QString& Pos);

} // namespace orv::script
