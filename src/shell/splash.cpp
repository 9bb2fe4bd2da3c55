#include "shell/splash.h"

#include "kit/dialogs/links.h"
#include "shell/maker.h"
#include "platform/ui/openurl.h"
#include "platform/ui/art.h"

#include <QPainter>

namespace orv::shell {
using namespace orv::platform::ui;
} // namespace orv::shell

namespace orv::shell {

using namespace orv::platform::ui;

TfrmSplash* frmSplash = nullptr;

namespace {

void makerPicture(QPainter& p, const QRectF& r)
{
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, QColor(0x10, 0x2A, 0x4C));
    g.setColorAt(1, QColor(0x3A, 0x6E, 0xA5));
    p.fillRect(r, g);
    art::icon(art::Icon::Logo, QColor(255, 255, 255, 60))(p, QRectF(r.right() - 260, r.top() + 60, 240, 240));
    p.setPen(Qt::white);
    QFont title(QStringLiteral("Verdana"));
    title.setBold(true);
    title.setPixelSize(52);
    p.setFont(title);
    p.drawText(QRectF(r.left() + 40, r.top() + 70, r.width() - 80, 70), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Orvanta 4.0"));
    QFont sub(QStringLiteral("Verdana"));
    sub.setPixelSize(18);
    p.setFont(sub);
    p.drawText(QRectF(r.left() + 42, r.top() + 150, r.width() - 80, 60), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("Il gestionale per i laboratori di assistenza tecnica,\nriparazione e manutenzione."));
    sub.setPixelSize(15);
    p.setFont(sub);
    p.drawText(QRectF(r.left() + 42, r.bottom() - 70, r.width() - 80, 40), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("\u00a9 ") + orv::shell::kMakerName + QStringLiteral(". Tutti i diritti riservati."));
}

const Layout& windowLayout()
{
    static const Layout l = {
        picture("imgLogo", 18, 12, 625, 380, makerPicture),
        command("imgWeb", 150, 408, 36, 36, art::icon(art::Icon::Globe)),
        label("lnkWeb", 194, 408, 300, 36, orv::shell::kMakerWeb).font({QStringLiteral("Tahoma"), 14, false, false, true}),
        button("btnChiudi", 520, 408, 123, 36, QStringLiteral("Chiudi")),
    };
    return l;
}

} // namespace

TfrmSplash::TfrmSplash(QWidget* owner)
    : Form(owner, {QStringLiteral("frmSplash"), QStringLiteral(" Orvanta 4.0 - \u00a9 ") + orv::shell::kMakerName,
                   661, 467, Border::Single, Placement::OwnerCenter, Qt::white},
           windowLayout())
{
    orv::kit::wireLink(lnkWeb, {&imgWeb}, [this] { lnkWebClick(); });
    btnChiudi.onClick = [this] { btnChiudiClick(); };
    created();
}

void TfrmSplash::lnkWebClick() { TMisc::Open(orv::shell::kMakerWeb); }
void TfrmSplash::btnChiudiClick() { close(); }

} // namespace orv::shell
