#include "labels/printer/PrintPipeline.h"

#include "labels/print/LabelReport.h"
#include "labels/print/PdfSink.h"
#include "labels/print/PrintJobProjectTarget.h"
#include "labels/printer/PagedPrinterSink.h"
#include "labels/printer/PrinterSink.h"
#include "store/Query.h"

#include <QFileInfo>

namespace etibarix::labels {

PrintPipeline::PrintPipeline(LabelReport &layouts, store::Query &query) : m_layouts(layouts), m_query(query) {}

PrintOutcome PrintPipeline::run(const PrintJobSettings &settings, const PrintDestination &destination)
{
    PrintOutcome outcome;
    const auto print = [&](SheetSink &sink, bool status) {
        sink.setStatus(status ? m_status : SheetStatus{});
        PrintJobProjectTarget target(m_layouts, m_query, sink);
        outcome.job = PrintLabels(settings, target);
    };
    switch (destination.kind) {
    case PrintDestination::Printer: {
        PrinterSink sink;
        print(sink, true);
        outcome.printer = sink.printerUsed().isEmpty() ? PrinterSink::resolvePrinter(settings.printerName)
                                                       : sink.printerUsed();
        break;
    }
    case PrintDestination::PdfFile: {
        PdfSink sink(destination.pdfPath);
        print(sink, true);
        if (!outcome.job.cancelled && sink.finish())
            outcome.pdfFile = QFileInfo(destination.pdfPath).absoluteFilePath();
        break;
    }
    case PrintDestination::Pages: {
        PagedPrinterSink sink(*destination.pages);
        // The preview's pages use no paper: no status window.
        print(sink, false);
        outcome.pages = sink.finish();
        break;
    }
    }
    return outcome;
}

int PrintPipeline::selectedRecords(const PrintJobSettings &settings)
{
    m_query.close();
    m_query.setSql(PrintJobStatement(settings));
    m_query.open();
    const int count = m_query.recordCount();
    m_query.close();
    return count;
}

} // namespace etibarix::labels
