// The page content of the PDF export filter: what each view of a page becomes in the
// page's content stream (text, lines, shapes, images, frames), and the objects of each
// font used.
#include "pdf/crypto.h"
#include "pdf/imageconvert.h"
#include "pdf/memotext.h"
#include "pdf/pdfexport.h"
#include "pdf/pdfsecurity.h"
#include "pdf/pdfsyntax.h"
#include "platform/core/cp1252.h"
#include "report/base/utils.h"
#include "report/model/views.h"

#include <QBuffer>
#include <QPainter>

#include <cmath>
#include <cstring>
#include <numbers>

namespace orv::pdf {
using namespace orv::report;
} // namespace orv::pdf

namespace orv::pdf {

using namespace orv::pdf;

namespace {

bool isHtmlMemo(const TfrxCustomMemoView* memo, bool htmlTags)
{
    return memo->AllowHTMLTags() && htmlTags && memo->Text().contains(u'<');
}

bool plainBrush(const TfrxView* view) { return view->BrushStyle == bkNone || view->BrushStyle == bkSolid; }

// A text-matrix coefficient: four decimals keep turned text true to its angle.
QByteArray coefficient(double v) { return frxFloatToFixed(4, u'.', v).toLatin1(); }

bool isIdentity(const QTransform& m)
{
    return m.m11() == 1 && m.m12() == 0 && m.m21() == 0 && m.m22() == 1;
}

// A font's style set as the font records compare it.
FontStyles stylesOf(bool bold, bool italic, const TFontStyles& decorations)
{
    FontStyles s;
    s.setFlag(FontStyle::Bold, bold);
    s.setFlag(FontStyle::Italic, italic);
    s.setFlag(FontStyle::Underline, decorations.contains(fsUnderline));
    s.setFlag(FontStyle::StrikeOut, decorations.contains(fsStrikeOut));
    return s;
}

// The prefix that marks an embedded font as a subset: six capital letters that follow
// from the glyphs it holds.
QByteArray subsetTag(const TfrxPDFFont& font)
{
    TfrxMD5 h;
    h.Update(font.GetFontName());
    for (std::uint16_t g : font.UsedAlphabet)
        h.Update(&g, sizeof g);
    h.Finalize();
    QByteArray tag;
    for (int i = 0; i < 6; ++i)
        tag += char('A' + h.Digest()[std::size_t(i)] % 26);
    return tag + '+';
}

// A character as the hexadecimal digits of its UTF-16 form, a pair past U+FFFF.
QByteArray utf16Hex(char32_t c)
{
    if (c <= 0xFFFF)
        return hex4(std::uint16_t(c));
    return hex4(QChar::highSurrogate(c)) + hex4(QChar::lowSurrogate(c));
}

} // namespace

double TfrxPDFExport::ToPdfX(double x) const { return x * 0.75 + FMarginLeft; }

double TfrxPDFExport::ToPdfY(double y) const { return FHeight - FMarginTop - y * 0.75; }

QByteArray TfrxPDFExport::point(double x, double y) const { return fixed(ToPdfX(x)) + ' ' + fixed(ToPdfY(y)); }

namespace {

// The stream grows once per operator, with its room reserved at the page's start; the
// general append path costs more than the bytes it copies here.
void appendOperator(QByteArray& out, const QByteArray& operands, const char* name)
{
    const std::size_t nameLength = name ? std::strlen(name) : 0;
    const qsizetype start = out.size();
    out.resize(start + operands.size() + (name ? 1 + qsizetype(nameLength) : 0) + 2);
    char* p = out.data() + start;
    std::memcpy(p, operands.constData(), std::size_t(operands.size()));
    p += operands.size();
    if (name) {
        *p++ = ' ';
        std::memcpy(p, name, nameLength);
        p += nameLength;
    }
    *p++ = '\r';
    *p = '\n';
}

} // namespace

void TfrxPDFExport::op(const QByteArray& text) { appendOperator(OutStream, text, nullptr); }

void TfrxPDFExport::op(const char* text) { appendOperator(OutStream, QByteArray::fromRawData(text, qsizetype(std::strlen(text))), nullptr); }

void TfrxPDFExport::op(const QByteArray& operands, const char* name) { appendOperator(OutStream, operands, name); }

void TfrxPDFExport::op(std::initializer_list<double> numbers, const char* name)
{
    // Written in place: the stream grows by the longest text the numbers can take and is
    // cut back to what they took.
    const std::size_t nameLength = std::strlen(name);
    const qsizetype start = OutStream.size();
    OutStream.resize(start + qsizetype(numbers.size()) * (kFixedRoom + 1) + qsizetype(nameLength) + 2);
    char* p = OutStream.data() + start;
    for (double n : numbers) {
        if (!(std::fabs(n) < kFastFixedLimit)) {
            OutStream.resize(p - OutStream.constData());
            appendFixed(OutStream, n);
            const qsizetype at = OutStream.size();
            OutStream.resize(at + qsizetype(numbers.size()) * (kFixedRoom + 1) + qsizetype(nameLength) + 2);
            p = OutStream.data() + at;
        } else {
            p = writeFixed(p, n);
        }
        *p++ = ' ';
    }
    std::memcpy(p, name, nameLength);
    p += nameLength;
    *p++ = '\r';
    *p++ = '\n';
    OutStream.resize(p - OutStream.constData());
}

const QByteArray& TfrxPDFExport::ColorOperands(TAlphaColor Color)
{
    if (Color != FLastColor) {
        FLastColor = Color;
        FLastColorResult = colorOperands(Color);
    }
    return FLastColorResult;
}

// ---------------------------------------------------------------- dispatch

void TfrxPDFExport::WriteView(TfrxView* View)
{
    if (!View->URL().isEmpty())
        addLink(View);
    auto* memo = View->asMemo();
    if (memo && plainBrush(memo) && !isHtmlMemo(memo, HTMLTags()))
        writeText(memo);
    else if (auto* line = dynamic_cast<TfrxCustomLineView*>(View))
        writeLine(line);
    else if (auto* shape = dynamic_cast<TfrxShapeView*>(View))
        writeShape(shape);
    else if (View->Height() > 0 && View->Width() > 0 &&
             (View->Name() != QLatin1String("_pagebackground") || Background()))
        writeImage(View);
}

// ---------------------------------------------------------------- frames

void TfrxPDFExport::writeFrame(TfrxView* View, double X1, double Y1, double X2, double Y2)
{
    TfrxFrame* frame = View->Frame();
    if (frame->Typ().isEmpty() || frame->Color() == claNull)
        return;
    op(ColorOperands(frame->Color()), "RG");
    struct Side {
        TfrxFrameType type;
        TfrxFrameLine* line;
        double ax, ay, bx, by;
    };
    const Side sides[] = {
        {ftTop, frame->TopLine(), X1, Y1, X2, Y1},
        {ftRight, frame->RightLine(), X2, Y1, X2, Y2},
        {ftBottom, frame->BottomLine(), X1, Y2, X2, Y2},
        {ftLeft, frame->LeftLine(), X1, Y1, X1, Y2},
    };
    for (const Side& s : sides) {
        if (!frame->Typ().contains(s.type))
            continue;
        op(dashLine(s.line->Style(), s.line->Width()));
        op({s.line->Width() * 0.75}, "w");
        op({s.ax, s.ay}, "m");
        op({s.bx, s.by}, "l");
        op("S");
    }
}

// ---------------------------------------------------------------- text

void TfrxPDFExport::writeText(TfrxCustomMemoView* Memo)
{
    const double left = Memo->AbsLeft(), top = Memo->AbsTop();
    const double width = Memo->Width(), height = Memo->Height();
    const double fw = Memo->Frame()->Width();
    const TAlphaColor fill = Memo->Highlight()->Active() ? Memo->Highlight()->Color() : Memo->Color();

    op("q");
    op({ToPdfX(left - fw), ToPdfY(top + height + fw), (2 * fw + width) * 0.75, (2 * fw + height) * 0.75}, "re");
    op("W");
    op("n");

    double w = width, h = height;
    if (Memo->Frame()->DropShadow()) {
        const double sw = Memo->Frame()->ShadowWidth();
        w = width - sw;
        h = height - sw;
        const QByteArray s = ColorOperands(Memo->Frame()->ShadowColor());
        op(s + " rg");
        op(s + " RG");
        op(point(left + w, top + h + sw) + ' ' + fixed(sw * 0.75) + ' ' + fixed(h * 0.75) + " re");
        op("B");
        op(point(left + sw, top + h + sw) + ' ' + fixed(w * 0.75) + ' ' + fixed(sw * 0.75) + " re");
        op("B");
    }
    const double X1 = ToPdfX(left), Y1 = ToPdfY(top), X2 = ToPdfX(left + w), Y2 = ToPdfY(top + h);
    if (fill != claNull) {
        op(ColorOperands(fill), "rg");
        op({X1, Y2, w * 0.75, h * 0.75}, "re");
        op("f");
    }
    writeFrame(Memo, X1, Y1, X2, Y2);

    if (Memo->Underlines() && Memo->Rotation() == 0) {
        // The rules stand where the preview draws them, under the lines the memo lays out
        // here (without HTML formatting its text goes the platform's way).
        const bool htmlTags = Memo->AllowHTMLTags();
        if (!HTMLTags())
            Memo->SetAllowHTMLTags(false);
        const double lh = Memo->RulePitch();
        Memo->SetAllowHTMLTags(htmlTags);
        const double first = top + Memo->GapY() - Memo->LineSpacing() + 1;
        for (int i = 1; lh > 0 && first + i * lh < top + height; ++i) {
            const QByteArray y = fixed(ToPdfY(first + i * lh));
            op(ColorOperands(Memo->Frame()->Color()) + " RG");
            op(fixed(fw * 0.75) + " w");
            op(fixed(X1) + ' ' + y + " m");
            op(fixed(X2) + ' ' + y + " l");
            op("S");
        }
    }

    // The memo lays its text out as it does for the preview and the printer; without
    // HTML formatting its tags are text.
    const bool tags = Memo->AllowHTMLTags();
    if (!HTMLTags())
        Memo->SetAllowHTMLTags(false);
    MemoText text;
    try {
        text = layOutMemoText(*Memo);
    } catch (...) {
        Memo->SetAllowHTMLTags(tags);
        throw;
    }
    Memo->SetAllowHTMLTags(tags);
    writeTextRuns(Memo, text.runs);
    for (const TextBar& bar : text.bars) {
        op(ColorOperands(bar.color) + " rg");
        const qsizetype corners = bar.area.isClosed() ? bar.area.size() - 1 : bar.area.size();
        for (qsizetype i = 0; i < corners; ++i)
            op(point(bar.area[i].x(), bar.area[i].y()) + (i == 0 ? " m" : " l"));
        op("h");
        op("f");
    }
    op("Q");
}

void TfrxPDFExport::writeTextRuns(TfrxCustomMemoView* Memo, const std::vector<TextRun>& runs)
{
    const TFontStyles decorations = Memo->Font()->Style();
    const double cs = Memo->CharSpacing() * 0.75;
    struct Shown {
        TfrxPDFFont* font;
        QList<std::uint16_t> glyphs;
        double shift = 0; // along the baseline, in report pixels
    };
    std::vector<Shown> shown;
    shown.reserve(runs.size());
    for (const TextRun& run : runs) {
        TfrxPDFFont* font = fontFor({run.font.family, stylesOf(run.font.bold, run.font.italic, decorations)});
        shown.push_back({font, font->RemapString(run.text)});
    }
    // The layout measured the text with the spacing after every character, as the text
    // operators add it, so lines break and runs stand where the spaced text needs them.
    // The spacing after a line's last character does not show: an aligned line moves on
    // by its share of it and still ends at its edge.
    if (cs != 0) {
        const double spacing = Memo->CharSpacing();
        const double shift = Memo->HAlign() == haRight ? spacing : Memo->HAlign() == haCenter ? spacing / 2 : 0;
        for (Shown& s : shown)
            s.shift = shift;
    }
    TfrxPDFFont* current = nullptr;
    QByteArray currentSize, currentColor;
    bool spacing = false;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const TextRun& run = runs[r];
        const double size = run.font.size * 0.75;
        TfrxPDFFont* font = shown[r].font;
        QList<std::uint16_t>& glyphs = shown[r].glyphs;
        if (glyphs.isEmpty())
            continue;
        const QByteArray sizeText = fontSize(size);
        if (font != current || sizeText != currentSize) {
            current = font;
            currentSize = sizeText;
            OutStream += font->Name;
            OutStream += ' ';
            op(currentSize, "Tf");
        }
        const QByteArray& color = ColorOperands(run.color == claNull ? claBlack : run.color);
        if (color != currentColor) {
            currentColor = color;
            op(color, "rg");
        }
        if (cs != 0 && !spacing) {
            spacing = true;
            op({cs}, "Tc");
        }
        const bool japanese = font->Japanese;
        const bool syntheticBold = japanese && run.font.bold;
        const bool syntheticItalic = japanese && run.font.italic;
        if (Memo->RTLReading())
            std::reverse(glyphs.begin(), glyphs.end());

        const QPointF at = run.matrix.map(run.origin + QPointF(shown[r].shift, 0));
        op("BT");
        if (isIdentity(run.matrix) && !syntheticItalic) {
            op({ToPdfX(at.x()), ToPdfY(at.y())}, "Td");
        } else if (isIdentity(run.matrix)) {
            const QByteArray X = fixed(ToPdfX(at.x())), Y = fixed(ToPdfY(at.y()));
            op(X + ' ' + Y + " Td");
            if (syntheticItalic)
                op("1 0 0.3333 1 " + X + ' ' + Y + " Tm");
        } else {
            // Turned or scaled text: the run's matrix in PDF's upward coordinates, with
            // the slant of a synthetic italic applied first.
            const QTransform& m = run.matrix;
            const double a = m.m11(), b = -m.m12(), c = -m.m21(), d = m.m22();
            const double k = syntheticItalic ? 0.3333 : 0;
            op(coefficient(a) + ' ' + coefficient(b) + ' ' + coefficient(k * a + c) + ' ' + coefficient(k * b + d) +
               ' ' + fixed(ToPdfX(at.x())) + ' ' + fixed(ToPdfY(at.y())) + " Tm");
        }
        if (syntheticBold)
            op("2 Tr " + fixed(Memo->Font()->Size() / 35.0) + " w " + color + " RG");
        const qsizetype start = OutStream.size();
        OutStream.resize(start + 4 * glyphs.size() + 7);
        char* p = OutStream.data() + start;
        *p++ = '<';
        for (std::uint16_t g : glyphs)
            p = writeHex4(p, g);
        std::memcpy(p, "> Tj\r\n", 6);
        op("ET");
        if (syntheticBold)
            op("0 Tr");
    }
}

TfrxPDFFont* TfrxPDFExport::fontFor(const PdfSourceFont& font)
{
    for (const auto& record : FFonts)
        if (record->IsSameFont(font))
            return record.get();
    auto record = std::make_unique<TfrxPDFFont>(font);
    record->FillOutlineTextMetrix();
    record->Name = "/F" + QByteArray::number(qsizetype(FFonts.size()));
    FFonts.push_back(std::move(record));
    return FFonts.back().get();
}

// ---------------------------------------------------------------- lines

void TfrxPDFExport::writeLine(TfrxCustomLineView* Line)
{
    const double left = Line->AbsLeft(), top = Line->AbsTop();
    double width = Line->Width(), height = Line->Height();
    // A straight line runs along its longer side, as it does on the screen and on paper.
    if (!Line->Diagonal()) {
        if (width > height)
            height = 0;
        else
            width = 0;
    }
    TfrxFrame* frame = Line->Frame();
    const double x1 = ToPdfX(left), y1 = ToPdfY(top), x2 = ToPdfX(left + width), y2 = ToPdfY(top + height);
    op(dashLine(frame->Style(), frame->Width()));
    op(ColorOperands(frame->Color()), "RG");
    op({frame->Width() * 0.75}, "w");
    op({x1, y1}, "m");
    op({x2, y2}, "l");
    op("S");
    if (Line->ArrowStart())
        writeArrow(Line, x1, y1, x2, y2);
    if (Line->ArrowEnd())
        writeArrow(Line, x2, y2, x1, y1);
}

void TfrxPDFExport::writeArrow(TfrxCustomLineView* Line, double px, double py, double qx, double qy)
{
    const double aw = Line->ArrowWidth() * 0.75, al = Line->ArrowLength() * 0.75;
    const auto within = [](double v, double a, double b) { return v >= std::min(a, b) && v <= std::max(a, b); };
    double c1x, c1y, c2x, c2y;
    if (px != qx) {
        const double k = (py - qy) / (px - qx);
        const double b = (px * qy - qx * py) / (px - qx);
        const double A = k * k + 1;
        const double B = 2 * ((b - py) * k - px);
        const double C = px * px + py * py - al * al + b * b - 2 * py * b;
        const double D = std::max(B * B - 4 * A * C, 0.0);
        double bx = (std::sqrt(D) - B) / (2 * A);
        if (!within(bx, qx, px))
            bx = (-B - std::sqrt(D)) / (2 * A);
        const double by = k * bx + b;
        if (py != qy) {
            const double theta = std::atan(k);
            c1x = bx + aw * std::sin(theta);
            c1y = by - aw * std::cos(theta);
            c2x = bx - aw * std::sin(theta);
            c2y = by + aw * std::cos(theta);
        } else {
            c1x = c2x = bx;
            c1y = by - aw;
            c2y = by + aw;
        }
    } else {
        double by = py - al;
        if (!within(by, qy, py))
            by = py + al;
        c1x = px - aw;
        c2x = px + aw;
        c1y = c2y = by;
    }
    TfrxFrame* frame = Line->Frame();
    op(dashLine(frame->Style(), frame->Width()));
    op(fixed(c1x) + ' ' + fixed(c1y) + " m");
    op(fixed(px) + ' ' + fixed(py) + " l");
    op(fixed(c2x) + ' ' + fixed(c2y) + " l");
    if (Line->ArrowSolid()) {
        op("1 j");
        op(ColorOperands(frame->Color()) + " rg");
        op("b");
    } else {
        op("S");
    }
}

// ---------------------------------------------------------------- shapes

void TfrxPDFExport::writeShape(TfrxShapeView* Shape)
{
    TfrxFrame* frame = Shape->Frame();
    const double L = Shape->AbsLeft(), T = Shape->AbsTop();
    const double W = Shape->Width(), H = Shape->Height();
    const double R = L + W, Bm = T + H;
    const QByteArray X1 = fixed(ToPdfX(L)), Y1 = fixed(ToPdfY(T)), X2 = fixed(ToPdfX(R)), Y2 = fixed(ToPdfY(Bm));
    const QByteArray stroke = ColorOperands(frame->Color()) + " RG";
    const QByteArray lineWidth = fixed(frame->Width() * 0.75) + " w";

    op(dashLine(frame->Style(), frame->Width()));
    const TfrxShapeKind kind = Shape->Shape();
    if (kind == skDiagonal1 || kind == skDiagonal2) {
        op(stroke);
        op(lineWidth);
        if (kind == skDiagonal1) {
            op(X1 + ' ' + Y2 + " m");
            op(X2 + ' ' + Y1 + " l");
        } else {
            op(X1 + ' ' + Y1 + " m");
            op(X2 + ' ' + Y2 + " l");
        }
        op("S");
        return;
    }
    op(stroke);
    op(lineWidth);
    op(ColorOperands(Shape->Color()) + " rg");
    const auto p = [this](double x, double y) { return point(x, y); };
    switch (kind) {
    case skRectangle:
        op(X1 + ' ' + Y2 + ' ');
        op(fixed(W * 0.75) + ' ' + fixed(H * 0.75) + " re");
        break;
    case skRoundRectangle: {
        const double r = Shape->Curve() != 0 ? Shape->Curve() * 3.74 : 7.48;
        const double h = r / 2;
        op(p(L + r, Bm) + " m");
        op(p(R - r, Bm) + " l");
        op(p(R - h, Bm) + ' ' + p(R, Bm - h) + ' ' + p(R, Bm - r) + " c");
        op(p(R, T + r) + " l");
        op(p(R, T + h) + ' ' + p(R - h, T) + ' ' + p(R - r, T) + " c");
        op(p(L + r, T) + " l");
        op(p(L + h, T) + ' ' + p(L, T + h) + ' ' + p(L, T + r) + " c");
        op(p(L, Bm - r) + " l");
        op(p(L, Bm - h) + ' ' + p(L + h, Bm) + ' ' + p(L + r, Bm) + " c");
        break;
    }
    case skEllipse: {
        const double rx = W / 2, ry = H / 2;
        const double k1 = 1.5522847498, k2 = 0.4477152502;
        op(p(L + 2 * rx, T + ry) + " m");
        op(p(L + 2 * rx, T + ry * k1) + ' ' + p(L + rx * k1, T + 2 * ry) + ' ' + p(L + rx, T + 2 * ry) + " c");
        op(p(L + rx * k2, T + 2 * ry) + ' ' + p(L, T + ry * k1) + ' ' + p(L, T + ry) + " c");
        op(p(L, T + ry * k2) + ' ' + p(L + rx * k2, T) + ' ' + p(L + rx, T) + " c");
        op(p(L + rx * k1, T) + ' ' + p(L + 2 * rx, T + ry * k2) + ' ' + p(L + 2 * rx, T + ry) + " c");
        break;
    }
    case skTriangle:
        op(p(L + W / 2, T) + " m " + p(R, Bm) + " l " + p(L, Bm) + " l " + p(L + W / 2, T) + " l");
        break;
    case skDiamond:
        op(p(L + W / 2, T) + " m " + p(R, T + H / 2) + " l " + p(L + W / 2, Bm) + " l " + p(L, T + H / 2) + " l " +
           p(L + W / 2, T) + " l");
        break;
    case skDiagonal1:
    case skDiagonal2:
        break;
    }
    op(Shape->Color() != claNull ? "B" : "S");
}

// ---------------------------------------------------------------- images

void TfrxPDFExport::writeImage(TfrxView* View)
{
    // The bitmap holds the view without its frame; the frame is drawn as lines.
    TfrxFrame* frame = View->Frame();
    struct Widths {
        double frame, left, top, right, bottom;
    } saved{frame->Width(), frame->LeftLine()->Width(), frame->TopLine()->Width(), frame->RightLine()->Width(),
            frame->BottomLine()->Width()};
    if (saved.frame > 0)
        frame->SetWidth(0);
    const auto restore = [&] {
        if (saved.frame > 0) {
            frame->SetWidth(saved.frame);
            frame->LeftLine()->SetWidth(saved.left);
            frame->TopLine()->SetWidth(saved.top);
            frame->RightLine()->SetWidth(saved.right);
            frame->BottomLine()->SetWidth(saved.bottom);
        }
    };

    const TfrxRect real = View->GetRealBounds();
    const double rw = real.Right - real.Left, rh = real.Bottom - real.Top;
    const double absLeft = View->AbsLeft(), absTop = View->AbsTop();
    const auto offsetOf = [](double realSize, double size, double abs, double realStart, double realEnd) {
        if (realSize == size || abs == realStart)
            return 0.0;
        return abs + size == realEnd ? realSize - size : (realSize - size) / 2;
    };
    const double dx = offsetOf(rw, View->Width(), absLeft, real.Left, real.Right);
    const double dy = offsetOf(rh, View->Height(), absTop, real.Top, real.Bottom);

    int scale = 1, shift = 0;
    if ((PrintOptimized() || dynamic_cast<TfrxCustomMemoView*>(View)) && plainBrush(View))
        scale = 3;
    if (View->ClassName() == QLatin1String("TfrxBarCodeView") && !PrintOptimized()) {
        scale = 2;
        shift = 2;
    }
    QImage bitmap(scale + frxRound(scale * rw), scale + frxRound(scale * rh), QImage::Format_RGB32);
    bitmap.fill(Qt::white);
    {
        QPainter painter(&bitmap);
        orv::platform::Canvas canvas(&painter);
        try {
            View->Draw(&canvas, scale, scale, shift - frxRound((absLeft - dx) * scale),
                       -frxRound((absTop - dy) * scale));
        } catch (...) {
            // What the view drew before it failed stays; the rest of the image is white.
        }
    }
    restore();

    QBuffer jpeg;
    jpeg.open(QIODevice::ReadWrite);
    frxBitmapToStream(bitmap, jpeg, 4);
    TCryptoMD5 md5;
    md5.Push(jpeg);
    std::array<std::uint8_t, 16> digest{};
    md5.GetDigest(digest.data(), int(digest.size()));

    int index = -1;
    for (std::size_t i = 0; i < FXObjects.size(); ++i)
        if (FXObjects[i].ObjId != 0 && FXObjects[i].Hash == digest) {
            index = int(i);
            break;
        }
    if (index < 0) {
        const int object = reserve();
        index = int(FXObjects.size());
        FXObjects.push_back(TfrxPDFXObject{object, digest});
        const QByteArray data = encrypted(object, jpeg.data());
        line(QByteArray::number(object) + " 0 obj");
        line("<<");
        line("/Type /XObject");
        line("/Subtype /Image");
        line("/ColorSpace /DeviceRGB");
        line("/BitsPerComponent 8");
        line("/Filter /DCTDecode");
        line("/Width " + QByteArray::number(bitmap.width()));
        line("/Height " + QByteArray::number(bitmap.height()));
        line("/Length " + QByteArray::number(data.size()));
        line(">>");
        line("stream");
        write(data);
        write(kEol);
        line("endstream");
        line("endobj");
    }
    FUsedXObjects.append(index);
    op("q");
    op(fixed(rw * 0.75) + " 0 0 " + fixed(rh * 0.75) + ' ' + point(absLeft - dx, absTop - dy + rh) + " cm");
    op("/Im" + QByteArray::number(index) + " Do");
    op("Q");
    writeFrame(View, ToPdfX(absLeft), ToPdfY(absTop), ToPdfX(absLeft + View->Width()),
               ToPdfY(absTop + View->Height()));
}

// ---------------------------------------------------------------- fonts

void TfrxPDFExport::WriteFontObjects(TfrxPDFFont* Font)
{
    QByteArray name = Font->GetFontName();
    // Text is written as glyph ids of the face found here (Identity-H), which only that
    // face's own file draws right: a reader with another file of the family, or a
    // stand-in of its own, would draw other glyphs. So every font travels with the file,
    // as a subset, whatever the embedding switch says.
    const bool embed = true;
    QByteArray baseName = name;
    int fontFile = 0;
    if (embed) {
        Font->PackFontFile();
        baseName = subsetTag(*Font) + name;
        fontFile = reserve();
        line(QByteArray::number(fontFile) + " 0 obj");
        QByteArray data = Font->FontData;
        if (Compressed()) {
            data = encrypted(fontFile, deflate(data));
            line("<< /Length " + QByteArray::number(data.size()) + "  /Filter /FlateDecode /Length1 " +
                 QByteArray::number(Font->FontDataSize) + " >>");
        } else {
            data = encrypted(fontFile, data);
            line("<< /Length " + QByteArray::number(data.size()) + " /Length1 " +
                 QByteArray::number(Font->FontDataSize) + " >>");
        }
        line("stream");
        write(data);
        write(kEol);
        line("endstream");
        line("endobj");
    }

    // The descriptor's metrics in thousandths of an em, as PDF reads them.
    const OutlineTextMetric& m = Font->TextMetric;
    const double em = m.otmEMSquare > 0 ? double(m.otmEMSquare) : 1000.0;
    const auto units = [em](double v) { return QByteArray::number(qint64(std::lround(v * 1000 / em))); };
    const double angle = m.otmItalicAngle / 10.0;
    const int descriptor = reserve();
    line(QByteArray::number(descriptor) + " 0 obj");
    line("<<");
    line("/Type /FontDescriptor");
    line("/FontName /" + baseName);
    line("/FontFamily (" + escapeLiteral(orv::platform::cp1252::encode(Font->SourceFont.family)) + ")");
    // Nonsymbolic, and fixed-pitch for a face whose glyphs share one advance.
    line(m.fixedPitch ? "/Flags 33" : "/Flags 32");
    line("/FontBBox [" + units(m.otmrcFontBox.left) + ' ' + units(m.otmrcFontBox.bottom) + ' ' +
         units(m.otmrcFontBox.right) + ' ' + units(m.otmrcFontBox.top) + " ]");
    line("/ItalicAngle " + (angle == std::trunc(angle) ? QByteArray::number(qint64(angle)) : QByteArray::number(angle)));
    line("/Ascent " + units(m.otmAscent));
    line("/Descent " + units(m.otmDescent));
    line("/Leading " + units(m.tmInternalLeading));
    line("/CapHeight " + units(m.otmsCapEmHeight > 0 ? m.otmsCapEmHeight : m.otmAscent));
    line("/StemV " + QByteArray::number(qint64(std::lround(std::pow(m.tmWeight / 65.0, 2))) + 50));
    line("/AvgWidth " + units(m.tmAveCharWidth));
    line("/MxWidth " + units(m.tmMaxCharWidth));
    line("/MissingWidth " + units(m.tmAveCharWidth));
    if (embed)
        line("/FontFile2 " + QByteArray::number(fontFile) + " 0 R");
    line(">>");
    line("endobj");

    QByteArray map;
    const auto mapLine = [&map](const QByteArray& text) { map += text + kEol; };
    mapLine("/CIDInit /ProcSet findresource begin");
    mapLine("12 dict begin");
    mapLine("begincmap");
    mapLine("/CIDSystemInfo");
    mapLine("<< /Registry (Adobe)");
    mapLine("/Ordering (UCS)");
    mapLine("/Ordering (Identity)");
    mapLine("/Supplement 0");
    mapLine(">> def");
    mapLine("/CMapName /" + QByteArray(name).replace(',', '+') + " def");
    mapLine("/CMapType 2 def");
    mapLine("1 begincodespacerange");
    mapLine("<0000> <FFFF>");
    mapLine("endcodespacerange");
    // A character map block holds at most a hundred pairs.
    const qsizetype used = Font->UsedAlphabet.size();
    for (qsizetype first = 0; first < used || first == 0; first += 100) {
        const qsizetype count = std::min<qsizetype>(100, used - first);
        mapLine(QByteArray::number(count) + " beginbfchar");
        for (qsizetype i = first; i < first + count; ++i)
            mapLine('<' + hex4(Font->UsedAlphabet[i]) + "> <" + utf16Hex(Font->UsedAlphabetUnicode[i]) + '>');
        mapLine("endbfchar");
        if (used == 0)
            break;
    }
    mapLine("endcmap");
    mapLine("CMapName currentdict /CMap defineresource pop");
    mapLine("end");
    mapLine("end");
    const int toUnicode = reserve();
    line(QByteArray::number(toUnicode) + " 0 obj");
    QByteArray data = map;
    if (Compressed()) {
        data = encrypted(toUnicode, deflate(map));
        line("<< /Length " + QByteArray::number(data.size()) + "  /Filter /FlateDecode /Length1 " +
             QByteArray::number(map.size()) + " >>");
    } else {
        data = encrypted(toUnicode, map);
        line("<< /Length " + QByteArray::number(data.size()) + " /Length1 " + QByteArray::number(map.size()) + " >>");
    }
    line("stream");
    write(data);
    line("endstream");
    line("endobj");

    const int systemInfo = reserve();
    line(QByteArray::number(systemInfo) + " 0 obj");
    line("<<");
    line("/Registry (Adobe) /Ordering (Identity) /Supplement 0");
    line(">>");
    line("endobj");

    const int descendant = reserve();
    line(QByteArray::number(descendant) + " 0 obj");
    line("<<");
    line("/Type /Font");
    line("/Subtype /CIDFontType2");
    line("/BaseFont /" + baseName);
    line("/CIDSystemInfo " + QByteArray::number(systemInfo) + " 0 R");
    line("/FontDescriptor " + QByteArray::number(descriptor) + " 0 R");
    QByteArray widths = "/W [ ";
    for (qsizetype i = 0; i < used; ++i)
        widths += QByteArray::number(Font->UsedAlphabet[i]) + " [" + QByteArray::number(Font->Widths[i]) + "] ";
    write(widths);
    line("]");
    line(">>");
    line("endobj");

    beginObject(Font->Reference);
    line("<<");
    line("/Type /Font");
    line("/Subtype /Type0");
    line("/BaseFont /" + baseName);
    line("/Encoding /Identity-H");
    line("/DescendantFonts [" + QByteArray::number(descendant) + " 0 R]");
    line("/ToUnicode " + QByteArray::number(toUnicode) + " 0 R");
    line(">>");
    line("endobj");
}

} // namespace orv::pdf
