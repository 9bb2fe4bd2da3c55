// The engine's strip of 16 x 16 button pictures, ten to a row, drawn once at start. Only
// the cells the preview window's tool bar and menus take are drawn; the others stay
// empty.
#include "report/preview/startup.h"

#include <QPainter>
#include <QPainterPath>

#include <functional>
#include <map>

namespace orv::report {

namespace {

const QColor kInk(0x2F, 0x4F, 0x7F);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kAccent(0xD0, 0x80, 0x20);

void sheet(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawRect(r);
}

void triangle(QPainter& p, bool Left, double X)
{
    QPolygonF t;
    if (Left)
        t << QPointF(X + 6, 3.5) << QPointF(X, 8) << QPointF(X + 6, 12.5);
    else
        t << QPointF(X, 3.5) << QPointF(X + 6, 8) << QPointF(X, 12.5);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawPolygon(t);
}

void arrow(QPainter& p, QPointF From, QPointF To)
{
    p.setPen(QPen(kAccent, 1.5));
    p.drawLine(From, To);
    const QPointF d = To - From;
    const double len = std::hypot(d.x(), d.y());
    if (len == 0)
        return;
    const QPointF u = d / len, n(-u.y(), u.x());
    p.setBrush(kAccent);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF() << To << To - u * 3.5 + n * 2.5 << To - u * 3.5 - n * 2.5);
}

using Painter = std::function<void(QPainter&)>;

const std::map<std::pair<int, int>, Painter>& pictures()
{
    static const std::map<std::pair<int, int>, Painter> table = {
        {{19, 5}, [](QPainter& p) { // print
             sheet(p, QRectF(4.5, 1.5, 7, 5));
             p.setBrush(QColor(0xB0, 0xB8, 0xC8));
             p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1, 1);
             sheet(p, QRectF(4.5, 10.5, 7, 4));
             p.fillRect(QRectF(11.5, 8, 1.5, 1.5), kAccent);
         }},
        {{0, 1}, [](QPainter& p) { // open
             p.setPen(QPen(kInk, 1));
             p.setBrush(QColor(0xF0, 0xC8, 0x60));
             p.drawPolygon(QPolygonF() << QPointF(1.5, 3.5) << QPointF(6.5, 3.5) << QPointF(7.5, 5) << QPointF(14.5, 5)
                                       << QPointF(14.5, 13.5) << QPointF(1.5, 13.5));
         }},
        {{0, 2}, [](QPainter& p) { // save
             p.setPen(QPen(kInk, 1));
             p.setBrush(QColor(0x50, 0x70, 0xA8));
             p.drawRect(QRectF(1.5, 1.5, 13, 13));
             p.setBrush(kPaper);
             p.drawRect(QRectF(4.5, 1.5, 7, 5));
             p.drawRect(QRectF(3.5, 9.5, 9, 5));
         }},
        {{17, 9}, [](QPainter& p) { // export
             sheet(p, QRectF(1.5, 1.5, 9, 13));
             arrow(p, QPointF(6, 8), QPointF(15, 8));
         }},
        {{23, 5}, [](QPainter& p) { // page width
             sheet(p, QRectF(3.5, 1.5, 9, 13));
             arrow(p, QPointF(8, 8), QPointF(15, 8));
             arrow(p, QPointF(8, 8), QPointF(1, 8));
         }},
        {{23, 6}, [](QPainter& p) { // whole page
             sheet(p, QRectF(3.5, 1.5, 9, 13));
             p.setPen(QPen(kInk, 1));
             for (double y = 4.5; y < 13; y += 2)
                 p.drawLine(QPointF(5, y), QPointF(11, y));
         }},
        {{19, 9}, [](QPainter& p) { // full screen
             p.setPen(QPen(kInk, 1.5));
             p.setBrush(Qt::NoBrush);
             p.drawRect(QRectF(2, 3, 12, 10));
             arrow(p, QPointF(8, 8), QPointF(13, 4));
         }},
        {{19, 6}, [](QPainter& p) { // outline
             p.setPen(QPen(kInk, 1));
             p.drawLine(QPointF(3.5, 3), QPointF(3.5, 13.5));
             for (double y : {4.5, 9.0, 13.5}) {
                 p.drawLine(QPointF(3.5, y), QPointF(7, y));
                 p.fillRect(QRectF(8, y - 1.5, 6, 3), kAccent);
             }
         }},
        {{7, 8}, [](QPainter& p) { // thumbnails
             for (double x : {1.5, 9.5})
                 for (double y : {1.5, 9.5})
                     sheet(p, QRectF(x, y, 5, 5));
         }},
        {{19, 4}, [](QPainter& p) { // page settings
             sheet(p, QRectF(2.5, 1.5, 9, 13));
             p.setPen(QPen(kAccent, 1, Qt::DotLine));
             p.drawRect(QRectF(4.5, 3.5, 5, 9));
         }},
        {{19, 8}, [](QPainter& p) { // edit page
             sheet(p, QRectF(1.5, 1.5, 9, 13));
             p.setPen(QPen(kAccent, 2.5));
             p.drawLine(QPointF(6, 13), QPointF(14, 5));
         }},
        {{18, 5}, [](QPainter& p) { // first
             p.fillRect(QRectF(3, 3.5, 1.5, 9), kInk);
             triangle(p, true, 5);
         }},
        {{18, 6}, [](QPainter& p) { triangle(p, true, 5); }},  // prior
        {{18, 7}, [](QPainter& p) { triangle(p, false, 5); }}, // next
        {{18, 8}, [](QPainter& p) { // last
             triangle(p, false, 5);
             p.fillRect(QRectF(11.5, 3.5, 1.5, 9), kInk);
         }},
    };
    return table;
}

} // namespace

QImage frxPreviewButtonStrip()
{
    QImage strip(10 * 16, 24 * 16, QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    for (const auto& [cell, draw] : pictures()) {
        p.save();
        p.translate(cell.second * 16, cell.first * 16);
        p.setClipRect(0, 0, 16, 16);
        draw(p);
        p.restore();
    }
    return strip;
}

} // namespace orv::report
