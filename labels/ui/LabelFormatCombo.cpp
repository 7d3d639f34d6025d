#include "labels/ui/LabelFormatCombo.h"

#include "labels/formats/LabelFormats.h"

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace etibarix::labels {
namespace {

// Draws the list's items without their padding and entry number.
class VisiblePartDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(size.height() + 6);   // the spacing of a drop-down menu's lines
        return size;
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->text = LabelFormats::DisplayPartOfItem(option->text);
        option->displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    }
};

} // namespace

LabelFormatCombo::LabelFormatCombo(QWidget *parent) : QComboBox(parent)
{
    setEditable(false);
    setMaxVisibleItems(10);
    // The trailing padding would otherwise size the box to its spaces.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(20);
    setItemDelegate(new VisiblePartDelegate(this));
}

void LabelFormatCombo::paintEvent(QPaintEvent * /*event*/)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText = LabelFormats::DisplayPartOfItem(option.currentText);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void LabelFormatCombo::showPopup()
{
    QComboBox::showPopup();
    QWidget *popup = view()->window();
    if (popup == nullptr || popup == window())
        return;
    const QFontMetrics metrics(view()->font());
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(LabelFormats::DisplayPartOfItem(itemText(i))));
    const int frame = popup->width() - view()->viewport()->width();
    // The list opens under its box, as wide as its longest entry (the padded
    // items would have it placed for their full width, far to the left).
    QRect place(mapToGlobal(QPoint(0, height())), QSize(std::max(width(), widest + frame + 16), popup->height()));
    if (const QScreen *shown = screen()) {
        const QRect room = shown->availableGeometry();
        if (place.right() > room.right())
            place.moveRight(room.right());
        if (place.left() < room.left())
            place.moveLeft(room.left());
        if (place.bottom() > room.bottom())
            place.moveBottom(mapToGlobal(QPoint(0, 0)).y() - 1);
    }
    popup->setGeometry(place);
}

void FillLabelFormatCombo(QComboBox &combo, LabelFormats &formats)
{
    formats.BuildLabelFormats();
    QSignalBlocker blocker(combo);
    combo.clear();
    combo.addItems(formats.Items());
    blocker.unblock();
    combo.setCurrentIndex(-1);
    combo.setCurrentIndex(formats.SelectedPosition());
}

int SelectedLabelFormat(const QComboBox &combo)
{
    if (combo.currentIndex() < 0)
        return -1;
    return LabelFormats::EntryNumberOfItem(combo.currentText());
}

} // namespace etibarix::labels
