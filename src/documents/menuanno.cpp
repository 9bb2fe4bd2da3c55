#include "documents/menuanno.h"

#include "kit/dialogs/guida.h"
#include "kit/dialogs/logo.h"
#include "kit/windowtable.h"
#include "platform/core/formats.h"
#include "platform/core/services.h"
#include "platform/core/text.h"
#include "platform/ui/input.h"
#include "platform/ui/services.h"
#include "documents/documento.h"

namespace orv::documents {
using namespace orv::platform;
} // namespace orv::documents

namespace orv::documents {

using namespace orv::platform::ui;

namespace {

const QColor kTitle(0x1F, 0x3F, 0x6E);
const FontSpec kText{u"Verdana"_qs, 12, false, false, false, kTitle};

Layout menuLayout(const YearMenuSpec& spec)
{
    const QString in = u"panContainer"_qs;
    Layout l{panel(in, 0, 0, 800, 520).centred().fill(Qt::white).stroke(QColor(0xB8, 0xC2, 0xCE)).radius(6)};
    l.push_back(picture(u"imgTitolo"_qs, 0, 0, 800, 84,
                        art::heading(spec.heading, u"Documenti con Ditta emittente, Cliente, articoli e totali"_qs,
                                     spec.icon))
                    .in(in));
    l.push_back(label(u"lblInfo"_qs, 24, 100, 752, 40, spec.info).font(kText).wrap().in(in));
    l.push_back(picture(u"imgDocumento"_qs, 24, 160, 300, 290, art::tile(spec.icon, QColor(0x15, 0x65, 0xC0))).in(in));
    // The year's frame: a dark band with its title over a framed box.
    l.push_back(rect(u"shpAnno"_qs, 360, 160, 420, 120, QColor(0xF4, 0xF6, 0xF8)).stroke(QColor(0xB8, 0xC2, 0xCE))
                    .in(in));
    l.push_back(label(u"intAnnoPreventivi"_qs, 360, 160, 420, 28, u"  "_qs + spec.band)
                    .font({u"Verdana"_qs, 12, true, false, false, Qt::white}).fill(Qt::black).in(in));
    l.push_back(label(u"titAnnoPreventivi"_qs, 384, 216, 60, 20, u"Anno:"_qs).font(kText).in(in));
    l.push_back(edit(u"txtAnnoPreventivi"_qs, 450, 210, 100, 30).centre()
                    .font({u"Verdana"_qs, 14, true, false, false, QColor()}).highlighted().in(in));
    l.push_back(button(u"btnApriPreventivi"_qs, 580, 210, 150, 30, u"Apri"_qs).in(in));
    l.push_back(command(u"imgEmail"_qs, 360, 302, 24, 20, art::icon(art::Icon::Logo)).in(in));
    l.push_back(label(u"lnkWeb"_qs, 390, 302, 200, 20, u"Imposta logo Ditta"_qs)
                    .font({u"Tahoma"_qs, 13, false, false, true, YearMenu::kLinkColour}).hand().in(in));
    l.push_back(command(u"imgGuida"_qs, 640, 456, 50, 50, art::icon(art::Icon::Help)).in(in));
    l.push_back(command(u"imgEsci"_qs, 716, 456, 50, 50, art::icon(art::Icon::Exit, QColor(0xC6, 0x28, 0x28))).in(in));
    l.push_back(label(u"lblMemory"_qs, 0, 0, 10, 10, u"avvio"_qs).hidden().in(in));
    return l;
}

} // namespace

YearMenu::YearMenu(QWidget* owner, YearMenuSpec spec)
    : Form(owner,
           {spec.formName, spec.caption, 1016, 713, Border::Sizeable, Placement::Maximized, QColor(0x9F, 0xB1, 0xC8),
            Qt::white},
           menuLayout(spec)),
      spec_(std::move(spec))
{
    onCreate = [this] { FormCreate(); };
    onShow = [this] { FormShow(); };
    onClose = [this](CloseAction& a) { FormClose(a); };
    txtAnnoPreventivi.onKeyDown = [this](Word& key, QChar& keyChar, ShiftState s) {
        txtAnnoPreventiviKeyDown(key, keyChar, s);
    };
    btnApriPreventivi.onClick = [this] { btnApriPreventiviClick(); };
    imgEsci.onClick = [this] { imgEsciClick(); };
    imgGuida.onClick = [this] { imgGuidaClick(); };
    for (Control* link : {static_cast<Control*>(&lnkWeb), static_cast<Control*>(&imgEmail)}) {
        link->onClick = [this] { lnkWebClick(); };
        link->onMouseDown = [this](MouseButton, ShiftState, double, double) { lnkWebMouseDown(); };
        link->onMouseUp = [this](MouseButton, ShiftState, double, double) { lnkWebMouseUp(); };
    }
}

void YearMenu::FormCreate()
{
    applyProgramFormats();
    txtAnnoPreventivi.setMaxLength(4);
}

void YearMenu::FormShow()
{
    txtAnnoPreventivi.setText(QString::number(currentYear()).rightJustified(4, u'0'));
    lblMemory.setText(u"avvio"_qs);
    txtAnnoPreventivi.setFocus();
}

void YearMenu::txtAnnoPreventiviKeyDown(Word& key, QChar& keyChar, ShiftState)
{
    if (key == vk::Return) {
        btnApriPreventivi.setFocus();
        return;
    }
    if (key == vk::Tab) return; // the window's tab order
    acceptOnly(key, keyChar);
}

void YearMenu::btnApriPreventiviClick()
{
    // Four characters as typed; and, before they become a file name, four digits.
    const QString typed = txtAnnoPreventivi.text();
    const std::optional<QString> path = yearFile(typed, spec_.extension);
    if (!path) {
        warningBox(kYearWarning);
        txtAnnoPreventivi.setFocus();
        return;
    }
    if (Form* editor = kit::startWindow(spec_.editorName)) {
        editor->control<Label>(u"lblFile"_qs).setText(*path);
        editor->setCaption(spec_.editorCaption + trimmed(typed));
    }
    lblMemory.setText(spec_.openTag);
    close();
}

void YearMenu::FormClose(CloseAction&)
{
    const QString tag = trimmed(lblMemory.text());
    Form* next = tag == u"avvio" ? orv::kit::startWindow(u"frmAvvio"_qs)
                 : tag == spec_.openTag ? kit::startWindow(spec_.editorName)
                                        : nullptr;
    if (next) next->show();
}

void YearMenu::imgEsciClick() { close(); }

void YearMenu::imgGuidaClick() { kit::showHelp(this, kHelpTitle, kit::helpText(helpParagraphs())); }

void YearMenu::lnkWebClick() { kit::showLogoWindow(this); }
void YearMenu::lnkWebMouseDown() { lnkWeb.setFontColor(kLinkPressed); }
void YearMenu::lnkWebMouseUp() { lnkWeb.setFontColor(kLinkColour); }

} // namespace orv::documents
