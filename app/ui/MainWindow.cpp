#include "app/ui/MainWindow.h"

#include "store/TableFiles.h"
#include "base/DataDir.h"
#include "base/FloatingPoint.h"
#include "base/Parameters.h"
#include "base/SettingsFile.h"
#include "base/ui/Controls.h"
#include "base/ui/GeneralErrorHandler.h"
#include "app/ui/ParametersTab.h"
#include "base/ui/Pictures.h"
#include "backup/DataBackup.h"
#include "backup/ui/BackupCommands.h"
#include "i18n/AddedTexts.h"
#include "i18n/LanguageTable.h"
#include "i18n/Text.h"
#include "i18n/ui/QtTranslation.h"
#include "i18n/ui/LanguageChoiceDialog.h"
#include "i18n/ui/FontApplier.h"
#include "i18n/ui/WindowFonts.h"
#include "info/ui/AboutBox.h"
#include "labels/ui/PrintTab.h"
#include "records/ui/RecordGridModel.h"
#include "records/ui/RecordsTab.h"
#include "records/ui/RecordDialog.h"
#include "records/ui/ImportWizard.h"
#include "store/ui/IndexingWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QShowEvent>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <exception>

namespace etibarix::app {

using i18n::Text;

using base::Parameters;
using ui::GeneralErrorHandler;
using ui::named;
using ui::Picture;
using ui::PictureIcon;
using ui::toolButton;

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), m_recordList(m_data.listQuery())
{
    setObjectName(QStringLiteral("Fprincip"));
    setWindowTitle(QStringLiteral("Etibarix"));
    setWindowIcon(PictureIcon(Picture::Emblem));
    BuildControls();
    AttachTableWindows();
    resize(762, 611);
    // The window grows, never below the size its controls were laid out for.
    setMinimumSize(size());
    if (QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    restoreWindowGeometry();
    whenCreated();
}

MainWindow::~MainWindow()
{
    // The tabs work on the data and the record list: they go first.
    m_backup.reset();
    delete m_pagePrincipal;
}

void MainWindow::AttachWindows(const Windows &windows)
{
    m_windows = windows;
    if (m_windows.recordDialog != nullptr)
        m_recordsTab->attachRecordDialog(*m_windows.recordDialog);
    if (m_windows.importWizard != nullptr)
        m_windows.importWizard->SetCommandQuery(&m_data.commandQuery());
}

void MainWindow::AttachTableWindows()
{
    // The table engine's own boxes and its "Indexing ..." window; both must
    // be in place before the show handler opens the table.
    store::TableCallbacks callbacks;
    callbacks.message = [this](const QString &text) {
        QMessageBox::warning(this, QStringLiteral("Etibarix"), text);
    };
    auto *indexing = new store::IndexingWindow(this);
    indexing->attach(callbacks);
    m_data.table().setCallbacks(std::move(callbacks));
}

void MainWindow::openImportWizard()
{
    if (m_windows.importWizard == nullptr)
        return;
    // The wizard is modal; whatever it stored shows once it has closed.
    m_windows.importWizard->exec();
    GeneralErrorHandler::Run([this] { RefreshGrid(); }, this);
}

// ---------------------------------------------------------------------------
// Controls

void MainWindow::BuildControls()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("PanelPrincipal"));
    setCentralWidget(central);

    m_spCharge = toolButton(central, u"spCharge", Picture::LoadBackup, QString(),
                            QStringLiteral("Recharger une sauvegarde"));
    m_spSauve = toolButton(central, u"spSauve", Picture::SaveBackup, QString(), QStringLiteral("Faire une sauvegarde"));
    m_sbinfos = toolButton(central, u"sbinfos", Picture::Info, QStringLiteral("Infos"),
                           QStringLiteral("Informations sur le logiciel"));
    m_spAide = toolButton(central, u"spAide", Picture::Help, QStringLiteral("Aide"),
                          QStringLiteral("Voir l'aide en Ligne"));
    auto *topRow = new QHBoxLayout;
    topRow->setSpacing(4);
    topRow->addWidget(m_spCharge);
    topRow->addWidget(m_spSauve);
    topRow->addSpacing(16);
    topRow->addWidget(m_sbinfos);
    topRow->addWidget(m_spAide);
    topRow->addStretch(1);

    m_recordsTab = new records::RecordsTab(m_data, m_recordList);
    m_printTab = new labels::PrintTab(m_data, m_labelFormats, [this] { return m_recordsTab->CurrentListState(); });
    m_parametersTab = new ParametersTab;
    m_pagePrincipal = named(new QTabWidget(central), u"PagePrincipal");
    m_pagePrincipal->setIconSize(QSize(20, 20));
    m_pagePrincipal->addTab(m_recordsTab, PictureIcon(Picture::TabRecords), QStringLiteral("Gestion des Fiches"));
    m_pagePrincipal->addTab(m_printTab, PictureIcon(Picture::TabPrinting), QStringLiteral("Impression"));
    m_pagePrincipal->addTab(m_parametersTab, PictureIcon(Picture::TabParameters), QStringLiteral("Paramètres"));
    m_pagePrincipal->setCurrentIndex(0);

    m_squitter = toolButton(central, u"Squitter", Picture::Quit, QString(), QStringLiteral("Quitter le Logiciel"));
    auto *bottomRow = new QHBoxLayout;
    bottomRow->addStretch(1);
    bottomRow->addWidget(m_squitter);

    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 4, 6, 0);
    layout->setSpacing(4);
    layout->addLayout(topRow);
    layout->addWidget(m_pagePrincipal, 1);
    layout->addLayout(bottomRow);

    m_statusBar1 = named(new QStatusBar(this), u"StatusBar1");
    m_statusLine = named(new QLabel(QStringLiteral("Etibarix - étiquettes Code 128"), m_statusBar1), u"StatusLine");
    m_statusLine->setMinimumWidth(50);
    m_statusBar1->addWidget(m_statusLine, 1);
    m_statusCount = named(new QLabel(m_statusBar1), u"StatusCount");
    m_statusBar1->addPermanentWidget(m_statusCount);
    setStatusBar(m_statusBar1);

    m_backup = std::make_unique<backup::BackupCommands>(this, m_data, [this] { RefreshGrid(); });
    connect(m_spSauve, &QToolButton::clicked, m_backup.get(), &backup::BackupCommands::saveBackup);
    connect(m_spCharge, &QToolButton::clicked, m_backup.get(), &backup::BackupCommands::restoreBackup);
    connect(m_sbinfos, &QToolButton::clicked, this, &MainWindow::showAboutBox);
    connect(m_spAide, &QToolButton::clicked, this, &MainWindow::openHelp);
    connect(m_squitter, &QToolButton::clicked, this, &QWidget::close);
    connect(m_recordsTab, &records::RecordsTab::importRequested, this, &MainWindow::openImportWizard);
    connect(m_parametersTab, &ParametersTab::applyLanguage, this, &MainWindow::applyLanguage);
    connect(m_recordsTab, &records::RecordsTab::recordCountChanged, this,
            [this](int count) { m_statusCount->setText(RecordCountText(count, i18n::CurrentLanguage())); });

    // Keys that work anywhere in the window.
    const auto shortcut = [this](const QKeySequence &keys, auto slot) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, slot);
    };
    shortcut(QKeySequence(Qt::Key_F5), [this] { GeneralErrorHandler::Run([this] { RefreshGrid(); }, this); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_F), [this] {
        m_pagePrincipal->setCurrentWidget(m_recordsTab);
        m_recordsTab->focusFirstCriterion();
    });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_P), [this] { m_printTab->printLabels(); });
    connect(m_parametersTab, &ParametersTab::resetData, this, [this] {
        GeneralErrorHandler::Run([this] { m_recordsTab->eraseAllRecords(); }, this);
    });
}

void MainWindow::retranslate()
{
    using i18n::LangString;
    i18n::ApplyQtTranslation(i18n::CurrentLanguage());
    // The format list first: its rebuild selects the first entry.
    m_printTab->retranslate();
    m_recordsTab->retranslate();
    m_parametersTab->retranslate();
    m_spCharge->setToolTip(LangString(Text::LoadBackupHint));
    m_spSauve->setToolTip(LangString(Text::SaveBackupHint));
    m_sbinfos->setText(LangString(Text::AboutCaption));
    m_sbinfos->setToolTip(LangString(Text::AboutHint));
    m_spAide->setText(LangString(Text::HelpCaption));
    m_spAide->setToolTip(LangString(Text::HelpHint));
    m_pagePrincipal->setTabText(m_pagePrincipal->indexOf(m_recordsTab), LangString(Text::RecordsTab));
    m_pagePrincipal->setTabText(m_pagePrincipal->indexOf(m_printTab), LangString(Text::PrintingTab));
    m_pagePrincipal->setTabText(m_pagePrincipal->indexOf(m_parametersTab), LangString(Text::ParametersTab));
    m_squitter->setToolTip(LangString(Text::QuitHint));
    m_statusCount->setText(RecordCountText(m_recordsTab->model()->rowCount(), i18n::CurrentLanguage()));
}

QString MainWindow::RecordCountText(int count, int language)
{
    // French counts 0 and 1 in the singular.
    const bool one = count == 1 || (count == 0 && language != 2 && language != 3);
    return i18n::AddedText(one ? Text::RecordCountOne : Text::RecordCountMany, language)
        .arg(i18n::GroupedNumber(count, language));
}

void MainWindow::restoreWindowGeometry()
{
    const QSettings settings(base::SettingsFilePath(), QSettings::IniFormat);
    const QByteArray geometry = settings.value(QStringLiteral("MainWindow/geometry")).toByteArray();
    if (!geometry.isEmpty())
        restoreGeometry(geometry);
}

void MainWindow::saveWindowGeometry()
{
    QSettings settings(base::SettingsFilePath(), QSettings::IniFormat);
    // A damaged file (the printers' calibration lives there too) is not
    // rewritten for the sake of the window's place.
    if (base::SettingsFileDamaged(settings))
        return;
    settings.setValue(QStringLiteral("MainWindow/geometry"), saveGeometry());
}

// ---------------------------------------------------------------------------
// Start-up and shutdown

void MainWindow::whenCreated()
{
    m_firstActivation = true;
    base::MaskFloatingPointExceptions();
    try {
        const i18n::LanguageFile &table = i18n::LoadLanguageTable();
        if (table.Loaded())
            m_parametersTab->hideLanguageGroup();
    } catch (const std::exception &) {
        // The built-in texts serve.
    }
    m_printTab->FillFormatCombo();
    m_printTab->FillPrinterCombo();
}

void MainWindow::RefreshGrid()
{
    m_recordsTab->RefreshGrid();
}

void MainWindow::whenFirstShown()
{
    try {
        // A restore killed while it swapped the data files is finished or
        // undone before the table is read.
        backup::RecoverInterruptedRestore(base::DataDir());
        store::OpenArticleTable(m_data.table());
        RefreshGrid();
    } catch (const std::exception &) {
        // At start-up the grid just stays empty.
    }
}

void MainWindow::whenActivated()
{
    // The language choice closing activates this window again while the
    // first activation is still running: that return must do nothing.
    if (!m_firstActivation || m_activating)
        return;
    m_activating = true;

    i18n::ApplyWindowFonts({this, m_windows.recordDialog, m_windows.aboutBox, m_windows.importWizard,
                            m_windows.languageChoice});
    const bool parametersExisted = base::LoadParameters();
    m_printTab->checkCodeSet(Parameters.CodeSet);
    const i18n::LanguageFile *table = i18n::InstalledLanguageTable();
    const bool languageFileLoaded = table != nullptr && table->Loaded();
    if (!parametersExisted && !languageFileLoaded && m_windows.languageChoice != nullptr) {
        m_windows.languageChoice->exec();
        Parameters.Language = m_windows.languageChoice->ChosenLanguage();
    }
    retranslate();
    m_parametersTab->checkLanguage(Parameters.Language);
    m_printTab->selectFormatIndex(Parameters.LabelFormatIndex);
    m_printTab->selectPrinter(Parameters.PrinterNameText());
    // A formats.json the program cannot use: said once, the file left alone.
    if (!m_labelFormats.customFormatsError().isEmpty())
        QMessageBox::warning(this, windowTitle(), m_labelFormats.customFormatsError());

    m_firstActivation = false;
    m_activating = false;
}

void MainWindow::CloseDataOnExit()
{
    base::SaveParameters(m_printTab->formatIndex(), m_printTab->chosenPrinter(),
                   [this](const QString &text, const QString &caption) {
                       QApplication::beep();
                       QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, this);
                       box.exec();
                   });
    for (store::Query *query : {&m_data.listQuery(), &m_data.commandQuery()}) {
        try {
            query->close();
        } catch (const std::exception &) {
            // Nothing more can be done at the end of the run.
        }
    }
    store::CloseArticleTable(m_data.table());
}

void MainWindow::whenClosed()
{
    if (m_closed)
        return;
    m_closed = true;
    saveWindowGeometry();
    CloseDataOnExit();
    try {
        i18n::ClearLanguageTable();
    } catch (const std::exception &) {
        // Ignored at the end of the run.
    }
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // A window restored from its icon is shown again by the window system:
    // that is no new show of the program's.
    if (event->spontaneous() || m_shown)
        return;
    m_shown = true;
    whenFirstShown();
    // The first activation normally follows at once. Where the window system
    // never hands the focus to the window (focus-stealing prevention, no
    // window manager), its start-up work must still run, once the message
    // loop is going.
    QTimer::singleShot(0, this, [this] { whenActivated(); });
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        whenActivated();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    whenClosed();
    event->accept();
}

// ---------------------------------------------------------------------------
// Buttons

void MainWindow::openHelp()
{
    HelpOpener(HelpOpener::HelpFolders(), m_openHelpUrl).open(this, base::Parameters.Language);
}

void MainWindow::showAboutBox()
{
    if (m_windows.aboutBox != nullptr)
        m_windows.aboutBox->exec();
}

void MainWindow::applyLanguage()
{
    Parameters.Language = m_parametersTab->checkedLanguage();
    retranslate();
}

} // namespace etibarix::app
