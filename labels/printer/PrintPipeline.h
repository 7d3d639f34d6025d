#pragma once
// One print job from its settings to its sheets: the records the settings
// select, the label layouts they fill, and the sheets sent to a printer,
// written into a PDF file or drawn on the pages of a preview. The terminal
// tool and the print tab both print through it.

#include "labels/print/PrintJob.h"
#include "labels/print/SheetSink.h"

#include <QString>

class QPrinter;

namespace etibarix::store {
class Query;
}

namespace etibarix::labels {

class LabelReport;

// Where the sheets of a job go.
struct PrintDestination {
    enum Kind { Printer, PdfFile, Pages };
    Kind kind = Printer;
    QString pdfPath;            // PdfFile: the file written
    QPrinter *pages = nullptr;  // Pages: the printer a preview draws on

    static PrintDestination printer() { return {}; }
    static PrintDestination pdfFile(const QString &path) { return {PdfFile, path, nullptr}; }
    static PrintDestination onto(QPrinter &printer) { return {Pages, {}, &printer}; }
};

// How a job ended.
struct PrintOutcome {
    PrintJobResult job;   // sheets, labels, cancelled
    QString printer;      // Printer: the printer the sheets went to
    QString pdfFile;      // PdfFile: the absolute path of the file written,
                          // empty when nothing was written (no sheet, cancelled)
    int pages = 0;        // Pages: the pages drawn
};

class PrintPipeline {
public:
    // The layouts stay with their owner across jobs: after a statement error
    // the project is left open and the next job prints with it as it is.
    PrintPipeline(LabelReport &layouts, store::Query &query);

    // The status window's hooks, for the jobs that go to a printer or a file.
    void setStatus(SheetStatus status) { m_status = std::move(status); }

    // Runs the job. Errors are thrown as base::Error; a PDF file is then left
    // as it was. A cancelled PDF job writes nothing: a file with half the
    // sheets would pass for the whole job.
    PrintOutcome run(const PrintJobSettings &settings, const PrintDestination &destination);

    // The number of records the job selects (with or without a quantity).
    int selectedRecords(const PrintJobSettings &settings);

private:
    LabelReport &m_layouts;
    store::Query &m_query;
    SheetStatus m_status;
};

} // namespace etibarix::labels
