#include "labels/printer/PagedPrinterSink.h"

#include "base/Error.h"
#include "i18n/LanguageTable.h"

#include <QPageLayout>
#include <QPrinter>

namespace etibarix::labels {

namespace {
QPageLayout fullPage(const QPageSize &size)
{
    return QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter,
                       QMarginsF(0, 0, 0, 0));
}
} // namespace

PagedPrinterSink::PagedPrinterSink(QPrinter &printer) : m_printer(printer) {}

PagedPrinterSink::~PagedPrinterSink()
{
    if (m_painter.isActive())
        m_painter.end();
}

PageSurface &PagedPrinterSink::doBegin(const SheetSetup &setup)
{
    if (!m_painter.isActive()) {
        m_printer.setFullPage(true);
        m_printer.setPageLayout(fullPage(setup.pageSize()));
        if (!m_painter.begin(&m_printer))
            throw base::Error(i18n::LangString(i18n::Text::CannotDrawSheets));
    } else {
        // A new size applies to the page newPage() starts.
        if (!m_printer.pageLayout().pageSize().isEquivalentTo(setup.pageSize()))
            m_printer.setPageLayout(fullPage(setup.pageSize()));
        if (!m_printer.newPage())
            throw base::Error(i18n::LangString(i18n::Text::CannotDrawSheets));
    }
    m_painter.save();
    m_surface.emplace(m_painter);
    return *m_surface;
}

void PagedPrinterSink::doEnd()
{
    m_surface.reset();
    m_painter.restore();
    ++m_pages;
}

void PagedPrinterSink::doCancel()
{
    // The page begun stays blank: a preview has nothing to take back.
    m_surface.reset();
    m_painter.restore();
}

int PagedPrinterSink::finish()
{
    if (m_painter.isActive())
        m_painter.end();
    return m_pages;
}

} // namespace etibarix::labels
