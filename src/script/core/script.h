#pragma once
// The script component. This holds what compiling a source needs of it: the source, the
// language, the error report and the way units are found.
#include <QString>
#include <QStringList>
#include <functional>

class TfsScript;

// Asks the host for the source text of a unit named in a uses clause.
using TfsGetUnitEvent = std::function<void(TfsScript& sender, const QString& unitName, QString& unitText)>;

class TfsScript {
public:
    TfsScript() = default;
    virtual ~TfsScript() = default;
    TfsScript(const TfsScript&) = delete;
    TfsScript& operator=(const TfsScript&) = delete;

    const QStringList& Lines() const { return FLines; }
    void SetLines(const QStringList& lines) { FLines = lines; }
    // The source as the compiler reads it: every line ended by CR LF, the last one too.
    QString LinesText() const;

    const QString& SyntaxType() const { return FSyntaxType; }
    void SetSyntaxType(const QString& value) { FSyntaxType = value; }
    // Identifiers may hold the characters 128 to 255.
    bool ExtendedCharset() const { return FExtendedCharset; }
    void SetExtendedCharset(bool value) { FExtendedCharset = value; }
    // Folders searched, in order, for the files of units named in uses clauses.
    const QStringList& IncludePath() const { return FIncludePath; }
    void SetIncludePath(const QStringList& value) { FIncludePath = value; }
    const TfsGetUnitEvent& OnGetUnit() const { return FOnGetUnit; }
    void SetOnGetUnit(TfsGetUnitEvent event) { FOnGetUnit = std::move(event); }

    // The first compile error: its text, its position ("line:col") and the unit it lies in.
    const QString& ErrorMsg() const { return FErrorMsg; }
    void SetErrorMsg(const QString& value) { FErrorMsg = value; }
    const QString& ErrorPos() const { return FErrorPos; }
    void SetErrorPos(const QString& value) { FErrorPos = value; }
    const QString& ErrorUnit() const { return FErrorUnit; }
    void SetErrorUnit(const QString& value) { FErrorUnit = value; }

private:
    QStringList FLines;
    QString FSyntaxType = QStringLiteral("VoriroVoreva");
    bool FExtendedCharset = false;
    QStringList FIncludePath;
    TfsGetUnitEvent FOnGetUnit;
    QString FErrorMsg;
    QString FErrorPos;
    QString FErrorUnit;
};

// A source text cut into lines at CR LF, CR or LF; a final line end adds no empty line.
QStringList fsTextToLines(const QString& text);
// Lines joined into a source text, each ended by CR LF.
QString fsLinesToText(const QStringList& lines);
