#pragma once
// The Code 128 barcode component of a label layout: the properties that a
// layout file stores and the print job changes, and the encoder that
// does the work (Code128Symbol).
//
// The public fields mirror the layout file's property names; lengths are in
// millimetres (the file stores inches). A new component has the defaults
// below; a layout reader sets only the properties the file carries.

#include "labels/code128/Code128Symbol.h"
#include "labels/code128/Code128Types.h"
#include "labels/print/PageSurface.h"

#include <QByteArray>

namespace etibarix::labels {

class Code128BarCode {
public:
    QByteArray Name;

    double Left = 0;     // with pjLeft: the first bar begins here, no quiet zone
    double Top = 0;
    double Width = 0;    // follows the symbol width while AutoSize is on
    double Height = 0;
    double BarWidth = 0.254;    // one module, 0.01 in
    double BarHeight = 6.35;    // 0.25 in
    double BarTop = 0;
    PageFont Font;              // "Arial" 8, black
    CodePage128 CodePage = CodePage128::cpCodeA;
    bool Optimize = true;
    bool UseChecksum = false;   // Code 128 always carries its check character
    bool PrintReadable = true;
    bool PrintChecksum = false;
    bool PrintTop = false;
    PrintJustify TextJustify = PrintJustify::pjLeft;
    PrintJustify BarCodeJustify = PrintJustify::pjLeft;
    BarRotation BarCodeRotation = BarRotation::Rot0;
    bool AutoSize = true;
    double WideFactor = 0;      // not used by Code 128
    QByteArray DataField;       // "param." + a report parameter name
    QByteArray Text;            // printed when DataField is empty

    // Prints the component: `dataValue` is the value of the parameter that
    // DataField names (ignored when DataField is empty, Text is printed
    // then). Filters the text, encodes it and draws symbol and readable line.
    Code128Encoding Print(PageSurface &page, const QByteArray &dataValue);

    // Where DrawSymbol puts the symbol, from the current properties.
    Code128Placement placement() const;

    Code128Symbol &symbol() { return m_symbol; }
    const Code128Symbol &symbol() const { return m_symbol; }

private:
    Code128Symbol m_symbol;
};

} // namespace etibarix::labels
