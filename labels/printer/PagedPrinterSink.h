#pragma once
// Label sheets as the pages of one job on a given QPrinter: what a print
// preview draws (the preview window owns the printer and replays the job
// whenever it needs the pages). Each sheet starts a page of its layout's
// paper size, the whole paper, no margins.

#include "labels/print/PainterSurface.h"
#include "labels/print/SheetSink.h"

#include <QPainter>

#include <optional>

class QPrinter;

namespace etibarix::labels {

class PagedPrinterSink : public SheetSink {
public:
    explicit PagedPrinterSink(QPrinter &printer);
    ~PagedPrinterSink() override;

    // Ends the job on the printer. Returns the number of pages drawn.
    int finish();
    int pages() const { return m_pages; }

protected:
    int nextPageNumber() const override { return m_pages + 1; }
    PageSurface &doBegin(const SheetSetup &setup) override;
    void doEnd() override;
    void doCancel() override;

private:
    QPrinter &m_printer;
    QPainter m_painter;
    std::optional<PainterSurface> m_surface;
    int m_pages = 0;
};

} // namespace etibarix::labels
