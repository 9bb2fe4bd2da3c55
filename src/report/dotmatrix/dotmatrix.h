#pragma once
// Report objects for printers that print text in fixed character cells: a page, a text,
// a line and a printer command. Their positions and sizes snap to whole cells (9.6 by 17
// pixels: ten characters per inch); their font is a fixed-pitch one whose bold, italic
// and underline follow a dot-matrix style set. A report built from them is drawn and
// printed like any other.
#include "report/model/pages.h"
#include "report/model/views.h"

namespace orv::report {

enum TfrxDMPFontStyle : int {
    fsxBold, fsxItalic, fsxUnderline, fsxSuperScript, fsxSubScript, fsxCondensed, fsxWide, fsx12cpi, fsx15cpi
};
ORV_RTTI_ENUM(TfrxDMPFontStyle, "fsxBold, fsxItalic, fsxUnderline, fsxSuperScript, fsxSubScript, fsxCondensed, "
                                "fsxWide, fsx12cpi, fsx15cpi")
ORV_RTTI_SET(TfrxDMPFontStyles, TfrxDMPFontStyle)

class TfrxDMPPage : public TfrxReportPage {
    ORV_RTTI_CLASS(TfrxDMPPage)
public:
    explicit TfrxDMPPage(orv::platform::Component* AOwner);
    TfrxDMPFontStyles FontStyle() const { return m_fontStyle; }
    // The page's font follows; objects that take their parent's font take the style too.
    void SetFontStyle(TfrxDMPFontStyles Value);
    // Paper sizes in whole cells (rounded).
    void SetPaperWidth(double Value);
    void SetPaperHeight(double Value);
    void SetPaperSize(int Value);
    // The printer's paper cut down to whole cells, with margins of a third of a cell
    // across and about a quarter of a row up and down.
    void SetDefaults();
    bool IsDotMatrixPage() const override { return true; }

private:
    TfrxDMPFontStyles m_fontStyle;
};

class TfrxDMPMemoView : public TfrxCustomMemoView {
    ORV_RTTI_CLASS(TfrxDMPMemoView)
public:
    explicit TfrxDMPMemoView(orv::platform::Component* AOwner);
    TfrxDMPFontStyles FontStyle() const { return m_fontStyle; }
    // Stops taking the parent's font; the font follows the style.
    void SetFontStyle(TfrxDMPFontStyles Value);
    bool IsFontStyleStored() const { return !ParentFont(); }
    bool TruncOutboundText() const { return m_truncOutboundText; }
    void SetTruncOutboundText(bool v) { m_truncOutboundText = v; }

    void SetLeft(double Value) override;
    void SetTop(double Value) override;
    void SetWidth(double Value) override;
    void SetHeight(double Value) override;
    // The four values as given, without snapping.
    void SetBoundsDirect(double ALeft, double ATop, double AWidth, double AHeight);
    void SetParentFont(bool Value) override;
    QString GetDescription() const override;
    QString Diff(TfrxComponent* AComponent) override;
    // The text's height and width in whole rows and columns.
    double CalcHeight() override;
    double CalcWidth();
    // The lines that fit the cells: as many rows as the height holds, each cut to the
    // columns the width holds, each followed by CR LF.
    QString GetoutBoundText() const;

protected:
    // The frame runs between character cells: half a cell outside the text.
    void PaintFrame() override;

private:
    void resetFont();
    TfrxDMPFontStyles m_fontStyle;
    bool m_truncOutboundText = false;
};

class TfrxDMPLineView : public TfrxCustomLineView {
    ORV_RTTI_CLASS(TfrxDMPLineView)
public:
    explicit TfrxDMPLineView(orv::platform::Component* AOwner);
    TfrxDMPFontStyles FontStyle() const { return m_fontStyle; }
    void SetFontStyle(TfrxDMPFontStyles Value);
    bool IsFontStyleStored() const { return !ParentFont(); }
    // Lines run through the middle of character cells.
    void SetLeft(double Value) override;
    void SetTop(double Value) override;
    void SetWidth(double Value) override;
    void SetParentFont(bool Value) override;
    QString GetDescription() const override;
    QString Diff(TfrxComponent* AComponent) override;

private:
    TfrxDMPFontStyles m_fontStyle;
};

class TfrxDMPCommand : public TfrxView {
    ORV_RTTI_CLASS(TfrxDMPCommand)
public:
    explicit TfrxDMPCommand(orv::platform::Component* AOwner) : TfrxView(AOwner) {}
    const QString& Command() const { return m_command; }
    void SetCommand(const QString& v) { m_command = v; }
    void SetLeft(double Value) override;
    void SetTop(double Value) override;
    // The characters the command stands for: "#27#64" (decimal codes) or "1B40" (pairs
    // of hexadecimal digits) both give escape and "@". A piece that is no number raises
    // ConvertError.
    QString ToChr() const;
    QString GetDescription() const override;
    QString Diff(TfrxComponent* AComponent) override;

private:
    QString m_command;
};

// Registers the three objects (category dot-matrix) and the page class.
void frxRegisterDotMatrixObjects();

} // namespace orv::report
