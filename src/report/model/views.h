#pragma once
// The printable objects of a layout (views) and the small value objects they carry:
// frames with their four lines, the memo's highlight and display format. This part
// holds their stored properties, copies and difference texts; drawing and measuring
// are added by the views' drawing code.
#include "report/base/bitmap.h"
#include "report/base/values.h"
#include "report/base/widestrings.h"
#include "report/model/component.h"

#include <QRectF>
#include <QVariant>

namespace orv::platform {
class Canvas;
}

namespace orv::report {

class TfrxFrame;
class TfrxStyleItem;

class TfrxFrameLine : public orv::platform::Persistent {
    ORV_RTTI_CLASS(TfrxFrameLine)
public:
    explicit TfrxFrameLine(TfrxFrame* frame = nullptr) : m_frame(frame) {}
    TAlphaColor Color() const { return m_color; }
    void SetColor(TAlphaColor v) { m_color = v; }
    TfrxFrameStyle Style() const { return m_style; }
    void SetStyle(TfrxFrameStyle v) { m_style = v; }
    double Width() const { return m_width; }
    void SetWidth(double v) { m_width = v; }
    // A line is stored only where it differs from its frame.
    bool IsColorStored() const;
    bool IsStyleStored() const;
    bool IsWidthStored() const;
    void Assign(const orv::platform::Persistent* Source) override;

private:
    TfrxFrame* m_frame;
    TAlphaColor m_color = claBlack;
    TfrxFrameStyle m_style = fsSolid;
    double m_width = 1;
};

class TfrxFrame : public orv::platform::Persistent {
    ORV_RTTI_CLASS(TfrxFrame)
public:
    TfrxFrame();

    TAlphaColor Color() const { return m_color; }
    // Colour, style and width also go to all four lines.
    void SetColor(TAlphaColor v);
    bool DropShadow() const { return m_dropShadow; }
    void SetDropShadow(bool v) { m_dropShadow = v; }
    TAlphaColor ShadowColor() const { return m_shadowColor; }
    void SetShadowColor(TAlphaColor v) { m_shadowColor = v; }
    double ShadowWidth() const { return m_shadowWidth; }
    void SetShadowWidth(double v) { m_shadowWidth = v; }
    TfrxFrameStyle Style() const { return m_style; }
    void SetStyle(TfrxFrameStyle v);
    TfrxFrameTypes Typ() const { return m_typ; }
    void SetTyp(TfrxFrameTypes v) { m_typ = v; }
    double Width() const { return m_width; }
    void SetWidth(double v);

    TfrxFrameLine* LeftLine() const { return m_left.get(); }
    TfrxFrameLine* TopLine() const { return m_top.get(); }
    TfrxFrameLine* RightLine() const { return m_right.get(); }
    TfrxFrameLine* BottomLine() const { return m_bottom.get(); }
    void SetLeftLine(TfrxFrameLine* v) { m_left->Assign(v); }
    void SetTopLine(TfrxFrameLine* v) { m_top->Assign(v); }
    void SetRightLine(TfrxFrameLine* v) { m_right->Assign(v); }
    void SetBottomLine(TfrxFrameLine* v) { m_bottom->Assign(v); }

    bool IsShadowWidthStored() const { return m_shadowWidth != 4; }
    bool IsTypStored() const { return !m_typ.isEmpty(); }
    bool IsWidthStored() const { return m_width != 1; }
    void Assign(const orv::platform::Persistent* Source) override;

private:
    TAlphaColor m_color = claBlack;
    bool m_dropShadow = false;
    TAlphaColor m_shadowColor = claBlack;
    double m_shadowWidth = 4;
    TfrxFrameStyle m_style = fsSolid;
    TfrxFrameTypes m_typ;
    double m_width = 1;
    std::unique_ptr<TfrxFrameLine> m_left, m_top, m_right, m_bottom;
};

class TfrxHighlight : public orv::platform::Persistent {
    ORV_RTTI_CLASS(TfrxHighlight)
public:
    TfrxHighlight();
    bool Active() const { return m_active; }
    void SetActive(bool v) { m_active = v; }
    TfrxFont* Font() const { return m_font.get(); }
    void SetFont(TfrxFont* v) { m_font->Assign(v); }
    TAlphaColor Color() const { return m_color; }
    void SetColor(TAlphaColor v) { m_color = v; }
    const QString& Condition() const { return m_condition; }
    void SetCondition(const QString& v) { m_condition = v; }
    // Copies font, colour and condition (not Active).
    void Assign(const orv::platform::Persistent* Source) override;

private:
    bool m_active = false;
    std::unique_ptr<TfrxFont> m_font;
    TAlphaColor m_color = claNull;
    QString m_condition;
};

class TfrxFormat : public orv::platform::Persistent {
    ORV_RTTI_CLASS(TfrxFormat)
public:
    const QString& DecimalSeparator() const { return m_decimalSeparator; }
    void SetDecimalSeparator(const QString& v) { m_decimalSeparator = v; }
    const QString& ThousandSeparator() const { return m_thousandSeparator; }
    void SetThousandSeparator(const QString& v) { m_thousandSeparator = v; }
    const QString& FormatStr() const { return m_formatStr; }
    void SetFormatStr(const QString& v) { m_formatStr = v; }
    TfrxFormatKind Kind() const { return m_kind; }
    void SetKind(TfrxFormatKind v) { m_kind = v; }
    void Assign(const orv::platform::Persistent* Source) override;

private:
    QString m_decimalSeparator, m_thousandSeparator, m_formatStr;
    TfrxFormatKind m_kind = fkText;
};

class TfrxView : public TfrxReportComponent {
    ORV_RTTI_CLASS(TfrxView)
public:
    explicit TfrxView(orv::platform::Component* AOwner);
    ~TfrxView() override;
    TfrxView* asView() override { return this; }

    TfrxAlign Align() const { return m_align; }
    void SetAlign(TfrxAlign v) { m_align = v; }
    bool Printable() const { return m_printable; }
    void SetPrintable(bool v) { m_printable = v; }
    TfrxShiftMode ShiftMode() const { return m_shiftMode; }
    void SetShiftMode(TfrxShiftMode v) { m_shiftMode = v; }
    TAlphaColor Color() const { return m_color; }
    virtual void SetColor(TAlphaColor v) { m_color = v; }
    int Cursor() const { return m_cursor; }
    void SetCursor(int v) { m_cursor = v; }
    TfrxFrame* Frame() const { return m_frame.get(); }
    void SetFrame(TfrxFrame* v) { m_frame->Assign(v); }
    TfrxDataSet* DataSet() const { return m_dataSet.get(); }
    // Also remembers the dataset's user name.
    void SetDataSet(TfrxDataSet* Value) { m_dataSet.set(Value); }
    // The dataset's user name while one is assigned, else the stored name.
    QString DataSetName() const { return m_dataSet.name(); }
    void SetDataSetName(const QString& Value) { m_dataSet.setName(Value); }
    const QString& DataField() const { return m_dataField; }
    void SetDataField(const QString& v) { m_dataField = v; }
    const QString& TagStr() const { return m_tagStr; }
    void SetTagStr(const QString& v) { m_tagStr = v; }
    const QString& URL() const { return m_url; }
    void SetURL(const QString& v) { m_url = v; }
    const QString& Hint() const { return m_hint; }
    void SetHint(const QString& v) { m_hint = v; }
    bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool v) { m_showHint = v; }
    bool PlainText = false;
    TBrushKind BrushStyle = bkNone;

    // A dataset and a field name are set.
    bool IsDataField() const;
    QString Diff(TfrxComponent* AComponent) override;

    // ------------------------------------------------ drawing
    // Drawing rectangle, background, frame.
    void Draw(orv::platform::Canvas* Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY) override;
    // The drawing rectangle in whole device pixels, each edge rounded on its own.
    virtual void ComputeDrawRect(orv::platform::Canvas* Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY);
    virtual void FillBackground();
    // The frame's lines and the drop shadow.
    virtual void PaintFrame();
    // The drawing state of the last draw or measurement.
    int FX = 0, FY = 0, FX1 = 0, FY1 = 0, FDX = 0, FDY = 0;
    double FFrameWidth = 0, FScaleX = 1, FScaleY = 1, FOffsetX = 0, FOffsetY = 0;
    orv::platform::Canvas* FCanvas = nullptr;

    // ------------------------------------------------ printing
    // Keeps TagStr and URL, and makes the view the script's "Self".
    void BeforePrint() override;
    // Expands the bracketed expressions of TagStr and URL.
    void GetData() override;
    // Gives TagStr and URL their layout texts back.
    void AfterPrint() override;
    // Replaces every [expression] of S by its value as text (Null gives nothing).
    void ExpandBrackets(QString& S);

protected:
    void Notification(orv::platform::Component* AComponent, orv::platform::Operation op) override;
    // The view part of a difference text (after the base part).
    QString viewDiff(TfrxView* other);
    // The drawing rectangle's edges for a scale and offset: each edge rounded on its own,
    // the right and bottom ones moved in by a drop shadow.
    struct DeviceRect {
        int x, y, x1, y1;
    };
    DeviceRect deviceRect(double ScaleX, double ScaleY, double OffsetX, double OffsetY) const;
    // Stroke of one frame line: its colour; its width for solid and double lines, a
    // hair line with the frame's dash pattern otherwise.
    void setFramePen(const TfrxFrameLine& line);
    // One side of the frame, doubled for the double style.
    void drawFrameSide(const TfrxFrameLine& line, double x1, double y1, double x2, double y2, bool vertical,
                       bool firstNeighbour, bool secondNeighbour);

private:
    TfrxAlign m_align = baNone;
    bool m_printable = true;
    TfrxShiftMode m_shiftMode = smAlways;
    TAlphaColor m_color = claNull;
    int m_cursor = 0;
    std::unique_ptr<TfrxFrame> m_frame;
    TfrxDataSetLink m_dataSet{this};
    QString m_dataField, m_tagStr, m_url, m_hint;
    bool m_showHint = false;
    QString m_savedTagStr, m_savedURL;
};

// A view whose height can follow its content and which can be split over pages.
class TfrxStretcheable : public TfrxView {
    ORV_RTTI_CLASS(TfrxStretcheable)
public:
    explicit TfrxStretcheable(orv::platform::Component* AOwner) : TfrxView(AOwner) {}
    TfrxStretchMode StretchMode() const { return m_stretchMode; }
    void SetStretchMode(TfrxStretchMode v) { m_stretchMode = v; }
    // The height the view needs: its Height.
    virtual double CalcHeight() { return Height(); }
    // Lays out the part that fits; the base uses nothing.
    virtual double DrawPart() { return 0; }
    // As DrawPart, where no later part will have more room: a view whose first piece is
    // taller than the room takes that piece all the same, and the page edge cuts it.
    virtual double DrawFirstPart() { return DrawPart(); }
    virtual void InitPart() {}
    virtual bool HasNextDataPart() { return false; }
    // After DrawPart: whether some of the view's content did not fit the part.
    virtual bool HasPartLeft() const { return false; }
    // After DrawPart, for a view cut between whole lines: the height of the view that the
    // part took, from its top to the bottom of its last line taken (0 when no line fitted
    // and the view moves on whole). -1 for views that are not cut by lines.
    virtual double PartUsed() const { return -1; }
    // Engine scratch fields.
    double FSaveHeight = 0;
    double FSavedTop = 0;

private:
    TfrxStretchMode m_stretchMode = smDontStretch;
};

class TfrxShapeView : public TfrxView {
    ORV_RTTI_CLASS(TfrxShapeView)
public:
    explicit TfrxShapeView(orv::platform::Component* AOwner);
    int Curve() const { return m_curve; }
    void SetCurve(int v) { m_curve = v; }
    TfrxShapeKind Shape() const { return m_shape; }
    void SetShape(TfrxShapeKind v) { m_shape = v; }
    QString GetDescription() const override;
    QString Diff(TfrxComponent* AComponent) override;
    void Draw(orv::platform::Canvas* Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY) override;

private:
    int m_curve = 0;
    TfrxShapeKind m_shape = skRectangle;
};

class TfrxCustomMemoView : public TfrxStretcheable {
    ORV_RTTI_CLASS(TfrxCustomMemoView)
public:
    explicit TfrxCustomMemoView(orv::platform::Component* AOwner);
    ~TfrxCustomMemoView() override;
    TfrxCustomMemoView* asMemo() override { return this; }

    TfrxWideStrings* Memo() const { return m_memo.get(); }
    void SetMemo(TfrxWideStrings* Value) { m_memo->Assign(Value); }
    // The lines, each followed by CR LF.
    QString Text() const { return m_memo->Text(); }
    void SetText(const QString& Value) { m_memo->SetText(Value); }

    bool AllowExpressions() const { return m_allowExpressions; }
    void SetAllowExpressions(bool v) { m_allowExpressions = v; }
    const QString& ExpressionDelimiters() const { return m_expressionDelimiters; }
    void SetExpressionDelimiters(const QString& v) { m_expressionDelimiters = v; }
    bool IsExpressionDelimitersStored() const { return m_expressionDelimiters != QStringLiteral("[,]"); }
    bool AllowHTMLTags() const { return m_allowHTMLTags; }
    void SetAllowHTMLTags(bool v) { m_allowHTMLTags = v; }
    TfrxHAlign HAlign() const { return m_hAlign; }
    void SetHAlign(TfrxHAlign v) { m_hAlign = v; }
    TfrxVAlign VAlign() const { return m_vAlign; }
    void SetVAlign(TfrxVAlign v) { m_vAlign = v; }
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool v) { m_wordWrap = v; }
    double GapX() const { return m_gapX; }
    void SetGapX(double v) { m_gapX = v; }
    bool IsGapXStored() const { return m_gapX != 2; }
    double GapY() const { return m_gapY; }
    void SetGapY(double v) { m_gapY = v; }
    bool IsGapYStored() const { return m_gapY != 1; }
    int Rotation() const { return m_rotation; }
    // Stores Value mod 360 (the sign follows Value).
    void SetRotation(int Value) { m_rotation = Value % 360; }
    bool Underlines() const { return m_underlines; }
    void SetUnderlines(bool v) { m_underlines = v; }
    double LineSpacing() const { return m_lineSpacing; }
    void SetLineSpacing(double v) { m_lineSpacing = v; }
    bool IsLineSpacingStored() const { return m_lineSpacing != 2; }
    TfrxFormat* DisplayFormat() const { return m_displayFormat.get(); }
    void SetDisplayFormat(TfrxFormat* v) { m_displayFormat->Assign(v); }
    bool HideZeros() const { return m_hideZeros; }
    void SetHideZeros(bool v) { m_hideZeros = v; }
    bool SuppressRepeated() const { return m_suppressRepeated; }
    void SetSuppressRepeated(bool v) { m_suppressRepeated = v; }
    TfrxHighlight* Highlight() const { return m_highlight.get(); }
    void SetHighlight(TfrxHighlight* v) { m_highlight->Assign(v); }
    bool IsHighlightStored() const;
    const QString& Style() const { return m_style; }
    // Stores the name and takes the colour, font and frame of the report's style of
    // that name, when there is one.
    void SetStyle(const QString& Value);
    void ApplyStyle(TfrxStyleItem* Style);
    TfrxCustomMemoView* FlowTo() const { return m_flowTo; }
    void SetFlowTo(TfrxCustomMemoView* Value);

    bool AutoWidth() const { return m_autoWidth; }
    void SetAutoWidth(bool v) { m_autoWidth = v; }
    double CharSpacing() const { return m_charSpacing; }
    void SetCharSpacing(double v) { m_charSpacing = v; }
    bool IsCharSpacingStored() const { return m_charSpacing != 0; }
    bool Clipped() const { return m_clipped; }
    void SetClipped(bool v) { m_clipped = v; }
    double ParagraphGap() const { return m_paragraphGap; }
    void SetParagraphGap(double v) { m_paragraphGap = v; }
    bool IsParagraphGapStored() const { return m_paragraphGap != 0; }
    bool RTLReading() const { return m_rtlReading; }
    void SetRTLReading(bool v) { m_rtlReading = v; }
    bool WordBreak() const { return m_wordBreak; }
    void SetWordBreak(bool v) { m_wordBreak = v; }
    bool Wysiwyg() const { return m_wysiwyg; }
    void SetWysiwyg(bool v) { m_wysiwyg = v; }
    bool FirstParaBreak() const { return m_firstParaBreak; }
    void SetFirstParaBreak(bool v) { m_firstParaBreak = v; }
    bool LastParaBreak() const { return m_lastParaBreak; }
    void SetLastParaBreak(bool v) { m_lastParaBreak = v; }

    // Working state of printing and splitting.
    orv::report::Value Value;
    QString TempMemo;
    // The previous text for SuppressRepeated; Null until the first print.
    orv::report::Value LastValue = orv::report::Value::null();
    int TotalPages = 0;
    int CopyNo = 0;

    // Where text goes, set by ComputeDrawRect.
    QRectF TextRect;

    // The previous text for SuppressRepeated becomes the empty text.
    void ResetSuppress() { LastValue = orv::report::Value(QString()); }
    QString Diff(TfrxComponent* AComponent) override;
    QString GetDescription() const override;
    // The text; with AllowExpressions the first "[TOTALPAGES]" becomes the page count.
    QString GetComponentText() const override;

    // ------------------------------------------------ drawing and measuring
    void Draw(orv::platform::Canvas* Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY) override;
    // The view's rectangle and, inside frame and gaps, the text rectangle.
    void ComputeDrawRect(orv::platform::Canvas* Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY) override;
    // The height and width the text needs, gaps and frame included; 0 without text.
    double CalcHeight() override;
    // The distance between the tops of two text lines as the memo draws them at scale 1:
    // the step of its ruled lines.
    double RulePitch();
    double CalcWidth();
    // Splitting over pages: InitPart takes the whole text; each DrawPart keeps what fits
    // the current height as the text and leaves the rest for the next part.
    void InitPart() override;
    double DrawPart() override;
    double DrawFirstPart() override;
    bool HasPartLeft() const override { return m_partStart < m_partText.size(); }
    double PartUsed() const override { return m_partUsed; }
    // The text that the parts so far have not taken.
    QString PartMemo() const { return m_partText.mid(m_partStart); }
    // The text as laid out in lines, joined by CR LF.
    QString WrapText(bool WrapWords);

    // ------------------------------------------------ printing
    void BeforePrint() override;
    // Data field or bracketed expressions, highlight, suppression, flow to the next memo.
    void GetData() override;
    void AfterPrint() override;
    // A value as text by a display format (nullptr: the memo's own).
    QString FormatData(const orv::report::Value& V, TfrxFormat* AFormat = nullptr);
    // The value of one bracketed expression, formatted ("expr #format" allowed).
    QString CalcAndFormat(const QString& Expr);
    // Replaces "[TOTALPAGES#]" and "[COPYNAME#]" once each.
    void ExtractMacros();
    // The opening and closing bracket of expressions, from ExpressionDelimiters.
    void ExpressionBrackets(QString& Open, QString& Close) const;

protected:
    void Notification(orv::platform::Component* AComponent, orv::platform::Operation op) override;

private:
    // The font text is drawn and measured with: the highlight's while it is active.
    TfrxFont* drawFont() const;
    bool usesRenderer() const;
    // The height or width the text needs, gaps and frame included.
    double measure(bool Height);
    // The text without its final line break.
    QString textWithoutLastBreak() const;
    // The text rectangle at scale 1 and offset 0, without touching the drawing state.
    QRectF unitTextRect() const;
    // The text rectangle inside a drawing rectangle at a scale: frame and gaps taken off.
    QRectF textRectIn(const DeviceRect& r, double ScaleX, double ScaleY) const;
    std::unique_ptr<orv::platform::Canvas> m_bmpCanvas;
    std::unique_ptr<TfrxWideStrings> m_memo;
    bool m_allowExpressions = true;
    QString m_expressionDelimiters = QStringLiteral("[,]");
    bool m_allowHTMLTags = false;
    TfrxHAlign m_hAlign = haLeft;
    TfrxVAlign m_vAlign = vaTop;
    bool m_wordWrap = true;
    double m_gapX = 2, m_gapY = 1;
    int m_rotation = 0;
    bool m_underlines = false;
    double m_lineSpacing = 2;
    std::unique_ptr<TfrxFormat> m_displayFormat;
    bool m_hideZeros = false, m_suppressRepeated = false;
    std::unique_ptr<TfrxHighlight> m_highlight;
    QString m_style;
    TfrxCustomMemoView* m_flowTo = nullptr;
    bool m_autoWidth = false;
    double m_charSpacing = 0;
    bool m_clipped = true;
    double m_paragraphGap = 0;
    bool m_rtlReading = false, m_wordBreak = false, m_wysiwyg = true;
    bool m_firstParaBreak = false, m_lastParaBreak = false;

    // Splitting: the whole text is laid out once and every part takes the next lines of
    // that layout, so a text of many pages costs no more per page than a short one.
    QString m_partText;
    qsizetype m_partStart = 0;
    std::vector<int> m_partLines; // each line's start, as the renderer names it
    size_t m_partLine = 0;        // the first line not yet taken
    double m_partWidth = -1;      // the width the lines were broken at; -1: not laid out
    double m_partUsed = -1;       // see PartUsed
    void layOutPart(double width);
};

class TfrxMemoView : public TfrxCustomMemoView {
    ORV_RTTI_CLASS(TfrxMemoView)
public:
    explicit TfrxMemoView(orv::platform::Component* AOwner) : TfrxCustomMemoView(AOwner) {}
};

class TfrxSysMemoView : public TfrxCustomMemoView {
    ORV_RTTI_CLASS(TfrxSysMemoView)
public:
    explicit TfrxSysMemoView(orv::platform::Component* AOwner) : TfrxCustomMemoView(AOwner) {}
    QString GetDescription() const override;
};

class TfrxCustomLineView : public TfrxStretcheable {
    ORV_RTTI_CLASS(TfrxCustomLineView)
public:
    explicit TfrxCustomLineView(orv::platform::Component* AOwner);
    bool Diagonal() const { return m_diagonal; }
    void SetDiagonal(bool v) { m_diagonal = v; }
    bool ArrowStart() const { return m_arrowStart; }
    void SetArrowStart(bool v) { m_arrowStart = v; }
    bool ArrowEnd() const { return m_arrowEnd; }
    void SetArrowEnd(bool v) { m_arrowEnd = v; }
    int ArrowLength() const { return m_arrowLength; }
    void SetArrowLength(int v) { m_arrowLength = v; }
    int ArrowWidth() const { return m_arrowWidth; }
    void SetArrowWidth(int v) { m_arrowWidth = v; }
    bool ArrowSolid() const { return m_arrowSolid; }
    void SetArrowSolid(bool v) { m_arrowSolid = v; }
    // A straight line first becomes exactly horizontal or vertical.
    void Draw(orv::platform::Canvas* Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY) override;

private:
    void drawArrow(double x1, double y1, double x2, double y2);
    bool m_diagonal = false, m_arrowStart = false, m_arrowEnd = false, m_arrowSolid = false;
    int m_arrowLength = 20, m_arrowWidth = 5;
};

class TfrxLineView : public TfrxCustomLineView {
    ORV_RTTI_CLASS(TfrxLineView)
public:
    explicit TfrxLineView(orv::platform::Component* AOwner) : TfrxCustomLineView(AOwner) {}
    QString GetDescription() const override;
};

class TfrxPictureView : public TfrxView {
    ORV_RTTI_CLASS(TfrxPictureView)
public:
    explicit TfrxPictureView(orv::platform::Component* AOwner);
    ~TfrxPictureView() override;

    TfrxBitmap* Picture() const { return m_picture.get(); }
    // Copies the given bitmap; the caller keeps its own.
    void SetPicture(TfrxBitmap* Value) { m_picture->Assign(Value); }
    bool IsPictureStored() const { return m_pictureStored; }
    // While off, copies and templates leave the picture out.
    void SetPictureStored(bool v) { m_pictureStored = v; }
    bool Stretched() const { return m_stretched; }
    void SetStretched(bool v) { m_stretched = v; }
    bool KeepAspectRatio() const { return m_keepAspectRatio; }
    void SetKeepAspectRatio(bool v) { m_keepAspectRatio = v; }
    bool Center() const { return m_center; }
    void SetCenter(bool v) { m_center = v; }
    bool AutoSize() const { return m_autoSize; }
    // With a picture the view takes its size (the fields directly, not the setters).
    void SetAutoSize(bool Value);
    bool HightQuality() const { return m_hightQuality; }
    void SetHightQuality(bool v) { m_hightQuality = v; }
    bool Transparent() const { return m_transparent; }
    // Also sets the background: none when transparent, white otherwise.
    void SetTransparent(bool Value);
    TAlphaColor TransparentColor() const { return m_transparentColor; }
    void SetTransparentColor(TAlphaColor v) { m_transparentColor = v; }
    const QString& FileLink() const { return m_fileLink; }
    void SetFileLink(const QString& v) { m_fileLink = v; }
    int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int v) { m_imageIndex = v; }

    // The picture changed since it was last put into the picture cache.
    bool PictureChanged = true;

    QString GetDescription() const override;
    // Puts a changed picture into the prepared pages' picture cache first.
    QString Diff(TfrxComponent* AComponent) override;
    void Draw(orv::platform::Canvas* Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY) override;
    // Loads the picture from FileLink or from a blob field.
    void GetData() override;

private:
    void pictureChanged();
    std::unique_ptr<TfrxBitmap> m_picture;
    bool m_pictureStored = true;
    bool m_stretched = true, m_keepAspectRatio = true, m_center = false, m_autoSize = false;
    bool m_hightQuality = false, m_transparent = false;
    TAlphaColor m_transparentColor = claWhite;
    QString m_fileLink;
    int m_imageIndex = 0;
};

} // namespace orv::report
