#include "platform/ui/linelist.h"

#include <QItemSelectionModel>

namespace orv::platform::ui {

QVariant LineModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return text(index.row());
    case Qt::SizeHintRole:
        return lineSize_.isValid() ? QVariant(lineSize_) : QVariant();
    default:
        return {};
    }
}

Qt::ItemFlags LineModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled;
}

void LineModel::insertLine(int row, QStringView text, qint64 tag)
{
    row = qBound(0, row, rowCount());
    beginInsertRows(QModelIndex(), row, row);
    lines_.append(text, tag);
    order_.insert(order_.begin() + row, quint32(lines_.size() - 1));
    endInsertRows();
}

void LineModel::setLines(PackedLines lines, std::vector<quint32> order)
{
    Q_ASSERT(order.size() == size_t(lines.size()));
    // One notice for the whole list: the view lays out only what it shows, whatever the
    // number of lines.
    beginResetModel();
    lines_ = std::move(lines);
    order_ = std::move(order);
    endResetModel();
}

void LineModel::clear()
{
    beginResetModel();
    lines_.clear();
    order_.clear();
    order_.shrink_to_fit();
    endResetModel();
}

LineListView::LineListView(QWidget* parent) : QListView(parent), model_(new LineModel(this))
{
    setModel(model_);
}

void LineListView::setCurrentRow(int row)
{
    // As a list of one selection: the current row is the selected one.
    selectionModel()->setCurrentIndex(item(row), QItemSelectionModel::ClearAndSelect);
}

bool LineListView::isRowSelected(int row) const
{
    const QModelIndex i = item(row);
    return i.isValid() && selectionModel()->isSelected(i);
}

} // namespace orv::platform::ui
