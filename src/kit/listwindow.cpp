#include "kit/listwindow.h"

#include "kit/reports.h"
#include "archive/command.h"
#include "platform/core/formats.h"
#include "platform/core/services.h"
#include "platform/core/text.h"
#include "platform/ui/input.h"
#include "platform/ui/services.h"

#include <algorithm>
#include <QListView>

namespace orv::kit {
using namespace orv::archive;
using namespace orv::platform;
} // namespace orv::kit

namespace orv::kit {

using namespace orv::platform::ui;

// ---------------------------------------------------------------- lines

void ListBoxLines::clear()
{
    pending_.clear();
    box_.clear();
}

void ListBoxLines::add(const QString& line, qint64 record) { pending_.append(line, record); }

void ListBoxLines::flush()
{
    if (pending_.isEmpty()) return;
    QListView* w = box_.listWidget();
    const bool updates = w->updatesEnabled();
    w->setUpdatesEnabled(false);
    box_.addLines(std::move(pending_));
    pending_ = PackedLines();
    // Every line is one line of the same font, 1600 wide: the list need not measure each.
    box_.setLineSize(QSize());
    box_.setLineSize(QSize(kItemWidth, w->sizeHintForRow(0)));
    w->setUpdatesEnabled(updates);
}

archive::ResultLine lineAt(const ListBox& box, int index)
{
    if (index < 0 || index >= box.count()) return {};
    return {box.item(index), box.tag(index)};
}

// ---------------------------------------------------------------- results panel

ListWindow::ListWindow(QWidget* owner, const FormSpec& spec, const Layout& layout, ListSpec list)
    : Form(owner, spec, layout), list_(std::move(list))
{
    lstRecords.withWidget([](QWidget* w) {
        auto* l = static_cast<QListView*>(w);
        l->setUniformItemSizes(true);
        // Long lines scroll sideways.
        l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        l->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    });
    chainEnter({&txtTrova, &btnTrova}, false);
    btnTrova.onClick = [this] { btnTrovaClick(); };
    btnStampa.onClick = [this] { btnStampaClick(); };
    btnChiudi.onClick = [this] { btnChiudiClick(); };
    lstRecords.onDblClick = [this] { lstRecordsDblClick(); };
}

void ListWindow::FormCreate() { applyProgramFormats(); }

QString ListWindow::archivePath() const
{
    return list_.archivePath ? list_.archivePath() : programFile(list_.archiveFile);
}

void ListWindow::btnTrovaClick()
{
    try {
        const auto found = TrovaInLista(lstRecords.count(), [this](qsizetype i) { return lstRecords.item(int(i)); },
                                        lstRecords.itemIndex(), txtTrova.text(), UltimaRicerca);
        if (!found) {
            showMessage(archive::kEmptyListMessage);
            return;
        }
        lstRecords.setItemIndex(int(*found));
    } catch (const std::exception&) {
        // Find-in-list drops its failures.
    }
}

void ListWindow::btnStampaClick() { printList(this, list_.printTitle, lstRecords.itemsText()); }

void ListWindow::lstRecordsDblClick()
{
    // Whatever happens, the window closes; a failure says nothing.
    const int selected = lstRecords.itemIndex();
    if (selected >= 0) {
        const archive::ResultLine chosen = lineAt(lstRecords, selected);
        std::optional<archive::FoundRecord> found;
        archive::runArchiveCommandSilently(archivePath(), list_.recordSize, [&](ArchiveFile& file) {
            found = CercaPerRiga(file, list_.line, chosen);
        });
        if (found) {
            try {
                load(*found);
            } catch (const std::exception&) {
            }
        }
    }
    close();
}

void ListWindow::btnChiudiClick() { close(); }

// ---------------------------------------------------------------- finder

FinderWindow::FinderWindow(QWidget* owner, const FormSpec& spec, const Layout& layout, ListSpec list,
                           const archive::RecordLayout& record, QList<FinderCriterion> criteria)
    : ListWindow(owner, spec, layout, std::move(list)), record_(record), criteriaSpec_(std::move(criteria))
{
    for (const FinderCriterion& c : criteriaSpec_) criteria_.append(&control<Edit>(c.control));
    for (qsizetype i = 0; i < criteria_.size(); ++i)
        chainEnter({criteria_[i], criteria_[(i + 1) % criteria_.size()]}, false);
    onCreate = [this] { FormCreate(); };
    onShow = [this] { FormShow(); };
    onClose = [this](CloseAction& a) { FormClose(a); };
    btnCerca.onMouseDown = [this](MouseButton, ShiftState, double, double) { btnCercaMouseDown(); };
    btnCerca.onClick = [this] { btnCercaClick(); };
    btnAnnulla.onClick = [this] { btnAnnullaClick(); };
    lblTrovate.setText(countText(0));
}

QString FinderWindow::countText(qsizetype lines) const
{
    return listSpec().countText ? listSpec().countText(lines) : archive::countText(lines);
}

QString FinderWindow::callerTag() const { return trimmed(lblMemory.text()); }

void FinderWindow::FormShow()
{
    UltimaRicerca.clear();
    lstRecords.setItemIndex(0);
    txtTrova.setText(QString());
    if (!criteria_.isEmpty()) criteria_.front()->setFocus();
}

void FinderWindow::FormClose(CloseAction&)
{
    lstRecords.clear();
    lblAttendere.hide();
}

void FinderWindow::btnCercaMouseDown()
{
    lblAttendere.show();
    lblAttendere.widget()->repaint(); // the search that follows holds the event loop
}

void FinderWindow::btnCercaClick()
{
    QStringList typed;
    QList<int> fields;
    for (qsizetype i = 0; i < criteria_.size(); ++i) {
        typed.append(criteria_[i]->text());
        fields.append(criteriaSpec_[i].field);
    }
    lblConta.setText(QString::number(archive::criteriaInUse(typed)));

    std::optional<QString> failure;
    {
        ListBoxLines lines(lstRecords);
        failure = archive::runArchiveCommandTold(archivePath(), listSpec().recordSize, [&](ArchiveFile& file) {
            if (listSpec().storedLine)
                archive::search(file, record_, typed, fields, lines, listSpec().storedLine);
            else
                archive::search(file, record_, typed, fields, lines, listSpec().line);
        });
    } // the lines read so far reach the box, also after a failure
    if (failure) {
        showMessage(*failure);
        return;
    }
    lblTrovate.setText(countText(lstRecords.count()));
    panContainer.show();
    panAvvio.hide();
    txtTrova.setText(QString());
    txtTrova.setFocus();
}

void FinderWindow::btnAnnullaClick() { close(); }

// ---------------------------------------------------------------- status list

StatusListWindow::StatusListWindow(QWidget* owner, const FormSpec& spec, const Layout& layout, ListSpec list,
                                   Fill fill)
    : ListWindow(owner, spec, layout, std::move(list)), fill_(std::move(fill))
{
    onCreate = [this] { FormCreate(); };
    onShow = [this] { FormShow(); };
    onClose = [this](CloseAction& a) { FormClose(a); };
}

void StatusListWindow::FormShow()
{
    UltimaRicerca.clear();
    lstRecords.setItemIndex(0);
    txtTrova.setText(QString());
    {
        ListBoxLines lines(lstRecords);
        archive::runArchiveCommandSilently(archivePath(), listSpec().recordSize,
                                           [&](ArchiveFile& file) { fill_(file, lines); });
    }
    txtTrova.setFocus();
}

void StatusListWindow::FormClose(CloseAction&) { lstRecords.clear(); }

// ---------------------------------------------------------------- layouts

namespace {

const QColor kDarkCyan(0x00, 0x8B, 0x8B);
const QColor kCrimson(0xDC, 0x14, 0x3C);
const QColor kDarkBlue(0x1F, 0x3F, 0x6E);
const FontSpec kText{u"Verdana"_qs, 12, false, false, false, kDarkBlue};
const FontSpec kCount{u"Verdana"_qs, 13, true, false, false, kDarkCyan};
const FontSpec kField{u"Verdana"_qs, 12, true, false, false, QColor()};
const FontSpec kCaption{u"Verdana"_qs, 11, true, false, false, kDarkBlue};

constexpr int kPanelX = 10, kPanelY = 94, kPanelW = kListWidth - 2 * kPanelX, kInnerW = kPanelW - 20;

// The results panel inside `panel`; the count text only in finders.
void addResults(Layout& l, bool countText, bool sorted)
{
    const QString in = u"panContainer"_qs;
    Item box = list(u"lstRecords"_qs, 10, 10, kInnerW, 290).in(in);
    box.isSorted = sorted;
    l.push_back(box);
    int y = 306;
    if (countText) {
        l.push_back(label(u"lblTrovate"_qs, 10, y, kInnerW, 24, u"Il presente riepilogo contiene 0 schede."_qs)
                        .in(in).font(kCount));
        y += 28;
    }
    l.push_back(label(u"lblRigo01"_qs, 10, y, kInnerW, 20,
                      u"Immettere una o più parole consecutive presenti nella scheda in elenco da cercare e "
                      u"premere il pulsante Trova."_qs).in(in).font(kText).wrap());
    l.push_back(label(u"lblRigo02"_qs, 10, y + 20, kInnerW, 20,
                      u"Per spostarsi sulla voce successiva contenente la stessa chiave di ricerca, fare di "
                      u"nuovo clic su Trova."_qs).in(in).font(kText).wrap());
    l.push_back(label(u"lblRigo03"_qs, 10, y + 40, kInnerW, 20,
                      u"Per richiamare i dati di una scheda, selezionarla con un doppio clic."_qs)
                    .in(in).font({u"Verdana"_qs, 12, true, false, false, kCrimson}));
    y += 72;
    l.push_back(edit(u"txtTrova"_qs, 10, y + 3, 360).in(in).font(kField).highlighted());
    l.push_back(button(u"btnTrova"_qs, 384, y, 120, 30, u"Trova"_qs).in(in));
    // Chiudi before Stampa, the print command last on the right.
    const int commandW = (10 + kInnerW - 514 - 10) / 2;
    l.push_back(button(u"btnChiudi"_qs, 514, y, commandW, 30, u"Chiudi"_qs).in(in));
    l.push_back(button(u"btnStampa"_qs, 10 + kInnerW - commandW, y, commandW, 30, u"Stampa"_qs).in(in));
}

Item headingPicture(const ListLook& look)
{
    return picture(u"imgLogo"_qs, 0, 0, kListWidth, 84, art::heading(look.heading, look.subheading, look.icon));
}

Item whitePanel(const QString& name, int h)
{
    return panel(name, kPanelX, kPanelY, kPanelW, h).fill(Qt::white).stroke(QColor(0xC0, 0xC8, 0xD0)).radius(6);
}

} // namespace

Layout finderLayout(const ListLook& look, const QList<FinderCriterion>& criteria, const QList<CriterionPlace>& places)
{
    const int panelH = kFinderHeight - kPanelY - 10;
    Layout l{headingPicture(look), whitePanel(u"panAvvio"_qs, panelH)};
    const QString in = u"panAvvio"_qs;
    const bool placed = !places.isEmpty();
    Q_ASSERT(!placed || places.size() == criteria.size());
    // Placed criteria: two columns of 320 with rows across both, 664; a row more than the
    // two-column halves, so the rows lie closer.
    constexpr int kColumnW = 320, kFullW = 664, kLeftX = 20, kRightX = kLeftX + kFullW - kColumnW;
    const qsizetype halves = (criteria.size() + 1) / 2;
    int rows = placed ? 0 : int(halves);
    for (const CriterionPlace& p : places) rows = std::max(rows, p.row + 1);
    const int pitch = placed ? 48 : 54;
    for (qsizetype i = 0; i < criteria.size(); ++i) {
        int x = i < halves ? 20 : 410, y = 16 + int(i % halves) * pitch, w = 370;
        if (placed) {
            const CriterionPlace& p = places[i];
            x = p.column == CriterionPlace::Right ? kRightX : kLeftX;
            y = 16 + p.row * pitch;
            w = p.column == CriterionPlace::Full ? kFullW : kColumnW;
        }
        const FinderCriterion& c = criteria[i];
        l.push_back(label(u"lbl"_qs + c.control.mid(3), x, y, w, 18, c.caption).in(in).font(kCaption));
        l.push_back(edit(c.control, x, y + 20, w).in(in).font(kField).highlighted());
    }
    int y = 16 + rows * pitch + 8;
    l.push_back(label(u"lblRigo04"_qs, 20, y, kInnerW - 20, 36,
                      u"Immettere nei campi prescelti una o più parole consecutive presenti nelle schede da "
                      u"trovare e premere il pulsante Cerca."_qs).in(in).font(kText).wrap());
    l.push_back(label(u"lblRigo05"_qs, 20, y + 38, kInnerW - 20, 20, u"Lasciare in bianco tutti gli altri campi."_qs)
                    .in(in).font(kText));
    l.push_back(label(u"lblRigo06"_qs, 20, y + 58, kInnerW - 20, 20,
                      u"Per ogni ricerca è possibile utilizzare uno o più campi contemporaneamente."_qs)
                    .in(in).font(kText));
    y += 92;
    l.push_back(button(u"btnCerca"_qs, 20, y, 150, 34, u"Cerca"_qs).in(in));
    l.push_back(button(u"btnAnnulla"_qs, 180, y, 150, 34, u"Chiudi"_qs).in(in));
    // Below the commands, or beside them where the rows leave no room below.
    if (!placed || y + 34 + 8 + 24 <= panelH)
        l.push_back(label(u"lblAttendere"_qs, 20, panelH - 40, kInnerW - 20, 24,
                          u"Ricerca schede in corso. Attendere..."_qs).in(in).font(kCount).hidden());
    else
        l.push_back(label(u"lblAttendere"_qs, 350, y + 5, kInnerW - 350, 24, u"Ricerca schede in corso. Attendere..."_qs)
                        .in(in).font(kCount).hidden());
    l.push_back(label(u"lblConta"_qs, 0, 0, 10, 10, u"0"_qs).in(in).hidden());
    l.push_back(label(u"lblMemory"_qs, 0, 0, 10, 10, u"lblMemory"_qs).in(in).hidden());
    l.push_back(whitePanel(u"panContainer"_qs, panelH).hidden());
    addResults(l, true, look.sorted);
    return l;
}

FormSpec listFormSpec(const QString& name, const QString& caption, int height)
{
    return {name, caption, kListWidth, height, Border::Single, Placement::ScreenCenter, QColor(0xE8, 0xEE, 0xF4), QColor()};
}

Layout statusListLayout(const ListLook& look)
{
    Layout l{headingPicture(look), whitePanel(u"panContainer"_qs, kStatusListHeight - kPanelY - 10)};
    addResults(l, false, look.sorted);
    return l;
}

} // namespace orv::kit
