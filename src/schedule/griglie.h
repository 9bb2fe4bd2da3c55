#pragma once
// The grids of the schedule's start panel: the imminent entries of the current year, and
// the entries of the day and of the month chosen on the calendar. Each lists its entries
// sorted by date and time and exports the grid as a spreadsheet file of its own.
#include "kit/exportwindow.h"

#include <functional>

namespace orv::schedule {

struct TScadenza;

} // namespace orv::schedule

namespace orv::schedule {

// Reorders every row of the grid by the text of the key column (A-Z folded, then by
// character code, which for the digit keys is their order); whole rows move, equal
// keys keep their order.
void OrdinaGriglia(orv::platform::ui::StringGrid& grid, int keyColumn);

// The window all three are: what it reads, which entries it lists, and its sheet.
struct EntryGrid {
    QString name;
    QString caption;
    QString paymentColumn; // the name of the grid's column 14
    const orv::archive::ExportSheet& sheet;
};

class EntryGridWindow : public orv::kit::ExportWindow {
public:
    // The column of the sort key "Codice univoco".
    static constexpr int kKeyColumn = 20;

    void FormShow();

protected:
    EntryGridWindow(QWidget* owner, const EntryGrid& grid);
    // The archive the grid reads and whether an entry is listed, as the window is shown.
    virtual QString archivePath() const = 0;
    virtual std::function<bool(const TScadenza&)> selection() const = 0;
    // A further archive whose listed entries follow, when it exists; none by default.
    virtual QString laterArchivePath() const { return QString(); }
};

} // namespace orv::schedule

namespace orv::schedule {

class TfrmExpImminenti : public orv::schedule::EntryGridWindow {
public:
    explicit TfrmExpImminenti(QWidget* owner = nullptr);

protected:
    QString archivePath() const override;
    QString laterArchivePath() const override;
    std::function<bool(const TScadenza&)> selection() const override;
};

// The daily and monthly grids read the date chosen on the schedule window's calendar.
class TfrmExpGiornaliere : public orv::schedule::EntryGridWindow {
public:
    explicit TfrmExpGiornaliere(QWidget* owner = nullptr);
    void FormCreate();

protected:
    QString archivePath() const override;
    std::function<bool(const TScadenza&)> selection() const override;
};

class TfrmExpMensili : public orv::schedule::EntryGridWindow {
public:
    explicit TfrmExpMensili(QWidget* owner = nullptr);
    void FormCreate();

protected:
    QString archivePath() const override;
    std::function<bool(const TScadenza&)> selection() const override;
};

extern TfrmExpImminenti* frmExpImminenti;
extern TfrmExpGiornaliere* frmExpGiornaliere;
extern TfrmExpMensili* frmExpMensili;

} // namespace orv::schedule
