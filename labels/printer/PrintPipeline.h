#pragma once
// One print job from its settings to its sheets: the records the settings
// select, the label layouts they fill, and the sheets sent to a printer,
// written into a PDF file or drawn on the pages of a preview. The terminal
// tool and the print tab both print through it.

#include "labels/print/PrintJob.h"
#include "labels/print/SheetSink.h"

#include <QPointF>
#include <QString>

#include <functional>

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
    // Told what the records of a job would print other than they hold, before
    // its first sheet; a false answer leaves the job unstarted. Not asked for
    // the test sheet.
    void setCheckHandler(PrintCheckHandler check) { m_check = std::move(check); }

    // Runs the job. Errors are thrown as base::Error; a PDF file is then left
    // as it was. A cancelled PDF job writes nothing: a file with half the
    // sheets would pass for the whole job.
    PrintOutcome run(const PrintJobSettings &settings, const PrintDestination &destination);

    // Prints the test sheet of the settings' format (its label outlines,
    // centre crosses and millimetre rulers) instead of records, moved like
    // the job's sheets would be.
    PrintOutcome runTestSheet(const PrintJobSettings &settings, const PrintDestination &destination);

    // The offset a job's sheets get: the one the settings ask for, else on a
    // printer the calibration stored for it; a PDF file or a preview is not
    // moved unless asked.
    static QPointF OffsetFor(const PrintJobSettings &settings, PrintDestination::Kind kind, const QString &printer);

    // The number of records the job selects (with or without a quantity).
    int selectedRecords(const PrintJobSettings &settings);

private:
    // Makes the destination's sink, runs `print` on it and completes outcome.
    static PrintOutcome runOn(const PrintDestination &destination, const PrintJobSettings &settings,
                              const std::function<void(SheetSink &, bool status)> &print, PrintOutcome &outcome);

    LabelReport &m_layouts;
    store::Query &m_query;
    SheetStatus m_status;
    PrintCheckHandler m_check;
};

} // namespace etibarix::labels
