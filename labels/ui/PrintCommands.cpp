#include "labels/ui/PrintCommands.h"

#include "records/RecordDatabase.h"
#include "base/DataDir.h"
#include "base/Error.h"
#include "base/Parameters.h"
#include "base/ui/GeneralErrorHandler.h"
#include "i18n/LanguageTable.h"
#include "labels/printer/PrinterList.h"
#include "labels/printer/PrintPipeline.h"
#include "labels/ui/LabelFormatCombo.h"
#include "labels/ui/ReportStatusWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QGroupBox>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>

namespace etibarix::labels {

namespace {

template <typename T> T *control(QWidget *window, const char *name)
{
    return window ? window->findChild<T *>(QString::fromLatin1(name)) : nullptr;
}

bool ticked(QWidget *window, const char *name)
{
    const auto *button = control<QAbstractButton>(window, name);
    return button && button->isChecked();
}

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

PrintCommands::PrintCommands(QWidget *window, records::RecordDatabase &data, ListStateSource listState)
    : QObject(window), m_window(window), m_data(data), m_listState(std::move(listState)), m_chooser(defaultChooser),
      m_status(std::make_unique<ReportStatusWindow>(window))
{
    m_report.setQuestionHandler([this](const QString &question) { return askNewerFile(question); });
    createButtons();
    ApplyTexts();
    if (auto *print = control<QAbstractButton>(m_window, "btimprime"))
        connect(print, &QAbstractButton::clicked, this, &PrintCommands::printLabels);
    if (auto *printers = control<QComboBox>(m_window, "CombImprimante"); printers && printers->count() == 0)
        FillPrinterCombo();
}

PrintCommands::~PrintCommands()
{
    // The status window is a child of the main window, which may already be
    // tearing its children down.
    if (m_status && m_status->parent())
        m_status->setParent(nullptr);
}

void PrintCommands::createButtons()
{
    auto *print = control<QAbstractButton>(m_window, "btimprime");
    auto *group = control<QGroupBox>(m_window, "gbpcodbar");
    QWidget *owner = group ? static_cast<QWidget *>(group) : (print ? print->parentWidget() : m_window);
    if (!owner)
        return;
    m_preview = new QPushButton(owner);
    m_preview->setObjectName(QStringLiteral("btapercu"));
    m_export = new QPushButton(owner);
    m_export->setObjectName(QStringLiteral("btexportpdf"));
    if (print) {
        // As tall as the print button with its picture, so the row lines up.
        m_preview->setMinimumHeight(print->sizeHint().height());
        m_export->setMinimumHeight(print->sizeHint().height());
    }
    if (auto *box = qobject_cast<QBoxLayout *>(owner->layout())) {
        const int at = print ? box->indexOf(print) : -1;
        box->insertWidget(at < 0 ? box->count() : at + 1, m_preview);
        box->insertWidget(at < 0 ? box->count() : at + 2, m_export);
    } else if (print) {
        // No layout to join: line them up to the right of the print button.
        const QRect r = print->geometry();
        m_preview->setGeometry(r.right() + 8, r.top(), r.width(), r.height());
        m_export->setGeometry(r.right() + 16 + r.width(), r.top(), r.width(), r.height());
    }
    connect(m_preview, &QPushButton::clicked, this, &PrintCommands::showPrintPreview);
    connect(m_export, &QPushButton::clicked, this, &PrintCommands::exportPdf);
}

void PrintCommands::ApplyTexts()
{
    if (m_preview)
        m_preview->setText(i18n::LangString(i18n::Text::PrintPreview));
    if (m_export)
        m_export->setText(i18n::LangString(i18n::Text::ExportPdf));
}

void PrintCommands::FillPrinterCombo()
{
    auto *printers = control<QComboBox>(m_window, "CombImprimante");
    if (!printers)
        return;
    printers->clear();
    printers->addItems(FillPrinterList().names);
    printers->setCurrentIndex(-1);
}

int PrintCommands::selectedCodeSet() const
{
    if (ticked(m_window, "RCodeb"))
        return 2;
    if (ticked(m_window, "RCodeC"))
        return 3;
    return 1;
}

PrintJobSettings PrintCommands::CurrentSettings() const
{
    PrintJobSettings settings;
    settings.codeSet = selectedCodeSet();
    if (const auto *printers = control<QComboBox>(m_window, "CombImprimante"); printers && printers->currentIndex() >= 0)
        settings.printerName = printers->currentText();
    if (const auto *formats = control<QComboBox>(m_window, "CombListeEtiquette"))
        settings.formatEntry = SelectedLabelFormat(*formats);
    settings.text1 = ticked(m_window, "topimpTexte1");
    settings.text2 = ticked(m_window, "topimpTexte2");
    settings.allRecords = ticked(m_window, "Ratoutefiche");
    if (!settings.allRecords && m_listState)
        settings.list = m_listState();
    const QFont menuFont = QApplication::font("QMenu");
    settings.menuFontName = menuFont.family();
    settings.menuFontCharset = 1;
    settings.layoutFile = base::DataDir() + QStringLiteral("etbdoc.rav");
    return settings;
}

bool PrintCommands::askNewerFile(const QString &question)
{
    if (m_inPreview && m_previewAnswer)
        return *m_previewAnswer;
    // The text separates its lines with carriage returns; a label breaks
    // lines at line feeds.
    QString shown = question;
    shown.replace(u'\r', u'\n');
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Warning"), shown, QMessageBox::Yes | QMessageBox::No,
                    m_window);
    box.setDefaultButton(QMessageBox::Yes);
    const bool yes = box.exec() == QMessageBox::Yes;
    if (m_inPreview)
        m_previewAnswer = yes;
    return yes;
}

PrintOutcome PrintCommands::runJob(const PrintJobSettings &settings, const PrintDestination &destination)
{
    const bool status = destination.kind != PrintDestination::Pages;
    JobScope scope(m_running, status ? m_status.get() : nullptr);
    PrintPipeline pipeline(m_report, m_data.commandQuery());
    pipeline.setStatus(m_status->sheetStatus());
    const PrintOutcome outcome = pipeline.run(settings, destination);
    m_lastResult = outcome.job;
    return outcome;
}

void PrintCommands::runCommand(const std::function<void(const PrintJobSettings &)> &command)
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
        m_window);
}

void PrintCommands::printLabels()
{
    if (m_running)
        return;
    base::Parameters.CodeSet = selectedCodeSet();
    runCommand([this](const PrintJobSettings &settings) { runJob(settings, PrintDestination::printer()); });
}

void PrintCommands::exportPdf()
{
    runCommand([this](const PrintJobSettings &settings) {
        const QString suggested =
            m_lastPdf.isEmpty() ? QDir::homePath() + QStringLiteral("/etiquettes.pdf") : m_lastPdf;
        QString path = m_chooser(m_window, i18n::LangString(i18n::Text::ExportPdfTitle), suggested);
        if (path.isEmpty())
            return;
        if (QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".pdf");
        m_lastPdf = path;
        runJob(settings, PrintDestination::pdfFile(path));
    });
}

void PrintCommands::showPrintPreview()
{
    runCommand([this](const PrintJobSettings &settings) {
        // The question about a newer project file and a reading error come
        // before the window opens; every redraw then reuses the answer.
        m_inPreview = true;
        m_previewAnswer.reset();
        m_previewError.clear();
        struct PreviewScope {
            PrintCommands *self;
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
        QPrintPreviewDialog dialog(&printer, m_window);
        dialog.setObjectName(QStringLiteral("Apercu"));
        dialog.setWindowTitle(i18n::LangString(i18n::Text::PreviewWindowTitle));
        connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
                [this, &settings](QPrinter *target) { paintPreview(target, settings); });
        dialog.resize(900, 1000);
        dialog.exec();
        m_report.CloseLayouts();
        if (!m_previewError.isEmpty())
            throw base::Error(m_previewError);
    });
}

void PrintCommands::paintPreview(QPrinter *printer, const PrintJobSettings &settings)
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

} // namespace etibarix::labels
