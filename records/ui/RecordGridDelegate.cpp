#include "records/ui/RecordGridDelegate.h"

#include "records/ui/RecordGridModel.h"

#include <QFontMetrics>
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
    QString text = index.data(Qt::DisplayRole).toString();
    // The two text columns end a text too long for them with an ellipsis.
    if (index.column() == RecordGridModel::ColLib1 || index.column() == RecordGridModel::ColLib2)
        text = QFontMetrics(option.font).elidedText(text, Qt::ElideRight, option.rect.width());
    painter->drawText(option.rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    painter->restore();
}

} // namespace etibarix::records
