#include "i18n/ui/WindowFonts.h"

#include "i18n/LanguageTable.h"
#include "i18n/ui/FontApplier.h"

#include <QApplication>
#include <QFont>
#include <QWidget>

#include <exception>

namespace etibarix::i18n {

InterfaceFont ChooseInterfaceFont()
{
    InterfaceFont font;
    const LanguageFile *table = InstalledLanguageTable();
    if (table != nullptr && !table->FontName().trimmed().isEmpty()) {
        font.name = DecodeLanguageText(table->FontName());
        font.charset = table->CharSet() > 0 ? table->CharSet() : 1;
        return font;
    }
    font.name = QApplication::font("QMenu").family();
    font.charset = 1;
    return font;
}

void ApplyWindowFonts(std::initializer_list<QWidget *> windows)
{
    InterfaceFont font;
    try {
        font = ChooseInterfaceFont();
    } catch (const std::exception &) {
        return;
    }
    const FontApplier applier;
    for (QWidget *window : windows) {
        if (window != nullptr)
            applier.ApplyToChildren(window, font.name, 0, font.charset);
    }
}

} // namespace etibarix::i18n
