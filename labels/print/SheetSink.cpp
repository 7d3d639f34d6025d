#include "labels/print/SheetSink.h"

#include "base/Cp1252.h"
#include "base/Error.h"
#include "labels/project/ReportPage.h"

#include <QPaintDevice>
#include <QPainter>

namespace etibarix::labels {

QPageSize SheetSetup::pageSize() const
{
    if (paperSize == ReportPage::PaperA4)
        return QPageSize(QPageSize::A4);
    if (paperSize == ReportPage::PaperLetter)
        return QPageSize(QPageSize::Letter);
    // Custom pages (8.5 x 11 in for the first layouts) keep their own size.
    return QPageSize(sizeMm, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
}

QString SheetSink::printerName(const SheetSetup &setup) const
{
    return setup.printer == base::toCp1252Lossy(m_jobPrinter) ? m_jobPrinter : base::fromCp1252(setup.printer);
}

void SheetSink::applyOffset(QPainter &painter) const
{
    if (m_offset.isNull())
        return;
    const QPaintDevice *device = painter.device();
    painter.translate(m_offset.x() * device->logicalDpiX() / 25.4, m_offset.y() * device->logicalDpiY() / 25.4);
}

PageSurface *SheetSink::beginSheet(const SheetSetup &setup)
{
    if (m_inSheet)
        cancel();
    if (m_status.begin && !m_status.begin(nextPageNumber())) {
        if (m_status.end)
            m_status.end();
        return nullptr;
    }
    PageSurface *surface = nullptr;
    try {
        surface = &doBegin(setup);
    } catch (...) {
        if (m_status.end)
            m_status.end();
        throw;
    }
    m_inSheet = true;
    return surface;
}

void SheetSink::endSheet()
{
    if (!m_inSheet)
        return;
    m_inSheet = false;
    try {
        doEnd();
    } catch (...) {
        if (m_status.end)
            m_status.end();
        throw;
    }
    ++m_sheetsDone;
    if (m_status.end)
        m_status.end();
}

void SheetSink::cancel()
{
    if (!m_inSheet)
        return;
    m_inSheet = false;
    doCancel();
    if (m_status.end)
        m_status.end();
}

} // namespace etibarix::labels
