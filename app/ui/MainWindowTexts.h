#pragma once
// The main window's language texts, and the language group's radio buttons.
// Controls are found by their object names; a control that is missing is
// skipped, so the function works on a window under construction too.

class QWidget;

namespace etibarix::labels {
class LabelFormats;
}

namespace etibarix::app {

// Rebuilds the label format list in the current language (first entry
// selected), puts texts, hints, tab captions, grid column titles and
// context menu captions on the main window, and switches Qt's own texts
// (message box buttons, file dialogs) to the current language.
void ApplyMainWindowTexts(QWidget *window, labels::LabelFormats &formats);

// Checks lfrancais, then langlais for 2 or lportugais for 3.
void CheckLanguageButtons(QWidget *window, int language);

// 1, then 1 when lfrancais, 2 when langlais, 3 when lportugais is checked.
int CheckedLanguage(const QWidget *window);

} // namespace etibarix::i18n
