#include "records/ui/ImportWizard.h"

#include "base/Error.h"
#include "base/ui/GeneralErrorHandler.h"
#include "base/ui/Pictures.h"
#include "i18n/LanguageTable.h"
#include "i18n/ui/FontApplier.h"
#include "records/ui/CsvPreviewModel.h"

#include <algorithm>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace etibarix::records {
namespace {

// Position of the no-field item in the lists of text 2 and quantity.
constexpr int NoFieldItem = ImportFieldCount;
constexpr int DefaultColumnWidth = 64;
constexpr int MaxColumnWidth = 220;

template <typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QComboBox *dropDownList(QWidget *parent, const char *name)
{
    auto *combo = named(new QComboBox(parent), name);
    combo->setEditable(false);
    return combo;
}

QPushButton *pictureButton(QWidget *parent, const char *name, const QIcon &icon)
{
    auto *button = named(new QPushButton(icon, QString(), parent), name);
    button->setIconSize(QSize(20, 20));
    button->setAutoDefault(false);
    return button;
}

// FillFieldList: language text 113 followed by 1 to 10.
void FillFieldList(QComboBox *combo)
{
    combo->clear();
    const QString stem = i18n::LangString(i18n::Text::FieldItemStem);
    for (int i = 1; i <= ImportFieldCount; ++i)
        combo->addItem(stem + QString::number(i));
}

// Field number of a list position; the eleventh item means no field.
int fieldOf(const QComboBox *combo)
{
    const int position = combo->currentIndex();
    return position == NoFieldItem ? NoField : position + 1;
}

void plainMessage(QWidget *parent, const QString &caption, const QString &text, QMessageBox::Icon icon)
{
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

} // namespace

ImportWizard::ImportWizard(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fimportcsv"));
    setModal(true);
    setFixedSize(616, 318);

    m_pages = named(new QStackedWidget(this), "PageControl1");

    // Page 1: the file.
    auto *page1 = named(new QWidget, "TabSheet1");
    m_gparametre = named(new QGroupBox(page1), "gparametre");
    m_Labseparateur = named(new QLabel(m_gparametre), "Labseparateur");
    m_combSepa = dropDownList(m_gparametre, "combSepa");
    m_combSepa->addItems({QStringLiteral(","), QStringLiteral(";")});
    m_labligne = named(new QLabel(m_gparametre), "labligne");
    m_CombnbLentete = dropDownList(m_gparametre, "CombnbLentete");
    for (int i = 0; i <= 6; ++i)
        m_CombnbLentete->addItem(QString::number(i));
    m_encodingLabel = named(new QLabel(m_gparametre), "encodingLabel");
    m_encodingList = dropDownList(m_gparametre, "encodingList");
    // In the order of TextEncoding; the first item's text is translated.
    m_encodingList->addItems({QString(), QStringLiteral("UTF-8"), QStringLiteral("Windows-1252")});
    m_encodingLabel->setBuddy(m_encodingList);
    m_skipExisting = named(new QCheckBox(m_gparametre), "skipExistingBox");
    m_labinfo = named(new QLabel(m_gparametre), "labinfo");
    m_labinfo->setWordWrap(true);
    m_LabchemFicLabel = named(new QLabel(m_gparametre), "LabchemFicLabel");
    m_LabchemFic = named(new QLineEdit(m_gparametre), "LabchemFic");
    m_LabchemFic->setReadOnly(true);
    m_LabchemFicLabel->setBuddy(m_LabchemFic);
    i18n::FontApplier::MarkLabelledEdit(m_LabchemFic);
    // A plain button, unlike the picture buttons under the pages: it keeps its
    // own font when an interface font is applied.
    m_Souvrir = named(new QPushButton(m_gparametre), "Souvrir");
    m_Souvrir->setAutoDefault(false);

    auto *fileGrid = new QGridLayout(m_gparametre);
    fileGrid->setColumnStretch(2, 1);
    fileGrid->addWidget(m_Labseparateur, 0, 0);
    fileGrid->addWidget(m_combSepa, 0, 1);
    fileGrid->addWidget(m_labligne, 1, 0);
    fileGrid->addWidget(m_CombnbLentete, 1, 1);
    fileGrid->addWidget(m_encodingLabel, 2, 0);
    fileGrid->addWidget(m_encodingList, 2, 1);
    fileGrid->addWidget(m_skipExisting, 3, 0, 1, 4);
    fileGrid->addWidget(m_labinfo, 4, 0, 1, 4);
    fileGrid->setRowMinimumHeight(5, 8);
    fileGrid->addWidget(m_LabchemFicLabel, 6, 0, 1, 4);
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(m_LabchemFic, 1);
    fileRow->addWidget(m_Souvrir);
    fileGrid->addLayout(fileRow, 7, 0, 1, 4);
    fileGrid->setRowStretch(8, 1);
    m_combSepa->setMinimumWidth(60);
    m_CombnbLentete->setMinimumWidth(60);
    auto *page1Layout = new QVBoxLayout(page1);
    page1Layout->setContentsMargins(0, 0, 0, 0);
    page1Layout->addWidget(m_gparametre);

    // Page 2: the preview and the field choices.
    auto *page2 = named(new QWidget, "TabSheet2");
    m_sgrille1 = named(new QTableView(page2), "sgrille1");
    m_preview = new CsvPreviewModel(m_sgrille1);
    m_sgrille1->setModel(m_preview);
    m_sgrille1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_sgrille1->setSelectionMode(QAbstractItemView::SingleSelection);
    m_sgrille1->setWordWrap(false);
    // Tab goes on to the field lists instead of walking the cells.
    m_sgrille1->setTabKeyNavigation(false);
    // Fixed row heights keep a preview of 100,000 lines as quick as a short one.
    m_sgrille1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_sgrille1->verticalHeader()->setDefaultSectionSize(20);
    m_sgrille1->verticalHeader()->setMinimumWidth(12);
    m_sgrille1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_sgrille1->horizontalHeader()->setDefaultSectionSize(DefaultColumnWidth);
    m_sgrille1->horizontalHeader()->setResizeContentsPrecision(300);
    m_sgrille1->horizontalHeader()->setHighlightSections(false);

    m_gparchamp = named(new QGroupBox(page2), "gparchamp");
    m_labcodebarre = named(new QLabel(m_gparchamp), "labcodebarre");
    m_labtext1 = named(new QLabel(m_gparchamp), "labtext1");
    m_Labtext2 = named(new QLabel(m_gparchamp), "Labtext2");
    m_labquantite = named(new QLabel(m_gparchamp), "labquantite");
    m_combcb = dropDownList(m_gparchamp, "combcb");
    m_combt1 = dropDownList(m_gparchamp, "combt1");
    m_combt2 = dropDownList(m_gparchamp, "combt2");
    m_combQuantite = dropDownList(m_gparchamp, "combQuantite");
    auto *fieldGrid = new QGridLayout(m_gparchamp);
    fieldGrid->setVerticalSpacing(2);
    const std::pair<QLabel *, QComboBox *> fieldPairs[] = {
        {m_labcodebarre, m_combcb}, {m_labtext1, m_combt1}, {m_Labtext2, m_combt2}, {m_labquantite, m_combQuantite}};
    for (int c = 0; c < 4; ++c) {
        fieldGrid->addWidget(fieldPairs[c].first, 0, c);
        fieldGrid->addWidget(fieldPairs[c].second, 1, c);
        fieldGrid->setColumnStretch(c, 1);
        fieldPairs[c].first->setBuddy(fieldPairs[c].second);
    }
    m_Labetatimport = named(new QLabel(page2), "Labetatimport");
    m_Labetatimport->setStyleSheet(QStringLiteral("color: red"));
    m_Labetatimport->setMinimumHeight(m_Labetatimport->fontMetrics().height());

    auto *page2Layout = new QVBoxLayout(page2);
    page2Layout->setContentsMargins(0, 0, 0, 0);
    page2Layout->setSpacing(4);
    page2Layout->addWidget(m_sgrille1, 1);
    page2Layout->addWidget(m_gparchamp);
    page2Layout->addWidget(m_Labetatimport);

    m_pages->addWidget(page1);
    m_pages->addWidget(page2);

    // The buttons under the pages.
    QStyle *style = QApplication::style();
    m_bprecedent = pictureButton(this, "bprecedent", style->standardIcon(QStyle::SP_ArrowBack));
    m_bsuivant = pictureButton(this, "bsuivant", style->standardIcon(QStyle::SP_ArrowForward));
    m_bimport = pictureButton(this, "bimport", ui::PictureIcon(ui::Picture::Import));
    m_sretour = pictureButton(this, "sretour", ui::PictureIcon(ui::Picture::Quit));
    m_sretour->setIconSize(QSize(24, 24));
    m_sretour->setFixedWidth(48);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_bprecedent);
    buttons->addWidget(m_bsuivant);
    buttons->addWidget(m_bimport);
    buttons->addStretch(1);
    buttons->addWidget(m_sretour);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(m_pages, 1);
    layout->addLayout(buttons);

    connect(m_Souvrir, &QPushButton::clicked, this, [this] { ui::GeneralErrorHandler::Run([this] { chooseCsvFile(); }, this); });
    connect(m_bsuivant, &QPushButton::clicked, this, &ImportWizard::goToNextPage);
    connect(m_bprecedent, &QPushButton::clicked, this, &ImportWizard::goToPreviousPage);
    connect(m_bimport, &QPushButton::clicked, this, &ImportWizard::openImportWizard);
    connect(m_sretour, &QPushButton::clicked, this, &ImportWizard::closeWizard);

    retranslate();
    ResetWizard();
    ShowPage();
}

void ImportWizard::SetCommandQuery(store::Query *commandQuery)
{
    m_commandQuery = commandQuery;
}

void ImportWizard::showEvent(QShowEvent *event)
{
    whenActivated();
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

void ImportWizard::whenActivated()
{
    retranslate();
    ResetWizard();
    m_currentPage = 1;
    ShowPage();
}

void ImportWizard::retranslate()
{
    for (QComboBox *combo : {m_combcb, m_combt1, m_combt2, m_combQuantite})
        FillFieldList(combo);
    m_combt2->addItem(i18n::LangString(i18n::Text::NoFieldItem));
    m_combQuantite->addItem(i18n::LangString(i18n::Text::NoFieldItem));

    setWindowTitle(i18n::LangString(i18n::Text::ImportWizardCaption));
    m_gparametre->setTitle(i18n::LangString(i18n::Text::ImportFileGroup));
    m_Labseparateur->setText(i18n::LangString(i18n::Text::FieldSeparator));
    m_labligne->setText(i18n::LangString(i18n::Text::HeaderLinesToSkip));
    m_encodingLabel->setText(i18n::LangString(i18n::Text::ImportEncoding));
    m_encodingList->setItemText(0, i18n::LangString(i18n::Text::EncodingAutomatic));
    m_skipExisting->setText(i18n::LangString(i18n::Text::SkipExistingBarcodes));
    m_labinfo->setText(i18n::LangString(i18n::Text::FirstTenFieldsOnly));
    m_LabchemFicLabel->setText(i18n::LangString(i18n::Text::FilePath));
    m_Souvrir->setText(i18n::LangString(i18n::Text::OpenFile));
    m_bprecedent->setText(i18n::LangString(i18n::Text::Previous));
    m_bsuivant->setText(i18n::LangString(i18n::Text::Next));
    m_bimport->setText(i18n::LangString(i18n::Text::StartImport));
    m_gparchamp->setTitle(i18n::LangString(i18n::Text::FieldAssignmentGroup));
    m_labcodebarre->setText(i18n::LangString(i18n::Text::BarcodeCriterion));
    m_labtext1->setText(i18n::LangString(i18n::Text::Text1));
    m_Labtext2->setText(i18n::LangString(i18n::Text::Text2));
    m_labquantite->setText(i18n::LangString(i18n::Text::Quantity));
}

void ImportWizard::ResetWizard()
{
    m_CombnbLentete->setCurrentIndex(0);
    m_combSepa->setCurrentIndex(0);
    m_encodingList->setCurrentIndex(0);
    m_skipExisting->setChecked(false);
    m_combcb->setCurrentIndex(0);
    m_combt1->setCurrentIndex(1);
    m_combt2->setCurrentIndex(2);
    m_combQuantite->setCurrentIndex(NoFieldItem);

    QStringList headings;
    const QString stem = i18n::LangString(i18n::Text::PreviewColumnStem);
    for (int i = 1; i <= CsvPreviewModel::Columns; ++i)
        headings << stem + QString::number(i);
    m_preview->SetHeadings(headings);
    m_preview->Clear();
    for (int c = 0; c < CsvPreviewModel::Columns; ++c)
        m_sgrille1->horizontalHeader()->resizeSection(c, DefaultColumnWidth);
}

void ImportWizard::ShowPage()
{
    const bool second = m_currentPage == 2;
    m_pages->setCurrentIndex(second ? 1 : 0);
    m_bprecedent->setEnabled(second);
    m_bsuivant->setEnabled(!second);
    m_bimport->setVisible(second);
    // Enter goes on: to the field page from the file page, then the import.
    (second ? m_bimport : m_bsuivant)->setDefault(true);
}

void ImportWizard::SetChosenPath(const QString &path)
{
    m_chosenPath = path;
    // Shown in capitals; the path itself is kept as chosen, since letter
    // case matters to the file system.
    m_LabchemFic->setText(path.toUpper());
}

void ImportWizard::chooseCsvFile()
{
    // The title is the same in every language.
    QFileDialog dialog(this, QStringLiteral("Sélectionnez le fichier csv"));
    // The program's open dialog, the one the restore of a backup uses too.
    dialog.setObjectName(QStringLiteral("OpenDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("fichier csv (*.csv)"));
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (!m_chosenPath.isEmpty())
        dialog.setDirectory(QFileInfo(m_chosenPath).absolutePath());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QStringList files = dialog.selectedFiles();
    if (!files.isEmpty())
        SetChosenPath(files.first());
}

void ImportWizard::goToNextPage()
{
    if (m_currentPage >= 2 || m_importing)
        return;
    if (m_LabchemFic->text().isEmpty()) {
        plainMessage(this, i18n::LangString(i18n::Text::OperationCancelled), i18n::LangString(i18n::Text::NoFileChosen), QMessageBox::NoIcon);
        return;
    }
    bool previewed = false;
    ui::GeneralErrorHandler::Run(
        [this, &previewed] {
            PreviewFile();
            previewed = true;
        },
        this);
    if (!previewed)
        return;   // a failed preview stays on page 1
    ++m_currentPage;
    ShowPage();
}

void ImportWizard::goToPreviousPage()
{
    if (m_currentPage <= 1 || m_importing)
        return;
    --m_currentPage;
    ShowPage();
}

void ImportWizard::PreviewFile()
{
    const int headerLines = m_CombnbLentete->currentIndex();
    const char separator = m_combSepa->currentText().at(0).toLatin1();
    const QString path = m_chosenPath;
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        // A grid left from another file would show lines that will not be imported.
        m_preview->Clear();
        return;
    }
    m_preview->SetLines(ReadPreviewLines(path, separator, headerLines, Choices().encoding), separator);
    // Columns as wide as their first lines need (the header looks at a few
    // hundred rows, not the whole file), within bounds.
    QHeaderView *header = m_sgrille1->horizontalHeader();
    m_sgrille1->resizeColumnsToContents();
    for (int c = 0; c < CsvPreviewModel::Columns; ++c)
        header->resizeSection(c, std::clamp(header->sectionSize(c), DefaultColumnWidth, MaxColumnWidth));
    m_sgrille1->scrollToTop();
}

CsvImportOptions ImportWizard::Choices() const
{
    CsvImportOptions o;
    o.headerLines = m_CombnbLentete->currentIndex();
    o.separator = m_combSepa->currentText().at(0).toLatin1();
    o.fieldCb = m_combcb->currentIndex() + 1;
    o.fieldText1 = m_combt1->currentIndex() + 1;
    o.fieldText2 = fieldOf(m_combt2);
    o.fieldQuantity = fieldOf(m_combQuantite);
    o.encoding = static_cast<i18n::TextEncoding>(m_encodingList->currentIndex());
    o.skipExisting = m_skipExisting->isChecked();
    return o;
}

void ImportWizard::SetImporting(bool importing)
{
    m_importing = importing;
    for (QWidget *w : {static_cast<QWidget *>(m_bprecedent), static_cast<QWidget *>(m_bsuivant),
             static_cast<QWidget *>(m_bimport), static_cast<QWidget *>(m_sretour), static_cast<QWidget *>(m_gparchamp),
             static_cast<QWidget *>(m_gparametre)})
        w->setEnabled(!importing);
    if (!importing)
        ShowPage();
}

void ImportWizard::RunImport()
{
    if (m_importing)
        return;
    if (m_commandQuery == nullptr)
        throw base::Error(i18n::LangString(i18n::Text::NoTableForImport));
    const CsvImportOptions options = Choices();
    SetImporting(true);
    // Whatever happens, the wizard comes back usable and the label clears.
    struct Restore {
        ImportWizard *wizard;
        ~Restore()
        {
            wizard->m_Labetatimport->clear();
            wizard->SetImporting(false);
        }
    } restore{this};

    // The count is put on the label at most every 40 ms: repainting it for
    // every line would cost more than the import itself, and no eye follows
    // faster. Events are still processed for every line.
    QElapsedTimer shown;
    shown.start();
    m_lastResult = RunCsvImport(*m_commandQuery, m_chosenPath, options, [this, &shown](int n) {
        if (n > 1 && shown.hasExpired(40)) {
            m_Labetatimport->setText(ImportCountText(n));
            shown.restart();
        }
        QCoreApplication::processEvents();
    });
    if (m_lastResult.linesRead > 1)
        m_Labetatimport->setText(ImportCountText(m_lastResult.linesRead));
    plainMessage(this, i18n::LangString(i18n::Text::ImportFinished), ImportFinalText(m_lastResult),
        m_lastResult.clean() ? QMessageBox::NoIcon : QMessageBox::Warning);
}

void ImportWizard::openImportWizard()
{
    if (m_importing)
        return;
    bool imported = false;
    ui::GeneralErrorHandler::Run(
        [this, &imported] {
            RunImport();
            imported = true;
        },
        this);
    if (imported)
        accept();
}

void ImportWizard::closeWizard()
{
    if (!m_importing)
        reject();
}

void ImportWizard::closeEvent(QCloseEvent *event)
{
    if (m_importing) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void ImportWizard::reject()
{
    if (!m_importing)
        QDialog::reject();
}

} // namespace etibarix::records
