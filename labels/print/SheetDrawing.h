#pragma once
// Drawing on sheets described by a SheetFormat: the labels of a custom
// format, and the test sheet that shows a printer's shift.
//
// A custom label holds, from its top: the barcode centred across the label's
// width, its readable line when the format has one, then the text lines,
// each centred and cut, character by character, to the label's width.

#include "labels/formats/SheetFormat.h"
#include "labels/print/PageSurface.h"
#include "labels/print/SheetSink.h"

#include <QByteArray>
#include <QString>

namespace etibarix::labels {

struct LabelContent {
    QByteArray barcode;   // Windows-1252, as the record holds it
    QByteArray line1;
    QByteArray line2;
    int codeSet = 1;      // 1, 2, 3: the start set when optimisation is off
};

// Nominal module of every label barcode (0.01 in).
inline constexpr double NominalModuleMm = 0.254;
// Room kept free on each side of a barcode inside its label.
inline constexpr double LabelSideMarginMm = 1.0;
// Gap between a label's top edge and its bars.
inline constexpr double LabelTopMarginMm = 1.5;

// The left edge and the width of the symbol `barcode` would get on label
// `slot`, with the module it is drawn with (shrunk when `fit` asks and it
// helps). `fits` is false when it is wider than the label even so.
struct SymbolFit {
    double left = 0;
    double width = 0;
    double module = NominalModuleMm;
    bool fits = true;
};
SymbolFit FitCustomSymbol(const SheetFormat &format, int slot, const QByteArray &barcode, bool fit);

// Draws label `slot` (1-based) of a custom format.
void DrawCustomLabel(PageSurface &page, const SheetFormat &format, int slot, const LabelContent &content, bool fit);

// Every label's outline, drawn inside the label with strokes `stroke` wide.
void DrawLabelOutlines(PageSurface &page, const SheetFormat &format, double stroke);

// The test sheet of a format: every label's outline with a cross at its
// centre and its slot number, and millimetre rulers along the page's top
// and left edges (a tick every mm, longer every 5 mm, numbered every 10 mm).
void DrawTestSheet(PageSurface &page, const SheetFormat &format);

// The page set-up of a format's sheets on `printer` (empty: the default
// printer): its own width and height, a standard size of the same
// dimensions being recognised as such.
SheetSetup SheetSetupOf(const SheetFormat &format, const QString &printer);

// Prints the test sheet of `format` as one sheet on `sink`, on `printer`
// (empty: the default printer). False when the user cancelled it; errors of
// the sink are thrown as base::Error.
bool PrintTestSheet(SheetSink &sink, const SheetFormat &format, const QString &printer);

// Width of the outline and cross strokes.
inline constexpr double TestSheetStrokeMm = 0.2;

} // namespace etibarix::labels
