#pragma once
// The main window: the top row of buttons, the three tabs (records, printing,
// parameters) and the status bar. It owns the table, the two queries and the
// record list for the whole run, and carries the start-up and shutdown
// sequence: creation (language table, label formats, printers), first show
// (table opened, list filled), first activation (fonts, parameters, language
// choice, texts, restored selections; run once the message loop goes even
// when the window system never activates the window) and close (parameters
// saved, table closed). Each tab is a window class of its own.

#include "app/ui/HelpOpener.h"
#include "records/RecordDatabase.h"
#include "labels/formats/LabelFormats.h"
#include "records/RecordList.h"

#include <QMainWindow>

#include <memory>

class QLabel;
class QStatusBar;
class QTabWidget;
class QToolButton;

namespace etibarix::backup {
class BackupCommands;
}
namespace etibarix::labels {
class PrintTab;
}
namespace etibarix::i18n {
class LanguageChoiceDialog;
}
namespace etibarix::info {
class AboutBox;
}
namespace etibarix::records {
class RecordsTab;
class RecordDialog;
class ImportWizard;
}

namespace etibarix::app {

class ParametersTab;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The windows created after the main window, which it shows and whose
    // fonts it sets.
    struct Windows {
        records::RecordDialog *recordDialog = nullptr;
        info::AboutBox *aboutBox = nullptr;
        records::ImportWizard *importWizard = nullptr;
        i18n::LanguageChoiceDialog *languageChoice = nullptr;
    };

    // Builds the controls, then runs the creation handler.
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Keeps the windows and wires the record management on the record tab.
    void AttachWindows(const Windows &windows);

    records::RecordDatabase &database() { return m_data; }
    records::RecordList &recordList() { return m_recordList; }
    labels::LabelFormats &labelFormats() { return m_labelFormats; }
    records::ImportWizard *importWindow() const { return m_windows.importWizard; }
    records::RecordsTab *recordsTab() const { return m_recordsTab; }
    labels::PrintTab *printTab() const { return m_printTab; }
    ParametersTab *parametersTab() const { return m_parametersTab; }
    // The top row's archive commands.
    backup::BackupCommands *backupCommands() const { return m_backup.get(); }

    // The texts of the current language on this window and its tabs, and
    // Qt's own texts (message box buttons, file dialogs) in that language.
    void retranslate();

    // Runs the list statement again and shows its result; errors reach the
    // caller.
    void RefreshGrid();

    // The status bar's count: "2 000 fiches", "2,000 records", "2 000 fichas".
    static QString RecordCountText(int count, int language);
    // How the help button hands the help to the desktop (tests put a stub).
    void setHelpUrlOpener(HelpOpener::UrlOpener open) { m_openHelpUrl = std::move(open); }

    // True until the first activation's work is done.
    bool FirstActivation() const { return m_firstActivation; }

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void BuildControls();

    void whenCreated();
    void whenFirstShown();
    void whenActivated();
    void whenClosed();
    void CloseDataOnExit();
    void restoreWindowGeometry();
    void saveWindowGeometry();

    void openHelp();
    void showAboutBox();
    void applyLanguage();
    void openImportWizard();
    void AttachTableWindows();

    records::RecordDatabase m_data;
    records::RecordList m_recordList;
    labels::LabelFormats m_labelFormats;
    Windows m_windows;

    QToolButton *m_spCharge = nullptr;
    QToolButton *m_spSauve = nullptr;
    QToolButton *m_sbinfos = nullptr;
    QToolButton *m_spAide = nullptr;
    QToolButton *m_squitter = nullptr;
    QTabWidget *m_pagePrincipal = nullptr;
    records::RecordsTab *m_recordsTab = nullptr;
    labels::PrintTab *m_printTab = nullptr;
    ParametersTab *m_parametersTab = nullptr;
    QStatusBar *m_statusBar1 = nullptr;
    QLabel *m_statusLine = nullptr;
    QLabel *m_statusCount = nullptr;
    std::unique_ptr<backup::BackupCommands> m_backup;

    HelpOpener::UrlOpener m_openHelpUrl = HelpOpener::DesktopOpen;
    bool m_firstActivation = true;
    bool m_activating = false;
    bool m_shown = false;
    bool m_closed = false;
};

} // namespace etibarix::app
