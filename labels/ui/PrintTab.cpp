#include "labels/ui/PrintTab.h"

#include "records/RecordDatabase.h"
#include "base/Cp1252.h"
#include "base/DataDir.h"
#include "base/Error.h"
#include "base/Parameters.h"
#include "base/ui/Controls.h"
#include "base/ui/GeneralErrorHandler.h"
#include "base/ui/SelectComboItem.h"
#include "i18n/AddedTexts.h"
#include "i18n/LanguageTable.h"
#include "i18n/Text.h"
#include "labels/formats/LabelFormats.h"
#include "labels/printer/PrintPipeline.h"
#include "labels/printer/PrinterList.h"
#include "labels/ui/LabelFormatCombo.h"
#include "labels/ui/ReportStatusWindow.h"
#include "labels/ui/SheetControls.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QDesktopServices>
#include <QUrl>
#include <QSpinBox>
#include <QVBoxLayout>

namespace etibarix::labels {

using i18n::Text;

namespace {

QString defaultChooser(QWidget *parent, const QString &title, const QString &suggested)
{
    return QFileDialog::getSaveFileName(parent, title, suggested, QStringLiteral("PDF (*.pdf)"));
}

// Keeps a flag set, and the status window hidden again, for one job.
class JobScope {
public:
    JobScope(bool &running, ReportStatusWindow *status) : m_running(running), m_status(status)
    {
        m_running = true;
        if (m_status)
            m_status->Start();
    }
    ~JobScope()
    {
        if (m_status)
            m_status->Finish();
        m_running = false;
    }
    JobScope(const JobScope &) = delete;
    JobScope &operator=(const JobScope &) = delete;

private:
    bool &m_running;
    ReportStatusWindow *m_status;
};

} // namespace

PrintTab::PrintTab(records::RecordDatabase &data, LabelFormats &formats, ListStateSource listState, QWidget *parent)
    : QWidget(parent), m_data(data), m_formats(formats), m_listState(std::move(listState)),
      m_chooser(defaultChooser), m_jobEnded([this](const JobEnd &end) { showJobEnd(end); }), m_status(std::make_unique<ReportStatusWindow>(this))
{
    setObjectName(QStringLiteral("Tabachatremb"));
    m_report.setQuestionHandler([this](const QString &question) { return askNewerFile(question); });
    buildControls();
    FillFormatCombo();
    FillPrinterCombo();
    // The other controls keep their design texts until the window's texts
    // are applied; the job buttons have none of their own.
    retranslateJobButtons();
}

PrintTab::~PrintTab()
{
    // The status window is a child of this tab, which may already be tearing
    // its children down.
    if (m_status && m_status->parent())
        m_status->setParent(nullptr);
}

void PrintTab::buildControls()
{
    using ui::group;
    using ui::named;
    using ui::radio;

    m_gpImp = group(this, u"gpImp", QStringLiteral("Paramétrage de l'impression"));
    m_labtypeeti = named(new QLabel(QStringLiteral("Type d'étiquettes"), m_gpImp), u"Labtypeeti");
    m_combListeEtiquette = named(new LabelFormatCombo(m_gpImp), u"CombListeEtiquette");
    m_combListeEtiquette->setMinimumWidth(513);
    m_labtypeeti->setBuddy(m_combListeEtiquette);
    m_topimpTexte1 = named(new QCheckBox(QStringLiteral("Imprimer le texte1"), m_gpImp), u"topimpTexte1");
    m_topimpTexte2 = named(new QCheckBox(QStringLiteral("Imprimer le texte2"), m_gpImp), u"topimpTexte2");
    m_topimpTexte1->setChecked(true);
    m_topimpTexte2->setChecked(true);
    m_gbcritsup = group(m_gpImp, u"gbcritsup", QStringLiteral("Critère supplémentaire"));
    m_ratoutefiche = radio(m_gbcritsup, u"Ratoutefiche", QStringLiteral("Imprimer toutes les fiches"));
    m_rafichem = radio(m_gbcritsup, u"Rafichem", QStringLiteral("Imprimer seulement les fiches correspondant aux critères"),
                       true);
    auto *selectionLayout = new QVBoxLayout(m_gbcritsup);
    selectionLayout->addWidget(m_ratoutefiche);
    selectionLayout->addWidget(m_rafichem);

    auto *textRow = new QHBoxLayout;
    textRow->addWidget(m_topimpTexte1);
    textRow->addSpacing(24);
    textRow->addWidget(m_topimpTexte2);
    textRow->addStretch(1);
    auto *formatRow = new QHBoxLayout;
    formatRow->addWidget(m_combListeEtiquette);
    formatRow->addStretch(1);
    auto *settingsLayout = new QVBoxLayout(m_gpImp);
    settingsLayout->addWidget(m_labtypeeti);
    settingsLayout->addLayout(formatRow);
    settingsLayout->addLayout(textRow);
    settingsLayout->addWidget(m_gbcritsup);

    m_grType = group(this, u"GrType", QStringLiteral("Type de code"));
    m_rcodea = radio(m_grType, u"RCodea", QStringLiteral("Code A"), true);
    m_rcodeb = radio(m_grType, u"RCodeb", QStringLiteral("Code B"));
    m_rcodeC = radio(m_grType, u"RCodeC", QStringLiteral("Code C"));
    auto *codeSetLayout = new QVBoxLayout(m_grType);
    codeSetLayout->addWidget(m_rcodea);
    codeSetLayout->addWidget(m_rcodeb);
    codeSetLayout->addWidget(m_rcodeC);
    codeSetLayout->addStretch(1);

    m_gimprimante = group(this, u"Gimprimante", QStringLiteral("Imprimante"));
    m_combImprimante = named(new QComboBox(m_gimprimante), u"CombImprimante");
    m_combImprimante->setMinimumWidth(300);
    m_combImprimante->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    auto *printerLayout = new QVBoxLayout(m_gimprimante);
    printerLayout->addWidget(m_combImprimante);
    printerLayout->addStretch(1);

    auto *middleRow = new QHBoxLayout;
    middleRow->addWidget(m_grType);
    middleRow->addWidget(m_gimprimante, 1);

    m_gbpcodbar = group(this, u"gbpcodbar", QStringLiteral("Imprimer les codes barres"));
    m_btimprime = ui::pictureButton(m_gbpcodbar, u"btimprime", ui::Picture::Print,
                                     QStringLiteral("Lancer l'impression"));
    m_btimprime->setIconSize(QSize(28, 28));
    m_btapercu = named(new QPushButton(m_gbpcodbar), u"btapercu");
    m_btexportpdf = named(new QPushButton(m_gbpcodbar), u"btexportpdf");
    // As tall as the print button with its picture, so the row lines up.
    m_btapercu->setMinimumHeight(m_btimprime->sizeHint().height());
    m_btexportpdf->setMinimumHeight(m_btimprime->sizeHint().height());
    auto *printLayout = new QHBoxLayout(m_gbpcodbar);
    printLayout->setAlignment(Qt::AlignLeft);
    printLayout->addWidget(m_btimprime);
    printLayout->addWidget(m_btapercu);
    printLayout->addWidget(m_btexportpdf);

    buildSheetControls(*settingsLayout, *textRow, *printerLayout);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_gpImp);
    layout->addLayout(middleRow);
    layout->addWidget(m_gbpcodbar);
    layout->addStretch(1);

    connect(m_btimprime, &QPushButton::clicked, this, &PrintTab::printLabels);
    connect(m_btapercu, &QPushButton::clicked, this, &PrintTab::showPrintPreview);
    connect(m_btexportpdf, &QPushButton::clicked, this, &PrintTab::exportPdf);
}

void PrintTab::buildSheetControls(QBoxLayout &settingsLayout, QBoxLayout &textRow, QBoxLayout &printerLayout)
{
    m_sheet = new SheetControls(this, m_formats, *m_combListeEtiquette, *m_combImprimante);
    // Format buttons under the list with the start label at their right, the
    // shrink box beside the text boxes, calibration under the printer list.
    auto *formatButtons = new QHBoxLayout;
    formatButtons->addWidget(m_sheet->newButton());
    formatButtons->addWidget(m_sheet->editButton());
    formatButtons->addWidget(m_sheet->deleteButton());
    formatButtons->addStretch(1);
    formatButtons->addWidget(m_sheet->startCaption());
    formatButtons->addWidget(m_sheet->startBox());
    settingsLayout.insertLayout(2, formatButtons);
    textRow.insertSpacing(3, 24);
    textRow.insertWidget(4, m_sheet->fitBox());
    printerLayout.insertWidget(1, m_sheet->calibrateButton(), 0, Qt::AlignLeft);

    m_sheet->setErrorReporter([this](const QString &text) {
        QMessageBox::warning(this, QApplication::applicationName(), text);
    });
    m_sheet->setQuestion([this](const QString &text) {
        return QMessageBox::question(this, QApplication::applicationName(), text, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    });
    m_sheet->setTestSheetPrinter([this](int entry, const QString &printer, PrinterOffset offset) {
        if (m_running)
            return;
        PrintJobSettings settings = CurrentSettings();
        settings.formatEntry = entry;
        m_sheet->applyTo(settings);
        settings.printerName = printer;
        settings.offsetMm = offset.point();
        JobScope scope(m_running, m_status.get());
        PrintPipeline pipeline(m_report, m_data.commandQuery());
        pipeline.setStatus(m_status->sheetStatus());
        pipeline.runTestSheet(settings, PrintDestination::printer());
    });
}

void PrintTab::retranslate()
{
    FillFormatCombo();
    m_gpImp->setTitle(i18n::LangString(Text::PrintSettingsGroup));
    m_labtypeeti->setText(i18n::LangString(Text::LabelFormatCaption));
    m_topimpTexte1->setText(i18n::LangString(Text::PrintText1));
    m_topimpTexte2->setText(i18n::LangString(Text::PrintText2));
    m_gbcritsup->setTitle(i18n::LangString(Text::PrintSelectionGroup));
    m_ratoutefiche->setText(i18n::LangString(Text::PrintAllRecords));
    m_rafichem->setText(i18n::LangString(Text::PrintMatchingRecords));
    m_gbpcodbar->setTitle(i18n::LangString(Text::PrintGroup));
    m_btimprime->setText(i18n::LangString(Text::StartPrinting));
    m_btimprime->setToolTip(
        QStringLiteral("%1 (Ctrl+P)").arg(i18n::LangString(Text::StartPrinting)));
    m_gimprimante->setTitle(i18n::LangString(Text::Printer));
    retranslateJobButtons();
    m_sheet->retranslate();
}

void PrintTab::retranslateJobButtons()
{
    m_btapercu->setText(i18n::LangString(Text::PrintPreview));
    m_btexportpdf->setText(i18n::LangString(Text::ExportPdf));
}

void PrintTab::FillFormatCombo()
{
    FillLabelFormatCombo(*m_combListeEtiquette, m_formats);
}

void PrintTab::FillPrinterCombo()
{
    m_printers = m_printerSource ? m_printerSource() : FillPrinterList();
    m_combImprimante->clear();
    m_combImprimante->addItems(m_printers.names);
    m_combImprimante->setCurrentIndex(-1);
}

void PrintTab::checkCodeSet(int codeSet)
{
    QRadioButton *const buttons[] = {m_rcodea, m_rcodeb, m_rcodeC};
    if (codeSet >= 1 && codeSet <= 3)
        buttons[codeSet - 1]->setChecked(true);
}

int PrintTab::formatIndex() const
{
    return m_combListeEtiquette->currentIndex();
}

void PrintTab::selectFormatIndex(int index)
{
    if (index >= 0 && index < m_combListeEtiquette->count())
        m_combListeEtiquette->setCurrentIndex(index);
}

QString PrintTab::chosenPrinter() const
{
    return m_combImprimante->currentIndex() < 0 ? QString() : m_combImprimante->currentText();
}

void PrintTab::selectPrinter(const QString &name)
{
    ui::SelectComboItem(*m_combImprimante, name);
    // No saved printer, or one that is gone: the box shows the printer the
    // jobs go to anyway.
    if (m_combImprimante->currentIndex() < 0 && !m_printers.defaultName.isEmpty())
        m_combImprimante->setCurrentIndex(m_combImprimante->findText(m_printers.defaultName, Qt::MatchExactly));
}

int PrintTab::selectedCodeSet() const
{
    if (m_rcodeb->isChecked())
        return 2;
    if (m_rcodeC->isChecked())
        return 3;
    return 1;
}

PrintJobSettings PrintTab::CurrentSettings() const
{
    PrintJobSettings settings;
    settings.codeSet = selectedCodeSet();
    settings.printerName = chosenPrinter();
    settings.formatEntry = SelectedLabelFormat(*m_combListeEtiquette);
    settings.text1 = m_topimpTexte1->isChecked();
    settings.text2 = m_topimpTexte2->isChecked();
    settings.allRecords = m_ratoutefiche->isChecked();
    if (!settings.allRecords && m_listState)
        settings.list = m_listState();
    const QFont menuFont = QApplication::font("QMenu");
    settings.menuFontName = menuFont.family();
    settings.menuFontCharset = 1;
    settings.layoutFile = base::DataDir() + QStringLiteral("etbdoc.rav");
    m_sheet->applyTo(settings);
    return settings;
}

bool PrintTab::askNewerFile(const QString &question)
{
    if (m_inPreview && m_previewAnswer)
        return *m_previewAnswer;
    // The text separates its lines with carriage returns; a label breaks
    // lines at line feeds.
    QString shown = question;
    shown.replace(u'\r', u'\n');
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Warning"), shown, QMessageBox::Yes | QMessageBox::No,
                    this);
    box.setDefaultButton(QMessageBox::Yes);
    const bool yes = box.exec() == QMessageBox::Yes;
    if (m_inPreview)
        m_previewAnswer = yes;
    return yes;
}

bool PrintTab::askPrintAnyway(const PrintFindings &findings)
{
    const QString format = LabelFormats::DisplayPartOfItem(m_combListeEtiquette->currentText()).trimmed();
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(),
                    FindingsQuestion(findings, format, i18n::CurrentLanguage()), QMessageBox::Yes | QMessageBox::No,
                    this);
    box.setObjectName(QStringLiteral("PrintAnyway"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

PrintOutcome PrintTab::runJob(const PrintJobSettings &settings, const PrintDestination &destination)
{
    const bool status = destination.kind != PrintDestination::Pages;
    JobScope scope(m_running, status ? m_status.get() : nullptr);
    PrintPipeline pipeline(m_report, m_data.commandQuery());
    pipeline.setStatus(m_status->sheetStatus());
    // The preview uses no paper and redraws often: it shows without asking.
    if (status)
        pipeline.setCheckHandler([this](const PrintFindings &findings) { return askPrintAnyway(findings); });
    const PrintOutcome outcome = pipeline.run(settings, destination);
    m_lastResult = outcome.job;
    // A job that put labels on paper (or into a file) used up the slots
    // before the start; a preview did not.
    if (destination.kind != PrintDestination::Pages)
        m_sheet->jobFinished(!outcome.job.cancelled && outcome.job.sheets > 0);
    return outcome;
}

void PrintTab::runCommand(const std::function<void(const PrintJobSettings &)> &command)
{
    // One job at a time; errors go to the general error box.
    if (m_running)
        return;
    ui::GeneralErrorHandler::Run(
        [this, &command] {
            const PrintJobSettings settings = CurrentSettings();
            if (settings.formatEntry >= 1)
                command(settings);
        },
        this);
}

void PrintTab::printLabels()
{
    if (m_running)
        return;
    base::Parameters.CodeSet = selectedCodeSet();
    runCommand([this](const PrintJobSettings &settings) {
        const PrintOutcome outcome = runJob(settings, PrintDestination::printer());
        if (outcome.job.cancelled)
            m_jobEnded({JobEnd::Cancelled, i18n::LangString(Text::PrintCancelled), {}});
        else if (outcome.job.sheets > 0)
            m_jobEnded({JobEnd::Printed, SheetsSentText(outcome.job.sheets, outcome.printer, i18n::CurrentLanguage()), {}});
    });
}

void PrintTab::exportPdf()
{
    runCommand([this](const PrintJobSettings &settings) {
        const QString suggested =
            m_lastPdf.isEmpty() ? QDir::homePath() + QStringLiteral("/etiquettes.pdf") : m_lastPdf;
        QString path = m_chooser(this, i18n::LangString(Text::ExportPdfTitle), suggested);
        if (path.isEmpty())
            return;
        if (QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".pdf");
        m_lastPdf = path;
        const PrintOutcome outcome = runJob(settings, PrintDestination::pdfFile(path));
        if (outcome.job.cancelled)
            m_jobEnded({JobEnd::Cancelled, i18n::LangString(Text::ExportCancelled), {}});
        else if (!outcome.pdfFile.isEmpty())
            m_jobEnded({JobEnd::Written, PdfWrittenText(outcome, i18n::CurrentLanguage()), outcome.pdfFile});
    });
}

void PrintTab::showPrintPreview()
{
    runCommand([this](const PrintJobSettings &settings) {
        // The question about a newer project file and a reading error come
        // before the window opens; every redraw then reuses the answer.
        m_inPreview = true;
        m_previewAnswer.reset();
        m_previewError.clear();
        struct PreviewScope {
            PrintTab *self;
            ~PreviewScope()
            {
                self->m_inPreview = false;
                self->m_previewAnswer.reset();
            }
        } previewScope{this};
        m_report.SetLayoutFile(settings.layoutFile);
        m_report.OpenLayouts();
        // Nothing to print: nothing is shown, as for the printer.
        if (PrintPipeline(m_report, m_data.commandQuery()).selectedRecords(settings) == 0) {
            m_report.CloseLayouts();
            return;
        }

        QPrinter printer(QPrinter::HighResolution);
        QPrintPreviewDialog dialog(&printer, this);
        dialog.setObjectName(QStringLiteral("Apercu"));
        dialog.setWindowTitle(i18n::LangString(Text::PreviewWindowTitle));
        connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
                [this, &settings](QPrinter *target) { paintPreview(target, settings); });
        // As tall as a sheet allows, never beyond the screen.
        QSize size(900, 1000);
        if (const QScreen *screen = this->screen())
            size = size.boundedTo(screen->availableGeometry().size());
        dialog.resize(size);
        dialog.exec();
        m_report.CloseLayouts();
        if (!m_previewError.isEmpty())
            throw base::Error(m_previewError);
    });
}

void PrintTab::paintPreview(QPrinter *printer, const PrintJobSettings &settings)
{
    if (m_running)
        return;
    int pages = 0;
    try {
        pages = runJob(settings, PrintDestination::onto(*printer)).pages;
    } catch (const base::Error &error) {
        // Shown once the preview is closed: a box over a half-drawn preview
        // would stop its drawing.
        if (m_previewError.isEmpty())
            m_previewError = error.text();
    }
    Q_EMIT previewPainted(pages);
}

QString PrintTab::SheetsSentText(int sheets, const QString &printer, int language)
{
    return i18n::AddedText(sheets == 1 ? Text::SheetsSentOne : Text::SheetsSentMany, language)
        .arg(i18n::GroupedNumber(sheets, language), printer);
}

QString PrintTab::PdfWrittenText(const PrintOutcome &outcome, int language)
{
    const int sheets = outcome.job.sheets;
    const int labels = outcome.job.labels;
    return i18n::AddedText(Text::PdfWritten, language)
        .arg(QDir::toNativeSeparators(outcome.pdfFile),
             i18n::AddedText(sheets == 1 ? Text::SheetsOne : Text::SheetsMany, language)
                 .arg(i18n::GroupedNumber(sheets, language)),
             i18n::AddedText(labels == 1 ? Text::LabelsOne : Text::LabelsMany, language)
                 .arg(i18n::GroupedNumber(labels, language)));
}

QString PrintTab::FindingsQuestion(const PrintFindings &findings, const QString &format, int language)
{
    // One decimal, with the decimal comma of French and Portuguese.
    const auto mm = [language](double value) {
        QString text = QString::number(value, 'f', 1);
        if (language != 2)
            text.replace(u'.', u',');
        return text;
    };
    constexpr int shown = 5;
    QStringList parts;
    for (const PrintFinding::Kind kind : {PrintFinding::LostCharacters, PrintFinding::TooWide}) {
        QStringList lines;
        int count = 0;
        for (const PrintFinding &f : findings) {
            if (f.kind != kind || ++count > shown)
                continue;
            const QString number = QString::number(f.record);
            const QString barcode = base::fromCp1252(f.barcode);
            lines << (kind == PrintFinding::LostCharacters
                          ? i18n::AddedText(Text::PrintLostCharactersLine, language)
                                .arg(number, barcode, base::fromCp1252(f.lost))
                          : i18n::AddedText(Text::PrintTooWideLine, language)
                                .arg(number, barcode, mm(f.symbolMm), mm(f.labelMm)));
        }
        if (count == 0)
            continue;
        if (count == shown + 1)
            lines << i18n::AddedText(Text::PrintMoreOne, language);
        else if (count > shown + 1)
            lines << i18n::AddedText(Text::PrintMoreMany, language).arg(i18n::GroupedNumber(count - shown, language));
        const QString intro = kind == PrintFinding::LostCharacters
                                  ? i18n::AddedText(Text::PrintLostCharactersIntro, language)
                                  : i18n::AddedText(Text::PrintTooWideIntro, language).arg(format);
        parts << intro + u'\n' + lines.join(u'\n');
    }
    parts << i18n::AddedText(Text::PrintAnyway, language);
    return parts.join(QStringLiteral("\n\n"));
}

void PrintTab::showJobEnd(const JobEnd &end)
{
    QMessageBox box(end.kind == JobEnd::Cancelled ? QMessageBox::Warning : QMessageBox::Information,
                    QStringLiteral("Etibarix"), end.text, QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("JobEnded"));
    QPushButton *open = nullptr;
    if (!end.file.isEmpty())
        open = box.addButton(i18n::LangString(Text::OpenPdfFile), QMessageBox::ActionRole);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    if (open != nullptr && box.clickedButton() == open)
        QDesktopServices::openUrl(QUrl::fromLocalFile(end.file));
}

} // namespace etibarix::labels
