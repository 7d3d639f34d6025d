#pragma once
// Where printed label sheets go. The report engine hands over one sheet at a
// time: beginSheet() gives the surface for the page set-up of the layout
// page, the components draw on it, endSheet() sends it off (a print job of
// its own on a printer, the next page of a PDF file or of a preview). Nothing
// of a sheet is kept once it has been sent, so memory does not grow with the
// number of sheets.

#include <QByteArray>
#include <QPageSize>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QStringView>

#include <functional>

class QPainter;

namespace etibarix::labels {

class PageSurface;

// The page set-up of one sheet, as the layout page gives it.
struct SheetSetup {
    QByteArray printer;     // the report's Printer; empty: the default printer
    QByteArray reportName;
    QByteArray pageName;
    int paperSize = 9;      // Windows paper code: 9 A4, 1 letter, -1 custom size
    QSizeF sizeMm;          // width x height of the page
    QByteArray orientation; // "poDefault", "poPortrait" or "poLandscape"
    int bin = -1;           // -1: the printer's default bin

    // The paper: A4, Letter, or the page's own size (a standard size of the
    // same dimensions is recognised as such).
    QPageSize pageSize() const;
};

// The "Report Status" window of the print engine: shown while a sheet is
// printed ("Printing page %p", "Cancel"). begin() returns false when the user
// has cancelled; the sheet is then not printed.
struct SheetStatus {
    std::function<bool(int page)> begin;
    std::function<void()> end;
};

// The status window's fixed English texts; %p stands for the page number.
inline constexpr QStringView ReportStatusTitle = u"Report Status";
inline constexpr QStringView ReportStatusText = u"Printing page %p";
inline constexpr QStringView ReportStatusCancel = u"Cancel";

inline QString reportStatusText(int page)
{
    return ReportStatusText.toString().replace(QStringLiteral("%p"), QString::number(page));
}

class SheetSink {
public:
    virtual ~SheetSink() = default;

    // Starts a sheet and returns the surface to draw it on, its origin at the
    // paper's top-left corner (full page, no margins). nullptr when the status
    // hook reports a cancel. Throws Error when the target refuses the sheet.
    PageSurface *beginSheet(const SheetSetup &setup);
    // Sends the sheet begun off. Throws Error when that fails.
    void endSheet();
    // Drops the sheet begun (after a failure while drawing it).
    void cancel();

    void setStatus(SheetStatus status) { m_status = std::move(status); }
    // Moves everything drawn on the following sheets by `mm` (a printer's
    // calibration, or an offset asked for one job).
    void setOffset(QPointF mm) { m_offset = mm; }
    QPointF offset() const { return m_offset; }
    int sheetsDone() const { return m_sheetsDone; }

    // The printer the job asked for, as the user chose it. The report keeps
    // printer names as Windows-1252 bytes; a report naming this printer
    // prints on it under its own name even when the bytes lost a character.
    void setJobPrinter(const QString &name) { m_jobPrinter = name; }

protected:
    // Shifts a sheet's painter by the offset, in device units so that the
    // whole page moves; sinks call it before they put a surface on it.
    void applyOffset(QPainter &painter) const;

    // The printer a sheet names, as a name the system knows.
    QString printerName(const SheetSetup &setup) const;

    // Number the next sheet's page will have in its output (the status text):
    // every printer job holds one page, a PDF file one page per sheet.
    virtual int nextPageNumber() const = 0;
    virtual PageSurface &doBegin(const SheetSetup &setup) = 0;
    virtual void doEnd() = 0;
    virtual void doCancel() = 0;

private:
    SheetStatus m_status;
    QString m_jobPrinter;
    QPointF m_offset;
    bool m_inSheet = false;
    int m_sheetsDone = 0;
};

} // namespace etibarix::labels
