#include "warehouse/riepilogo.h"

#include "archive/lists.h"
#include "kit/listwindow.h"
#include "kit/reports.h"
#include "platform/core/formats.h"
#include "platform/core/services.h"
#include "platform/core/text.h"
#include "platform/ui/art.h"
#include "platform/ui/services.h"
#include "warehouse/articolo.h"
#include "warehouse/menuriepilogo.h"

#include <QListView>

namespace orv::warehouse {
using namespace orv::archive;
} // namespace orv::warehouse

namespace orv::warehouse {

using namespace orv::platform::ui;
using orv::platform::trimmed;

TfrmRiepilogo* frmRiepilogo = nullptr;

namespace {

const QColor kDarkBlue(0x1F, 0x3F, 0x6E);
const QColor kTeal(0x00, 0x83, 0x8F);
const FontSpec kText{u"Verdana"_qs, 12, false, false, false, kDarkBlue};
const FontSpec kBold{u"Verdana"_qs, 13, true, false, false, kDarkBlue};

const QString kAllArticles = u"Tutti gli articoli in magazzino."_qs;

QString countLine(int lines) { return u"Il presente inventario contiene %1 articoli."_qs.arg(lines); }

const Layout& windowLayout()
{
    static const Layout l = [] {
        const QString in = u"panContainer"_qs;
        return Layout{
            panel(in, 0, 0, 995, 692).centred().fill(Qt::white).stroke(QColor(0xB8, 0xC2, 0xCE)).radius(6),
            picture(u"imgLogo"_qs, 0, 0, 995, 80,
                    art::heading(u"Inventario merce"_qs, u"Articoli in magazzino con il loro valore"_qs,
                                 art::Icon::Inventory, kTeal, QColor(0x4D, 0xB6, 0xAC))).in(in),
            command(u"imgGuida"_qs, 925, 12, 52, 56, art::icon(art::Icon::Help, Qt::white)).in(in),
            label(u"lblTipologia"_qs, 16, 92, 220, 20, u"Tipologia selezionata:"_qs).font(kBold).in(in),
            label(u"titTipologia"_qs, 236, 92, 743, 20, QString())
                .font({u"Verdana"_qs, 13, true, false, false, QColor(0xC6, 0x28, 0x28)}).in(in),
            list(u"lstRecords"_qs, 16, 120, 963, 400).sorted().in(in),
            label(u"lblRigo01"_qs, 16, 528, 963, 18,
                  u"Immettere una o più parole consecutive presenti nella scheda in elenco da cercare e premere il "
                  u"pulsante Trova."_qs).font(kText).in(in),
            label(u"lblRigo02"_qs, 16, 546, 963, 18,
                  u"Per spostarsi sulla voce successiva contenente la stessa chiave di ricerca, fare di nuovo clic su "
                  u"Trova."_qs).font(kText).in(in),
            label(u"infValore"_qs, 620, 576, 150, 24, u"Valore totale:"_qs).font(kBold).in(in),
            label(u"lblTotale"_qs, 770, 576, 209, 24, u"0,00"_qs).align(Align::Right)
                .font({u"Verdana"_qs, 14, true, false, false, QColor(0xC6, 0x28, 0x28)}).in(in),
            edit(u"txtTrova"_qs, 16, 612, 400, 28).font({u"Verdana"_qs, 12, true, false, false, QColor()})
                .highlighted().in(in),
            button(u"btnTrova"_qs, 424, 611, 120, 30, u"Trova"_qs).in(in),
            button(u"btnStampa"_qs, 620, 611, 180, 30, u"Stampa inventario"_qs).in(in),
            button(u"btnEsci"_qs, 810, 611, 169, 30, u"Esci"_qs).in(in),
            rect(u"bkgInfo"_qs, 16, 650, 963, 32, QColor(0x6A, 0x5A, 0xCD)).radius(4).in(in),
            label(u"panInfo"_qs, 26, 656, 943, 20, countLine(0))
                .font({u"Tahoma"_qs, 12, false, false, false, Qt::white}).in(in),
        };
    }();
    return l;
}

} // namespace

TfrmRiepilogo::TfrmRiepilogo(QWidget* owner)
    : Form(owner,
           {u"frmRiepilogo"_qs, u" Orvanta 4.0 - Inventario Merce"_qs, 1016, 713, Border::Sizeable,
            Placement::Maximized, QColor(0x9F, 0xB1, 0xC8), Qt::white},
           windowLayout())
{
    lstRecords.withWidget([](QWidget* w) {
        auto* l = static_cast<QListView*>(w);
        l->setUniformItemSizes(true);
        l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        l->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    });
    onCreate = [this] { FormCreate(); };
    onShow = [this] { FormShow(); };
    onClose = [this](CloseAction& a) { FormClose(a); };
    btnTrova.onClick = [this] { btnTrovaClick(); };
    btnStampa.onClick = [this] { btnStampaClick(); };
    imgGuida.onClick = [this] { imgGuidaClick(); };
    btnEsci.onClick = [this] { btnEsciClick(); };
    created();
}

void TfrmRiepilogo::FormCreate() { orv::platform::applyProgramFormats(); }

void TfrmRiepilogo::FormShow()
{
    UltimaRicerca.clear();
    lstRecords.setItemIndex(0);
    txtTrova.setText(QString());
    lblTotale.setText(u"0,00"_qs);

    const QString filter = frmMenuRiepilogo ? frmMenuRiepilogo->txtTipologia.text() : QString();
    double total = 0;
    bool ok = false;
    {
        orv::kit::ListBoxLines lines(lstRecords);
        ok = orv::archive::runArchiveCommandSilently(
            orv::platform::programFile(TArticolo::kFileName), TArticolo::kSize, [&](orv::platform::ArchiveFile& file) {
                orv::warehouse::fillInventory(file, filter, lines, [&](double sum) {
                    total = sum;
                    lblTotale.setText(orv::platform::floatToStr(sum));
                });
            });
    } // the lines read so far reach the list, also after a failure
    if (!ok) return; // the partial list shows the sum reached, without the closing rounding
    titTipologia.setText(trimmed(filter).isEmpty() ? kAllArticles : trimmed(filter));
    lblTotale.setText(orv::warehouse::inventoryTotal(total));
    panInfo.setText(countLine(lstRecords.count()));
    txtTrova.setFocus();
}

void TfrmRiepilogo::FormClose(CloseAction&)
{
    lstRecords.clear();
    if (frmMenuRiepilogo) frmMenuRiepilogo->lblAttendere.hide();
}

void TfrmRiepilogo::btnTrovaClick()
{
    try {
        const auto found = TrovaInLista(lstRecords.itemsText(), lstRecords.itemIndex(), txtTrova.text(), UltimaRicerca);
        if (!found) {
            informationBox(orv::archive::kEmptyListMessage);
            return;
        }
        lstRecords.setItemIndex(int(*found));
    } catch (const std::exception&) {
        // Find-in-list drops its failures.
    }
}

QStringList TfrmRiepilogo::printLines() const
{
    return {QString(26, u'-'), u"VALORE TOTALE: "_qs + trimmed(lblTotale.text())};
}

void TfrmRiepilogo::btnStampaClick()
{
    orv::kit::printList(this, u"Inventario merce - Tipologia: "_qs + trimmed(titTipologia.text()),
                          lstRecords.itemsText() + printLines());
}

void TfrmRiepilogo::imgGuidaClick() { orv::warehouse::showInventoryHelp(this); }
void TfrmRiepilogo::btnEsciClick() { close(); }

} // namespace orv::warehouse
