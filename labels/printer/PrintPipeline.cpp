#include "labels/printer/PrintPipeline.h"

#include "labels/print/LabelReport.h"
#include "labels/print/PdfSink.h"
#include "labels/print/Calibration.h"
#include "labels/print/CustomSheetTarget.h"
#include "labels/print/PrintJobProjectTarget.h"
#include "labels/print/SheetDrawing.h"
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
        sink.setOffset(OffsetFor(settings, destination.kind, PrinterSink::resolvePrinter(settings.printerName)));
        PrintJobProjectTarget target(m_layouts, m_query, sink);
        if (settings.customFormat) {
            // The user's formats have no layout: the target keeps only the query.
            CustomSheetTarget custom(target, sink, *settings.customFormat, settings.shrinkToFit);
            outcome.job = PrintLabels(settings, custom, m_check);
        } else {
            outcome.job = PrintLabels(settings, target, m_check);
        }
    };
    return runOn(destination, settings, print, outcome);
}

PrintOutcome PrintPipeline::runTestSheet(const PrintJobSettings &settings, const PrintDestination &destination)
{
    PrintOutcome outcome;
    const std::optional<SheetFormat> sheet =
        settings.customFormat ? settings.customFormat : BuiltinSheet(settings.formatEntry);
    if (!sheet)
        return outcome;
    const auto print = [&](SheetSink &sink, bool status) {
        sink.setStatus(status ? m_status : SheetStatus{});
        sink.setOffset(OffsetFor(settings, destination.kind, PrinterSink::resolvePrinter(settings.printerName)));
        if (PrintTestSheet(sink, *sheet, settings.printerName))
            outcome.job.sheets = 1;
        else
            outcome.job.cancelled = true;
    };
    return runOn(destination, settings, print, outcome);
}

QPointF PrintPipeline::OffsetFor(const PrintJobSettings &settings, PrintDestination::Kind kind, const QString &printer)
{
    if (settings.offsetMm)
        return *settings.offsetMm;
    if (kind != PrintDestination::Printer || printer.isEmpty())
        return {};
    return Calibration().offset(printer).point();
}

PrintOutcome PrintPipeline::runOn(const PrintDestination &destination, const PrintJobSettings &settings,
                                  const std::function<void(SheetSink &, bool)> &print, PrintOutcome &outcome)
{
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
