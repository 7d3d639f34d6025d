#pragma once
// The print tab's commands on the main window's controls: "Lancer
// l'impression" (`btimprime`) prints the records as label sheets on the
// printer chosen in `CombImprimante`, with the "Report Status" window while
// the sheets go out; beside it, a print preview (`btapercu`) shows the same
// sheets on screen and `btexportpdf` writes them into a PDF file.
//
// The controls are found by objectName; only the two extra buttons are
// created here, in the layout of `gbpcodbar` right after `btimprime`.

#include "labels/print/LabelReport.h"
#include "labels/print/PrintJob.h"
#include "records/ListState.h"

#include <QObject>
#include <QPointer>
#include <QPushButton>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QAbstractButton;
class QPrinter;
class QWidget;

namespace etibarix::records {
class RecordDatabase;
}

namespace etibarix::labels {

class ReportStatusWindow;
struct PrintDestination;
struct PrintOutcome;

class PrintCommands : public QObject {
    Q_OBJECT
public:
    using ListStateSource = std::function<records::ListState()>;
    // Asks for the PDF file to write (title, suggested path); empty: cancelled.
    using PdfFileChooser = std::function<QString(QWidget *parent, const QString &title, const QString &suggested)>;

    PrintCommands(QWidget *window, records::RecordDatabase &data, ListStateSource listState);
    ~PrintCommands() override;

    // Puts the texts of the preview and PDF buttons in the current language
    // (call again after a language change).
    void ApplyTexts();
    // Replaces the items of `CombImprimante` by the installed printers and
    // selects nothing. The constructor does it when the combo is empty.
    void FillPrinterCombo();

    // The job settings as the tab's controls stand now (formatEntry -1 when
    // no label format is selected or its number cannot be read).
    PrintJobSettings CurrentSettings() const;

    // The click handlers. Errors are shown by the general error handler.
    void printLabels();
    void showPrintPreview();
    void exportPdf();

    // For tests and other callers: the PDF file chooser (default: the save
    // file dialog), the status window, the layout project of the jobs.
    void setPdfFileChooser(PdfFileChooser chooser) { m_chooser = std::move(chooser); }
    ReportStatusWindow &statusWindow() { return *m_status; }
    LabelReport &report() { return m_report; }
    QPushButton *previewButton() const { return m_preview; }
    QPushButton *exportButton() const { return m_export; }
    const PrintJobResult &lastResult() const { return m_lastResult; }

Q_SIGNALS:
    // The preview drew its pages (emitted every time the preview asks).
    void previewPainted(int pages);

private:
    // Runs the job, with the status window unless it goes to a preview.
    PrintOutcome runJob(const PrintJobSettings &settings, const PrintDestination &destination);
    // Runs command with the print tab's settings when a format is chosen.
    void runCommand(const std::function<void(const PrintJobSettings &)> &command);
    void paintPreview(QPrinter *printer, const PrintJobSettings &settings);
    bool askNewerFile(const QString &question);
    int selectedCodeSet() const;
    void createButtons();

    QWidget *m_window;
    records::RecordDatabase &m_data;
    ListStateSource m_listState;
    PdfFileChooser m_chooser;
    // The project lives across jobs: after a statement error it stays open
    // and the next job prints with it as it is.
    LabelReport m_report;
    std::unique_ptr<ReportStatusWindow> m_status;
    QPointer<QPushButton> m_preview;
    QPointer<QPushButton> m_export;
    bool m_running = false;
    // During a preview the question about a newer project file is asked once
    // and its answer kept for every redraw.
    std::optional<bool> m_previewAnswer;
    bool m_inPreview = false;
    QString m_previewError;
    QString m_lastPdf;
    PrintJobResult m_lastResult;
};

} // namespace etibarix::labels
