#pragma once
// The label format combo box of the print tab. Its items are those of
// LabelFormats, padded with 200 spaces and the entry number; the padding
// must not widen the drop-down list, so the list opens as wide as the
// widest visible part of an item.

#include <QComboBox>

namespace etibarix::labels {

class LabelFormats;

class LabelFormatCombo : public QComboBox {
    Q_OBJECT
public:
    explicit LabelFormatCombo(QWidget *parent = nullptr);
    void showPopup() override;

protected:
    // Shows the visible part of the selected item, without an ellipsis.
    void paintEvent(QPaintEvent *event) override;
};

// Rebuilds the formats in the current language, replaces the combo's items
// by the sorted list and selects position 0 (the first entry).
void FillLabelFormatCombo(QComboBox &combo, LabelFormats &formats);

// The entry number of the combo's selected item, -1 when none is selected.
int SelectedLabelFormat(const QComboBox &combo);

} // namespace etibarix::labels
