#pragma once
// Where RunLabelReport puts its sheets. Each page of the report is drawn as
// one sheet: beginSheet() gives the surface for the page set-up (and the
// printer the report names), the components draw on it, endSheet() hands the
// sheet on. One RunLabelReport call is one print job; the layouts have one
// page per report, so one job is one sheet.

#include <QByteArray>
#include <QSizeF>

namespace etibarix::labels {

class PageSurface;

struct SheetSetup {
    QByteArray printer;     // the report's Printer; empty: the default printer
    QByteArray reportName;
    QByteArray pageName;
    int paperSize = 9;      // Windows paper code: 9 A4, 1 letter, -1 custom size
    QSizeF sizeMm;          // width x height of the page
    QByteArray orientation; // "poDefault", "poPortrait" or "poLandscape"
    int bin = -1;           // -1: the printer's default bin
};

class SheetTarget {
public:
    virtual ~SheetTarget() = default;
    virtual PageSurface &beginSheet(const SheetSetup &setup) = 0;
    virtual void endSheet() = 0;
};

} // namespace etibarix::labels
