#include "base/ui/SelectComboItem.h"

#include <QComboBox>

namespace etibarix::ui {

void SelectComboItem(QComboBox &combo, const QString &text)
{
    int selected = -1;
    if (!text.isEmpty()) {
        for (int i = 0; i < combo.count(); ++i) {
            if (combo.itemText(i) == text)
                selected = i;
        }
    }
    combo.setCurrentIndex(selected);
}

} // namespace etibarix::ui
