#include "kit/dialogs/guida.h"

#include "kit/dialogs/links.h"
#include "platform/ui/openurl.h"
#include "platform/core/services.h"
#include "platform/ui/art.h"

namespace orv::kit {
using namespace orv::platform::ui;
} // namespace orv::kit

namespace orv::kit {

using namespace orv::platform::ui;

TfrmGuida* frmGuida = nullptr;

namespace {

const Layout& windowLayout()
{
    static const Layout l = {
        picture("imgLogo", 0, 0, 670, 90, art::heading(QStringLiteral("Guida all'utilizzo del software"),
                                                       QStringLiteral("Orvanta 4.0"), art::Icon::Help)),
        label("lblTitolo", 22, 100, 625, 30, QStringLiteral("Argomento della guida."))
            .font({QStringLiteral("Arial"), 16, true, false, false, QColor(0xDC, 0x14, 0x3C)}),
        memo("txtGuida", 22, 136, 625, 350).readOnly().wrap().font({QStringLiteral("Verdana"), 12, true}),
        command("imgPDF", 22, 500, 40, 48, art::icon(art::Icon::Pdf)),
        label("lnkWeb", 70, 510, 320, 28, QStringLiteral("Visualizza guida in formato PDF"))
            .font({QStringLiteral("Tahoma"), 14, false, false, true}),
        button("btnChiudi", 500, 508, 147, 34, QStringLiteral("Chiudi")),
    };
    return l;
}

} // namespace

TfrmGuida::TfrmGuida(QWidget* owner)
    : Form(owner, {QStringLiteral("frmGuida"), QStringLiteral(" Guida all'utilizzo del software"), 670, 572}, windowLayout())
{
    orv::kit::wireLink(lnkWeb, {&imgPDF}, [this] { lnkWebClick(); });
    btnChiudi.onClick = [this] { btnChiudiClick(); };
    created();
}

// The guide is handed over quoted, so a program folder with blanks in its path works;
// whether the file exists is the desktop's business.
void TfrmGuida::lnkWebClick() { TMisc::Open(QLatin1Char('"') + orv::platform::programFile(QStringLiteral("Guida.pdf")) + QLatin1Char('"')); }

void TfrmGuida::btnChiudiClick() { close(); }

} // namespace orv::kit

namespace orv::kit {

QString helpText(const QStringList& paragraphs) { return paragraphs.join(QStringLiteral("\r\n\r\n")); }

void showHelp(QWidget* owner, const QString& title, const QString& text)
{
    runDialog<TfrmGuida>(owner, [&](TfrmGuida& g) {
        g.lblTitolo.setText(title);
        g.txtGuida.setText(text);
    });
}

} // namespace orv::kit
