#pragma once
// Where printed label sheets go. A print job hands over one sheet at a time:
// beginSheet() gives a painter on a blank page of the sheet's paper size, the
// report draws on it, endSheet() sends it off (a print job of its own on a
// printer, the next page of a PDF file). Nothing of a sheet is kept once it
// has been sent, so memory does not grow with the number of sheets.

#include <QPageSize>
#include <QPointF>
#include <QString>
#include <QStringView>

#include <functional>

class QPainter;

namespace etibarix::labels {

struct SheetRequest {
    QPageSize pageSize;    // A4, or 8.5 x 11 in (Letter) for the first layouts
    QString printerName;   // the report's printer; empty means the default one
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

    // Starts a sheet and returns the painter to draw it with, its origin at the
    // paper's top-left corner (full page, no margins). nullptr when the status
    // hook reports a cancel. Throws base::Error when the target refuses the sheet.
    QPainter *beginSheet(const SheetRequest &setup);
    // Sends the sheet begun off. Throws base::Error when that fails.
    void endSheet();
    // Drops the sheet begun (after a failure while drawing it).
    void cancel();

    void setStatus(SheetStatus status) { m_status = std::move(status); }
    // Moves everything drawn on the following sheets by `mm` (a printer's
    // calibration): the painter beginSheet() returns is already shifted.
    void setOffset(QPointF mm) { m_offset = mm; }
    QPointF offset() const { return m_offset; }
    int sheetsDone() const { return m_sheetsDone; }

protected:
    // Number the next sheet's page will have in its output (the status text):
    // every printer job holds one page, a PDF file one page per sheet.
    virtual int nextPageNumber() const = 0;
    virtual QPainter *doBegin(const SheetRequest &setup) = 0;
    virtual void doEnd() = 0;
    virtual void doCancel() = 0;

private:
    void unshift();

    SheetStatus m_status;
    QPointF m_offset;
    QPainter *m_painter = nullptr;   // the sheet begun, while it is shifted
    bool m_inSheet = false;
    int m_sheetsDone = 0;
};

} // namespace etibarix::labels
