#pragma once
// The pull tokenizer of script source. The caller asks, at the current position, for one
// token of a given kind and gets its text or an empty text; backtracking is setting the
// position back. A language's grammar fills the settings.
#include <QPoint>
#include <QString>
#include <QStringView>
#include <bitset>
#include <vector>

class TfsParser {
public:
    TfsParser();

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

    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool value) { FCaseSensitive = value; }
    const QString& CommentLine1() const { return FCommentLine1; }
    void SetCommentLine1(const QString& value) { FCommentLine1 = value; }
    const QString& CommentLine2() const { return FCommentLine2; }
    void SetCommentLine2(const QString& value) { FCommentLine2 = value; }
    // Opener and closer separated by a comma ("{,}").
    QString CommentBlock1() const;
    void SetCommentBlock1(const QString& value);
    QString CommentBlock2() const;
    void SetCommentBlock2(const QString& value);
    const QString& HexSequence() const { return FHexSequence; }
    void SetHexSequence(const QString& value) { FHexSequence = value; }
    const QString& SkipChar() const { return FSkipChar; }
    void SetSkipChar(const QString& value) { FSkipChar = value; }
    bool SkipEOL() const { return FSkipEOL; }
    void SetSkipEOL(bool value) { FSkipEOL = value; }
    bool SkipSpace() const { return FSkipSpace; }
    void SetSkipSpace(bool value) { FSkipSpace = value; }
    const QString& StringQuotes() const { return FStringQuotes; }
    void SetStringQuotes(const QString& value) { FStringQuotes = value; }
    bool SpecStrChar() const { return FSpecStrChar; }
    void SetSpecStrChar(bool value) { FSpecStrChar = value; }

    // The identifier characters become exactly the low bytes of the given characters.
    void ConstructCharset(const QString& chars);
    void AddIdentifierChars(int from, int to);
    bool IsIdentifierChar(int code) const { return code < 256 && FIdentifierCharset[size_t(code)]; }

    void AddKeyword(const QString& word);
    const std::vector<QString>& Keywords() const { return FKeywords; }
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

    // "line:col" of the current position, both counted from 1.
    QString GetXYPosition() const { return positionText(FPosition); }
    QString positionText(int position) const;
    // The position of column X in line Y, or -1 when there is no line Y.
    int GetPlainPosition(QPoint point) const;

private:
    char16_t at(int position) const { return FData[position - 1]; }
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

    bool FCaseSensitive = false;
    QString FCommentLine1, FCommentLine2;
    QString FBlockOpen1, FBlockClose1, FBlockOpen2, FBlockClose2;
    QString FHexSequence;
    QString FSkipChar;
    bool FSkipEOL = true;
    bool FSkipSpace = true;
    QString FStringQuotes;
    bool FSpecStrChar = false;
    std::bitset<256> FIdentifierCharset;
    std::vector<QString> FKeywords; // sorted ignoring case
};
