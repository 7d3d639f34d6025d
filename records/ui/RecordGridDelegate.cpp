#include "records/ui/RecordGridDelegate.h"

#include <QPainter>

namespace etibarix::records {

void RecordGridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QPalette::ColorGroup group = option.state.testFlag(QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
    QColor background = index.data(Qt::BackgroundRole).value<QColor>();
    QColor foreground = index.data(Qt::ForegroundRole).value<QColor>();
    if (selected) {
        background = option.palette.color(group, QPalette::Highlight);
        foreground = option.palette.color(group, QPalette::HighlightedText);
    }
    painter->save();
    painter->fillRect(option.rect, background);
    painter->setPen(foreground);
    painter->setFont(option.font);
    painter->drawText(option.rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
        index.data(Qt::DisplayRole).toString());
    painter->restore();
}

} // namespace etibarix::records
