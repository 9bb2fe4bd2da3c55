#pragma once
// Small routines the report engine and the PDF export share: alignment mapping,
// rectangle overlap, number texts, page lists, bracketed expressions, component lookup
// by name, stream checksums and hexadecimal dumps, collections in extra data, error
// reporting by silent mode and temporary files.
#include "platform/core/canvas.h"
#include "report/base/types.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace orv::report {

class TfrxComponent;
class TfrxReport;

} // namespace orv::report

namespace orv::report {
class CollectionBase;
class PropertyReader;
class PropertyWriter;
} // namespace orv::report

// ---------------------------------------------------------------- alignment

namespace orv::report {

using TextAlign = orv::platform::TextAlign;
TextAlign frxHorzAlignToTextAlign(TfrxHAlign HAlign);
TextAlign frxVertAlignToTextAlign(TfrxVAlign VAlign);

// ---------------------------------------------------------------- rectangles

class TfrxRectArea {
public:
    // The component's absolute bounds.
    explicit TfrxRectArea(const TfrxComponent* c);
    TfrxRectArea(long double Left, long double Top, long double Right, long double Bottom);
    long double X, Y, X1, Y1;

    // Overlap by more than 0.0001; touching edges do not overlap.
    bool InterceptsX(const TfrxRectArea& a) const;
    bool InterceptsY(const TfrxRectArea& a) const;
    // The common stretch, or nullptr when there is none.
    std::unique_ptr<TfrxRectArea> InterceptX(const TfrxRectArea& a) const;
    std::unique_ptr<TfrxRectArea> InterceptY(const TfrxRectArea& a) const;
    static long double Max(long double x1, long double x2) { return x1 >= x2 ? x1 : x2; }
    static long double Min(long double x1, long double x2) { return x1 > x2 ? x2 : x1; }
};

inline TfrxRect frxMakeRect(double Left, double Top, double Right, double Bottom)
{
    return TfrxRect{Left, Top, Right, Bottom};
}

// ---------------------------------------------------------------- numbers and text

// To the nearest integer, halves to the even neighbour (2.5 gives 2, 3.5 gives 4).
int frxRound(long double Value);

// "." and "," both read as the decimal separator, blanks ignored; raises ConvertError.
double frxTextToFloat(const QString& S);
// Two decimals when there is a fraction (297,50), else the general format (210).
QString frxFloatToDisplayText(double X);
// Exactly Digits decimals with the given separator, no thousands separator.
QString frxFloatToFixed(int Digits, QChar DecimalSeparator, long double Value);
QString frxReplaceChar(const QString& Text, QChar Old, QChar New);
QString frxSlashesToBackslashes(const QString& Text);

// Items up to each separator; no quoting or trimming; a trailing separator adds no item.
void frxSplitAtSeparator(const QString& Text, QStringList& List, QChar Separator);
// One step of the split: the item starting at Pos (0-based); Pos moves past its separator.
QString frxNextSeparatedItem(const QString& Text, qsizetype& Pos, QChar Separator);

// "1,3,5-12" as page numbers in written order; "3-" runs to Total. A piece that is not a
// number raises ConvertError, leaving the pages added before it in List.
void frxExpandPageNumbers(const QString& PageNumbers, QStringList& List, int Total);

// The expression between OpenBracket at index I (0-based) and the CloseBracket that
// balances it, brackets inside single or double quotes not counted. I is left at the
// opening bracket and J set to the last character of the closing bracket; without an
// opening bracket at I, J = I and the result is empty; without a balancing bracket the
// scan runs to the end. Balanced, when given, tells whether the balancing bracket was found.
QString frxFindBracketedExpression(const QString& Str, const QString& OpenBracket, const QString& CloseBracket,
                                   qsizetype& I, qsizetype& J, bool* Balanced = nullptr);

// Replaces every expression between Open and Close in S, from the left, by what Expand
// returns for its inner text; inserted text is not scanned again, and an opening bracket
// that nothing closes stays text.
void frxExpandBracketedExpressions(QString& S, const QString& Open, const QString& Close,
                                   const std::function<QString(const QString& Expr)>& Expand);

// ---------------------------------------------------------------- component references

// The top-level components of the application (windows, data modules) that stored
// references may name as "Owner.Component".
void frxRegisterGlobalComponent(orv::platform::Component* c);
void frxUnregisterGlobalComponent(orv::platform::Component* c);
// A dotted name through the global components, else a component of Owner (or of the
// report's own owner); nullptr when none. Raises EClassNotFound "Missing " + name when
// the lookup itself fails.
orv::platform::Component* frxLookupComponent(orv::platform::Component* Owner, const QString& AName);
// The name under which a reference to Obj is stored.
QString frxQualifiedComponentName(const TfrxReport* Report, const orv::platform::Component* Obj);

// ---------------------------------------------------------------- streams

// CRC-32 (IEEE 802.3) of the whole stream; the position is kept.
quint32 frxStreamChecksum(QIODevice& Stream);
quint32 frxChecksum(const QByteArray& bytes);
QString frxStreamToHex(QIODevice& Stream);
QString frxBytesToHex(const QByteArray& bytes);
// Length div 2 bytes from hexadecimal text (either case); decoding stops at a pair that
// is not hexadecimal.
void frxHexToStream(const QString& S, QIODevice& Stream);
QByteArray frxHexToBytes(const QString& S);

// ---------------------------------------------------------------- collections

// Per item a list holding the item's attribute text.
void frxWriteCollection(orv::report::CollectionBase& Collection, orv::report::PropertyWriter& Writer,
                        TfrxReport* Report);
// Clears the collection and fills it from such a list.
void frxReadCollection(orv::report::CollectionBase& Collection, orv::report::PropertyReader& Reader,
                       TfrxReport* Report);
// Code unit 1 followed by another unit stands for that unit plus 128.
QString frxRecodeText(const QString& S);
void frxRecodeItemStrings(orv::platform::rtti::Object& Item);

// ---------------------------------------------------------------- errors

// By the report's silent mode: an error box, nothing, or a raised orv::report::Error.
void frxReportError(const TfrxReport* Report, const QString& Msg);
// A modal error message box with an OK button.
void frxErrorBox(const QString& Msg);
// Installs what shows the error box (the user interface does at start; tests record);
// nullptr restores the default, which writes the message to the log.
void frxSetErrorBoxHandler(std::function<void(const QString&)> handler);

} // namespace orv::report

// ---------------------------------------------------------------- files

namespace orv::report {
// Writes a file through `write`; an existing file is replaced only once the new one is
// complete. Raises orv::report::Error when the file cannot be written.
void saveFile(const QString& FileName, const std::function<void(QIODevice&)>& write);
// Opens a file for reading and hands it to `read`; raises orv::report::Error when it
// cannot be opened.
void loadFile(const QString& FileName, const std::function<void(QIODevice&)>& read);
} // namespace orv::report

// ---------------------------------------------------------------- folders

namespace orv::report {

QString frxTempFolder();
// A new, empty temporary file; its name is never empty.
QString frxTempFileName();
QString frxTempFileNameIn(const QString& Folder);
// The folder of the engine's own files (empty: the engine keeps none on disk).
QString frxDefaultFolder();

} // namespace orv::report
