#pragma once
// Selects the entry of a combo box whose text equals the given text.

#include <QString>

class QComboBox;

namespace etibarix::ui {

// Empty text: no selection. Otherwise every entry equal to the text
// (case-sensitive) is selected in turn, so the last equal entry wins; no
// equal entry leaves the combo with no selection.
void SelectComboItem(QComboBox &combo, const QString &text);

} // namespace etibarix::ui
