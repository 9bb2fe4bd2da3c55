#pragma once
// The warehouse windows under test: the program's windows created as at start, the
// article editor shown as the main menu shows it, the services replaced by recording
// doubles, the program folder a fresh temporary folder, and recording report layouts in
// place of the report engine's.
#include "gui/doubles.h"

#include "fixtures.h"
#include "kit/reports.h"
#include "warehouse/articolo.h"
#include "warehouse/magazzino.h"

#include <QListView>

#include <ostream>

#include "qstring_printer.h"

namespace orv::test {

struct RecordedPrints {
    QString title;
    QStringList lines;
    QMap<QString, double> heights;
    int listPrints = 0;
    QMap<QString, QString> card; // memo name -> text
    QStringList cardCalls;       // "print", "preview", "pdf <path>"
    bool pdfSucceeds = true;
};

class WarehouseWindowTest : public GuiTest {
protected:
    RecordedPrints prints;

    void SetUp() override;
    void TearDown() override;

    void writeArchive(const QList<warehouse::TArticolo>& articles) const { writeFile(warehouse::TArticolo::kFileName, archiveOf(articles)); }
    QByteArray archiveBytes() const { return readFile(warehouse::TArticolo::kFileName); }
    // The articles stored now.
    QList<warehouse::TArticolo> stored() const;
    // The box texts shown so far, and forgets them.
    QStringList takeTexts();
    // The article editor as the main menu shows it.
    warehouse::TfrmMagazzino& editor() const { return *warehouse::frmMagazzino; }
    // A folder in place of the archive: every command that opens it fails.
    void blockArchive() const;
};

// Selects the line with a click (and double-clicks it when asked), as a user does.
void clickLine(platform::ui::ListBox& box, int row, bool twice = false);

} // namespace orv::test
