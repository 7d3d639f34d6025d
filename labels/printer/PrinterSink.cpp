#include "labels/printer/PrinterSink.h"

#include "base/Error.h"
#include "i18n/LanguageTable.h"

#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

namespace etibarix::labels {

PrinterSink::PrinterSink() = default;

PrinterSink::~PrinterSink()
{
    if (m_painter.isActive()) {
        m_printer->abort();
        m_painter.end();
    }
}

QString PrinterSink::resolvePrinter(const QString &name)
{
    if (!name.isEmpty() && QPrinterInfo::availablePrinterNames().contains(name))
        return name;
    return QPrinterInfo::defaultPrinterName();
}

PageSurface &PrinterSink::doBegin(const SheetSetup &setup)
{
    const QString name = resolvePrinter(printerName(setup));
    if (name.isEmpty())
        throw base::Error(i18n::LangString(i18n::Text::NoPrinter));
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_printer->setOutputFormat(QPrinter::NativeFormat);
    m_printer->setPrinterName(name);
    m_printer->setDocName(QStringLiteral("ReportPrinter Report"));
    m_printer->setCreator(QStringLiteral("Etibarix"));
    m_printer->setFullPage(true);
    m_printer->setPageLayout(QPageLayout(setup.pageSize(), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                         QPageLayout::Millimeter, QMarginsF(0, 0, 0, 0)));
    if (!m_printer->isValid() || !m_painter.begin(m_printer.get())) {
        m_printer.reset();
        throw base::Error(i18n::LangString(i18n::Text::CannotPrintOn).arg(name));
    }
    m_printerUsed = name;
    applyOffset(m_painter);
    m_surface.emplace(m_painter);
    return *m_surface;
}

void PrinterSink::doEnd()
{
    // Ending the painter hands the job to the spooler.
    m_surface.reset();
    const bool ok = m_painter.end();
    const QString name = m_printer->printerName();
    m_printer.reset();
    if (!ok)
        throw base::Error(i18n::LangString(i18n::Text::CannotPrintOn).arg(name));
}

void PrinterSink::doCancel()
{
    m_surface.reset();
    m_printer->abort();
    m_painter.end();
    m_printer.reset();
}

} // namespace etibarix::labels
