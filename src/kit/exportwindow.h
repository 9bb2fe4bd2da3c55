#pragma once
// The export window of every archive: the archive in a grid, and on request the grid
// written as the spreadsheet file of the program folder, then offered for opening.
// A window class derives from ExportWindow and gives its archive, grid columns, cells,
// sheet and help wording through ExportSpec.
#include "archive/spreadsheet.h"
#include "platform/ui/form.h"

#include <QList>
#include <QString>

#include <functional>

namespace orv::kit {

struct GridColumn {
    QString name; // `col` name, e.g. "colCliente"
    QString heading;
    int width = 64;
    bool readOnly = true;
};

struct ExportSpec {
    QString archiveFile;
    qint64 recordSize = 0;
    // The full path of the archive at the moment of use (per-year archives); when set it
    // is used in place of archiveFile.
    std::function<QString()> archivePath = {};
    // Column 0 is the row number "N."; the others are exported.
    QList<GridColumn> columns;
    // The cells of one record for columns 1 onwards.
    std::function<QStringList(const QByteArray&)> cells;
    archive::ExportSheet sheet;
    // The help window's title, and what the first sentence of its text says is exported
    // ("i dati anagrafici di tutti i Clienti e dei loro impianti").
    QString helpTitle;
    QString helpWhat;
    // A window with a help text of its own gives its paragraphs here; helpWhat is unused.
    QStringList helpText = {};
};

class ExportWindow : public platform::ui::Form {
public:
    ORV_CONTROL(Panel, panContainer);
    ORV_CONTROL(Image, imgLogo);
    ORV_CONTROL(Image, icoHand);
    ORV_CONTROL(Image, cmdEsporta);
    ORV_CONTROL(Image, cmdGuida);
    ORV_CONTROL(Image, cmdEsci);
    ORV_CONTROL(StringGrid, grdRecords);
    ORV_CONTROL(Label, panInfo);

    void FormShow();
    void cmdEsportaClick();
    void cmdGuidaClick();
    void cmdEsciClick();

    // The grid rows as the file takes them: every row, columns 1 onwards.
    QList<QStringList> gridRows() const;
    // The three paragraphs of the help text.
    QStringList helpParagraphs() const;

protected:
    ExportWindow(QWidget* owner, const QString& name, const QString& caption, ExportSpec spec);

private:
    ExportSpec spec_;
};

} // namespace orv::kit
