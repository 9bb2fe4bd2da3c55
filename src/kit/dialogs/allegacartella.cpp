#include "kit/dialogs/allegacartella.h"

#include "kit/dialogs/attachments.h"
#include "platform/ui/openurl.h"
#include "kit/dialogs/pictures.h"
#include "kit/windowtable.h"
#include "platform/core/text.h"

namespace orv::kit {
using namespace orv::platform;
using namespace orv::platform::ui;
} // namespace orv::kit

namespace orv::kit {

using namespace orv::platform::ui;
using orv::kit::AttachmentRow;

TfrmAllegaCartella* frmAllegaCartella = nullptr;

namespace {

constexpr int kRowTop = 124, kRowStep = 122;

const FontSpec kName{.family = QStringLiteral("Verdana"), .size = 12, .bold = true, .color = QColor(0x80, 0x80, 0x80)};
const FontSpec kDescription{.family = QStringLiteral("Verdana"), .size = 12, .bold = true, .color = QColor()};

const Layout& windowLayout()
{
    static const Layout l = [] {
        Layout items = {
            picture("imgLogo", 0, 0, 634, 116,
                    orv::kit::instructions(QStringLiteral("Allega file"),
                                           QStringLiteral("Scegliere con Sfoglia... ciascun file da allegare alla scheda "
                                                          "corrente, quindi premere Applica e chiudi e poi Salva nella "
                                                          "finestra di archivio per salvare le modifiche. Premere Apri "
                                                          "per aprire un file."))),
        };
        for (int r = 1; r <= TfrmAllegaCartella::kRows; ++r) {
            const QString frame = numbered(QStringLiteral("grpFile"), r);
            const QString ordinal = QString::number(r) + QStringLiteral("\u00b0");
            items.push_back(group(frame, 12, kRowTop + (r - 1) * kRowStep, 610, 114));
            items.push_back(label(numbered(QStringLiteral("lblNome"), r), 14, 8, 320, 18,
                                  QStringLiteral("Nome ") + ordinal + QStringLiteral(" file allegato:")).in(frame));
            items.push_back(edit(numbered(QStringLiteral("txtFile"), r), 14, 28, 396, 30).in(frame).readOnly().font(kName));
            items.push_back(command(numbered(QStringLiteral("imgCancella"), r), 416, 31, 24, 24, orv::kit::eraser()).in(frame));
            items.push_back(button(numbered(QStringLiteral("btnSfoglia"), r), 448, 28, 78, 30, QStringLiteral("Sfoglia...")).in(frame));
            items.push_back(button(numbered(QStringLiteral("btnApri"), r), 532, 28, 64, 30, QStringLiteral("Apri")).in(frame).disabled());
            items.push_back(label(numbered(QStringLiteral("lblDescrizione"), r), 14, 62, 320, 18,
                                  QStringLiteral("Descrizione ") + ordinal + QStringLiteral(" file allegato:")).in(frame));
            items.push_back(edit(numbered(QStringLiteral("txtDesc"), r), 14, 80, 582, 28).in(frame).font(kDescription));
        }
        items.push_back(button("btnAnnulla", 150, 490, 160, 34, QStringLiteral("Annulla")));
        items.push_back(button("btnApplica", 324, 490, 160, 34, QStringLiteral("Applica e chiudi")));
        items.push_back(label("lblMemory", 0, 0, 10, 10, QString()).hidden());
        return items;
    }();
    return l;
}

// The editors the window writes back into, by caller tag: the window's global instance
// and its hidden labels are found by name, so a caller needs nothing but its entry here.
struct Caller {
    const char16_t* tag;
    const char16_t* window;
};
constexpr Caller kCallers[] = {
    {u"clienti", u"frmClienti"},
    {u"contratti", u"frmContratto"},
    {u"lavoro", u"frmLavoro"},
    {u"magazzino", u"frmMagazzino"},
};

const Caller* callerOf(const QString& tag)
{
    const QString t = orv::platform::trimmed(tag);
    for (const Caller& c : kCallers) {
        if (t == QStringView(c.tag)) return &c;
    }
    return nullptr;
}

QString fileLabel(int row) { return numbered(QStringLiteral("lblFile"), row + 1); }
QString descriptionLabel(int row) { return numbered(QStringLiteral("lblDesc"), row + 1); }

template <class T>
T& rowControl(Form& f, const char* prefix, int r)
{
    return f.control<T>(numbered(QString::fromLatin1(prefix), r));
}

std::array<AttachmentRow, TfrmAllegaCartella::kRows> makeRows(Form& f)
{
    auto row = [&f](int r) {
        return AttachmentRow{rowControl<Edit>(f, "txtFile", r), rowControl<Image>(f, "imgCancella", r),
                             rowControl<Button>(f, "btnSfoglia", r), rowControl<Button>(f, "btnApri", r),
                             rowControl<Edit>(f, "txtDesc", r)};
    };
    return {row(1), row(2), row(3)};
}

} // namespace

TfrmAllegaCartella::TfrmAllegaCartella(QWidget* owner)
    : Form(owner, {.name = QStringLiteral("frmAllegaCartella"), .caption = QStringLiteral(" Allega file"), .clientWidth = 634,
                   .clientHeight = 534, .background = Qt::white, .gradientTo = QColor()},
           windowLayout()),
      rows(makeRows(*this))
{
    dlgFile.title = QStringLiteral("Selezionare il file da allegare:");
    dlgFile.filter = QStringLiteral("Tutti i file (*.*)|*.*");
    for (int r = 0; r < kRows; ++r) {
        rows[r].btnSfoglia.onClick = [this, r] { btnSfogliaClick(r); };
        rows[r].btnApri.onClick = [this, r] { btnApriClick(r); };
        rows[r].imgCancella.onClick = [this, r] { imgCancellaClick(r); };
        rows[r].txtFile.onChange = [this, r] { txtFileChange(r); };
    }
    btnApplica.onClick = [this] { btnApplicaClick(); };
    btnAnnulla.onClick = [this] { btnAnnullaClick(); };
    created();
}

// The row shows a new name only once its copy is in the folder, so the record never
// refers to a file that is not there.
void TfrmAllegaCartella::btnSfogliaClick(int row)
{
    using namespace orv::kit;
    if (!dlgFile.execute()) return;
    const QString chosen = dlgFile.fileName;
    const QString name = attachmentName(chosen);
    if (!storableAttachmentName(name)) {
        warningBox(QStringLiteral("Attenzione: il nome del file \"") + name +
                   QStringLiteral("\" non pu\u00f2 essere memorizzato nell'archivio: contiene caratteri non ammessi, "
                                  "spazi iniziali o finali, oppure supera i 250 caratteri.\r\n\r\n"
                                  "Rinominare il file e ripetere l'operazione."));
        return;
    }
    if (!isStoredCopy(chosen, name) && attachmentExists(name) &&
        !confirmBox(QStringLiteral("Attenzione: nella cartella dei documenti allegati \u00e8 presente un file con lo "
                                   "stesso nome.\r\n\r\nSi vuole sovrascrivere il file esistente?"))) {
        rows[row].txtFile.setText(name);
        return;
    }
    if (copyAttachment(chosen, name) == CopyResult::Failed) {
        errorBox(QStringLiteral("Attenzione: non \u00e8 stato possibile copiare il file nella cartella dei documenti "
                                "allegati.\r\n\r\nAccertarsi che il file sia leggibile e di possedere i privilegi di "
                                "scrittura nella cartella di installazione del programma."));
        return;
    }
    rows[row].txtFile.setText(name);
}

void TfrmAllegaCartella::btnApriClick(int row)
{
    const QString command = orv::kit::attachmentOpenCommand(rows[row].txtFile.text());
    if (!command.isEmpty()) TMisc::Open(command);
}

// Only the name is forgotten: the copy stays, other records may use it.
void TfrmAllegaCartella::imgCancellaClick(int row) { rows[row].txtFile.setText(QString()); }

void TfrmAllegaCartella::txtFileChange(int row)
{
    rows[row].btnApri.setEnabled(!orv::platform::trimmed(rows[row].txtFile.text()).isEmpty());
}

void TfrmAllegaCartella::btnApplicaClick()
{
    const Caller* caller = callerOf(lblMemory.text());
    if (!caller) return;
    if (Form* editor = orv::kit::startWindow(QString::fromUtf16(caller->window))) {
        for (int r = 0; r < kRows; ++r) {
            editor->control<Label>(fileLabel(r)).setText(orv::platform::trimmed(rows[r].txtFile.text()));
            editor->control<Label>(descriptionLabel(r)).setText(orv::platform::trimmed(rows[r].txtDesc.text()));
        }
    }
    close();
}

void TfrmAllegaCartella::btnAnnullaClick() { close(); }

} // namespace orv::kit

namespace orv::kit {

void showAttachmentWindow(platform::ui::Form& editor, const QString& tag)
{
    runDialog<TfrmAllegaCartella>(&editor, [&](TfrmAllegaCartella& f) {
        f.lblMemory.setText(tag);
        for (int r = 0; r < TfrmAllegaCartella::kRows; ++r) {
            f.rows[r].txtFile.setText(trimmed(editor.control<Label>(fileLabel(r)).text()));
            f.rows[r].txtDesc.setText(trimmed(editor.control<Label>(descriptionLabel(r)).text()));
        }
    });
}

} // namespace orv::kit
