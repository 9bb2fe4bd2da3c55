#include "schedule/elenchi.h"

#include "archive/lists.h"

#include <map>
#include "schedule/scadenza.h"
#include "schedule/trovascadenzario.h"

namespace orv::schedule {

using namespace orv::platform::ui;

TfrmDaConfermare* frmDaConfermare = nullptr;
TfrmConfermati* frmConfermati = nullptr;
TfrmNonConfermati* frmNonConfermati = nullptr;

namespace {

// What sets one status list apart: its window, its selection and its titles.
struct StatusList {
    const char* name;
    const char* title; // the printed list's title; the caption is it after a blank
    const char* subheading;
    bool (*select)(const TScadenza&);
};

const StatusList kToConfirm{"frmDaConfermare", "Riepilogo appuntamenti da confermare",
                            "Gli appuntamenti in attesa di conferma", orv::schedule::toConfirm};
const StatusList kToPay{"frmConfermati", "Riepilogo pagamenti da effettuare",
                        "I pagamenti non ancora saldati, scaduti e non", orv::schedule::paymentToMake};
const StatusList kPaid{"frmNonConfermati", "Riepilogo pagamenti effettuati", "Lo storico dei pagamenti saldati",
                       orv::schedule::paymentMade};

FormSpec formSpec(const StatusList& s)
{
    return orv::kit::listFormSpec(QString::fromLatin1(s.name), u' ' + QString::fromUtf8(s.title),
                                    orv::kit::kStatusListHeight);
}

const Layout& layoutOf(const StatusList& s)
{
    static std::map<const StatusList*, Layout> layouts;
    auto it = layouts.find(&s);
    if (it == layouts.end()) {
        it = layouts.emplace(&s, orv::kit::statusListLayout({QString::fromUtf8(s.title),
                                                               QString::fromUtf8(s.subheading),
                                                               art::Icon::Schedule}))
                 .first;
    }
    return it->second;
}

std::function<void(orv::platform::ArchiveFile&, orv::archive::ResultSink&)> fill(const StatusList& s)
{
    return [select = s.select](orv::platform::ArchiveFile& file, orv::archive::ResultSink& out) {
        orv::archive::fillList(
            file, out, [select](const QByteArray& r) { return select(TScadenza::decode(r)); },
            [](const QByteArray& r) { return orv::schedule::RigaScadenza(TScadenza::decode(r)); });
    };
}

} // namespace

TfrmDaConfermare::TfrmDaConfermare(QWidget* owner)
    : StatusListWindow(owner, formSpec(kToConfirm), layoutOf(kToConfirm),
                       orv::schedule::entryList(QString::fromUtf8(kToConfirm.title)), fill(kToConfirm))
{
    created();
}

void TfrmDaConfermare::load(const orv::archive::FoundRecord& found) { orv::schedule::loadIntoEditor(found); }

TfrmConfermati::TfrmConfermati(QWidget* owner)
    : StatusListWindow(owner, formSpec(kToPay), layoutOf(kToPay),
                       orv::schedule::entryList(QString::fromUtf8(kToPay.title)), fill(kToPay))
{
    created();
}

void TfrmConfermati::load(const orv::archive::FoundRecord& found) { orv::schedule::loadIntoEditor(found); }

TfrmNonConfermati::TfrmNonConfermati(QWidget* owner)
    : StatusListWindow(owner, formSpec(kPaid), layoutOf(kPaid),
                       orv::schedule::entryList(QString::fromUtf8(kPaid.title)), fill(kPaid))
{
    created();
}

void TfrmNonConfermati::load(const orv::archive::FoundRecord& found) { orv::schedule::loadIntoEditor(found); }

} // namespace orv::schedule
