#pragma once
// Paints the record grid's cells: the cell is filled with its background
// (the column colour, or the selection colour on the selected row) and the
// text is written from the cell's top-left corner, without margin.

#include <QStyledItemDelegate>

namespace etibarix::records {

class RecordGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

} // namespace etibarix::records
