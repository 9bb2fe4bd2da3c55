#include "kit/exportwindow.h"

#include "kit/bridge.h"
#include "kit/dialogs/guida.h"
#include "platform/ui/openurl.h"
#include "platform/core/services.h"
#include "platform/ui/art.h"
#include "platform/ui/input.h"

#include <QPainter>

namespace orv::kit {
using namespace orv::platform;
using namespace orv::platform::ui;
} // namespace orv::kit

namespace orv::kit {

using namespace orv::platform::ui;

namespace {

const QColor kGreen(0x1E, 0x7B, 0x45);

Artwork spreadsheetIcon()
{
    return [](QPainter& p, const QRectF& r) {
        const double s = std::min(r.width(), r.height());
        const QRectF box(r.center().x() - s / 2 + 2, r.center().y() - s / 2 + 2, s - 4, s - 4);
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawRoundedRect(box, 5, 5);
        p.setPen(QPen(Qt::white, 1.5));
        for (int i = 1; i < 4; ++i) {
            p.drawLine(QPointF(box.left() + 4, box.top() + box.height() * i / 4),
                       QPointF(box.right() - 4, box.top() + box.height() * i / 4));
        }
        QFont f(u"DejaVu Sans"_qs);
        f.setBold(true);
        f.setPixelSize(int(s * 0.42));
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(box, Qt::AlignCenter, u"X"_qs);
    };
}

const Layout& windowLayout()
{
    static const Layout l = [] {
        const QString in = u"panContainer"_qs;
        return Layout{
            panel(in, 0, 0, 837, 533).centred().fill(Qt::white).stroke(QColor(0xB8, 0xC2, 0xCE)).radius(6),
            rect(u"bkgLogo"_qs, 8, 8, 821, 66, QColor(0xEE, 0xF3, 0xEE)).radius(4).in(in),
            picture(u"imgLogo"_qs, 13, 13, 505, 55,
                    art::captionBand(u"ESPORTAZIONE IN EXCEL"_qs, kGreen, QColor(0x4C, 0xAF, 0x50))).in(in),
            picture(u"icoHand"_qs, 528, 32, 31, 25, art::icon(art::Icon::ArrowNext, kGreen)).in(in),
            command(u"cmdEsporta"_qs, 566, 15, 49, 50, spreadsheetIcon()).in(in),
            command(u"cmdGuida"_qs, 670, 13, 50, 55, art::icon(art::Icon::Help)).in(in),
            command(u"cmdEsci"_qs, 766, 15, 40, 50, art::icon(art::Icon::Exit, QColor(0xC6, 0x28, 0x28))).in(in),
            grid(u"grdRecords"_qs, 8, 80, 821, 409).in(in),
            rect(u"bkgInfo"_qs, 8, 493, 821, 32, QColor(0x6A, 0x5A, 0xCD)).radius(4).in(in),
            label(u"panInfo"_qs, 14, 499, 805, 20, u"Esportazione archivio in Microsoft Excel."_qs)
                .font({u"Tahoma"_qs, 12, false, false, false, Qt::white}).in(in),
        };
    }();
    return l;
}

} // namespace

ExportWindow::ExportWindow(QWidget* owner, const QString& name, const QString& caption, ExportSpec spec)
    : Form(owner, {name, caption, 862, 560, Border::Single, Placement::ScreenCenter, QColor(0xF0, 0xF0, 0xF0), QColor()}, windowLayout()), spec_(std::move(spec))
{
    std::vector<StringGrid::Column> cols;
    for (const GridColumn& c : spec_.columns) cols.push_back({c.heading, c.width, c.readOnly});
    grdRecords.setColumns(cols);
    grdRecords.setRowHeight(21);
    grdRecords.setRowCount(archive::kEmptyGridRows);

    onShow = [this] { FormShow(); };
    cmdEsporta.onClick = [this] { cmdEsportaClick(); };
    cmdGuida.onClick = [this] { cmdGuidaClick(); };
    cmdEsci.onClick = [this] { cmdEsciClick(); };
    bindHints(panInfo, {
                           {&cmdEsporta, u"Esporta l'archivio in formato Microsoft Excel."_qs},
                           {&cmdGuida, u"Visualizza la pagina della guida sensibile al contesto."_qs},
                           {&cmdEsci, u"Esci da questo ambiente di lavoro."_qs},
                       });
    bindHintClear(panInfo, *this, {&panContainer, &grdRecords, findControl(u"bkgLogo"_qs), findControl(u"bkgInfo"_qs)});
}

void ExportWindow::FormShow()
{
    const QString path = spec_.archivePath ? spec_.archivePath() : programFile(spec_.archiveFile);
    const QList<QStringList> rows = archive::gridRows(path, spec_.recordSize, spec_.cells);
    grdRecords.setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        if (rows[r].isEmpty()) continue; // a designed empty row, or one the failed reading never reached
        grdRecords.setCell(0, r, QString::number(r + 1));
        for (int c = 0; c < rows[r].size(); ++c) grdRecords.setCell(c + 1, r, rows[r][c]);
    }
}

QList<QStringList> ExportWindow::gridRows() const
{
    QList<QStringList> rows;
    for (int r = 0; r < grdRecords.rowCount(); ++r) {
        QStringList cells;
        for (int c = 1; c < grdRecords.columnCount(); ++c) cells.append(grdRecords.cell(c, r));
        rows.append(cells);
    }
    return rows;
}

void ExportWindow::cmdEsportaClick()
{
    archive::exportRows(spec_.sheet, gridRows(), boxMessages(), [](const QString& quoted) { TMisc::Open(quoted); });
}

QStringList ExportWindow::helpParagraphs() const
{
    if (!spec_.helpText.isEmpty()) return spec_.helpText;
    return {
        u"Il pulsante Esporta archivio consente di esportare "_qs + spec_.helpWhat
            + u" in un foglio di lavoro di Microsoft Excel. Tutte le schede dell'archivio vengono riportate in "
              u"un unico foglio di lavoro, che può essere aperto da qualsiasi programma in grado di leggere il "
              u"formato XLS, come Open Office, Libre Office o Microsoft Office."_qs,
        u"Dopo aver aperto la finestra contenente la griglia dei dati, bisogna fare clic sull'icona di Excel. Il "
        u"file viene creato immediatamente e, rispondendo affermativamente alla domanda che segue, viene aperto "
        u"con il programma associato."_qs,
        u"A questo punto è sufficiente salvare il file sul proprio disco fisso assegnandogli un nome qualsiasi."_qs,
    };
}

void ExportWindow::cmdGuidaClick() { kit::showHelp(this, spec_.helpTitle, kit::helpText(helpParagraphs())); }

void ExportWindow::cmdEsciClick() { close(); }

} // namespace orv::kit
