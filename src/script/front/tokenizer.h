#pragma once
// The pull tokenizer of script source. The caller asks, at the current position, for one
// token of a given kind and gets its text or an empty text; backtracking is setting the
// position back. A language's grammar fills the settings.
#include <QPoint>
#include <QString>
#include <QStringView>
#include <bitset>
#include <vector>

namespace orv::script {

class TfsParser {
public:
    // Everything a grammar sets; a language keeps a prepared copy to hand over at once.
    struct Settings {
        bool CaseSensitive = false;
        QString CommentLine1, CommentLine2;
        QString BlockOpen1, BlockClose1, BlockOpen2, BlockClose2;
        QString HexSequence;
        QString SkipChar;
        bool SkipEOL = true;
        bool SkipSpace = true;
        QString StringQuotes;
        bool SpecStrChar = false;
        std::bitset<256> IdentifierCharset;
        std::vector<QString> Keywords; // sorted ignoring case
    };

    TfsParser();
    const Settings& CurrentSettings() const { return FS; }
    void SetSettings(const Settings& settings)
    {
        FS = settings;
        refreshStarts();
    }

    // Empties the keywords and restores the default settings, except the case
    // sensitivity and the second line-comment opener.
    void Clear();

    // The source; positions are 1-based indexes into it. Setting it moves to position 1.
    const QString& Text() const { return FText; }
    void SetText(const QString& text);
    int Position() const { return FPosition; }
    void SetPosition(int value);
    // Length of the source.
    int Size() const { return FSize; }

    bool CaseSensitive() const { return FS.CaseSensitive; }
    void SetCaseSensitive(bool value) { FS.CaseSensitive = value; }
    const QString& CommentLine1() const { return FS.CommentLine1; }
    void SetCommentLine1(const QString& value)
    {
        FS.CommentLine1 = value;
        refreshStarts();
    }
    const QString& CommentLine2() const { return FS.CommentLine2; }
    void SetCommentLine2(const QString& value)
    {
        FS.CommentLine2 = value;
        refreshStarts();
    }
    // Opener and closer separated by a comma ("{,}").
    QString CommentBlock1() const;
    void SetCommentBlock1(const QString& value);
    QString CommentBlock2() const;
    void SetCommentBlock2(const QString& value);
    const QString& HexSequence() const { return FS.HexSequence; }
    void SetHexSequence(const QString& value) { FS.HexSequence = value; }
    const QString& SkipChar() const { return FS.SkipChar; }
    void SetSkipChar(const QString& value)
    {
        FS.SkipChar = value;
        refreshStarts();
    }
    bool SkipEOL() const { return FS.SkipEOL; }
    void SetSkipEOL(bool value)
    {
        FS.SkipEOL = value;
        refreshStarts();
    }
    bool SkipSpace() const { return FS.SkipSpace; }
    void SetSkipSpace(bool value) { FS.SkipSpace = value; }
    const QString& StringQuotes() const { return FS.StringQuotes; }
    void SetStringQuotes(const QString& value) { FS.StringQuotes = value; }
    bool SpecStrChar() const { return FS.SpecStrChar; }
    void SetSpecStrChar(bool value) { FS.SpecStrChar = value; }

    // The identifier characters become exactly the low bytes of the given characters.
    void ConstructCharset(const QString& chars);
    void AddIdentifierChars(int from, int to);
    bool IsIdentifierChar(int code) const { return code < 256 && FS.IdentifierCharset[size_t(code)]; }

    void AddKeyword(const QString& word);
    const std::vector<QString>& Keywords() const { return FS.Keywords; }
    bool IsKeyWord(QStringView word) const;

    void SkipSpaces();
    bool GetEOL();
    QString GetIdent() { return readIdent().toString(); }
    QString GetWord() { return readWord().toString(); }
    QString GetChar();
    QString GetNumber();
    QString GetString();
    QString GetFRString();

    // The same readers without copying: the views stay valid until the text changes.
    QStringView readWord();
    QStringView readIdent();
    // The punctuation character at the position (moved past), or 0.
    char16_t readChar();
    // The character where skipping spaces and comments would stop (0 at the end),
    // without moving.
    char16_t peekSignificant()
    {
        if (FPosition <= FSize) {
            const char16_t c = at(FPosition);
            if (c > 32 && !mayStartSkip(c))
                return c;
        }
        return peekBehindSpaces();
    }

    // "line:col" of the current position, both counted from 1.
    QString GetXYPosition() const { return positionText(FPosition); }
    QString positionText(int position) const;
    // Line and column of a position, both counted from 1.
    void lineColumn(int position, int& line, int& column) const;
    // The position of column X in line Y, or -1 when there is no line Y.
    int GetPlainPosition(QPoint point) const;

private:
    char16_t at(int position) const { return FData[position - 1]; }
    // The first characters of the comment openers and the continuation character: the
    // only characters above the blanks where skipping has anything to look at. Also
    // forgets the last peek, as every change of what skipping does must.
    void refreshStarts();
    char16_t peekBehindSpaces();
    bool mayStartSkip(char16_t c) const
    {
        return c == FStarts[0] || c == FStarts[1] || c == FStarts[2] || c == FStarts[3] || c == FStarts[4];
    }
    bool startsWith(int position, const QString& s) const;
    bool isIdentStart(char16_t c) const;
    bool isIdentPart(char16_t c) const;
    bool readUnsigned(int& p, quint32& value) const;
    bool readQuotedPart(QString& value);

    QString FText;              // the source followed by one character 0
    const char16_t* FData = nullptr;
    int FSize = 0;
    int FPosition = 1;
    int FLastPosition = 1;
    std::vector<int> FLines;    // 0, then the positions of all line feeds

    Settings FS;
    char16_t FStarts[5] = {};
    int FPeekFrom = -1; // the last position peeked behind spaces from, and what stood there
    char16_t FPeekChar = 0;
};

} // namespace orv::script
