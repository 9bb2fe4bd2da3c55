// The memo's behaviour: expanding bracketed expressions while a report is prepared,
// formatting values, drawing on a canvas, measuring and splitting over pages.
#include "platform/core/canvas.h"
#include "platform/core/formats.h"
#include "platform/core/text.h"
#include "report/base/utils.h"
#include "report/base/variables.h"
#include "report/model/datasets.h"
#include "report/model/memoformat.h"
#include "report/model/report.h"
#include "report/model/textrenderer.h"
#include "report/model/views.h"

#include <algorithm>
#include <cmath>

// ---------------------------------------------------------------- geometry

namespace orv::report {

QRectF TfrxCustomMemoView::textRectIn(const DeviceRect& r, double ScaleX, double ScaleY) const
{
    const double w = Frame()->Width();
    const TfrxFrameTypes typ = Frame()->Typ();
    const double l = r.x + (typ.contains(ftLeft) ? (ScaleX * w - 1) / 2 : 0) + ScaleX * GapX();
    const double t = r.y + (typ.contains(ftTop) ? (ScaleY * w - 1) / 2 : 0) + ScaleY * GapY();
    const double right = r.x1 + (typ.contains(ftRight) ? ScaleX * w / 2 : 0) - ScaleX * GapX() + 1;
    const double bottom = r.y1 + (typ.contains(ftBottom) ? ScaleY * w / 2 : 0) - ScaleY * GapY() + 1;
    return QRectF(QPointF(l, t), QPointF(right, bottom));
}

QRectF TfrxCustomMemoView::unitTextRect() const { return textRectIn(deviceRect(1, 1, 0, 0), 1, 1); }

void TfrxCustomMemoView::ComputeDrawRect(orv::platform::Canvas* Canvas, double ScaleX, double ScaleY, double OffsetX,
                                         double OffsetY)
{
    TfrxView::ComputeDrawRect(Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
    TextRect = textRectIn(DeviceRect{FX, FY, FX1, FY1}, ScaleX, ScaleY);
}

TfrxFont* TfrxCustomMemoView::drawFont() const { return Highlight()->Active() ? Highlight()->Font() : Font(); }

bool TfrxCustomMemoView::usesRenderer() const { return HAlign() == haBlock || AllowHTMLTags(); }

QString TfrxCustomMemoView::textWithoutLastBreak() const
{
    // One line is the line itself: no text to join for every memo drawn.
    if (Memo()->Count() == 1)
        return Memo()->Get(0);
    QString t = Text();
    if (t.endsWith(QStringLiteral("\r\n")))
        t.chop(2);
    return t;
}

void TfrxCustomMemoView::ExpressionBrackets(QString& Open, QString& Close) const
{
    const QString delimiters = ExpressionDelimiters();
    const qsizetype comma = delimiters.indexOf(u',');
    Open = comma >= 0 ? delimiters.left(comma) : delimiters;
    Close = comma >= 0 ? delimiters.mid(comma + 1, 255) : QString();
}

QString TfrxCustomMemoView::GetComponentText() const
{
    QString t = Text();
    if (AllowExpressions()) {
        const qsizetype at = orv::platform::indexOfAZ(t, QStringLiteral("[TOTALPAGES]"));
        if (at >= 0)
            t.replace(at, 12, QString::number(TotalPages));
    }
    return t;
}

// ---------------------------------------------------------------- drawing

void TfrxCustomMemoView::Draw(orv::platform::Canvas* Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY)
{
    TfrxFont* F = drawFont();
    const TAlphaColor ownColor = Color();
    if (Highlight()->Active())
        SetColor(Highlight()->Color());
    struct RestoreColor {
        TfrxCustomMemoView* memo;
        TAlphaColor color;
        ~RestoreColor() { memo->SetColor(color); }
    } restoreColor{this, ownColor};

    TfrxView::Draw(Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
    ExtractMacros();
    if (!Canvas)
        return;
    const QString T = textWithoutLastBreak();

    if (Underlines() && Rotation() == 0) {
        Canvas->strokeDash = orv::platform::StrokeDash::Solid;
        Canvas->strokeColor = Frame()->Color();
        Canvas->strokeThickness = FFrameWidth;
        const double pitch = ScaleY * RulePitch();
        if (pitch > 0)
            for (double y = FY + (GapY() - LineSpacing() + 1) * ScaleY + pitch; y < FY1; y += pitch)
                Canvas->drawLine(QPointF(FX, frxRound(y)), QPointF(FX1, frxRound(y)));
    }
    if (T.isEmpty())
        return;

    // The text is laid out at the memo's own size, as measuring and splitting lay it
    // out, and then scaled onto the canvas: its lines break at the same places at every
    // zoom, on paper and in the PDF.
    const QRectF unit = unitTextRect();
    const QTransform toCanvas(ScaleX, 0, 0, ScaleY, TextRect.left() - unit.left() * ScaleX,
                              TextRect.top() - unit.top() * ScaleY);
    Canvas->saveState();
    Canvas->intersectClipRect(TextRect);
    Canvas->setMatrix(toCanvas * Canvas->matrix());
    if (usesRenderer()) {
        TAdvancedTextRenderer renderer(Canvas, T, F, unit, HAlign(), VAlign(), F->GetHeight(), Rotation(),
                                       WordWrap(), false, AllowHTMLTags(), false);
        renderer.Draw();
    } else {
        QRectF r = unit;
        const int angle = Rotation();
        if (angle != 0) {
            const QPointF centre = unit.center();
            QTransform rotation;
            rotation.translate(centre.x(), centre.y());
            rotation.rotate(-angle);
            Canvas->setMatrix(rotation * Canvas->matrix());
            double w = unit.width(), h = unit.height();
            if ((angle >= 90 && angle <= 179) || (angle >= 270 && angle <= 359))
                std::swap(w, h);
            r = QRectF(-w / 2, -h / 2, w, h);
        }
        F->AssignToCanvas(*Canvas);
        const orv::platform::TextAlign horz = HAlign() == haRight    ? orv::platform::TextAlign::Trailing
                                    : HAlign() == haCenter ? orv::platform::TextAlign::Center
                                                           : orv::platform::TextAlign::Leading;
        Canvas->fillText(r, T, WordWrap(), 1, horz, frxVertAlignToTextAlign(VAlign()));
    }
    Canvas->restoreState();
}

// ---------------------------------------------------------------- measuring

double TfrxCustomMemoView::measure(bool Height)
{
    const QString T = textWithoutLastBreak();
    if (T.isEmpty())
        return 0;
    TfrxFont* F = drawFont();
    ComputeDrawRect(m_bmpCanvas.get(), 1, 1, 0, 0);
    const double w = Frame()->Width();
    const TfrxFrameTypes typ = Frame()->Typ();
    const double shadow = Frame()->DropShadow() ? Frame()->ShadowWidth() : 0;
    const double extra = Height ? 2 * GapY() + (typ.contains(ftTop) ? (w - 1) / 2 : 0) +
                                      (typ.contains(ftBottom) ? w / 2 : 0) + shadow
                                : 2 * GapX() + (typ.contains(ftLeft) ? w / 2 : 0) +
                                      (typ.contains(ftRight) ? w / 2 : 0) + shadow;
    if (usesRenderer()) {
        TAdvancedTextRenderer renderer(m_bmpCanvas.get(), T, F, TextRect, HAlign(), VAlign(), 0, Rotation(),
                                       WordWrap(), false, AllowHTMLTags(), false);
        return (Height ? renderer.CalcHeight() : renderer.CalcWidth()) + 4 + extra;
    }
    F->AssignToCanvas(*m_bmpCanvas);
    const QRectF room(0, 0, Height ? TextRect.width() : 10000, 10000);
    const QRectF measured = m_bmpCanvas->measureText(room, T, WordWrap(), frxHorzAlignToTextAlign(HAlign()),
                                                     frxVertAlignToTextAlign(VAlign()));
    return Height ? measured.height() + 4 + extra : measured.width() + 12 + extra;
}

double TfrxCustomMemoView::CalcHeight() { return measure(true); }

double TfrxCustomMemoView::RulePitch()
{
    // The renderer steps by the font's pixel size, the platform's text drawing by the
    // face's own line height.
    TfrxFont* F = drawFont();
    if (usesRenderer())
        return F->GetHeight();
    F->AssignToCanvas(*m_bmpCanvas);
    return m_bmpCanvas->lineHeight();
}

double TfrxCustomMemoView::CalcWidth() { return measure(false); }

void TfrxCustomMemoView::InitPart()
{
    m_partText = Text();
    m_partStart = 0;
    m_partLines.clear();
    m_partLine = 0;
    m_partWidth = -1;
    m_partUsed = -1;
    SetFirstParaBreak(false);
    SetLastParaBreak(false);
}

void TfrxCustomMemoView::layOutPart(double width)
{
    // The lines of what is left; broken at another width they start anew from there.
    m_partLines = TAdvancedTextRenderer::LineStarts(m_bmpCanvas.get(), m_partText.mid(m_partStart), drawFont(), width,
                                                    WordWrap(), AllowHTMLTags());
    for (int& start : m_partLines)
        start += int(m_partStart);
    m_partLine = 0;
    m_partWidth = width;
}

double TfrxCustomMemoView::DrawPart()
{
    ComputeDrawRect(m_bmpCanvas.get(), 1, 1, 0, 0);
    // A turned text breaks its lines along the rectangle's other side.
    const int angle = Rotation();
    const bool across = (angle >= 90 && angle <= 179) || (angle >= 270 && angle <= 359);
    const double width = across ? TextRect.height() : TextRect.width();
    const double room = TextRect.height();
    if (m_partWidth != width)
        layOutPart(width);
    const double lineHeight = drawFont()->GetHeight() + 2;
    const bool hasLines = m_partLine < m_partLines.size();
    if (lineHeight > room) {
        m_partUsed = hasLines ? 0 : -1;
        SetText(QString());
        return Height();
    }
    const size_t lines = m_partLines.size() - m_partLine;
    qsizetype end = m_partText.size();
    size_t next = m_partLines.size();
    double s = 0;
    for (size_t k = m_partLine; k < m_partLines.size(); ++k) {
        s += lineHeight;
        if (s > room) {
            next = k;
            end = std::min<qsizetype>(m_partLines[k], m_partText.size());
            break;
        }
    }
    // A part ends with the line break of its last paragraph or with the blank at which
    // its last line was wrapped; when everything fits, everything goes.
    if (end > m_partStart && end < m_partText.size() && m_partText[end - 1] != u'\n')
        --end;
    SetText(m_partText.mid(m_partStart, end - m_partStart));
    m_partStart = end;
    // What the part took is counted in its lines: the room left under the last one is
    // not the text's, and the rest of the text starts on the next part at its top.
    m_partUsed = hasLines ? Height() - (room - double(next - m_partLine) * lineHeight) : -1;
    m_partLine = next;
    const double total = double(lines) * lineHeight;
    return total != 0 ? total + 2 * GapY() : Height();
}

double TfrxCustomMemoView::DrawFirstPart()
{
    if (!HasPartLeft())
        return DrawPart();
    ComputeDrawRect(m_bmpCanvas.get(), 1, 1, 0, 0);
    const double lineHeight = drawFont()->GetHeight() + 2;
    if (lineHeight <= TextRect.height())
        return DrawPart();
    // The room is lower than one line: the text area is made exactly one line high, so
    // that the first line is taken; the view then gets its room back.
    const double room = Height();
    SetHeight(room + lineHeight - TextRect.height() + 0.001);
    const double result = DrawPart();
    SetHeight(room);
    return result;
}

QString TfrxCustomMemoView::WrapText(bool WrapWords)
{
    ComputeDrawRect(m_bmpCanvas.get(), 1, 1, 0, 0);
    TAdvancedTextRenderer renderer(m_bmpCanvas.get(), Text(), Font(), TextRect, HAlign(), VAlign(), 0, Rotation(),
                                   WordWrap(), false, AllowHTMLTags(), false);
    return renderer.LineTexts().join(QStringLiteral("\r\n"));
}

// ---------------------------------------------------------------- printing

void TfrxCustomMemoView::BeforePrint()
{
    TfrxView::BeforePrint();
    if (!IsDataField())
        TempMemo = Text();
}

void TfrxCustomMemoView::AfterPrint()
{
    if (!IsDataField())
        SetText(TempMemo);
    TfrxView::AfterPrint();
}

void TfrxCustomMemoView::GetData()
{
    TfrxView::GetData();
    TfrxReport* report = Report();
    if (IsDataField()) {
        TfrxDataSet* ds = DataSet();
        if (ds->IsBlobField(DataField())) {
            ds->AssignBlobTo(DataField(), Memo());
        } else {
            Value = orv::report::toValue(ds->GetValue(DataField()));
            if (DisplayFormat()->Kind() != fkText)
                SetText(FormatData(Value, DisplayFormat()));
            else
                SetText(ds->GetDisplayText(DataField()));
            if (HideZeros() && orv::report::isNumericZero(Value))
                SetText(QString());
        }
    } else if (AllowExpressions()) {
        QString S = Text();
        QString open, close;
        ExpressionBrackets(open, close);
        if (!open.isEmpty() && S.contains(open)) {
            frxExpandBracketedExpressions(S, open, close, [this](const QString& expr) { return CalcAndFormat(expr); });
            SetText(S);
        }
    }
    if (report)
        report->SetLocalValue(Value);
    Highlight()->SetActive(false);
    if (!Highlight()->Condition().isEmpty() && report)
        Highlight()->SetActive(report->Calc(Highlight()->Condition()).toBool());
    if (SuppressRepeated()) {
        if (LastValue.isText() && LastValue.toString() == Text())
            SetText(QString());
        else
            LastValue = orv::report::Value(Text());
    }
    if (TfrxCustomMemoView* next = FlowTo()) {
        InitPart();
        DrawPart();
        next->SetText(PartMemo());
        next->SetAllowExpressions(false);
    }
}

QString TfrxCustomMemoView::CalcAndFormat(const QString& Expr)
{
    QString X = Expr;
    std::unique_ptr<TfrxFormat> format;
    const qsizetype hash = Expr.indexOf(QStringLiteral(" #"));
    if (hash >= 0) {
        X = Expr.left(hash);
        QString F = Expr.mid(hash + 2);
        if (F.contains(u')')) {
            X = Expr;
        } else {
            format = std::make_unique<TfrxFormat>();
            const QChar kind = F.isEmpty() ? QChar() : F[0];
            if (kind == u'N' || kind == u'n') {
                format->SetKind(fkNumeric);
                for (QChar& c : F)
                    if (c == u',' || c == u'-' || c == u'.') {
                        format->SetDecimalSeparator(QString(c));
                        c = u'.';
                    }
            } else if (kind == u'D' || kind == u'd' || kind == u'T' || kind == u't') {
                format->SetKind(fkDateTime);
            } else if (kind == u'B' || kind == u'b') {
                format->SetKind(fkBoolean);
            }
            format->SetFormatStr(F.mid(1, 255));
        }
    }
    if (orv::platform::sameTextAZ(X, QStringLiteral("TOTALPAGES#")))
        Value = orv::report::Value(QStringLiteral("[TotalPages#]"));
    else if (orv::platform::sameTextAZ(X, QStringLiteral("COPYNAME#")))
        Value = orv::report::Value(QStringLiteral("[CopyName#]"));
    else if (TfrxReport* report = Report())
        Value = report->Calc(X);
    else
        Value = orv::report::Value::null();
    if (HideZeros() && orv::report::isNumericZero(Value))
        return QString();
    return FormatData(Value, format ? format.get() : DisplayFormat());
}

QString TfrxCustomMemoView::FormatData(const orv::report::Value& V, TfrxFormat* AFormat)
{
    if (!AFormat)
        AFormat = DisplayFormat();
    if (V.isNull())
        return QString();
    auto plain = [&]() -> QString {
        try {
            return V.toString();
        } catch (const std::exception&) {
            return QString();
        }
    };
    try {
        switch (AFormat->Kind()) {
        case fkText:
            return plain();
        case fkNumeric:
            return frxFormatNumeric(V, *AFormat);
        case fkDateTime:
            return orv::platform::formatDateTime(AFormat->FormatStr(), V.toDate());
        case fkBoolean: {
            const QString f = AFormat->FormatStr();
            const qsizetype comma = f.indexOf(u',');
            const QString no = comma >= 0 ? f.left(comma) : f;
            const QString yes = comma >= 0 ? f.mid(comma + 1) : QString();
            bool isTrue = false;
            try {
                isTrue = orv::script::equals(V, orv::report::Value(true));
            } catch (const std::exception&) {
                isTrue = false;
            }
            return isTrue ? yes : no;
        }
        }
    } catch (const std::exception&) {
    }
    return plain();
}

void TfrxCustomMemoView::ExtractMacros()
{
    if (!AllowExpressions())
        return;
    QString T = Text();
    qsizetype at = orv::platform::indexOfAZ(T, QStringLiteral("[TOTALPAGES#]"));
    if (at >= 0) {
        T.replace(at, 13, QString::number(TotalPages));
        SetText(T);
    }
    at = orv::platform::indexOfAZ(T, QStringLiteral("[COPYNAME#]"));
    if (at >= 0) {
        const QString name = QStringLiteral("CopyName") + QString::number(CopyNo);
        const TfrxVariables& globals = frxGlobalVariables();
        const QString copyName = globals.IndexOf(name) >= 0 ? globals.GetVariable(name).toString() : QString();
        T.replace(at, 11, copyName);
        SetText(T);
    }
}

} // namespace orv::report
