#include "shell/info.h"

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

TfrmInfo* frmInfo = nullptr;

namespace {

// Heading band, then what the program is and who makes it.
void infoPicture(QPainter& p, const QRectF& r)
{
    p.fillRect(r, Qt::white);
    art::heading(QStringLiteral("Orvanta 4.0"), QStringLiteral("Gestionale per laboratori tecnici"))(
        p, QRectF(r.left(), r.top(), r.width(), 150));
    QFont f(QStringLiteral("Verdana"));
    f.setPixelSize(15);
    p.setFont(f);
    p.setPen(QColor(0x1F, 0x3F, 0x6E));
    const QString text = QStringLiteral(
        "Orvanta 4.0\n"
        "Gestione di Clienti e impianti, contratti di manutenzione, magazzino, "
        "schede di lavoro, scadenzario, preventivi e documenti di trasporto.\n\n"
        "Copyright \u00a9 ") + orv::shell::kMakerName + QStringLiteral(
        ". Tutti i diritti riservati.\n\n"
        "Per richiedere informazioni o assistenza scrivere all'indirizzo:");
    p.drawText(r.adjusted(30, 170, -30, 0), Qt::AlignTop | Qt::AlignLeft | Qt::TextWordWrap, text);
}

const Layout& windowLayout()
{
    static const Layout l = {
        picture("imgLogo", 0, 0, 473, 400, infoPicture),
        command("imgEmail", 40, 420, 44, 34, art::icon(art::Icon::Mail)),
        label("lnkWeb", 94, 420, 340, 34, orv::shell::kMakerMail).font({QStringLiteral("Tahoma"), 14, false, false, true}),
        button("btnChiudi", 161, 505, 151, 36, QStringLiteral("Chiudi")),
    };
    return l;
}

} // namespace

TfrmInfo::TfrmInfo(QWidget* owner)
    : Form(owner, {QStringLiteral("frmInfo"), QStringLiteral(" Informazioni su Orvanta 4.0"), 473, 579, Border::Single,
                   Placement::ScreenCenter, Qt::white},
           windowLayout())
{
    orv::kit::wireLink(lnkWeb, {&imgEmail}, [this] { lnkWebClick(); });
    btnChiudi.onClick = [this] { btnChiudiClick(); };
    created();
}

// Subject and body go in as they are, without percent-encoding.
void TfrmInfo::lnkWebClick()
{
    TMisc::Open(QStringLiteral("\"mailto:") + orv::shell::kMakerMail + QStringLiteral("?subject=Software Orvanta 4.0") +
                QStringLiteral("&body=Salve, desidererei avere le seguenti informazioni sul software in oggetto:\""));
}

void TfrmInfo::btnChiudiClick() { close(); }

} // namespace orv::shell
