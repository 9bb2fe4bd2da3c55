#include "platform/ui/linelist.h"

#include <QSignalBlocker>

#include "platform/core/text.h"

namespace orv::platform::ui {

// One line of the list: its number in the widget's lines. Text set on the item itself
// (by code that treats it as any list item) is kept and wins over the line's.
class LineItem final : public QListWidgetItem {
public:
    static constexpr int kType = QListWidgetItem::UserType + 0x4C;
    explicit LineItem(quint32 line) : QListWidgetItem(nullptr, kType), line_(line) {}

    QVariant data(int role) const override
    {
        if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::SizeHintRole)
            return QListWidgetItem::data(role);
        QVariant own = QListWidgetItem::data(role);
        const auto* list = static_cast<const LineListWidget*>(listWidget());
        if (own.isValid() || !list)
            return own;
        if (role == Qt::SizeHintRole)
            return list->lineSize_.isValid() ? QVariant(list->lineSize_) : QVariant();
        return list->lines_.text(line_);
    }
    QListWidgetItem* clone() const override
    {
        auto* copy = new QListWidgetItem(*this);
        copy->setText(text());
        return copy;
    }

    quint32 line() const { return line_; }

private:
    quint32 line_;
};

namespace {
const LineItem* lineItem(const QListWidgetItem* item)
{
    return item && item->type() == LineItem::kType ? static_cast<const LineItem*>(item) : nullptr;
}
} // namespace

LineListWidget::LineListWidget(QWidget* parent) : QListWidget(parent)
{
    // Lines removed all at once (clear, by any caller) leave nothing behind.
    connect(model(), &QAbstractItemModel::modelReset, this, [this] {
        if (count() == 0)
            lines_.clear();
    });
}

void LineListWidget::insertLine(int row, QStringView text, qint64 tag)
{
    lines_.append(text, tag);
    insertItem(row, new LineItem(quint32(lines_.size() - 1)));
}

void LineListWidget::setLines(PackedLines lines, const std::vector<quint32>& order)
{
    Q_ASSERT(count() == 0);
    lines_ = std::move(lines);
    if (order.empty())
        return;
    // The items go in without the view hearing of each one (a million notices would cost
    // more than the items); the view then takes the list as new, as after a reset. The
    // list was empty, so there is no selection or current line to carry over.
    {
        const QSignalBlocker quiet(model());
        for (quint32 line : order)
            addItem(new LineItem(line));
    }
    reset();
}

qint64 LineListWidget::tag(int row) const
{
    const LineItem* it = lineItem(item(row));
    return it ? lines_.tag(it->line()) : -1;
}

int LineListWidget::compareLine(int row, const QString& text) const
{
    const QListWidgetItem* it = item(row);
    const LineItem* line = lineItem(it);
    if (line && !line->QListWidgetItem::data(Qt::DisplayRole).isValid())
        return lines_.compare(line->line(), text);
    return compareTextAZ(it ? it->text() : QString(), text);
}

} // namespace orv::platform::ui
