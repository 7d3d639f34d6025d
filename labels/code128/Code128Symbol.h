#pragma once
// The working half of the Code 128 barcode: keeps the filtered text, chooses
// the code sets, computes the symbol values and the check character, and
// draws bars and the readable line on a page.
//
// Stages: FilterBarText -> EncodeSymbol (EncodeFromSet per start set) ->
// CheckValue -> patterns -> DrawSymbol. Each stage is callable on its own so
// tests and the command line can look at the intermediate values.
//
// Text bytes are Windows-1252. Eight of them stand for function and shift
// characters: 0xF1 FNC1, 0xF2 FNC2, 0xF3 FNC3, 0xF4 FNC4, 0xF5 CODE A,
// 0xF6 CODE B, 0xF7 CODE C, 0xF8 SHIFT.

#include "labels/code128/Code128Types.h"
#include "labels/print/PageSurface.h"

#include <QByteArray>
#include <QRectF>

#include <optional>

namespace etibarix::labels {

// Where and how DrawSymbol puts the symbol on the page (lengths in mm).
//
// Upright, the symbol's left edge is Left (pjLeft, pjBlock), Left minus half
// the symbol width (pjCenter) or Left minus the width (pjRight); the bars
// start at BarTop and the readable line follows below them. With PrintTop
// the readable line starts at BarTop and the bars one line height lower;
// without a readable line the bars stay at BarTop. A rotated symbol is the
// upright drawing turned counter-clockwise about the centre of Box.
struct Code128Placement {
    double Left = 0;
    double BarTop = 0;
    QRectF Box;            // the component's box
    PrintJustify BarCodeJustify = PrintJustify::pjLeft;
    PrintJustify TextJustify = PrintJustify::pjLeft;
    bool PrintReadable = true;
    bool PrintChecksum = false;
    bool PrintTop = false;
    PageFont Font;
    BarRotation Rotation = BarRotation::Rot0;
};

class Code128Symbol {
public:
    // Escape bytes of the text.
    static constexpr unsigned char kFnc1 = 0xF1;
    static constexpr unsigned char kFnc2 = 0xF2;
    static constexpr unsigned char kFnc3 = 0xF3;
    static constexpr unsigned char kFnc4 = 0xF4;
    static constexpr unsigned char kCodeA = 0xF5;
    static constexpr unsigned char kCodeB = 0xF6;
    static constexpr unsigned char kCodeC = 0xF7;
    static constexpr unsigned char kShift = 0xF8;

    // Keeps the bytes 0x00-0x7F and the escape bytes, drops every other
    // byte without notice; the result replaces BarcodeText.
    void FilterBarText(QByteArrayView text);
    const QByteArray &BarcodeText() const { return m_text; }

    // Settings copied from the component.
    CodePage128 codePage() const { return m_codePage; }
    void setCodePage(CodePage128 page) { m_codePage = page; }
    bool optimize() const { return m_optimize; }
    void setOptimize(bool on) { m_optimize = on; }
    double barWidth() const { return m_barWidth; }     // mm per module
    void setBarWidth(double mm) { m_barWidth = mm; }
    double barHeight() const { return m_barHeight; }   // mm
    void setBarHeight(double mm) { m_barHeight = mm; }

    // Symbol values of BarcodeText beginning in `start` (no start, check or
    // stop character), following the optimize flag.
    std::vector<std::uint8_t> EncodeFromSet(CodeSet start) const;

    // Optimize on: the shortest of the encodings from A, B and C, ties going
    // to the earlier set. Off: the encoding from CodePage. Sets UsedSet and
    // returns the start set, the values and the check value.
    Code128Encoding EncodeSymbol();
    CodeSet UsedSet() const { return m_usedSet; }

    // The check character: start value plus the position-weighted sum of the
    // values (positions from 1), modulo 103.
    static int CheckValue(const std::vector<std::uint8_t> &values, CodeSet start);

    // Width of the whole symbol in mm: (11 n + 35) modules.
    double SymbolWidth();

    // Narrowest module a shrunk symbol may have: about two printer dots at
    // 300 dpi, below which printers smear the bars together.
    static constexpr double MinimumFitModule = 0.19;
    // The module at which a symbol of `modules` modules fits `available` mm:
    // `nominal` when it fits already, else the narrower module that just
    // fits, down to MinimumFitModule; nullopt when even that is too wide.
    static std::optional<double> FitBarWidth(int modules, double nominal, double available);

    // Encodes afresh and draws the symbol and its readable line.
    Code128Encoding DrawSymbol(PageSurface &page, const Code128Placement &placement);

    // The readable line of an encoding: BarcodeText, optionally followed by
    // the character whose code is the check value, without any character
    // whose code is above 200.
    QByteArray readableText(const Code128Encoding &encoding, bool withCheck) const;

    // Encodes `text` (already filtered) into `out`, cleared first. The core
    // of EncodeFromSet, free of allocations when `out` has capacity.
    static void encodeText(QByteArrayView text, CodeSet start, bool optimize,
                           std::vector<std::uint8_t> &out);

private:
    void drawUpright(PageSurface &page, const Code128Placement &placement,
                     const Code128Encoding &encoding);

    QByteArray m_text;
    CodePage128 m_codePage = CodePage128::cpCodeA;
    bool m_optimize = true;
    double m_barWidth = 0.254;
    double m_barHeight = 6.35;
    CodeSet m_usedSet = CodeSet::A;
    std::vector<std::uint8_t> m_candidate;   // scratch of EncodeSymbol
};

} // namespace etibarix::labels
