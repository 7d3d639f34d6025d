#include "app/ui/MainWindow.h"

#include "store/TableFiles.h"
#include "base/DataDir.h"
#include "base/FloatingPoint.h"
#include "base/Parameters.h"
#include "base/ui/GeneralErrorHandler.h"
#include "base/ui/Pictures.h"
#include "base/ui/SelectComboItem.h"
#include "backup/DataBackup.h"
#include "backup/ui/BackupCommands.h"
#include "i18n/LanguageTable.h"
#include "app/ui/MainWindowTexts.h"
#include "i18n/ui/LanguageChoiceDialog.h"
#include "i18n/ui/FontApplier.h"
#include "i18n/ui/WindowFonts.h"
#include "info/ui/AboutBox.h"
#include "labels/printer/PrinterList.h"
#include "labels/ui/PrintCommands.h"
#include "labels/ui/LabelFormatCombo.h"
#include "records/ui/RecordTab.h"
#include "records/ui/RecordDialog.h"
#include "records/ui/ImportWizard.h"
#include "store/ui/IndexingWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <exception>

namespace etibarix::app {
namespace {

constexpr QSize TopIconSize(28, 28);
constexpr QSize ButtonIconSize(22, 22);

template <typename T>
T *named(T *widget, const char16_t *name)
{
    widget->setObjectName(QString::fromUtf16(name));
    return widget;
}

QToolButton *toolButton(QWidget *parent, const char16_t *name, ui::Picture picture, const QString &text,
                        const QString &hint)
{
    auto *button = named(new QToolButton(parent), name);
    button->setIcon(ui::PictureIcon(picture));
    button->setIconSize(TopIconSize);
    button->setAutoRaise(true);
    button->setText(text);
    button->setToolTip(hint);
    button->setToolButtonStyle(text.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
    return button;
}

QPushButton *pictureButton(QWidget *parent, const char16_t *name, ui::Picture picture, const QString &text,
                           const QString &hint = QString())
{
    auto *button = named(new QPushButton(ui::PictureIcon(picture), text, parent), name);
    button->setIconSize(ButtonIconSize);
    button->setToolTip(hint);
    return button;
}

QRadioButton *radio(QWidget *parent, const char16_t *name, const QString &text, bool checked = false)
{
    auto *button = named(new QRadioButton(text, parent), name);
    button->setChecked(checked);
    return button;
}

QGroupBox *group(QWidget *parent, const char16_t *name, const QString &title)
{
    return named(new QGroupBox(title, parent), name);
}

} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), m_recordList(m_data.listQuery())
{
    setObjectName(QStringLiteral("Fprincip"));
    setWindowTitle(QStringLiteral("Etibarix"));
    setWindowIcon(ui::PictureIcon(ui::Picture::Emblem));
    BuildControls();
    AttachTableWindows();
    resize(762, 611);
    if (QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    whenCreated();
}

MainWindow::~MainWindow() = default;

void MainWindow::AttachWindows(const Windows &windows)
{
    m_windows = windows;
    if (m_windows.recordDialog != nullptr)
        m_recordTab = std::make_unique<records::RecordTab>(this, m_data, m_recordList, *m_windows.recordDialog);
    m_print = std::make_unique<labels::PrintCommands>(this, m_data, [this] {
        return m_recordTab ? m_recordTab->CurrentListState() : records::ListState{};
    });
    m_backup = std::make_unique<backup::BackupCommands>(this, m_data, [this] { RefreshGrid(); });
    if (m_windows.importWizard != nullptr) {
        m_windows.importWizard->SetCommandQuery(&m_data.commandQuery());
        auto *bimport = findChild<QAbstractButton *>(QStringLiteral("bimport"));
        connect(bimport, &QAbstractButton::clicked, this, [this] { openImportWizard(); });
    }
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
    // The wizard is modal; whatever it stored shows once it has closed.
    m_windows.importWizard->exec();
    ui::GeneralErrorHandler::Run([this] { RefreshGrid(); }, this);
}

// ---------------------------------------------------------------------------
// Controls

void MainWindow::BuildControls()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("PanelPrincipal"));
    setCentralWidget(central);

    auto *topRow = new QHBoxLayout;
    topRow->setSpacing(4);
    topRow->addWidget(toolButton(central, u"spCharge", ui::Picture::LoadBackup, QString(),
                                 QStringLiteral("Recharger une sauvegarde")));
    topRow->addWidget(toolButton(central, u"spSauve", ui::Picture::SaveBackup, QString(),
                                 QStringLiteral("Faire une sauvegarde")));
    topRow->addSpacing(16);
    auto *sbinfos = toolButton(central, u"sbinfos", ui::Picture::Info, QStringLiteral("Infos"),
                               QStringLiteral("Informations sur le logiciel"));
    auto *spAide = toolButton(central, u"spAide", ui::Picture::Help, QStringLiteral("Aide"),
                              QStringLiteral("Voir l'aide en Ligne"));
    topRow->addWidget(sbinfos);
    topRow->addWidget(spAide);
    topRow->addStretch(1);

    auto *pages = named(new QTabWidget(central), u"PagePrincipal");
    pages->setIconSize(QSize(20, 20));
    pages->addTab(BuildRecordsTab(), ui::PictureIcon(ui::Picture::TabRecords), QStringLiteral("Gestion des Fiches"));
    pages->addTab(BuildPrintingTab(), ui::PictureIcon(ui::Picture::TabPrinting), QStringLiteral("Impression"));
    pages->addTab(BuildParametersTab(), ui::PictureIcon(ui::Picture::TabParameters), QStringLiteral("Paramètres"));
    pages->setCurrentIndex(0);

    auto *bottomRow = new QHBoxLayout;
    bottomRow->addStretch(1);
    auto *squitter = toolButton(central, u"Squitter", ui::Picture::Quit, QString(), QStringLiteral("Quitter le Logiciel"));
    bottomRow->addWidget(squitter);

    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 4, 6, 0);
    layout->setSpacing(4);
    layout->addLayout(topRow);
    layout->addWidget(pages, 1);
    layout->addLayout(bottomRow);

    auto *statusBar = named(new QStatusBar(this), u"StatusBar1");
    auto *statusLine = named(new QLabel(QStringLiteral("Etibarix - étiquettes Code 128"), statusBar), u"StatusLine");
    statusLine->setMinimumWidth(50);
    statusBar->addWidget(statusLine, 1);
    setStatusBar(statusBar);

    connect(sbinfos, &QToolButton::clicked, this, &MainWindow::showAboutBox);
    connect(spAide, &QToolButton::clicked, this, &MainWindow::openHelp);
    connect(squitter, &QToolButton::clicked, this, &QWidget::close);
}

QWidget *MainWindow::BuildRecordsTab()
{
    auto *page = named(new QWidget, u"Tabcompte");

    auto *criteria = group(page, u"gbcritere",
                           QStringLiteral("Restreindre l'affichage aux fiches correspondant aux critères suivants"));
    auto *edits = new QGridLayout;
    edits->setColumnStretch(1, 1);
    struct Edit {
        const char16_t *name;
        const char16_t *labelName;
        const char16_t *label;
        int limit;
    };
    const Edit editList[] = {
        {u"TexCb", u"labTexCb", u"Code Barre", 13},
        {u"text1", u"labtext1", u"Texte 1", 100},
        {u"text2", u"labtext2", u"Texte 2", 100},
    };
    int row = 0;
    for (const Edit &e : editList) {
        auto *edit = named(new QLineEdit(criteria), e.name);
        edit->setMaxLength(e.limit);
        edit->setMinimumWidth(180);
        auto *label = named(new QLabel(QString::fromUtf16(e.label), criteria), e.labelName);
        label->setBuddy(edit);
        i18n::FontApplier::MarkLabelledEdit(edit);
        edits->addWidget(label, row, 0);
        edits->addWidget(edit, row, 1);
        ++row;
    }

    auto *top = group(criteria, u"gbtop", QStringLiteral("Critere sur la zone top"));
    auto *topLayout = new QVBoxLayout(top);
    topLayout->setSpacing(2);
    topLayout->addWidget(radio(top, u"Ratop", QStringLiteral("Fiches topées")));
    topLayout->addWidget(radio(top, u"ranontop", QStringLiteral("Fiches non topées")));
    topLayout->addWidget(radio(top, u"Ratoutes", QStringLiteral("Toutes les fiches"), true));

    auto *criteriaLayout = new QHBoxLayout(criteria);
    criteriaLayout->addLayout(edits, 3);
    criteriaLayout->addWidget(top, 2);

    auto *refresh = named(new QToolButton(page), u"SpeedButton1");
    refresh->setIcon(ui::PictureIcon(ui::Picture::Refresh));
    refresh->setIconSize(QSize(32, 32));
    refresh->setAutoRaise(true);
    refresh->setToolTip(QStringLiteral("Réafficher la liste des fiches par rapport au critere"));

    auto *criteriaRow = new QHBoxLayout;
    criteriaRow->addWidget(criteria, 1);
    criteriaRow->addWidget(refresh, 0, Qt::AlignVCenter);

    auto *grid = named(new QTableView(page), u"s");
    grid->setMinimumSize(300, 120);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(pictureButton(page, u"sAjout", ui::Picture::Add, QStringLiteral("Ajouter"),
                                     QStringLiteral("Ajouter une fiche code barre")));
    buttons->addWidget(pictureButton(page, u"smodif", ui::Picture::Modify, QStringLiteral("Voir/Modifier"),
                                     QStringLiteral("Voir/modifier la fiche code barre selectionnée")));
    buttons->addWidget(pictureButton(page, u"ssupprime", ui::Picture::Delete, QStringLiteral("Supprimer"),
                                     QStringLiteral("Supprimer la fiche code barre sélectionné")));
    buttons->addStretch(1);
    buttons->addWidget(pictureButton(page, u"bimport", ui::Picture::Import, QStringLiteral("Importation"),
                                     QStringLiteral("Importer à partir d'un fichier texte")));

    auto *layout = new QVBoxLayout(page);
    layout->addLayout(criteriaRow);
    layout->addWidget(grid, 1);
    layout->addLayout(buttons);
    return page;
}

QWidget *MainWindow::BuildPrintingTab()
{
    auto *page = named(new QWidget, u"Tabachatremb");

    auto *settings = group(page, u"gpImp", QStringLiteral("Paramétrage de l'impression"));
    auto *labelType = named(new QLabel(QStringLiteral("Type d'étiquettes"), settings), u"Labtypeeti");
    auto *formats = named(new labels::LabelFormatCombo(settings), u"CombListeEtiquette");
    formats->setMinimumWidth(513);
    labelType->setBuddy(formats);
    auto *text1 = named(new QCheckBox(QStringLiteral("Imprimer le texte1"), settings), u"topimpTexte1");
    auto *text2 = named(new QCheckBox(QStringLiteral("Imprimer le texte2"), settings), u"topimpTexte2");
    text1->setChecked(true);
    text2->setChecked(true);
    auto *selection = group(settings, u"gbcritsup", QStringLiteral("Critère supplémentaire"));
    auto *selectionLayout = new QVBoxLayout(selection);
    selectionLayout->addWidget(radio(selection, u"Ratoutefiche", QStringLiteral("Imprimer toutes les fiches")));
    selectionLayout->addWidget(radio(selection, u"Rafichem",
                                     QStringLiteral("Imprimer seulement les fiches correspondant aux critères"), true));

    auto *textRow = new QHBoxLayout;
    textRow->addWidget(text1);
    textRow->addSpacing(24);
    textRow->addWidget(text2);
    textRow->addStretch(1);
    auto *formatRow = new QHBoxLayout;
    formatRow->addWidget(formats);
    formatRow->addStretch(1);
    auto *settingsLayout = new QVBoxLayout(settings);
    settingsLayout->addWidget(labelType);
    settingsLayout->addLayout(formatRow);
    settingsLayout->addLayout(textRow);
    settingsLayout->addWidget(selection);

    auto *codeSet = group(page, u"GrType", QStringLiteral("Type de code"));
    auto *codeSetLayout = new QVBoxLayout(codeSet);
    codeSetLayout->addWidget(radio(codeSet, u"RCodea", QStringLiteral("Code A"), true));
    codeSetLayout->addWidget(radio(codeSet, u"RCodeb", QStringLiteral("Code B")));
    codeSetLayout->addWidget(radio(codeSet, u"RCodeC", QStringLiteral("Code C")));
    codeSetLayout->addStretch(1);

    auto *printer = group(page, u"Gimprimante", QStringLiteral("Imprimante"));
    auto *printers = named(new QComboBox(printer), u"CombImprimante");
    printers->setMinimumWidth(300);
    printers->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    auto *printerLayout = new QVBoxLayout(printer);
    printerLayout->addWidget(printers);
    printerLayout->addStretch(1);

    auto *middleRow = new QHBoxLayout;
    middleRow->addWidget(codeSet);
    middleRow->addWidget(printer, 1);

    auto *print = group(page, u"gbpcodbar", QStringLiteral("Imprimer les codes barres"));
    auto *printLayout = new QHBoxLayout(print);
    printLayout->setAlignment(Qt::AlignLeft);
    auto *btimprime = pictureButton(print, u"btimprime", ui::Picture::Print, QStringLiteral("Lancer l'impression"));
    btimprime->setIconSize(QSize(28, 28));
    printLayout->addWidget(btimprime);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(settings);
    layout->addLayout(middleRow);
    layout->addWidget(print);
    layout->addStretch(1);
    return page;
}

QWidget *MainWindow::BuildParametersTab()
{
    auto *page = named(new QWidget, u"tabpara");
    auto *inner = named(new QTabWidget(page), u"PageParametres");
    auto *various = named(new QWidget, u"tabopdiv");
    inner->addTab(various, QStringLiteral("Opérations Diverses"));

    auto *language = group(various, u"GLangue", QStringLiteral("Langue"));
    auto *languageLayout = new QGridLayout(language);
    languageLayout->setHorizontalSpacing(10);
    struct Choice {
        const char16_t *name;
        const char16_t *text;
        ui::Picture flag;
    };
    const Choice choices[] = {
        {u"lfrancais", u"Français", ui::Picture::FlagFrance},
        {u"langlais", u"English", ui::Picture::FlagUnitedKingdom},
        {u"lportugais", u"Portugues", ui::Picture::FlagPortugal},
    };
    int row = 0;
    for (const Choice &choice : choices) {
        auto *flag = new QLabel(language);
        flag->setObjectName(QStringLiteral("imgdrapeau%1").arg(row + 1));
        flag->setPixmap(ui::DrawPicture(choice.flag, 32));
        languageLayout->addWidget(flag, row, 0);
        languageLayout->addWidget(radio(language, choice.name, QString::fromUtf16(choice.text), row == 0), row, 1);
        ++row;
    }
    auto *apply = pictureButton(language, u"btappliquer", ui::Picture::Apply, QStringLiteral("Appliquer"));
    languageLayout->addWidget(apply, 0, 2, 3, 1, Qt::AlignVCenter);
    languageLayout->setColumnStretch(3, 1);

    auto *exceptional = group(various, u"gpopexe", QStringLiteral("Opération exceptionnelle"));
    auto *exceptionalLayout = new QHBoxLayout(exceptional);
    exceptionalLayout->addWidget(pictureButton(exceptional, u"sdetruiretoutedonnee", ui::Picture::Reset,
                                               QStringLiteral("Reinitialiser toutes les données")));
    exceptionalLayout->addStretch(1);

    auto *variousLayout = new QVBoxLayout(various);
    variousLayout->addWidget(language);
    variousLayout->addWidget(exceptional);
    variousLayout->addStretch(1);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(inner);

    connect(apply, &QPushButton::clicked, this, &MainWindow::applyLanguage);
    return page;
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
            findChild<QGroupBox *>(QStringLiteral("GLangue"))->hide();
    } catch (const std::exception &) {
        // The built-in texts serve.
    }
    labels::FillLabelFormatCombo(*findChild<QComboBox *>(QStringLiteral("CombListeEtiquette")), m_labelFormats);
    auto *printers = findChild<QComboBox *>(QStringLiteral("CombImprimante"));
    printers->clear();
    printers->addItems(labels::FillPrinterList().names);
    printers->setCurrentIndex(-1);
}

void MainWindow::RefreshGrid()
{
    if (m_recordTab)
        m_recordTab->RefreshGrid();
    else
        m_recordList.RefreshRecordList();
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

void MainWindow::CheckCodeSetButton(int codeSet)
{
    const char16_t *names[] = {u"RCodea", u"RCodeb", u"RCodeC"};
    if (codeSet >= 1 && codeSet <= 3)
        findChild<QRadioButton *>(QString::fromUtf16(names[codeSet - 1]))->setChecked(true);
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
    CheckCodeSetButton(base::Parameters.CodeSet);
    const i18n::LanguageFile *table = i18n::InstalledLanguageTable();
    const bool languageFileLoaded = table != nullptr && table->Loaded();
    if (!parametersExisted && !languageFileLoaded && m_windows.languageChoice != nullptr) {
        m_windows.languageChoice->exec();
        base::Parameters.Language = m_windows.languageChoice->ChosenLanguage();
    }
    app::ApplyMainWindowTexts(this, m_labelFormats);
    if (m_print)
        m_print->ApplyTexts();
    app::CheckLanguageButtons(this, base::Parameters.Language);

    auto *formats = findChild<QComboBox *>(QStringLiteral("CombListeEtiquette"));
    if (base::Parameters.LabelFormatIndex >= 0 && base::Parameters.LabelFormatIndex < formats->count())
        formats->setCurrentIndex(base::Parameters.LabelFormatIndex);
    ui::SelectComboItem(*findChild<QComboBox *>(QStringLiteral("CombImprimante")), base::Parameters.PrinterNameText());

    m_firstActivation = false;
    m_activating = false;
}

void MainWindow::CloseDataOnExit()
{
    const auto *formats = findChild<QComboBox *>(QStringLiteral("CombListeEtiquette"));
    const auto *printers = findChild<QComboBox *>(QStringLiteral("CombImprimante"));
    base::SaveParameters(formats->currentIndex(), printers->currentIndex() < 0 ? QString() : printers->currentText(),
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
    // The outcome is not checked: whatever the desktop shows is all the user sees.
    QDesktopServices::openUrl(QUrl::fromLocalFile(store::ProgramDir() + QStringLiteral("ebk.chm")));
}

void MainWindow::showAboutBox()
{
    if (m_windows.aboutBox != nullptr)
        m_windows.aboutBox->exec();
}

void MainWindow::applyLanguage()
{
    base::Parameters.Language = app::CheckedLanguage(this);
    app::ApplyMainWindowTexts(this, m_labelFormats);
    if (m_print)
        m_print->ApplyTexts();
}

} // namespace etibarix::app
