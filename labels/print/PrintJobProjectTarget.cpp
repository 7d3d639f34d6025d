#include "labels/print/PrintJobProjectTarget.h"

#include "base/Cp1252.h"
#include "labels/project/DataText.h"
#include "labels/print/LabelReport.h"
#include "labels/code128/Code128BarCode.h"
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

constexpr double mmPerInch = 25.4;

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
    ReportBarCode *barcode = slotComponent(report, slot);
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

void PrintJobProjectTarget::blankSlotBarcodes(const QByteArray &report, int first, int last)
{
    m_blankReport = report;
    m_blankFirst = first;
    m_blankLast = last;
}

ReportBarCode *PrintJobProjectTarget::slotComponent(const QByteArray &report, int slot) const
{
    const ReportPage *page = pageOf(m_report, report);
    if (!page)
        return nullptr;
    return dynamic_cast<ReportBarCode *>(
        m_report.FindLayoutComponent(QByteArray("Code128BarCode" + QByteArray::number(slot)), page));
}

std::optional<SlotBarcode> PrintJobProjectTarget::slotBarcode(const QByteArray &report, int slot)
{
    const ReportBarCode *barcode = slotComponent(report, slot);
    if (!barcode)
        return std::nullopt;
    const auto fitted = m_layoutModules.find(barcode);
    const double module = fitted != m_layoutModules.end() ? fitted->second : barcode->barWidth;
    return SlotBarcode{module * mmPerInch, barcode->optimize, barcode->toCode128().placement().Left};
}

void PrintJobProjectTarget::fitSlotBarcode(const QByteArray &report, int slot, double rightMm)
{
    ReportBarCode *barcode = slotComponent(report, slot);
    if (!barcode)
        return;
    const double layoutModule = m_layoutModules.try_emplace(barcode, barcode->barWidth).first->second;
    Code128BarCode drawn = barcode->toCode128();
    Code128Symbol &symbol = drawn.symbol();
    symbol.FilterBarText(barcode->value(m_report.project()));
    symbol.setOptimize(barcode->optimize);
    symbol.setCodePage(barcode->codePage);
    const int modules = symbol.EncodeSymbol().modules();
    const double left = drawn.placement().Left;
    const std::optional<double> module = Code128Symbol::FitBarWidth(modules, layoutModule * mmPerInch, rightMm - left);
    barcode->barWidth = module ? *module / mmPerInch : layoutModule;
}

bool PrintJobProjectTarget::runLabelReport(const QByteArray &report)
{
    m_sink.setJobPrinter(m_printerName);
    // The blank slots' barcodes are off the page for this sheet only.
    std::vector<std::unique_ptr<ReportComponent>> taken;
    ReportPage *page = m_blankLast >= m_blankFirst ? pageOf(m_report, m_blankReport) : nullptr;
    if (page) {
        for (int k = m_blankFirst; k <= m_blankLast; ++k) {
            if (auto component = page->takeComponent(QByteArray("Code128BarCode" + QByteArray::number(k))))
                taken.push_back(std::move(component));
        }
    }
    m_blankLast = 0;
    const auto putBack = [&] {
        for (auto &component : taken)
            page->addComponent(std::move(component));
    };
    bool printed = false;
    try {
        printed = m_report.RunLabelReport(report, m_sink);
    } catch (...) {
        putBack();
        throw;
    }
    putBack();
    return printed;
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
    return {m_query.text("cb"), m_query.text("lib1"), m_query.text("lib2"), m_query.integer("quantite"),
            m_query.integer("num")};
}

void PrintJobProjectTarget::nextRecord()
{
    m_query.next();
}

void PrintJobProjectTarget::firstRecord()
{
    m_query.first();
}

void PrintJobProjectTarget::closeQuery()
{
    m_query.close();
}

} // namespace etibarix::labels
