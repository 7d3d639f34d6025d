#pragma once
// The print tab of the main window (`Tabachatremb`): the label format, the
// text lines, which records, the code set, the printer, and the job buttons.
// "Lancer l'impression" (`btimprime`) prints the records as label sheets on
// the printer chosen in `CombImprimante`, with the "Report Status" window
// while the sheets go out; beside it, a print preview (`btapercu`) shows the
// same sheets on screen and `btexportpdf` writes them into a PDF file.

#include "labels/print/LabelReport.h"
#include "labels/print/PrintJob.h"
#include "labels/printer/PrinterList.h"
#include "records/ListState.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPrinter;
class QPushButton;
class QRadioButton;

namespace etibarix::records {
class RecordDatabase;
}

namespace etibarix::labels {

class LabelFormatCombo;
class LabelFormats;
class ReportStatusWindow;
class SheetControls;
struct PrintDestination;
struct PrintOutcome;

class PrintTab : public QWidget {
    Q_OBJECT
public:
    using ListStateSource = std::function<records::ListState()>;
    using PrinterSource = std::function<PrinterList()>;
    // How a job ended, as the user is told.
    struct JobEnd {
        enum Kind { Printed, Written, Cancelled };
        Kind kind = Printed;
        QString text;
        QString file;   // Written: the PDF file, which the message offers to open
    };
    using JobEndHandler = std::function<void(const JobEnd &end)>;
    // Asks for the PDF file to write (title, suggested path); empty: cancelled.
    using PdfFileChooser = std::function<QString(QWidget *parent, const QString &title, const QString &suggested)>;

    // Builds the controls and fills the format list (first entry selected)
    // and the printer list (nothing selected). listState gives the record
    // list's criteria and sort order for "only the matching records".
    PrintTab(records::RecordDatabase &data, LabelFormats &formats, ListStateSource listState, QWidget *parent = nullptr);
    ~PrintTab() override;

    // The texts of the current language. Rebuilds the format list in that
    // language, which selects its first entry.
    void retranslate();
    // Replaces the items of `CombImprimante` by the installed printers and
    // selects nothing.
    void FillPrinterCombo();
    // Rebuilds the format list in the current language, first entry selected.
    void FillFormatCombo();

    // The selections the parameter file keeps.
    void checkCodeSet(int codeSet);            // 1..3; anything else changes nothing
    int formatIndex() const;                   // position in the list, -1 when none
    void selectFormatIndex(int index);         // a position outside the list changes nothing
    QString chosenPrinter() const;             // empty when none is selected
    void selectPrinter(const QString &name);   // see SelectComboItem

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
    // Where the end of a job is told (default: a message box, with a button
    // that opens a written PDF file).
    void setJobEndHandler(JobEndHandler handler) { m_jobEnded = std::move(handler); }
    // The installed printers (default: the system's); FillPrinterCombo reads it.
    void setPrinterSource(PrinterSource source) { m_printerSource = std::move(source); }
    ReportStatusWindow &statusWindow() { return *m_status; }
    LabelReport &report() { return m_report; }
    QPushButton *printButton() const { return m_btimprime; }
    QPushButton *previewButton() const { return m_btapercu; }
    QPushButton *exportButton() const { return m_btexportpdf; }
    const PrintJobResult &lastResult() const { return m_lastResult; }
    // Start label, shrink to fit, the user's formats and printer calibration.
    SheetControls &sheetControls() const { return *m_sheet; }

    // "3 planches envoyées à l'imprimante Office." and the like.
    static QString SheetsSentText(int sheets, const QString &printer, int language);
    static QString PdfWrittenText(const PrintOutcome &outcome, int language);
    // The question before a job whose records would not print as they are:
    // up to five records of each kind of finding, then "Print anyway?".
    static QString FindingsQuestion(const PrintFindings &findings, const QString &format, int language);

Q_SIGNALS:
    // The preview drew its pages (emitted every time the preview asks).
    void previewPainted(int pages);

private:
    void buildControls();
    // Puts the sheet controls on the tab and wires them to its jobs.
    void buildSheetControls(QBoxLayout &settingsLayout, QBoxLayout &textRow, QBoxLayout &printerLayout);
    void retranslateJobButtons();
    // Runs the job, with the status window unless it goes to a preview.
    PrintOutcome runJob(const PrintJobSettings &settings, const PrintDestination &destination);
    // Runs command with the print tab's settings when a format is chosen.
    void runCommand(const std::function<void(const PrintJobSettings &)> &command);
    void paintPreview(QPrinter *printer, const PrintJobSettings &settings);
    bool askNewerFile(const QString &question);
    bool askPrintAnyway(const PrintFindings &findings);
    void showJobEnd(const JobEnd &end);
    int selectedCodeSet() const;

    records::RecordDatabase &m_data;
    LabelFormats &m_formats;
    ListStateSource m_listState;
    PdfFileChooser m_chooser;
    JobEndHandler m_jobEnded;
    PrinterSource m_printerSource;
    PrinterList m_printers;

    QGroupBox *m_gpImp = nullptr;
    QLabel *m_labtypeeti = nullptr;
    LabelFormatCombo *m_combListeEtiquette = nullptr;
    QCheckBox *m_topimpTexte1 = nullptr;
    QCheckBox *m_topimpTexte2 = nullptr;
    QGroupBox *m_gbcritsup = nullptr;
    QRadioButton *m_ratoutefiche = nullptr;
    QRadioButton *m_rafichem = nullptr;
    QGroupBox *m_grType = nullptr;
    QRadioButton *m_rcodea = nullptr;
    QRadioButton *m_rcodeb = nullptr;
    QRadioButton *m_rcodeC = nullptr;
    QGroupBox *m_gimprimante = nullptr;
    QComboBox *m_combImprimante = nullptr;
    QGroupBox *m_gbpcodbar = nullptr;
    QPushButton *m_btimprime = nullptr;
    QPushButton *m_btapercu = nullptr;
    QPushButton *m_btexportpdf = nullptr;
    SheetControls *m_sheet = nullptr;

    // The project lives across jobs: after a statement error it stays open
    // and the next job prints with it as it is.
    LabelReport m_report;
    std::unique_ptr<ReportStatusWindow> m_status;
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
