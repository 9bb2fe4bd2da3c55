// Drawing of views, shapes, lines and pictures, and the printing hooks that expand the
// bracketed expressions of their tag and link texts.
#include "platform/core/canvas.h"
#include "report/base/utils.h"
#include "report/model/pages.h"
#include "report/model/report.h"
#include "report/model/views.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace orv::report {

namespace {

orv::platform::StrokeDash dashOf(TfrxFrameStyle style)
{
    switch (style) {
    case fsDash:
        return orv::platform::StrokeDash::Dash;
    case fsDot:
        return orv::platform::StrokeDash::Dot;
    case fsDashDot:
        return orv::platform::StrokeDash::DashDot;
    case fsDashDotDot:
        return orv::platform::StrokeDash::DashDotDot;
    default:
        return orv::platform::StrokeDash::Solid;
    }
}

// Integer halving that cuts toward zero.
int half(int v) { return v / 2; }

} // namespace

// ---------------------------------------------------------------- view

TfrxView::DeviceRect TfrxView::deviceRect(double ScaleX, double ScaleY, double OffsetX, double OffsetY) const
{
    const double left = AbsLeft(), top = AbsTop();
    DeviceRect r{frxRound(left * ScaleX + OffsetX), frxRound(top * ScaleY + OffsetY),
                 frxRound((left + Width()) * ScaleX + OffsetX), frxRound((top + Height()) * ScaleY + OffsetY)};
    if (Frame()->DropShadow()) {
        r.x1 -= frxRound(ScaleX * Frame()->ShadowWidth());
        r.y1 -= frxRound(ScaleY * Frame()->ShadowWidth());
    }
    return r;
}

void TfrxView::ComputeDrawRect(orv::platform::Canvas* Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY)
{
    FCanvas = Canvas;
    FScaleX = ScaleX;
    FScaleY = ScaleY;
    FOffsetX = OffsetX;
    FOffsetY = OffsetY;
    const DeviceRect r = deviceRect(ScaleX, ScaleY, OffsetX, OffsetY);
    FX = r.x;
    FY = r.y;
    FX1 = r.x1;
    FY1 = r.y1;
    FDX = FX1 - FX;
    FDY = FY1 - FY;
    FFrameWidth = ScaleX * Frame()->Width();
}

void TfrxView::FillBackground()
{
    if (!FCanvas || Color() == claNull)
        return;
    FCanvas->fillColor = Color();
    FCanvas->fillRect(QRectF(QPointF(FX, FY), QPointF(FX1, FY1)));
}

void TfrxView::setFramePen(const TfrxFrameLine& line)
{
    FCanvas->strokeColor = line.Color();
    if (line.Style() == fsSolid || line.Style() == fsDouble) {
        FCanvas->strokeThickness = frxRound(line.Width() * FScaleX);
        FCanvas->strokeDash = orv::platform::StrokeDash::Solid;
    } else {
        FCanvas->strokeThickness = 1;
        FCanvas->strokeDash = dashOf(Frame()->Style());
    }
}

void TfrxView::drawFrameSide(const TfrxFrameLine& line, double x1, double y1, double x2, double y2, bool vertical,
                             bool firstNeighbour, bool secondNeighbour)
{
    if (Frame()->Style() != fsDouble) {
        FCanvas->drawLine(QPointF(x1, y1), QPointF(x2, y2));
        return;
    }
    const int d = frxRound(line.Width() * FScaleX);
    if (vertical) {
        if (!firstNeighbour)
            y1 += half(d);
        if (!secondNeighbour)
            y2 -= half(d);
    } else {
        if (!firstNeighbour)
            x1 += half(d);
        if (!secondNeighbour)
            x2 -= half(d);
    }
    double g1 = firstNeighbour ? d : 0, g2 = secondNeighbour ? d : 0;
    // The left and top sides close their corners the other way round.
    const bool leftOrTop = vertical ? &line == Frame()->LeftLine() : &line == Frame()->TopLine();
    if (leftOrTop) {
        g1 = -g1;
        g2 = -g2;
    }
    if (vertical)
        FCanvas->drawLine(QPointF(x1 - d, y1 + g1), QPointF(x2 - d, y2 - g2));
    else
        FCanvas->drawLine(QPointF(x1 + g1, y1 - d), QPointF(x2 - g2, y2 - d));
    if (Color() != claNull) {
        FCanvas->strokeColor = Color();
        FCanvas->drawLine(QPointF(x1, y1), QPointF(x2, y2));
        FCanvas->strokeColor = line.Color();
    }
    if (vertical)
        FCanvas->drawLine(QPointF(x1 + d, y1 - g1), QPointF(x2 + d, y2 + g2));
    else
        FCanvas->drawLine(QPointF(x1 - g1, y1 + d), QPointF(x2 + g2, y2 + d));
}

void TfrxView::PaintFrame()
{
    if (!FCanvas)
        return;
    TfrxFrame& frame = *Frame();
    FCanvas->strokeDash = orv::platform::StrokeDash::Solid;
    if (frame.DropShadow()) {
        FCanvas->strokeColor = frame.ShadowColor();
        const int s = frxRound(frame.ShadowWidth() * FScaleX);
        FCanvas->strokeThickness = s;
        FCanvas->drawLine(QPointF(FX1 + half(s), FY + s), QPointF(FX1 + half(s), FY1));
        const int t = frxRound(frame.ShadowWidth() * FScaleY);
        FCanvas->strokeThickness = t;
        FCanvas->drawLine(QPointF(FX + t, FY1 + half(t)), QPointF(FX1 + t, FY1 + half(t)));
    }
    if (frame.Typ().isEmpty() || frame.Color() == claNull || frame.Width() == 0)
        return;
    const TfrxFrameTypes typ = frame.Typ();
    struct Side {
        TfrxFrameType type;
        TfrxFrameLine* line;
        bool vertical;
        TfrxFrameType first, second;
    };
    const Side sides[] = {
        {ftLeft, frame.LeftLine(), true, ftTop, ftBottom},
        {ftRight, frame.RightLine(), true, ftTop, ftBottom},
        {ftTop, frame.TopLine(), false, ftLeft, ftRight},
        {ftBottom, frame.BottomLine(), false, ftLeft, ftRight},
    };
    for (const Side& side : sides) {
        if (!typ.contains(side.type))
            continue;
        setFramePen(*side.line);
        const double thickness = FCanvas->strokeThickness;
        const double h = std::trunc(thickness / 2);
        const double o = (qint64(std::trunc(thickness)) % 2 != 0) ? 0.5 : 0;
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        switch (side.type) {
        case ftLeft:
            x1 = x2 = FX + o;
            y1 = FY + o - h;
            y2 = FY1 + o + h;
            break;
        case ftRight:
            x1 = x2 = FX1 + o;
            y1 = FY + o - h;
            y2 = FY1 + o + h;
            break;
        case ftTop:
            y1 = y2 = FY + o;
            x1 = FX + o - h;
            x2 = FX1 + o + h;
            break;
        case ftBottom:
            y1 = y2 = FY1 + o;
            x1 = FX + o - h;
            x2 = FX1 + o + h;
            break;
        }
        drawFrameSide(*side.line, x1, y1, x2, y2, side.vertical, typ.contains(side.first), typ.contains(side.second));
    }
}

void TfrxView::Draw(orv::platform::Canvas* Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY)
{
    ComputeDrawRect(Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
    FillBackground();
    PaintFrame();
}

void TfrxView::BeforePrint()
{
    TfrxReportComponent::BeforePrint();
    m_savedTagStr = m_tagStr;
    m_savedURL = m_url;
    if (TfrxReport* r = Report())
        r->SetSelfValue(this);
}

void TfrxView::GetData()
{
    TfrxReportComponent::GetData();
    if (m_tagStr.contains(u'['))
        ExpandBrackets(m_tagStr);
    if (m_url.contains(u'['))
        ExpandBrackets(m_url);
}

void TfrxView::AfterPrint()
{
    TfrxReportComponent::AfterPrint();
    m_tagStr = m_savedTagStr;
    m_url = m_savedURL;
}

void TfrxView::ExpandBrackets(QString& S)
{
    TfrxReport* report = Report();
    frxExpandBracketedExpressions(S, QStringLiteral("["), QStringLiteral("]"), [report](const QString& expr) {
        const orv::report::Value value = report ? report->Calc(expr) : orv::report::Value::null();
        return value.isNull() || value.isEmpty() ? QString() : value.toString();
    });
}

// ---------------------------------------------------------------- shape

void TfrxShapeView::Draw(orv::platform::Canvas* Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY)
{
    ComputeDrawRect(Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
    if (!Canvas)
        return;
    Canvas->strokeDash = dashOf(Frame()->Style());
    Canvas->strokeColor = Frame()->Color();
    Canvas->strokeThickness = FFrameWidth;
    Canvas->fillColor = Color();
    const QRectF r(QPointF(FX, FY), QPointF(FX1 + 1, FY1 + 1));
    switch (m_shape) {
    case skRectangle:
        Canvas->fillRect(r);
        Canvas->drawRect(r);
        break;
    case skRoundRectangle: {
        const int radius = m_curve != 0 ? frxRound(m_curve * FScaleX * 10) : std::min(FDX, FDY) / 4;
        Canvas->fillRect(r, radius, radius);
        Canvas->drawRect(r, radius, radius);
        break;
    }
    case skEllipse:
        Canvas->fillEllipse(r);
        Canvas->drawEllipse(r);
        break;
    case skTriangle: {
        const QPolygonF p{QPointF(FX1, FY1), QPointF(FX, FY1), QPointF(FX + FDX / 2, FY), QPointF(FX1, FY1)};
        Canvas->fillPolygon(p);
        Canvas->drawPolygon(p);
        break;
    }
    case skDiamond: {
        const QPolygonF p{QPointF(FX + FDX / 2, FY), QPointF(FX1, FY + FDY / 2), QPointF(FX + FDX / 2, FY1),
                          QPointF(FX, FY + FDY / 2)};
        Canvas->fillPolygon(p);
        Canvas->drawPolygon(p);
        break;
    }
    case skDiagonal1:
        Canvas->drawLine(QPointF(FX, FY1), QPointF(FX1, FY));
        break;
    case skDiagonal2:
        Canvas->drawLine(QPointF(FX, FY), QPointF(FX1, FY1));
        break;
    }
}

// ---------------------------------------------------------------- line

void TfrxCustomLineView::Draw(orv::platform::Canvas* Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY)
{
    if (!m_diagonal) {
        if (Width() > Height()) {
            SetHeight(0);
            Frame()->SetTyp({ftTop});
        } else {
            SetWidth(0);
            Frame()->SetTyp({ftLeft});
        }
    }
    ComputeDrawRect(Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
    if (!Canvas)
        return;
    if (!m_diagonal) {
        PaintFrame();
    } else {
        if (Frame()->Color() == claNull || Frame()->Width() == 0)
            return;
        Canvas->strokeColor = Frame()->Color();
        Canvas->strokeThickness = frxRound(Frame()->Width() * FScaleX);
        Canvas->strokeDash = dashOf(Frame()->Style());
        Canvas->drawLine(QPointF(FX, FY), QPointF(FX1, FY1));
    }
    if (m_arrowStart)
        drawArrow(FX1, FY1, FX, FY);
    if (m_arrowEnd)
        drawArrow(FX, FY, FX1, FY1);
}

void TfrxCustomLineView::drawArrow(double x1, double y1, double x2, double y2)
{
    const double L = m_arrowLength * FScaleX, W = m_arrowWidth * FScaleX;
    double xb = 0, yb = 0;
    QPointF c1, c2;
    if (std::fabs(x2 - x1) > 8) {
        const double k = (y2 - y1) / (x2 - x1);
        const double b = (x2 * y1 - x1 * y2) / (x2 - x1);
        const double u = 1 + k * k;
        const double t = 2 * (k * (b - y2) - x2);
        const double D = t * t - 4 * u * (b * b + x2 * x2 + y2 * y2 - L * L - 2 * y2 * b);
        const double root = std::sqrt(std::max(D, 0.0));
        xb = (root - t) / (2 * u);
        if ((x1 < xb && x2 < xb) || (x1 > xb && x2 > xb))
            xb = (-t - root) / (2 * u);
        yb = k * xb + b;
        if (y1 != y2) {
            const double a = std::atan(k);
            c1 = QPointF(xb + W * std::sin(a), yb - W * std::cos(a));
            c2 = QPointF(xb - W * std::sin(a), yb + W * std::cos(a));
        } else {
            c1 = QPointF(xb, yb - W);
            c2 = QPointF(xb, yb + W);
        }
    } else {
        xb = x2;
        yb = y2 - L;
        if ((y1 < yb && y2 < yb) || (y1 > yb && y2 > yb))
            yb = y2 + L;
        c1 = QPointF(xb - W, yb);
        c2 = QPointF(xb + W, yb);
    }
    auto whole = [](const QPointF& p) { return QPointF(frxRound(p.x()), frxRound(p.y())); };
    const QPolygonF polygon{whole(QPointF(x2, y2)), whole(c1), whole(c2), whole(QPointF(x2, y2))};
    if (m_arrowSolid) {
        FCanvas->fillColor = Frame()->Color();
        FCanvas->fillPolygon(polygon);
    } else {
        FCanvas->drawPolygon(polygon);
    }
}

// ---------------------------------------------------------------- picture

void TfrxPictureView::Draw(orv::platform::Canvas* Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY)
{
    ComputeDrawRect(Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
    FillBackground();
    if (Canvas && !m_picture->IsEmpty()) {
        const QImage& image = m_picture->Image();
        const double bw = image.width(), bh = image.height();
        QRectF d(QPointF(FX, FY), QPointF(FX1, FY1));
        const QRectF source(0, 0, bw, bh);
        if (m_stretched) {
            if (m_keepAspectRatio) {
                const double kx = FDX / bw, ky = FDY / bh;
                if (ky > kx)
                    d.setBottom(d.top() + frxRound(bh * kx));
                else
                    d.setRight(d.left() + frxRound(bw * ky));
                if (m_center)
                    d.translate((FDX - d.width()) / 2, (FDY - d.height()) / 2);
            }
            Canvas->drawBitmap(image, source, d, 1, !m_hightQuality);
        } else {
            const int w = frxRound(ScaleX * bw), h = frxRound(ScaleY * bh);
            if (m_center)
                d.translate((FDX - w) / 2, (FDY - h) / 2);
            d.setWidth(w);
            d.setHeight(h);
            Canvas->saveState();
            Canvas->intersectClipRect(QRectF(QPointF(FX, FY), QPointF(FX1, FY1)));
            Canvas->drawBitmap(image, source, d, 1, !m_hightQuality);
            Canvas->restoreState();
        }
    }
    PaintFrame();
}

void TfrxPictureView::GetData()
{
    TfrxView::GetData();
    if (!m_fileLink.isEmpty()) {
        QString name = m_fileLink;
        ExpandBrackets(name);
        QFile file(name);
        if (QFileInfo(name).isFile() && file.open(QIODevice::ReadOnly)) {
            if (!m_picture->LoadFromData(file.readAll()))
                throw orv::report::Error(QStringLiteral("Cannot read the picture \"%1\"").arg(name));
        } else {
            m_picture->Clear();
        }
        return;
    }
    if (!IsDataField() || !DataSet()->IsBlobField(DataField()))
        return;
    // The dataset writes the field into a picture of its own, which the view then copies.
    TfrxBitmap blob;
    DataSet()->AssignBlobTo(DataField(), &blob);
    m_picture->Assign(&blob);
}

// ---------------------------------------------------------------- page background

void TfrxReportPage::Draw(orv::platform::Canvas* Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY)
{
    TfrxPictureView* background = BackgroundView();
    background->SetBounds(0, 0, (PaperWidth() - LeftMargin() - RightMargin()) * fr01cm,
                          (PaperHeight() - TopMargin() - BottomMargin()) * fr01cm);
    if (!BackPictureVisible() || (IsPrinting() && !BackPicturePrintable()))
        return;
    background->Draw(Canvas, ScaleX, ScaleY, OffsetX + ScaleX * LeftMargin() * fr01cm,
                     OffsetY + ScaleY * TopMargin() * fr01cm);
}

} // namespace orv::report
