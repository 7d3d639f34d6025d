#pragma once
// The print job: the records with a quantity above 0 and a barcode, each as
// many labels as its quantity, filled slot after slot into the chosen label
// layout; every full sheet and the last partial sheet is one print job.

#include "labels/formats/SheetFormat.h"
#include "labels/print/PrintChecks.h"
#include "labels/print/PrintJobTarget.h"
#include "records/ListState.h"

#include <QByteArray>
#include <QPointF>
#include <QString>

#include <optional>

namespace etibarix::labels {

// The settings of the print tab (and of `etibarix-cli print`) the job reads.
struct PrintJobSettings {
    int codeSet = 1;              // 1, 2, 3 for Code A, B, C
    QString printerName;          // empty: the default printer
    int formatEntry = -1;         // label format entry 1..13, 14 up for customFormat; -1 prints nothing
    bool text1 = true;            // print lib1 on the first text line
    bool text2 = true;            // print lib2 on the second text line
    bool allRecords = true;       // false: only the records matching the criteria
    records::ListState list;      // the record list's criteria and sort state
    QString menuFontName;         // the system's menu font, for the text lines
    int menuFontCharset = 1;
    QString layoutFile;           // the report project file (etbdoc.rav)
    int startSlot = 1;            // first slot filled on the first sheet, 1..labels per sheet
    bool shrinkToFit = false;     // narrower modules for symbols wider than their label
    std::optional<SheetFormat> customFormat;   // the user's format: drawn without a layout
    std::optional<QPointF> offsetMm;  // moves this job's sheets; unset: the printer's
                                      // calibration, nothing for a PDF file or a preview
};

struct PrintJobResult {
    int sheets = 0;               // sheets printed
    int labels = 0;               // labels on them
    bool cancelled = false;       // the user stopped the job
    bool declined = false;        // the user chose not to start it after its findings
};

// The select statement of the job: the records with a quantity and a
// barcode, all of them in record order or those matching the list's
// criteria in the list's order.
QByteArray PrintJobStatement(const PrintJobSettings &settings);

// Runs the job. Errors of reading the project and of the statement are thrown
// as base::Error: after a statement error the project stays open (the next job
// goes on with it); any other failure closes the query and the project first.
// With a check handler the job's records are checked first, and a job with
// findings prints only when the handler agrees.
PrintJobResult PrintLabels(const PrintJobSettings &settings, PrintJobTarget &target,
                           const PrintCheckHandler &check = {});

} // namespace etibarix::labels
