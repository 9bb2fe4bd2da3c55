#include "jobs/menulavoro.h"

#include "kit/windowtable.h"
#include "kit/dialogs/guida.h"
#include "jobs/lavoro.h"
#include "jobs/menuriepcosti.h"
#include "jobs/scheda.h"
#include "platform/core/formats.h"
#include "platform/core/services.h"
#include "platform/core/text.h"
#include "platform/ui/art.h"
#include "platform/ui/input.h"

namespace orv::jobs {

using namespace orv::platform::ui;
using orv::platform::trimmed;

TfrmMenuLavoro* frmMenuLavoro = nullptr;

namespace {

const QColor kTitle(0x1F, 0x3F, 0x6E);
const FontSpec kYearFont{u"Verdana"_qs, 14, true, false, false, QColor()};
const FontSpec kText{u"Verdana"_qs, 12, false, false, false, kTitle};

// One of the two year groups: its caption, the year field and its "Apri" button.
void addYearGroup(Layout& l, const QString& groupName, int y, const QString& caption, const QString& field,
                  const QString& buttonName)
{
    l.push_back(group(groupName, 360, y, 420, 120, caption).font({u"Verdana"_qs, 12, true, false, false, kTitle})
                    .in(u"panContainer"_qs));
    l.push_back(label(u"tit"_qs + field.mid(3), 24, 52, 60, 20, u"Anno:"_qs).font(kText).in(groupName));
    l.push_back(edit(field, 90, 48, 100, 28).maxLen(4).centre().font(kYearFont).highlighted().in(groupName));
    l.push_back(button(buttonName, 220, 47, 150, 30, u"Apri"_qs).in(groupName));
}

const Layout& windowLayout()
{
    static const Layout l = [] {
        const QString in = u"panContainer"_qs;
        Layout l{panel(in, 0, 0, 800, 520).centred().fill(Qt::white).stroke(QColor(0xB8, 0xC2, 0xCE)).radius(6)};
        l.push_back(picture(u"imgTitolo"_qs, 0, 0, 800, 84,
                            art::heading(u"Emissione Schede di Lavoro"_qs,
                                         u"Interventi tecnici sugli impianti e riepiloghi"_qs, art::Icon::JobSheet))
                        .in(in));
        l.push_back(label(u"lblInfo"_qs, 24, 100, 752, 40,
                          u"In questo ambiente è possibile emettere Schede di Lavoro per registrare gli interventi "
                          u"tecnici eseguiti sugli impianti e visualizzare i riepiloghi."_qs)
                        .font(kText).wrap().in(in));
        l.push_back(picture(u"imgImpianto"_qs, 24, 160, 300, 290,
                            art::tile(art::Icon::JobSheet, QColor(0x45, 0x5A, 0x64))).in(in));
        addYearGroup(l, u"grpArchivio"_qs, 160, u"Archivio Schede di Lavoro:"_qs, u"txtAnnoLavoro"_qs,
                     u"btnApriLavoro"_qs);
        addYearGroup(l, u"grpRiepilogo"_qs, 300, u"Riepilogo Schede di Lavoro emesse:"_qs, u"txtAnnoRiepLavoro"_qs,
                     u"btnApriRiepLavoro"_qs);
        l.push_back(command(u"imgGuida"_qs, 640, 456, 50, 50, art::icon(art::Icon::Help)).in(in));
        l.push_back(command(u"imgEsci"_qs, 716, 456, 50, 50, art::icon(art::Icon::Exit, QColor(0xC6, 0x28, 0x28))).in(in));
        l.push_back(label(u"lblMemory"_qs, 0, 0, 10, 10, u"avvio"_qs).hidden().in(in));
        return l;
    }();
    return l;
}

// The year as a file path, or the warning with the focus back on its field.
std::optional<QString> acceptedYear(Edit& field)
{
    // The text is checked as typed: four characters, and four digits to become a path.
    std::optional<QString> path = orv::jobs::yearFile(field.text());
    if (!path) {
        warningBox(orv::jobs::kYearWarning);
        field.setFocus();
    }
    return path;
}

} // namespace

TfrmMenuLavoro::TfrmMenuLavoro(QWidget* owner)
    : Form(owner,
           {u"frmMenuLavoro"_qs, u" Orvanta 4.0 - Emissione Schede di Lavoro"_qs, 1016, 713, Border::Sizeable,
            Placement::Maximized, QColor(0x9F, 0xB1, 0xC8), Qt::white},
           windowLayout())
{
    onCreate = [this] { FormCreate(); };
    onShow = [this] { FormShow(); };
    onClose = [this](CloseAction& a) { FormClose(a); };
    for (Edit* year : {&txtAnnoLavoro, &txtAnnoRiepLavoro})
        year->onKeyDown = [](Word& key, QChar& keyChar, ShiftState) { acceptOnly(key, keyChar); };
    chainEnter({&txtAnnoLavoro, &btnApriLavoro}, false);
    chainEnter({&txtAnnoRiepLavoro, &btnApriRiepLavoro}, false);
    btnApriLavoro.onClick = [this] { btnApriLavoroClick(); };
    btnApriRiepLavoro.onClick = [this] { btnApriRiepLavoroClick(); };
    imgEsci.onClick = [this] { imgEsciClick(); };
    imgGuida.onClick = [this] { imgGuidaClick(); };
    created();
}

void TfrmMenuLavoro::FormCreate()
{
    orv::platform::applyProgramFormats();
    txtAnnoLavoro.setMaxLength(4);
    txtAnnoRiepLavoro.setMaxLength(4);
}

void TfrmMenuLavoro::FormShow()
{
    const QString year = QString::number(orv::platform::currentYear()).rightJustified(4, u'0');
    txtAnnoLavoro.setText(year);
    txtAnnoRiepLavoro.setText(year);
    lblMemory.setText(u"avvio"_qs);
    txtAnnoLavoro.setFocus();
}

void TfrmMenuLavoro::FormClose(CloseAction&)
{
    const QString tag = trimmed(lblMemory.text());
    Form* next = tag == u"lavoro"       ? static_cast<Form*>(frmLavoro)
                 : tag == u"rieplavoro" ? static_cast<Form*>(frmMenuRiepCosti)
                 : tag == u"avvio"      ? orv::kit::startWindow(u"frmAvvio"_qs)
                                        : nullptr;
    if (next) next->show();
}

void TfrmMenuLavoro::btnApriLavoroClick()
{
    const std::optional<QString> path = acceptedYear(txtAnnoLavoro);
    if (!path) return;
    const QString year = trimmed(txtAnnoLavoro.text());
    if (frmLavoro) {
        frmLavoro->lblFile.setText(*path);
        frmLavoro->setCaption(u" Orvanta 4.0 - Archivio Schede di Lavoro anno "_qs + year);
    }
    lblMemory.setText(u"lavoro"_qs);
    close();
}

void TfrmMenuLavoro::btnApriRiepLavoroClick()
{
    const std::optional<QString> path = acceptedYear(txtAnnoRiepLavoro);
    if (!path) return;
    const QString year = trimmed(txtAnnoRiepLavoro.text());
    if (frmMenuRiepCosti) frmMenuRiepCosti->openYear(year, *path);
    lblMemory.setText(u"rieplavoro"_qs);
    close();
}

void TfrmMenuLavoro::imgEsciClick() { close(); }

void TfrmMenuLavoro::imgGuidaClick()
{
    orv::kit::showHelp(this, orv::jobs::kHelpTitle, orv::kit::helpText(orv::jobs::helpParagraphs()));
}

} // namespace orv::jobs
