#pragma once
// The program's windows, created once at start-up in a fixed order and kept
// for the run: the main window first (its creation handler runs then), then
// the record dialog, the about box, the import wizard and the language
// choice, all hidden. The dialogs are windows of their own (not children of
// the main window), so the main window's controls are the only ones its
// object names find.

#include <memory>

namespace etibarix::i18n {
class LanguageChoiceDialog;
}
namespace etibarix::info {
class AboutBox;
}
namespace etibarix::records {
class RecordDialog;
class ImportWizard;
}

namespace etibarix::app {

class MainWindow;

class ProgramWindows {
public:
    ProgramWindows();
    // The main window goes first: its controllers refer to the dialogs.
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows &) = delete;
    ProgramWindows &operator=(const ProgramWindows &) = delete;

    MainWindow &Fprincip() { return *m_mainWindow; }
    records::RecordDialog &recordDialog() { return *m_recordDialog; }
    info::AboutBox &aboutBox() { return *m_aboutBox; }
    records::ImportWizard &importWizard() { return *m_importWizard; }
    i18n::LanguageChoiceDialog &languageChoice() { return *m_languageChoice; }

private:
    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<records::RecordDialog> m_recordDialog;
    std::unique_ptr<info::AboutBox> m_aboutBox;
    std::unique_ptr<records::ImportWizard> m_importWizard;
    std::unique_ptr<i18n::LanguageChoiceDialog> m_languageChoice;
};

} // namespace etibarix::app
