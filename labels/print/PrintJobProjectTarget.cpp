#include "labels/print/PrintJobProjectTarget.h"

#include "base/Cp1252.h"
#include "labels/project/DataText.h"
#include "labels/print/LabelReport.h"
#include "labels/project/ReportBarCode.h"
#include "labels/project/ReportPage.h"
#include "labels/print/SheetSink.h"
#include "store/Query.h"

namespace etibarix::labels {

namespace {

ReportPage *pageOf(const LabelReport &report, const QByteArray &reportName)
{
    return report.findLayoutPage(QByteArray(reportName + ".page1"));
}

} // namespace

PrintJobProjectTarget::PrintJobProjectTarget(LabelReport &report, store::Query &query, SheetSink &sink)
    : m_report(report), m_query(query), m_sink(sink)
{
}

void PrintJobProjectTarget::setLayoutFile(const QString &path)
{
    m_report.SetLayoutFile(path);
}

void PrintJobProjectTarget::openLayouts()
{
    m_report.OpenLayouts();
}

void PrintJobProjectTarget::closeLayouts()
{
    m_report.CloseLayouts();
}

void PrintJobProjectTarget::setLayoutParam(const QByteArray &name, const QByteArray &value)
{
    m_report.SetLayoutParam(name, value);
}

void PrintJobProjectTarget::setSlotCodeSet(const QByteArray &report, int slot, int codeSet)
{
    const ReportPage *page = pageOf(m_report, report);
    if (!page)
        return;
    auto *barcode = dynamic_cast<ReportBarCode *>(
        m_report.FindLayoutComponent(QByteArray("Code128BarCode" + QByteArray::number(slot)), page));
    if (!barcode)
        return;
    switch (codeSet) {
    case 1: barcode->codePage = CodePage128::cpCodeA; break;
    case 2: barcode->codePage = CodePage128::cpCodeB; break;
    case 3: barcode->codePage = CodePage128::cpCodeC; break;
    default: break;
    }
}

void PrintJobProjectTarget::setTextFonts(const QByteArray &report, int labelsPerPage, const QString &fontName,
                                         int charset)
{
    // The layouts carry no EAN barcodes (a class this program does not load),
    // so only the text boxes take the font.
    const ReportPage *page = pageOf(m_report, report);
    if (!page)
        return;
    const QByteArray name = base::toCp1252Lossy(fontName);
    for (int k = 1; k <= 2 * labelsPerPage; ++k) {
        auto *text = dynamic_cast<DataText *>(m_report.FindLayoutComponent(QByteArray("DataText" + QByteArray::number(k)), page));
        if (!text)
            continue;
        text->font().name = name;
        text->font().charset = charset;
    }
}

void PrintJobProjectTarget::removeEmptySlotBarcodes(const QByteArray &report, int first, int last)
{
    ReportPage *page = pageOf(m_report, report);
    if (!page)
        return;
    for (int k = first; k <= last; ++k)
        page->removeComponent(QByteArray("Code128BarCode" + QByteArray::number(k)));
}

void PrintJobProjectTarget::setReportPrinter(const QByteArray &report, const QString &printerName)
{
    if (!m_report.isOpen())
        return;
    if (Report *r = m_report.project().findReport(report)) {
        r->setPrinter(base::toCp1252Lossy(printerName));
        m_printerName = printerName;
    }
}

bool PrintJobProjectTarget::runLabelReport(const QByteArray &report)
{
    m_sink.setJobPrinter(m_printerName);
    return m_report.RunLabelReport(report, m_sink);
}

int PrintJobProjectTarget::openQuery(const QByteArray &statement)
{
    m_query.close();
    m_query.setSql(statement);
    m_query.open();
    return m_query.recordCount();
}

PrintRecord PrintJobProjectTarget::currentRecord()
{
    return {m_query.text("cb"), m_query.text("lib1"), m_query.text("lib2"), m_query.integer("quantite")};
}

void PrintJobProjectTarget::nextRecord()
{
    m_query.next();
}

void PrintJobProjectTarget::closeQuery()
{
    m_query.close();
}

} // namespace etibarix::labels
