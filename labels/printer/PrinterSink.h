#pragma once
// Label sheets onto an installed printer: every sheet is one print job of one
// page, titled "ReportPrinter Report", on the printer the report names. A name
// that matches no installed printer (or an empty one) uses the default printer.

#include "labels/print/PainterSurface.h"
#include "labels/print/SheetSink.h"

#include <QPainter>

#include <memory>
#include <optional>

class QPrinter;

namespace etibarix::labels {

class PrinterSink : public SheetSink {
public:
    PrinterSink();
    ~PrinterSink() override;

    // The installed printer a report naming `name` prints on; empty when the
    // system has no printer at all.
    static QString resolvePrinter(const QString &name);

    int jobs() const { return sheetsDone(); }
    // The printer the last sheet went to; empty before the first sheet.
    const QString &printerUsed() const { return m_printerUsed; }

protected:
    int nextPageNumber() const override { return 1; }
    PageSurface &doBegin(const SheetSetup &setup) override;
    void doEnd() override;
    void doCancel() override;

private:
    std::unique_ptr<QPrinter> m_printer;
    QPainter m_painter;
    std::optional<PainterSurface> m_surface;
    QString m_printerUsed;
};

} // namespace etibarix::labels
