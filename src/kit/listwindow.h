#pragma once
// The list windows of every archive: the finders (a criteria panel, then the results)
// and the status lists (the results of a fixed selection, filled when shown). The
// results panel is the same everywhere: the sorted list of fixed-width lines, each
// remembering the record it was built from, find-in-list, the list print and the double
// click that writes the chosen record into its editor and closes the window.
//
// A window class derives from FinderWindow or StatusListWindow, lays out its controls
// with finderLayout() or statusListLayout() and says what is its own through ListSpec.
#include "archive/lists.h"
#include "archive/record.h"
#include "platform/ui/art.h"
#include "platform/ui/form.h"

#include <QList>
#include <QString>

#include <functional>

namespace orv::kit {

// A list box as the target of a search or a status list. Lines are gathered, packed, and
// put into the box, in list order, when flushed (also when the filling failed halfway,
// so the lines read before the failure stay); each line keeps the record it was built
// from.
class ListBoxLines : public archive::ResultSink {
public:
    explicit ListBoxLines(platform::ui::ListBox& box) : box_(box) {}
    ~ListBoxLines() override { flush(); }
    void clear() override;
    void add(const QString& line, qint64 record) override;
    void add(QLatin1StringView line, qint64 record) override { pending_.append(line, record); }
    // The lines not yet flushed.
    qsizetype size() const override { return pending_.size(); }
    void truncate(qsizetype lines) override { pending_.truncate(lines); }
    void flush();

    // The width of every line of a result list.
    static constexpr int kItemWidth = 1600;

private:
    platform::ui::ListBox& box_;
    platform::PackedLines pending_;
};

// The line at `index` of the box with the record it was built from (-1 when unknown).
archive::ResultLine lineAt(const platform::ui::ListBox& box, int index);

struct ListSpec {
    // The archive of the program folder and its record size.
    QString archiveFile;
    qint64 recordSize = 0;
    // The window's line builder, also used to find the chosen line's record again.
    std::function<QString(const QByteArray&)> line;
    // The title of the list print.
    QString printTitle;
    // The full path of the archive at the moment of use, for the per-year archives whose
    // editor keeps the open year's file; when set it is used in place of archiveFile.
    std::function<QString()> archivePath = {};
    // A finder's count text for a number of lines; archive::countText when not set.
    std::function<QString(qsizetype lines)> countText = {};
    // The line builder over the stored fields, where the window has one: for the search.
    archive::StoredLine storedLine = {};
};

// The results panel's handlers.
class ListWindow : public platform::ui::Form {
public:
    ORV_CONTROL(ListBox, lstRecords);
    ORV_CONTROL(Edit, txtTrova);
    ORV_CONTROL(Button, btnTrova);
    ORV_CONTROL(Button, btnStampa);
    ORV_CONTROL(Button, btnChiudi);

    // The last find-in-list text, lower-cased (A-Z); emptied when the window is shown.
    QString UltimaRicerca;

    void btnTrovaClick();
    void btnStampaClick();
    void lstRecordsDblClick();
    void btnChiudiClick();

protected:
    ListWindow(QWidget* owner, const platform::ui::FormSpec& spec, const platform::ui::Layout& layout, ListSpec list);
    QString archivePath() const;
    const ListSpec& listSpec() const { return list_; }
    // Writes the record of the chosen line into the window's target. Any failure is
    // swallowed by the double click, which closes the window anyway.
    virtual void load(const archive::FoundRecord& found) = 0;
    // Date format and decimal separator, as every list window sets them when created.
    void FormCreate();

private:
    ListSpec list_;
};

// A finder: the criteria panel `panAvvio`, then, after Cerca, the results panel
// `panContainer` with the count text. There is no way back to the criteria.
struct FinderCriterion {
    QString control; // the criterion edit, e.g. "txtCliente"
    QString caption; // its label
    int field = -1;  // the record field it searches
};

class FinderWindow : public ListWindow {
public:
    ORV_CONTROL(Panel, panAvvio);
    ORV_CONTROL(Panel, panContainer);
    ORV_CONTROL(Button, btnCerca);
    ORV_CONTROL(Button, btnAnnulla);
    ORV_CONTROL(Label, lblAttendere);
    ORV_CONTROL(Label, lblConta);
    ORV_CONTROL(Label, lblMemory);
    ORV_CONTROL(Label, lblTrovate);

    void FormShow();
    void FormClose(platform::ui::CloseAction& action);
    void btnCercaMouseDown();
    void btnCercaClick();
    void btnAnnullaClick();

    // The criterion edits in Enter order.
    QList<platform::ui::Edit*> criteria() const { return criteria_; }
    // The caller tag, trimmed.
    QString callerTag() const;

protected:
    FinderWindow(QWidget* owner, const platform::ui::FormSpec& spec, const platform::ui::Layout& layout, ListSpec list,
                 const archive::RecordLayout& record, QList<FinderCriterion> criteria);

private:
    QString countText(qsizetype lines) const;
    const archive::RecordLayout& record_;
    QList<FinderCriterion> criteriaSpec_;
    QList<platform::ui::Edit*> criteria_;
};

// A status list: the results panel only, filled by `fill` each time it is shown.
class StatusListWindow : public ListWindow {
public:
    void FormShow();
    void FormClose(platform::ui::CloseAction& action);

protected:
    using Fill = std::function<void(platform::ArchiveFile& file, archive::ResultSink& out)>;
    StatusListWindow(QWidget* owner, const platform::ui::FormSpec& spec, const platform::ui::Layout& layout, ListSpec list, Fill fill);

private:
    Fill fill_;
};

// Layouts of the two kinds, with the heading picture on top.
struct ListLook {
    QString heading;    // words of the heading picture
    QString subheading;
    platform::ui::art::Icon icon = platform::ui::art::Icon::Logo;
    bool sorted = true; // the list keeps its lines sorted (most lists do)
};
// Criteria stand in two columns, the first half on the left; or, where a window gives
// them places, each in its row: in the left or right column, or across the full width.
struct CriterionPlace {
    enum Column { Left, Right, Full };
    int row = 0;
    Column column = Left;
};
platform::ui::Layout finderLayout(const ListLook& look, const QList<FinderCriterion>& criteria,
                        const QList<CriterionPlace>& places = {});
platform::ui::Layout statusListLayout(const ListLook& look);
// Client sizes of the two kinds.
inline constexpr int kListWidth = 862;
inline constexpr int kFinderHeight = 560;
inline constexpr int kStatusListHeight = 560;
// A list window: fixed single border, centred on the screen.
platform::ui::FormSpec listFormSpec(const QString& name, const QString& caption, int height);

} // namespace orv::kit
