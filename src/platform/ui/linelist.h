#pragma once
// The list box's widget. A list box may hold a million result lines: each line is kept
// once, in the model's PackedLines, and the view asks the model for the rows it shows,
// so a line costs its bytes and a row number, with no item object and no string of its
// own. The view draws only the rows in sight, every row the same size.
#include <QAbstractListModel>
#include <QListView>
#include <QSize>

#include <vector>

#include "platform/core/packedlines.h"

namespace orv::platform::ui {

// The lines of a list box in list order: row r shows line order()[r] of the lines.
class LineModel final : public QAbstractListModel {
public:
    explicit LineModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(order_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Inserts a line at `row`; `tag` is the caller's number for it.
    void insertLine(int row, QStringView text, qint64 tag);
    // Puts `lines` in place of every line, shown in the given order of their indices.
    void setLines(PackedLines lines, std::vector<quint32> order);
    void clear();

    QString text(int row) const { return lines_.text(order_[size_t(row)]); }
    qint64 tag(int row) const { return lines_.tag(order_[size_t(row)]); }
    // The line at `row` compared with `text` by the lists' comparison.
    int compareLine(int row, QStringView text) const { return lines_.compare(order_[size_t(row)], text); }

    // Every line is this size (an invalid size: as the line's text measures).
    void setLineSize(QSize size) { lineSize_ = size; }
    QSize lineSize() const { return lineSize_; }

    const PackedLines& lines() const { return lines_; }

private:
    PackedLines lines_;
    std::vector<quint32> order_;
    QSize lineSize_;
};

// The view over a LineModel. Besides the view's own calls it answers in rows, as the
// callers of a list box think of it (the current row, the row at a point, a row's place).
class LineListView : public QListView {
public:
    explicit LineListView(QWidget* parent = nullptr);

    LineModel* lineModel() const { return model_; }
    int count() const { return model_->rowCount(); }
    // The index of `row` (invalid outside the list).
    QModelIndex item(int row) const { return model_->index(row, 0); }
    int row(const QModelIndex& index) const { return index.isValid() ? index.row() : -1; }
    int currentRow() const { return currentIndex().row(); }
    // Makes `row` the current row and the one selected (-1: none).
    void setCurrentRow(int row);
    // The index at a point of the viewport.
    QModelIndex itemAt(const QPoint& at) const { return indexAt(at); }
    QRect visualItemRect(const QModelIndex& index) const { return visualRect(index); }
    void scrollToItem(const QModelIndex& index) { scrollTo(index); }
    QModelIndexList selectedItems() const { return selectedIndexes(); }
    bool isRowSelected(int row) const;

private:
    LineModel* model_;
};

} // namespace orv::platform::ui
