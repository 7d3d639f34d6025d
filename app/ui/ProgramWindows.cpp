#include "app/ui/ProgramWindows.h"

#include "app/ui/MainWindow.h"
#include "i18n/ui/LanguageChoiceDialog.h"
#include "info/ui/AboutBox.h"
#include "records/ui/RecordDialog.h"
#include "records/ui/ImportWizard.h"

namespace etibarix::app {

ProgramWindows::ProgramWindows()
{
    m_mainWindow = std::make_unique<MainWindow>();
    m_recordDialog = std::make_unique<records::RecordDialog>();
    m_aboutBox = std::make_unique<info::AboutBox>();
    m_importWizard = std::make_unique<records::ImportWizard>();
    m_languageChoice = std::make_unique<i18n::LanguageChoiceDialog>();

    MainWindow::Windows windows;
    windows.recordDialog = m_recordDialog.get();
    windows.aboutBox = m_aboutBox.get();
    windows.importWizard = m_importWizard.get();
    windows.languageChoice = m_languageChoice.get();
    m_mainWindow->AttachWindows(windows);
}

ProgramWindows::~ProgramWindows()
{
    m_mainWindow.reset();
}

} // namespace etibarix::app
