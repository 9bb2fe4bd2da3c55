#include "warehouse/menuriepilogo.h"

#include "kit/windowtable.h"
#include "kit/dialogs/guida.h"
#include "platform/core/formats.h"
#include "platform/ui/art.h"
#include "warehouse/riepilogo.h"

namespace orv::warehouse {

using namespace orv::platform::ui;

TfrmMenuRiepilogo* frmMenuRiepilogo = nullptr;

} // namespace orv::warehouse

namespace orv::warehouse {

void showInventoryHelp(QWidget* owner)
{
    static const QStringList paragraphs = {
        u"L'applicazione Inventario Merce mostra tutti gli articoli presenti in magazzino oppure soltanto quelli di "
        u"una determinata tipologia. Per aprirla si preme il pulsante Inventario merce del menu principale; nella "
        u"finestra che segue si indica la tipologia degli articoli e si preme il pulsante Visualizza. Per ottenere "
        u"l'inventario di tutti gli articoli in magazzino, bisogna premere il pulsante Visualizza senza indicare "
        u"alcuna tipologia."_qs,
        u"L'elenco riporta per ogni articolo il codice, la marca e il modello, il costo, la giacenza e il valore "
        u"ottenuto moltiplicando il costo per la giacenza. In fondo all'elenco è indicato il valore totale del "
        u"capitale in magazzino, cioè la somma dei valori di tutti gli articoli elencati."_qs,
        u"Il campo Tipologia della scheda articolo è importante per gli inventari parziali: la stessa tipologia deve "
        u"essere scritta nello stesso modo nella scheda di ogni articolo che deve far parte di un medesimo "
        u"inventario parziale."_qs,
        u"Il pulsante Stampa inventario stampa l'elenco visualizzato con il valore totale in fondo."_qs,
    };
    kit::showHelp(owner, u"Applicazione Inventario Merce."_qs, kit::helpText(paragraphs));
}

} // namespace orv::warehouse

namespace orv::warehouse {

namespace {

const QColor kDarkBlue(0x1F, 0x3F, 0x6E);
const QColor kTeal(0x00, 0x83, 0x8F);
const FontSpec kText{u"Verdana"_qs, 12, false, false, false, kDarkBlue};

const Layout& windowLayout()
{
    static const Layout l = [] {
        const QString in = u"panContainer"_qs;
        return Layout{
            panel(in, 0, 0, 760, 440).centred().fill(Qt::white).stroke(QColor(0xB8, 0xC2, 0xCE)).radius(6),
            picture(u"imgLogo"_qs, 0, 0, 760, 96,
                    art::heading(u"Inventario merce"_qs, u"Inventario totale o parziale degli articoli in magazzino"_qs,
                                 art::Icon::Inventory, kTeal, QColor(0x4D, 0xB6, 0xAC))).in(in),
            command(u"imgGuida"_qs, 632, 20, 52, 56, art::icon(art::Icon::Help, Qt::white)).in(in),
            command(u"imgEsci"_qs, 696, 20, 48, 56, art::icon(art::Icon::Exit, Qt::white)).in(in),
            label(u"lblApri"_qs, 40, 124, 680, 22,
                  u"Indicare una tipologia di articoli e premere il pulsante Visualizza."_qs).font(kText).in(in),
            label(u"lblCaptionTipologia"_qs, 40, 164, 200, 18, u"Tipologia:"_qs)
                .font({u"Verdana"_qs, 11, true, false, false, kDarkBlue}).in(in),
            edit(u"txtTipologia"_qs, 40, 184, 460, 30).font({u"Verdana"_qs, 13, true, false, false, QColor()})
                .highlighted().in(in),
            button(u"btnVisualizza"_qs, 520, 182, 200, 34, u"Visualizza"_qs).in(in),
            label(u"lblInformazioni"_qs, 40, 240, 680, 40,
                  u"Per ottenere l'inventario di tutti gli articoli in magazzino, premere il pulsante Visualizza senza "
                  u"indicare alcuna tipologia."_qs).font(kText).wrap().in(in),
            picture(u"imgInventario"_qs, 40, 310, 90, 90, art::tile(art::Icon::Inventory, kTeal)).in(in),
            label(u"lblAttendere"_qs, 150, 342, 570, 24, u"Caricamento inventario in corso. Attendere..."_qs)
                .font({u"Verdana"_qs, 13, true, false, false, QColor(0x00, 0x8B, 0x8B)}).hidden().in(in),
        };
    }();
    return l;
}

} // namespace

TfrmMenuRiepilogo::TfrmMenuRiepilogo(QWidget* owner)
    : Form(owner,
           {u"frmMenuRiepilogo"_qs, u" Orvanta 4.0 - Inventario Merce"_qs, 1016, 713, Border::Sizeable,
            Placement::Maximized, QColor(0x9F, 0xB1, 0xC8), Qt::white},
           windowLayout())
{
    onCreate = [this] { FormCreate(); };
    onShow = [this] { FormShow(); };
    onClose = [this](CloseAction& a) { FormClose(a); };
    btnVisualizza.onMouseDown = [this](MouseButton, ShiftState, double, double) { btnVisualizzaMouseDown(); };
    btnVisualizza.onClick = [this] { btnVisualizzaClick(); };
    imgGuida.onClick = [this] { imgGuidaClick(); };
    imgEsci.onClick = [this] { imgEsciClick(); };
    created();
}

void TfrmMenuRiepilogo::FormCreate() { orv::platform::applyProgramFormats(); }

void TfrmMenuRiepilogo::FormShow()
{
    txtTipologia.setText(QString());
    txtTipologia.setFocus();
}

void TfrmMenuRiepilogo::FormClose(CloseAction&)
{
    if (orv::platform::ui::Form* menu = orv::kit::startWindow(u"frmAvvio"_qs)) menu->show();
}

void TfrmMenuRiepilogo::btnVisualizzaMouseDown()
{
    lblAttendere.show();
    lblAttendere.widget()->repaint(); // the inventory that follows holds the event loop
}

void TfrmMenuRiepilogo::btnVisualizzaClick() { runDialog<TfrmRiepilogo>(this); }
void TfrmMenuRiepilogo::imgGuidaClick() { orv::warehouse::showInventoryHelp(this); }
void TfrmMenuRiepilogo::imgEsciClick() { close(); }

} // namespace orv::warehouse
