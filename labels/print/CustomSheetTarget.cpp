#include "labels/print/CustomSheetTarget.h"

#include "labels/print/SheetDrawing.h"
#include "labels/print/SheetSink.h"


namespace etibarix::labels {

CustomSheetTarget::CustomSheetTarget(PrintJobTarget &records, SheetSink &sink, SheetFormat format, bool fit)
    : m_records(records), m_sink(sink), m_format(std::move(format)), m_fit(fit)
{
}

void CustomSheetTarget::setLayoutParam(const QByteArray &name, const QByteArray &value)
{
    m_params.insert(name.toLower(), value);
}

void CustomSheetTarget::setSlotCodeSet(const QByteArray &, int slot, int codeSet)
{
    m_codeSets.insert(slot, codeSet);
}

void CustomSheetTarget::setReportPrinter(const QByteArray &, const QString &printerName)
{
    m_printer = printerName;
}

bool CustomSheetTarget::runLabelReport(const QByteArray &)
{
    m_sink.setJobPrinter(m_printer);
    PageSurface *page = m_sink.beginSheet(SheetSetupOf(m_format, m_printer));
    if (!page)
        return false;
    try {
        PageSurface &surface = *page;
        for (int slot = 1; slot <= m_format.slotCount(); ++slot) {
            const QByteArray number = QByteArray::number(slot);
            LabelContent content;
            content.barcode = m_params.value("cb" + number);
            if (content.barcode.isEmpty())
                continue;
            content.line1 = m_params.value("cbliba" + number);
            content.line2 = m_params.value("cblibb" + number);
            content.codeSet = m_codeSets.value(slot, 1);
            DrawCustomLabel(surface, m_format, slot, content, m_fit);
        }
    } catch (...) {
        m_sink.cancel();
        throw;
    }
    m_sink.endSheet();
    return true;
}

} // namespace etibarix::labels
