#pragma once
// The text layout of memos that justify, that carry simple HTML tags, and of every
// measurement that splits or wraps a memo: paragraphs at line feeds, words at blanks and
// tabs, runs of one style inside words, lines broken at the rectangle's width, aligned
// horizontally and as a block vertically, drawn with underlines and strike-outs and
// optionally turned about the rectangle's centre.
#include "report/base/types.h"

#include <QList>
#include <QRectF>
#include <QString>

#include <memory>
#include <vector>

namespace orv::platform {
class Canvas;
}
namespace orv::report {

class TfrxFont;

enum TBaseLine : int { Normal, Subscript, Superscript };

struct TStyleDescriptor {
    TFontStyles FontStyle;
    TAlphaColor Color = claNull;
    TBaseLine BaseLine = Normal;
    bool operator==(const TStyleDescriptor& o) const
    {
        return FontStyle == o.FontStyle && Color == o.Color && BaseLine == o.BaseLine;
    }
};

class TAdvancedTextRenderer;
class TParagraph;
class TLine;
class TWord;

class TRun {
public:
    TRun(TWord* word, const QString& text, const TStyleDescriptor& style);
    QString Text;
    TStyleDescriptor Style;
    TWord* Word;
    double Left = 0;
    double Width = 0;
    // The line's top, lowered for subscripts and raised for superscripts.
    double Top() const;
};

class TWord {
public:
    explicit TWord(TLine* line) : Line(line) {}
    virtual ~TWord() = default;
    std::vector<std::unique_ptr<TRun>> Runs;
    TLine* Line;
    double Left = 0;
    // The sum of the runs' widths, computed once.
    double Width() const;
    double Top() const;
    virtual bool IsTab() const { return false; }

private:
    mutable double m_width = -1;
};

// A tab stop inside a line while it is being built.
class TTab : public TWord {
public:
    using TWord::TWord;
    bool IsTab() const override { return true; }
};

class TLine {
public:
    explicit TLine(TParagraph* paragraph) : Paragraph(paragraph) {}
    std::vector<std::unique_ptr<TWord>> Words;
    TParagraph* Paragraph;
    double Top = 0;
    double Width = 0;
    int OriginalCharIndex = 0;
    QList<QRectF> Underlines, Strikeouts;
    bool IsLast() const;
    double Left() const { return Words.empty() ? 0 : Words.front()->Left; }
    TStyleDescriptor Style() const;
};

class TParagraph {
public:
    explicit TParagraph(TAdvancedTextRenderer* renderer) : Renderer(renderer) {}
    std::vector<std::unique_ptr<TLine>> Lines;
    TAdvancedTextRenderer* Renderer;
    QString Text;
    int OriginalCharIndex = 0;
    bool IsLast() const;
    bool IsEmpty() const { return Text.isEmpty(); }
};

class TAdvancedTextRenderer {
public:
    // Lays the text out. A line height of 0 means the font's pixel size + 2. The canvas
    // holds the font of the last run measured afterwards. A font colour the tags name
    // that cannot be read raises orv::report::ConvertError.
    TAdvancedTextRenderer(orv::platform::Canvas* aCanvas, const QString& aText, TfrxFont* aFont, const QRectF& rect,
                          int aHorzAlign, int aVertAlign, double aLineHeight, int aAngle, bool aWordWrap,
                          bool aForceJustify, bool aHtmlTags, bool aPdfMode);
    ~TAdvancedTextRenderer();
    TAdvancedTextRenderer(const TAdvancedTextRenderer&) = delete;
    TAdvancedTextRenderer& operator=(const TAdvancedTextRenderer&) = delete;

    void Draw();
    // The height of all lines.
    double CalcHeight();
    // The same; charsFit tells where the first line that does not fit the rectangle
    // starts (the text's length when all fit, 0 when the rectangle is lower than a line).
    double CalcHeight(int& charsFit, TStyleDescriptor& style);
    // The widest line plus a blank.
    double CalcWidth();
    // A text on one line with the canvas's current font.
    double MeasureTextWidth(const QString& aText);
    // The next multiple of 64 pixels strictly after pos (0 for a negative pos).
    static double GetTabPosition(double pos);

    // The characters of each laid-out line, paragraph by paragraph.
    QStringList LineTexts() const;

    // Where each line of aText starts, as CalcHeight's charsFit names a line, laid out at
    // a width without keeping the layout: a text of many thousand lines costs one pass
    // and the memory of its line starts only.
    static std::vector<int> LineStarts(orv::platform::Canvas* aCanvas, const QString& aText, TfrxFont* aFont, double aWidth,
                                       bool aWordWrap, bool aHtmlTags);
    // Paragraphs laid out since the program started: the work that splitting a long text
    // costs, open to a check that it grows with the text and not faster.
    static inline qint64 ParagraphsLaidOut = 0;

    std::vector<std::unique_ptr<TParagraph>> Paragraphs;
    QString Text;
    orv::platform::Canvas* Canvas;
    TfrxFont* Font;
    QRectF DisplayRect;
    int HorzAlign, VertAlign;
    double LineHeight = 0;
    double FontLineHeight = 0;
    double SpaceWidth = 0;
    int Angle;
    bool ForceJustify, HtmlTags, WordWrap, PDFMode;

    // The canvas font of a run's style (the size scaled down for sub- and superscripts).
    void AssignRunFont(const TStyleDescriptor& style, bool decorations);

private:
    // With startsOnly, each paragraph's line starts go there and the paragraph is dropped.
    void buildParagraphs(std::vector<int>* startsOnly = nullptr);
    void breakParagraph(TParagraph* para, TStyleDescriptor& style);
    void placeLines();
    void alignLine(TLine* line, int align);
    void collectRanges(TLine* line);
    // Length of the tag at position i of the paragraph text when one starts there.
    int matchTag(const QString& text, qsizetype i, TStyleDescriptor& style) const;
};

} // namespace orv::report
