#pragma once
// The list box's widget. A list box may hold a million result lines: each line is kept
// once, in the widget's PackedLines, and its item is a small object that carries the
// line's number only and gives the text when the view asks for it (to draw the line, to
// measure it, to read it back), so no line holds a string of its own.
#include <QListWidget>
#include <QSize>

#include <vector>

#include "platform/core/packedlines.h"

namespace orv::platform::ui {

class LineListWidget : public QListWidget {
public:
    explicit LineListWidget(QWidget* parent = nullptr);

    // Inserts a line at `row`; `tag` is the caller's number for it.
    void insertLine(int row, QStringView text, qint64 tag);
    // Puts `lines` into the list, which must be empty, in the given order of their indices.
    void setLines(PackedLines lines, const std::vector<quint32>& order);
    // The caller's number of the line at `row`; -1 for a line added without one.
    qint64 tag(int row) const;
    // The line at `row` compared with `text` by the lists' comparison.
    int compareLine(int row, const QString& text) const;

    // Every line is this size (an invalid size: as the line's text measures).
    void setLineSize(QSize size) { lineSize_ = size; }
    QSize lineSize() const { return lineSize_; }

    const PackedLines& lines() const { return lines_; }

private:
    friend class LineItem;
    PackedLines lines_;
    QSize lineSize_;
};

} // namespace orv::platform::ui
