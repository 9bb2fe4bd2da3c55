// Drawing of views, frames, shapes, lines and pictures, and the printing hooks of views.
#include "recording_canvas.h"

#include "report/model/bands.h"
#include "report/model/report.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace orv::report;

using orv::report::test::RecordingCanvas;
using Shape = RecordingCanvas::Shape;

namespace {

struct ViewDrawTest : ::testing::Test {
    RecordingCanvas canvas;
    TfrxReport report;
    TfrxReportPage* page = new TfrxReportPage(&report);

    template <class T>
    T* make(double l, double t, double w, double h)
    {
        auto* v = new T(page);
        v->SetBounds(l, t, w, h);
        return v;
    }
};

} // namespace

TEST_F(ViewDrawTest, DrawingRectangleRoundsEachEdge)
{
    auto* v = make<TfrxView>(10.4, 2.5, 20.2, 10);
    v->Draw(&canvas, 1, 1, 0, 0);
    EXPECT_EQ(v->FX, 10);
    EXPECT_EQ(v->FX1, 31);
    EXPECT_EQ(v->FDX, 21);
    EXPECT_EQ(v->FY, 2) << "halves go to the even neighbour";

    v->Frame()->SetDropShadow(true);
    v->SetBounds(10, 10, 100, 50);
    v->Draw(&canvas, 2, 2, 0, 0);
    EXPECT_EQ(v->FX1, 220 - 8);
    EXPECT_EQ(v->FY1, 120 - 8);
    ASSERT_EQ(canvas.lines.size(), 2u) << "the shadow without any frame line";
    EXPECT_EQ(canvas.lines[0].thickness, 8);
    EXPECT_EQ(canvas.lines[0].a, QPointF(212 + 4, 20 + 8));
    EXPECT_EQ(canvas.lines[1].a, QPointF(20 + 8, 112 + 4));
}

TEST_F(ViewDrawTest, FrameLinesSitOnPixelCentresAndCloseCorners)
{
    auto* v = make<TfrxView>(10, 20, 100, 50);
    v->Frame()->SetTyp({ftLeft, ftTop});
    v->Draw(&canvas, 1, 1, 0, 0);
    ASSERT_EQ(canvas.lines.size(), 2u);
    EXPECT_EQ(canvas.lines[0].a, QPointF(10.5, 20.5));
    EXPECT_EQ(canvas.lines[0].b, QPointF(10.5, 70.5));
    EXPECT_EQ(canvas.lines[1].a, QPointF(10.5, 20.5));
    EXPECT_EQ(canvas.lines[1].b, QPointF(110.5, 20.5));

    canvas.clearRecords();
    v->Frame()->SetWidth(2);
    v->Draw(&canvas, 1, 1, 0, 0);
    EXPECT_EQ(canvas.lines[0].a, QPointF(10, 19));
    EXPECT_EQ(canvas.lines[0].b, QPointF(10, 71));
    EXPECT_EQ(canvas.lines[0].thickness, 2);

    canvas.clearRecords();
    v->Frame()->SetWidth(3);
    v->Frame()->SetStyle(fsDot);
    v->Draw(&canvas, 1, 1, 0, 0);
    EXPECT_EQ(canvas.lines[0].thickness, 1) << "dotted frames draw hair lines";
    EXPECT_EQ(canvas.lines[0].dash, orv::platform::StrokeDash::Dot);

    canvas.clearRecords();
    v->Frame()->SetTyp({});
    v->Draw(&canvas, 1, 1, 0, 0);
    EXPECT_TRUE(canvas.lines.empty());

    canvas.clearRecords();
    v->Frame()->SetTyp({ftTop});
    v->Frame()->SetStyle(fsDouble);
    v->Frame()->SetWidth(1);
    v->Draw(&canvas, 1, 1, 0, 0);
    ASSERT_EQ(canvas.lines.size(), 2u) << "two lines, no centre line without a colour";
    EXPECT_EQ(canvas.lines[0].a.y(), 20.5 - 1);
    EXPECT_EQ(canvas.lines[1].a.y(), 20.5 + 1);
}

TEST_F(ViewDrawTest, FrameDifferences)
{
    auto* v = make<TfrxShapeView>(10, 20, 100, 50);
    auto copy = std::make_unique<TfrxShapeView>(nullptr);
    copy->AssignAll(v);
    EXPECT_EQ(copy->Diff(v), QString());
    copy->Frame()->SetWidth(1.00005);
    EXPECT_EQ(copy->Diff(v), QString());
    copy->Frame()->SetWidth(2);
    EXPECT_EQ(copy->Diff(v), QStringLiteral(" Frame.Width=\"2\""));
    copy->Frame()->TopLine()->SetColor(claRed);
    EXPECT_EQ(copy->Diff(v), QStringLiteral(" Frame.Width=\"2\" Frame.TopLine.Color=\"-65536\""));
}

TEST_F(ViewDrawTest, Shapes)
{
    auto* s = make<TfrxShapeView>(10, 10, 100, 40);
    s->SetShape(skRoundRectangle);
    s->Draw(&canvas, 1, 1, 0, 0);
    ASSERT_EQ(canvas.shapes.size(), 2u);
    EXPECT_EQ(canvas.shapes[0].kind, Shape::FillRect);
    EXPECT_EQ(canvas.shapes[0].radius, 10);
    EXPECT_EQ(canvas.shapes[0].color, 0u) << "no colour: an invisible fill, outline only";
    EXPECT_EQ(canvas.shapes[1].rect, QRectF(QPointF(10, 10), QPointF(111, 51)));

    canvas.clearRecords();
    s->SetCurve(2);
    s->Draw(&canvas, 1.5, 1.5, 0, 0);
    EXPECT_EQ(canvas.shapes[0].radius, 30);

    canvas.clearRecords();
    s->SetShape(skTriangle);
    s->Frame()->SetTyp({});
    s->SetColor(0xFFE6E6FA);
    s->Draw(&canvas, 1, 1, 0, 0);
    ASSERT_EQ(canvas.shapes.size(), 2u) << "the outline is drawn whatever the frame's sides";
    EXPECT_EQ(canvas.shapes[0].polygon, QPolygonF({{110, 50}, {10, 50}, {60, 10}, {110, 50}}));
    EXPECT_EQ(canvas.shapes[0].color, 0xFFE6E6FAu);

    canvas.clearRecords();
    s->SetShape(skDiagonal1);
    s->Draw(&canvas, 1, 1, 0, 0);
    EXPECT_TRUE(canvas.shapes.empty());
    ASSERT_EQ(canvas.lines.size(), 1u);
    EXPECT_EQ(canvas.lines[0].a, QPointF(10, 50));
}

TEST_F(ViewDrawTest, StraightLinesAndArrows)
{
    auto* line = make<TfrxLineView>(10, 50, 100, 0.5);
    line->Draw(&canvas, 1, 1, 0, 0);
    EXPECT_EQ(line->Height(), 0);
    EXPECT_TRUE(line->Frame()->Typ().contains(ftTop));
    ASSERT_EQ(canvas.lines.size(), 1u);
    EXPECT_EQ(canvas.lines[0].a, QPointF(10.5, 50.5));
    EXPECT_EQ(canvas.lines[0].b, QPointF(110.5, 50.5));

    canvas.clearRecords();
    line->Frame()->SetWidth(2);
    line->Draw(&canvas, 1, 1, 0, 0);
    EXPECT_EQ(canvas.lines[0].a, QPointF(9, 50));
    EXPECT_EQ(canvas.lines[0].b, QPointF(111, 50));

    auto* vertical = make<TfrxLineView>(10, 10, 10, 10);
    vertical->Draw(&canvas, 1, 1, 0, 0);
    EXPECT_EQ(vertical->Width(), 0) << "as wide as high: vertical";

    canvas.clearRecords();
    auto* arrow = make<TfrxLineView>(0, 0, 100, 0);
    arrow->SetArrowEnd(true);
    arrow->Draw(&canvas, 1, 1, 0, 0);
    ASSERT_EQ(canvas.shapes.size(), 1u);
    EXPECT_EQ(canvas.shapes[0].polygon, QPolygonF({{100, 0}, {80, -5}, {80, 5}, {100, 0}}));

    canvas.clearRecords();
    arrow->Frame()->SetColor(claNull);
    arrow->Draw(&canvas, 1, 1, 0, 0);
    EXPECT_TRUE(canvas.lines.empty());
    EXPECT_EQ(canvas.shapes.size(), 1u) << "the arrow head without the rule";
}

TEST_F(ViewDrawTest, Pictures)
{
    auto* p = make<TfrxPictureView>(0, 0, 100, 100);
    QImage image(200, 100, QImage::Format_ARGB32);
    image.fill(Qt::red);
    p->Picture()->SetImage(image);
    p->Draw(&canvas, 1, 1, 0, 0);
    ASSERT_EQ(canvas.shapes.size(), 2u);
    EXPECT_EQ(canvas.shapes[0].kind, Shape::FillRect) << "white under the image";
    EXPECT_EQ(canvas.shapes[0].color, claWhite);
    EXPECT_EQ(canvas.shapes[1].rect, QRectF(0, 0, 100, 50));

    canvas.clearRecords();
    p->SetCenter(true);
    p->Draw(&canvas, 1, 1, 0, 0);
    EXPECT_EQ(canvas.shapes[1].rect, QRectF(0, 25, 100, 50));

    canvas.clearRecords();
    p->SetStretched(false);
    p->Draw(&canvas, 1, 1, 0, 0);
    EXPECT_EQ(canvas.shapes[1].rect, QRectF(-50, 0, 200, 100));
    EXPECT_EQ(canvas.clips.back(), QRectF(0, 0, 100, 100));

    p->SetColor(claRed);
    p->SetTransparent(true);
    EXPECT_EQ(p->Color(), claNull);
    p->SetTransparent(false);
    EXPECT_EQ(p->Color(), claWhite);
}

TEST_F(ViewDrawTest, TagAndLinkExpandOnlyWhilePrinting)
{
    report.Variables()->SetVariable(QStringLiteral("Due"), 2);
    auto* v = make<TfrxView>(0, 0, 10, 10);
    ASSERT_TRUE(report.PrepareScript()); // the script's "Self" receives the view
    v->SetTagStr(QStringLiteral("Id [Due]"));
    v->SetURL(QStringLiteral("#[Due]"));
    v->BeforePrint();
    v->GetData();
    EXPECT_EQ(v->TagStr(), QStringLiteral("Id 2"));
    EXPECT_EQ(v->URL(), QStringLiteral("#2"));
    EXPECT_EQ(report.SelfValue(), v);
    v->AfterPrint();
    EXPECT_EQ(v->TagStr(), QStringLiteral("Id [Due]"));
}

TEST_F(ViewDrawTest, PageBackgroundCoversThePrintableArea)
{
    page->SetLeftMargin(10);
    page->SetTopMargin(20);
    page->SetRightMargin(10);
    page->SetBottomMargin(20);
    page->SetColor(0xFFFFD700);
    page->Draw(&canvas, 1, 1, 0, 0);
    ASSERT_FALSE(canvas.shapes.empty());
    EXPECT_EQ(canvas.shapes[0].color, 0xFFFFD700u);
    EXPECT_EQ(canvas.shapes[0].rect.topLeft(), QPointF(std::round(10 * fr01cm), std::round(20 * fr01cm)));
    canvas.clearRecords();
    page->SetBackPictureVisible(false);
    page->Draw(&canvas, 1, 1, 0, 0);
    EXPECT_TRUE(canvas.shapes.empty());
}

TEST_F(ViewDrawTest, MemoRulesRunUnderEachLineOfItsText)
{
    for (bool html : {false, true})
        for (double scale : {1.0, 2.0}) {
            SCOPED_TRACE(testing::Message() << (html ? "renderer" : "platform") << " text, scale " << scale);
            RecordingCanvas rec;
            auto* m = make<TfrxMemoView>(10, 20, 200, 160);
            m->SetAllowHTMLTags(html);
            m->SetUnderlines(true);
            m->SetText(QStringLiteral("uno\r\ndue\r\ntre\r\nquattro\r\ncinque\r\nsei\r\n"));
            m->Draw(&rec, scale, scale, 0, 0);
            ASSERT_EQ(rec.texts.size(), 6u);
            const double pitch = rec.texts[1].topLeft.y() - rec.texts[0].topLeft.y();
            ASSERT_GT(pitch, 0);
            std::vector<double> rules;
            for (const auto& l : rec.lines)
                if (std::fabs(l.a.y() - l.b.y()) < 1e-9)
                    rules.push_back(l.a.y());
            ASSERT_GE(rules.size(), 6u);
            // Each rule lies below its line's baseline and no lower than the next line's top.
            for (size_t k = 0; k < 6; ++k) {
                const double top = rec.texts[k].topLeft.y();
                EXPECT_GE(rules[k], top + 0.6 * pitch) << "rule " << k + 1 << " crosses its line";
                EXPECT_LE(rules[k], top + pitch + 0.5) << "rule " << k + 1 << " crosses the next line";
            }
            delete m;
        }
}
