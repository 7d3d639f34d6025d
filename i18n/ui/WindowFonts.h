#pragma once
// The interface font: the language file's font when it names one, else the
// system's menu font; put on every window once per run (see FontApplier).

#include <QString>

#include <initializer_list>

class QWidget;

namespace etibarix::i18n {

struct InterfaceFont {
    QString name;
    int charset = 1;
};

// The font the language table names (slot 302, character set from slot 303,
// 1 when not above 0), else the menu font of the system.
InterfaceFont ChooseInterfaceFont();

// Puts the interface font on the controls of each window, in the given order
// (main window, record dialog, about box, import wizard, language choice).
// Errors are swallowed.
void ApplyWindowFonts(std::initializer_list<QWidget *> windows);

} // namespace etibarix::i18n
