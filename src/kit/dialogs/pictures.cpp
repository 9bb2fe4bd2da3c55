#include "kit/dialogs/pictures.h"

#include "platform/ui/art.h"

#include <QPainter>
#include <QPainterPath>

namespace orv::kit {

namespace {

const QColor kBlue(0x1F, 0x3F, 0x6E);

QFont font(const QString& family, double pixels, bool bold)
{
    QFont f(family);
    f.setPixelSize(std::max(6, int(pixels)));
    f.setBold(bold);
    return f;
}

} // namespace

platform::ui::Artwork instructions(const QString& title, const QString& text)
{
    return [=](QPainter& p, const QRectF& r) {
        p.fillRect(r, Qt::white);
        const double band = std::min(56.0, r.height() * 0.4);
        platform::ui::art::heading(title, QString(), platform::ui::art::Icon::Info)(p, QRectF(r.left(), r.top(), r.width(), band));
        p.setPen(kBlue);
        p.setFont(font(QStringLiteral("Verdana"), 12, false));
        p.drawText(r.adjusted(14, band + 8, -14, -4), Qt::AlignTop | Qt::AlignLeft | Qt::TextWordWrap, text);
    };
}

platform::ui::Artwork euroLogo() { return platform::ui::art::euroLogo(); }

platform::ui::Artwork eraser()
{
    return [](QPainter& p, const QRectF& r) {
        p.save();
        p.translate(r.center());
        p.rotate(-35);
        const double w = r.width() * 0.8, h = r.height() * 0.42;
        p.setPen(QPen(QColor(0x70, 0x70, 0x70), 1));
        p.setBrush(QColor(0xE8, 0x6A, 0x7A));
        p.drawRoundedRect(QRectF(-w / 2, -h / 2, w * 0.6, h), 2, 2);
        p.setBrush(QColor(0x6A, 0x9E, 0xE8));
        p.drawRoundedRect(QRectF(-w / 2 + w * 0.6, -h / 2, w * 0.4, h), 2, 2);
        p.restore();
    };
}

platform::ui::Artwork euroCoin()
{
    return [](QPainter& p, const QRectF& r) {
        const double side = std::min(r.width(), r.height()) - 2;
        platform::ui::art::euroSign(p, QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side), 1.5,
                 QColor(0xFF, 0xE0, 0x80));
    };
}

platform::ui::Artwork pointingHand()
{
    return [](QPainter& p, const QRectF& r) {
        p.setPen(QPen(kBlue, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(QColor(0xFF, 0xE0, 0xB0));
        const double x = r.left(), y = r.top(), w = r.width(), h = r.height();
        QPainterPath hand;
        hand.moveTo(x + w * 0.08, y + h * 0.40);
        hand.lineTo(x + w * 0.92, y + h * 0.40);
        hand.quadTo(x + w * 0.98, y + h * 0.48, x + w * 0.92, y + h * 0.56);
        hand.lineTo(x + w * 0.55, y + h * 0.56);
        hand.lineTo(x + w * 0.55, y + h * 0.86);
        hand.lineTo(x + w * 0.08, y + h * 0.86);
        hand.closeSubpath();
        p.drawPath(hand);
    };
}

platform::ui::Artwork blank()
{
    return [](QPainter& p, const QRectF& r) { p.fillRect(r, Qt::white); };
}

} // namespace orv::kit
