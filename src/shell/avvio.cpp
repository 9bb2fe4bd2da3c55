#include "shell/avvio.h"

#include "kit/dialogs/guida.h"
#include "shell/info.h"
#include "shell/maker.h"
#include "platform/ui/openurl.h"
#include "shell/splash.h"
#include "kit/windowtable.h"
#include "platform/core/formats.h"
#include "platform/ui/application.h"
#include "platform/ui/art.h"

namespace orv::shell {
using namespace orv::platform::ui;
} // namespace orv::shell

namespace orv::shell {

using namespace orv::platform::ui;
using art::Icon;

TfrmAvvio* frmAvvio = nullptr;

namespace {

struct Module {
    const char* picture;
    const char* caption;
    const char* words;
    Icon icon;
    QColor colour;
};

// Two rows of four, in the order of the menu.
const Module kModules[] = {
    {"imgClienti", "btnClienti", "CLIENTI E IMPIANTI", Icon::Customers, QColor(0x2E, 0x7D, 0x32)},
    {"imgContratti", "btnContratti", "CONTRATTI MANUTENZIONE", Icon::Contract, QColor(0x6A, 0x1B, 0x9A)},
    {"imgMagazzino", "btnMagazzino", "MAGAZZINO ARTICOLI", Icon::Warehouse, QColor(0xEF, 0x6C, 0x00)},
    {"imgInventario", "btnInventario", "INVENTARIO MERCE", Icon::Inventory, QColor(0x00, 0x83, 0x8F)},
    {"imgScadenzario", "btnScadenzario", "SCADENZE E APPUNTAMENTI", Icon::Schedule, QColor(0xC6, 0x28, 0x28)},
    {"imgSchedeLavoro", "btnSchedeLavoro", "SCHEDE DI LAVORO", Icon::JobSheet, QColor(0x45, 0x5A, 0x64)},
    {"imgPreventivi", "btnPreventivi", "EMISSIONE PREVENTIVI", Icon::Quote, QColor(0x15, 0x65, 0xC0)},
    {"imgDDT", "btnDDT", "DOCUMENTI DI TRASPORTO", Icon::Truck, QColor(0x79, 0x55, 0x48)},
};

const QColor kDarkBlue(0x1F, 0x3F, 0x6E);

const Layout& windowLayout()
{
    static const Layout l = [] {
        const QString in = QStringLiteral("panContainer");
        Layout l = {
            panel("panContainer", 0, 0, 995, 692).centred(),
            command("imgInfo", 16, 16, 56, 56, art::icon(Icon::Info, kDarkBlue)).in(in),
            command("imgGuida", 923, 16, 56, 56, art::icon(Icon::Help, kDarkBlue)).in(in),
            picture("icoIcona", 236, 14, 84, 84, art::tile(Icon::Logo, kDarkBlue)).in(in),
            picture("icoTitolo", 332, 8, 300, 58,
                    art::words(QStringLiteral("Orvanta"), {QStringLiteral("Verdana"), 46, true, false, false, kDarkBlue},
                               Qt::AlignLeft | Qt::AlignVCenter)).in(in),
            picture("icoVersione", 640, 22, 120, 36,
                    art::captionBand(QStringLiteral("VERSIONE 4.0"), QColor(0xC6, 0x28, 0x28), QColor(0xEF, 0x6C, 0x00))).in(in),
            picture("icoSottotitolo", 332, 66, 440, 26,
                    art::words(QStringLiteral("Gestionale per laboratori di assistenza tecnica, riparazione e manutenzione"),
                               {QStringLiteral("Verdana"), 13, false, true, false, kDarkBlue}, Qt::AlignLeft | Qt::AlignVCenter)).in(in),
        };
        for (int i = 0; i < 8; ++i) {
            const Module& m = kModules[i];
            const int x = 5 + (i % 4) * 250;
            const int y = i < 4 ? 118 : 346;
            l.push_back(command(m.picture, x + 23, y, 188, 178, art::tile(m.icon, m.colour)).in(in));
            l.push_back(command(m.caption, x, y + 182, 234, 28, art::captionBand(m.words, m.colour.darker(120), m.colour.lighter(130))).in(in));
        }
        l.push_back(command("icoSito", 297, 584, 400, 30,
                            art::captionBand(orv::shell::kMakerWeb, kDarkBlue, QColor(0x4A, 0x7D, 0xB5))).in(in));
        l.push_back(command("imgCopyright", 16, 620, 56, 56, art::icon(Icon::Copyright, kDarkBlue)).in(in));
        l.push_back(command("imgEsci", 923, 620, 56, 56, art::icon(Icon::Exit, QColor(0xC6, 0x28, 0x28))).in(in));
        return l;
    }();
    return l;
}

} // namespace

TfrmAvvio::TfrmAvvio(QWidget* owner)
    : Form(owner, {QStringLiteral("frmAvvio"), QStringLiteral(" Orvanta 4.0"), 1016, 713, Border::Sizeable,
                   Placement::Maximized, QColor(0xB0, 0xC4, 0xDE), Qt::white},
           windowLayout())
{
    onCreate = [this] { FormCreate(); };
    onClose = [this](CloseAction& a) { FormClose(a); };
    const std::pair<Image*, void (TfrmAvvio::*)()> bindings[] = {
        {&imgClienti, &TfrmAvvio::imgClientiClick}, {&btnClienti, &TfrmAvvio::imgClientiClick},
        {&imgContratti, &TfrmAvvio::imgContrattiClick}, {&btnContratti, &TfrmAvvio::imgContrattiClick},
        {&imgMagazzino, &TfrmAvvio::imgMagazzinoClick}, {&btnMagazzino, &TfrmAvvio::imgMagazzinoClick},
        {&imgInventario, &TfrmAvvio::imgInventarioClick}, {&btnInventario, &TfrmAvvio::imgInventarioClick},
        {&imgScadenzario, &TfrmAvvio::imgScadenzarioClick}, {&btnScadenzario, &TfrmAvvio::imgScadenzarioClick},
        {&imgSchedeLavoro, &TfrmAvvio::imgSchedeLavoroClick}, {&btnSchedeLavoro, &TfrmAvvio::imgSchedeLavoroClick},
        {&imgPreventivi, &TfrmAvvio::imgPreventiviClick}, {&btnPreventivi, &TfrmAvvio::imgPreventiviClick},
        {&imgDDT, &TfrmAvvio::imgDDTClick}, {&btnDDT, &TfrmAvvio::imgDDTClick},
        {&imgInfo, &TfrmAvvio::imgInfoClick}, {&imgCopyright, &TfrmAvvio::imgCopyrightClick},
        {&imgGuida, &TfrmAvvio::imgGuidaClick}, {&icoSito, &TfrmAvvio::icoSitoClick},
        {&imgEsci, &TfrmAvvio::imgEsciClick},
    };
    for (const auto& [image, handler] : bindings) image->onClick = [this, h = handler] { (this->*h)(); };
    created();
}

void TfrmAvvio::FormCreate() { orv::platform::applyProgramFormats(); }

void TfrmAvvio::FormClose(CloseAction&) { terminateApplication(); }

// A module window that is not part of the program yet is simply not there: the command
// stays without effect until its window is created at start.
void TfrmAvvio::showModule(const QString& globalName)
{
    Form* module = orv::kit::startWindow(globalName);
    if (!module) return;
    module->show();
    hide();
}

void TfrmAvvio::imgClientiClick() { showModule(QStringLiteral("frmClienti")); }
void TfrmAvvio::imgContrattiClick() { showModule(QStringLiteral("frmContratto")); }
void TfrmAvvio::imgMagazzinoClick() { showModule(QStringLiteral("frmMagazzino")); }
void TfrmAvvio::imgInventarioClick() { showModule(QStringLiteral("frmMenuRiepilogo")); }
void TfrmAvvio::imgScadenzarioClick() { showModule(QStringLiteral("frmScadenzario")); }
void TfrmAvvio::imgSchedeLavoroClick() { showModule(QStringLiteral("frmMenuLavoro")); }
void TfrmAvvio::imgPreventiviClick() { showModule(QStringLiteral("frmMenuPreventivi")); }
void TfrmAvvio::imgDDTClick() { showModule(QStringLiteral("frmMenuDDT")); }

void TfrmAvvio::imgInfoClick() { runDialog<TfrmInfo>(this); }
void TfrmAvvio::imgCopyrightClick() { runDialog<TfrmSplash>(this); }

void TfrmAvvio::imgGuidaClick()
{
    orv::kit::showHelp(this, QStringLiteral("Uno sguardo a Orvanta 4.0."), orv::kit::helpText(orv::shell::mainMenuHelpParagraphs()));
}

void TfrmAvvio::icoSitoClick() { TMisc::Open(orv::shell::kMakerWeb); }

void TfrmAvvio::imgEsciClick() { terminateApplication(); }

} // namespace orv::shell
