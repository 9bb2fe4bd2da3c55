#include "shell/startup.h"

#include "kit/dialogs/allegacartella.h"
#include "shell/avvio.h"
#include "shell/cambiapassword.h"
#include "kit/dialogs/checkers.h"
#include "kit/dialogs/guida.h"
#include "shell/info.h"
#include "kit/dialogs/logo.h"
#include "kit/dialogs/numerazione.h"
#include "shell/password.h"
#include "shell/splash.h"
#include "customers/calendario.h"
#include "kit/reports.h"
#include "kit/windowtable.h"
#include "customers/clienti.h"
#include "customers/contratto.h"
#include "customers/expclienti.h"
#include "customers/expcontratti.h"
#include "customers/listscadenzario.h"
#include "customers/ricontatta.h"
#include "customers/trovaclienti.h"
#include "customers/trovacontratti.h"
#include "ddt/datitrasporto.h"
#include "ddt/ddt.h"
#include "ddt/expddt.h"
#include "ddt/menuddt.h"
#include "ddt/sospesiddt.h"
#include "ddt/trovaddt.h"
#include "jobs/daericonsegnare.h"
#include "jobs/documenti.h"
#include "jobs/explavoro.h"
#include "jobs/lavoro.h"
#include "jobs/menulavoro.h"
#include "jobs/menuriepcosti.h"
#include "jobs/riepcosti.h"
#include "jobs/trovalavoro.h"
#include "schedule/elenchi.h"
#include "schedule/expscadenzario.h"
#include "schedule/griglie.h"
#include "schedule/scadenzario.h"
#include "schedule/trovascadenzario.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "printing/card.h"
#include "printing/contract.h"
#include "printing/ddt.h"
#include "printing/jobsheet.h"
#include "printing/list.h"
#include "printing/printwriter.h"
#include "printing/quote.h"
#include "documents/documenti.h"
#include "quotes/dativeicolo.h"
#include "quotes/exppreventivi.h"
#include "quotes/menupreventivi.h"
#include "quotes/preventivi.h"
#include "quotes/sospesi.h"
#include "quotes/trovapreventivi.h"
#include "report/preview/startup.h"
#include "report/model/startup.h"
#include "script/bridges/register.h"
#include "warehouse/datipneumatici.h"
#include "warehouse/expmagazzino.h"
#include "warehouse/giacenza.h"
#include "warehouse/importamagazzino.h"
#include "warehouse/magazzino.h"
#include "warehouse/menuriepilogo.h"
#include "warehouse/riepilogo.h"
#include "warehouse/sottoscorta.h"
#include "warehouse/trovamagazzino.h"

#include <QStringList>

namespace orv::shell {
using namespace orv::customers;
using namespace orv::ddt;
using namespace orv::jobs;
using namespace orv::kit;
using namespace orv::printing;
using namespace orv::quotes;
using namespace orv::report;
using namespace orv::schedule;
using namespace orv::script;
using namespace orv::warehouse;
} // namespace orv::shell


namespace orv::shell {

namespace {

struct StartWindow {
    const char* className;
    platform::ui::Form* (*create)();
    void (*destroy)();
};

template <class T, T** Global>
platform::ui::Form* create()
{
    *Global = new T();
    return *Global;
}

template <class T, T** Global>
void destroy()
{
    delete *Global;
    *Global = nullptr;
}

template <class T, T** Global>
constexpr StartWindow window(const char* name)
{
    return {name, &create<T, Global>, &destroy<T, Global>};
}

constexpr StartWindow later(const char* name) { return {name, nullptr, nullptr}; }

// Every window class of the program in its creation order. A class not written yet is
// listed with later(); its entry becomes window<TfrmXxx, &frmXxx>("TfrmXxx") when it
// lands, and from then on the commands that show it work.
const StartWindow kStartWindows[] = {
    window<TfrmPassword, &frmPassword>("TfrmPassword"),
    window<TfrmAvvio, &frmAvvio>("TfrmAvvio"),
    window<TfrmCambiaPassword, &frmCambiaPassword>("TfrmCambiaPassword"),
    window<TfrmCarta, &frmCarta>("TfrmCarta"),
    window<TfrmCodFisc, &frmCodFisc>("TfrmCodFisc"),
    window<TfrmGuida, &frmGuida>("TfrmGuida"),
    window<TfrmIban, &frmIban>("TfrmIban"),
    window<TfrmInfo, &frmInfo>("TfrmInfo"),
    window<TfrmLogo, &frmLogo>("TfrmLogo"),
    window<TfrmPartitaIva, &frmPartitaIva>("TfrmPartitaIva"),
    window<TfrmSplash, &frmSplash>("TfrmSplash"),
    window<TfrmClienti, &frmClienti>("TfrmClienti"),
    window<TfrmAllegaCartella, &frmAllegaCartella>("TfrmAllegaCartella"),
    window<TfrmRicontatta, &frmRicontatta>("TfrmRicontatta"),
    window<TfrmTrovaClienti, &frmTrovaClienti>("TfrmTrovaClienti"),
    window<TfrmExpClienti, &frmExpClienti>("TfrmExpClienti"),
    window<TfrmListScadenzario, &frmListScadenzario>("TfrmListScadenzario"),
    window<TfrmContratto, &frmContratto>("TfrmContratto"),
    window<TfrmNumerazione, &frmNumerazione>("TfrmNumerazione"),
    window<TfrmExpContratti, &frmExpContratti>("TfrmExpContratti"),
    window<TfrmTrovaContratti, &frmTrovaContratti>("TfrmTrovaContratti"),
    window<TfrmStampaCon, &frmStampaCon>("TfrmStampaCon"),
    window<TfrmAnteprimaCon, &frmAnteprimaCon>("TfrmAnteprimaCon"),
    window<TfrmMagazzino, &frmMagazzino>("TfrmMagazzino"),
    window<TfrmGiacenza, &frmGiacenza>("TfrmGiacenza"),
    window<TfrmSottoscorta, &frmSottoscorta>("TfrmSottoscorta"),
    window<TfrmExpMagazzino, &frmExpMagazzino>("TfrmExpMagazzino"),
    window<TfrmTrovaMagazzino, &frmTrovaMagazzino>("TfrmTrovaMagazzino"),
    window<TfrmDatiPneumatici, &frmDatiPneumatici>("TfrmDatiPneumatici"),
    window<TfrmMenuRiepilogo, &frmMenuRiepilogo>("TfrmMenuRiepilogo"),
    window<TfrmRiepilogo, &frmRiepilogo>("TfrmRiepilogo"),
    window<TfrmScadenzario, &frmScadenzario>("TfrmScadenzario"),
    window<TfrmTrovaScadenzario, &frmTrovaScadenzario>("TfrmTrovaScadenzario"),
    window<TfrmExpScadenzario, &frmExpScadenzario>("TfrmExpScadenzario"),
    window<TfrmDaConfermare, &frmDaConfermare>("TfrmDaConfermare"),
    window<TfrmConfermati, &frmConfermati>("TfrmConfermati"),
    window<TfrmNonConfermati, &frmNonConfermati>("TfrmNonConfermati"),
    window<TfrmExpImminenti, &frmExpImminenti>("TfrmExpImminenti"),
    window<TfrmExpGiornaliere, &frmExpGiornaliere>("TfrmExpGiornaliere"),
    window<TfrmExpMensili, &frmExpMensili>("TfrmExpMensili"),
    window<TfrmMenuLavoro, &frmMenuLavoro>("TfrmMenuLavoro"),
    window<TfrmLavoro, &frmLavoro>("TfrmLavoro"),
    window<TfrmMenuRiepCosti, &frmMenuRiepCosti>("TfrmMenuRiepCosti"),
    window<TfrmDaRiconsegnare, &frmDaRiconsegnare>("TfrmDaRiconsegnare"),
    window<TfrmTrovaLavoro, &frmTrovaLavoro>("TfrmTrovaLavoro"),
    window<TfrmExpLavoro, &frmExpLavoro>("TfrmExpLavoro"),
    window<TfrmStampaLav, &frmStampaLav>("TfrmStampaLav"),
    window<TfrmAnteprimaLav, &frmAnteprimaLav>("TfrmAnteprimaLav"),
    window<TfrmCrea_PDF_Lav, &frmCrea_PDF_Lav>("TfrmCrea_PDF_Lav"),
    window<TfrmRiepCosti, &frmRiepCosti>("TfrmRiepCosti"),
    window<TfrmMenuPreventivi, &frmMenuPreventivi>("TfrmMenuPreventivi"),
    window<TfrmPreventivi, &frmPreventivi>("TfrmPreventivi"),
    window<TfrmImportaMagazzino, &frmImportaMagazzino>("TfrmImportaMagazzino"),
    window<TfrmDatiVeicolo, &frmDatiVeicolo>("TfrmDatiVeicolo"),
    window<TfrmExpPreventivi, &frmExpPreventivi>("TfrmExpPreventivi"),
    window<TfrmTrovaPreventivi, &frmTrovaPreventivi>("TfrmTrovaPreventivi"),
    window<TfrmSospesi, &frmSospesi>("TfrmSospesi"),
    window<TfrmStampaPrev, &frmStampaPrev>("TfrmStampaPrev"),
    window<TfrmAnteprimaPrev, &frmAnteprimaPrev>("TfrmAnteprimaPrev"),
    window<TfrmCrea_PDF_Prev, &frmCrea_PDF_Prev>("TfrmCrea_PDF_Prev"),
    window<TfrmMenuDDT, &frmMenuDDT>("TfrmMenuDDT"),
    window<TfrmDDT, &frmDDT>("TfrmDDT"),
    window<TfrmDatiTrasporto, &frmDatiTrasporto>("TfrmDatiTrasporto"),
    window<TfrmSospesiDDT, &frmSospesiDDT>("TfrmSospesiDDT"),
    window<TfrmTrovaDDT, &frmTrovaDDT>("TfrmTrovaDDT"),
    window<TfrmExpDDT, &frmExpDDT>("TfrmExpDDT"),
    window<TfrmStampaDDT, &frmStampaDDT>("TfrmStampaDDT"),
    window<TfrmAnteprimaDDT, &frmAnteprimaDDT>("TfrmAnteprimaDDT"),
    window<TfrmCrea_PDF_DDT, &frmCrea_PDF_DDT>("TfrmCrea_PDF_DDT"),
    window<TfrmCalendario, &frmCalendario>("TfrmCalendario"),
};
static_assert(std::size(kStartWindows) == 70);

QString globalName(const char* className) { return QString::fromLatin1(className + 1); }

} // namespace

namespace {

// Creates the entries [begin, end) of the start table in their order; the first entry of
// the table becomes the main window.
void createFrom(const StartWindow* begin, const StartWindow* end)
{
    for (const StartWindow* w = begin; w != end; ++w) {
        if (!w->create) continue;
        platform::ui::Form* f = w->create();
        kit::setStartWindow(globalName(w->className), f);
        if (w == std::begin(kStartWindows)) platform::ui::Form::setMainForm(f);
    }
}

} // namespace

void createStartWindows() { createFrom(std::begin(kStartWindows), std::end(kStartWindows)); }

void installDocumentWindows()
{
    using platform::ui::runDialog;
    printing::setEditorLookup([](const QString& name) { return kit::startWindow(name); });
    customers::setContractDocumentOpener([](QWidget* owner, customers::ContractDocument document) {
        if (document == customers::ContractDocument::Print) runDialog<TfrmStampaCon>(owner);
        else runDialog<TfrmAnteprimaCon>(owner);
    });
    jobs::setDocumentWindows([](QWidget* owner, jobs::JobSheetDocument document) {
        switch (document) {
        case jobs::JobSheetDocument::Print: runDialog<TfrmStampaLav>(owner); break;
        case jobs::JobSheetDocument::Preview: runDialog<TfrmAnteprimaLav>(owner); break;
        case jobs::JobSheetDocument::Pdf: runDialog<TfrmCrea_PDF_Lav>(owner); break;
        }
    });
    documents::setDocumentWindows(QStringLiteral("frmPreventivi"), [](QWidget* owner, documents::DocumentOutput output) {
        switch (output) {
        case documents::DocumentOutput::Print: runDialog<TfrmStampaPrev>(owner); break;
        case documents::DocumentOutput::Preview: runDialog<TfrmAnteprimaPrev>(owner); break;
        case documents::DocumentOutput::Pdf: runDialog<TfrmCrea_PDF_Prev>(owner); break;
        }
    });
    documents::setDocumentWindows(QStringLiteral("frmDDT"), [](QWidget* owner, documents::DocumentOutput output) {
        switch (output) {
        case documents::DocumentOutput::Print: runDialog<TfrmStampaDDT>(owner); break;
        case documents::DocumentOutput::Preview: runDialog<TfrmAnteprimaDDT>(owner); break;
        case documents::DocumentOutput::Pdf: runDialog<TfrmCrea_PDF_DDT>(owner); break;
        }
    });
}

void destroyStartWindows()
{
    for (auto it = std::rbegin(kStartWindows); it != std::rend(kStartWindows); ++it) {
        if (it->destroy) it->destroy();
    }
    kit::clearStartWindows();
    platform::ui::Form::setMainForm(nullptr);
}

QStringList createdStartWindows()
{
    QStringList out;
    for (const StartWindow& w : kStartWindows) {
        if (w.create && kit::startWindow(globalName(w.className))) out << QString::fromLatin1(w.className);
    }
    return out;
}

namespace {
// Runs once, after the first paint of the watched window.
class FirstPaint : public QObject {
public:
    FirstPaint(QWidget* w, std::function<void()> then) : QObject(w), then_(std::move(then)) { w->installEventFilter(this); }
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Paint && then_) {
            auto then = std::move(then_);
            then_ = nullptr;
            QMetaObject::invokeMethod(this, [then] { then(); }, Qt::QueuedConnection);
        }
        return QObject::eventFilter(o, e);
    }

private:
    std::function<void()> then_;
};
} // namespace

void installReportLayouts()
{
    printing::installPrintWriter();
    kit::setReportLayouts({[](QWidget*) { return std::make_unique<printing::SummaryReport>(); },
                             &printing::cardLayoutFor});
}

int runProgram(int& argc, char** argv, std::function<void()> loginShown, std::function<void()> ready)
{
    platform::ui::useSoftwareDrawing();
    platform::ui::Application app(argc, argv);
    // The login window heads the start table. It goes on the screen first; the other
    // windows follow in their fixed order as soon as it has been painted, in one go, so
    // the loop handles no input before every window exists and the user does not wait
    // for every window of the program to be built before seeing anything. The login
    // window uses neither scripts nor reports, so their engines start with the others.
    createFrom(std::begin(kStartWindows), std::begin(kStartWindows) + 1);
    platform::ui::Form* login = platform::ui::Form::mainForm();
    new FirstPaint(login, [loginShown = std::move(loginShown), ready = std::move(ready)] {
        if (loginShown) loginShown();
        // Scripts reach the host's classes through these modules, the report engine's own
        // between the class library and the dialog and file classes.
        fsRegisterHostBridges();
        frxInitializeReportEngine();
        fsRegisterFileBridges();
        frxInitializeReportUserInterface();
        installDocumentWindows();
        installReportLayouts();
        createFrom(std::begin(kStartWindows) + 1, std::end(kStartWindows));
        if (ready) ready();
    });
    login->show();
    const int rc = platform::ui::Application::exec();
    destroyStartWindows();
    return rc;
}

} // namespace orv::shell
