#include "labels/print/SheetDrawing.h"

#include "base/Cp1252.h"
#include "labels/code128/Code128Symbol.h"

#include <algorithm>

namespace etibarix::labels {
namespace {

PageFont arial(double size)
{
    PageFont font;
    font.Name = QStringLiteral("Arial");
    font.Size = size;
    return font;
}

// Cuts the text at its end until it fits `width`.
QString cutToWidth(const PageSurface &page, QString text, const PageFont &font, double width)
{
    while (!text.isEmpty() && page.measureText(text, font).width > width)
        text.chop(1);
    return text;
}

Code128Symbol symbolOf(const LabelContent &content)
{
    Code128Symbol symbol;
    symbol.FilterBarText(content.barcode);
    symbol.setCodePage(content.codeSet == 2 ? CodePage128::cpCodeB
                       : content.codeSet == 3 ? CodePage128::cpCodeC
                                              : CodePage128::cpCodeA);
    return symbol;
}

} // namespace

SymbolFit FitCustomSymbol(const SheetFormat &format, int slot, const QByteArray &barcode, bool fit)
{
    Code128Symbol symbol;
    symbol.FilterBarText(barcode);
    const int modules = symbol.EncodeSymbol().modules();
    const QRectF label = format.labelRect(slot);
    const double available = label.width() - 2 * LabelSideMarginMm;
    SymbolFit result;
    result.module = NominalModuleMm;
    if (fit) {
        if (const auto module = Code128Symbol::FitBarWidth(modules, NominalModuleMm, available))
            result.module = *module;
    }
    result.width = modules * result.module;
    result.fits = result.width <= available + 1e-9;
    result.left = label.center().x() - result.width / 2;
    return result;
}

void DrawCustomLabel(PageSurface &page, const SheetFormat &format, int slot, const LabelContent &content, bool fit)
{
    const QRectF label = format.labelRect(slot);
    if (label.isEmpty())
        return;
    const SymbolFit placement = FitCustomSymbol(format, slot, content.barcode, fit);
    Code128Symbol symbol = symbolOf(content);
    symbol.setBarWidth(placement.module);
    symbol.setBarHeight(format.barHeightMm);

    Code128Placement where;
    where.Left = placement.left;
    where.BarTop = label.top() + std::min(LabelTopMarginMm, label.height() / 10);
    where.Box = QRectF(placement.left, where.BarTop, placement.width, format.barHeightMm);
    where.BarCodeJustify = PrintJustify::pjLeft;
    where.TextJustify = PrintJustify::pjCenter;
    where.PrintReadable = false;   // drawn below, cut to the label like the text lines
    symbol.DrawSymbol(page, where);

    double top = where.BarTop + format.barHeightMm;
    const double width = label.width() - 2 * LabelSideMarginMm;
    const double centre = label.center().x();
    const auto line = [&](const QString &text, const PageFont &font) {
        const QString cut = cutToWidth(page, text, font, width);
        page.drawText(centre, top, PrintJustify::pjCenter, cut, font);
        top += page.measureText(cut, font).height;
    };
    if (format.readableLine) {
        const Code128Encoding encoding = symbol.EncodeSymbol();
        line(base::fromCp1252(symbol.readableText(encoding, false)), arial(8));
    }
    const PageFont textFont = arial(format.fontSizePt);
    if (format.textLines >= 1)
        line(base::fromCp1252(content.line1), textFont);
    if (format.textLines >= 2)
        line(base::fromCp1252(content.line2), textFont);
}

void DrawLabelOutlines(PageSurface &page, const SheetFormat &format, double s)
{
    for (int slot = 1; slot <= format.slotCount(); ++slot) {
        const QRectF r = format.labelRect(slot);
        page.fillRect(QRectF(r.left(), r.top(), r.width(), s));
        page.fillRect(QRectF(r.left(), r.bottom() - s, r.width(), s));
        page.fillRect(QRectF(r.left(), r.top(), s, r.height()));
        page.fillRect(QRectF(r.right() - s, r.top(), s, r.height()));
    }
}

void DrawTestSheet(PageSurface &page, const SheetFormat &format)
{
    constexpr double s = TestSheetStrokeMm;
    const PageFont small = arial(6);
    DrawLabelOutlines(page, format, s);
    for (int slot = 1; slot <= format.slotCount(); ++slot) {
        const QRectF r = format.labelRect(slot);
        const double arm = std::min({5.0, r.width() / 4, r.height() / 4});
        const QPointF c = r.center();
        page.fillRect(QRectF(c.x() - arm, c.y() - s / 2, 2 * arm, s));
        page.fillRect(QRectF(c.x() - s / 2, c.y() - arm, s, 2 * arm));
        page.drawText(r.left() + 1, r.top() + 1, PrintJustify::pjLeft, QString::number(slot), small);
    }
    // Rulers: a tick every millimetre from the page corner, 2 mm long, 3.5 mm
    // every 5 mm and 5 mm with its number every 10 mm.
    const auto tick = [](int mm) { return mm % 10 == 0 ? 5.0 : mm % 5 == 0 ? 3.5 : 2.0; };
    const double thin = 0.1;
    for (int mm = 1; mm < format.pageWidthMm; ++mm) {
        page.fillRect(QRectF(mm - thin / 2, 0, thin, tick(mm)));
        if (mm % 10 == 0)
            page.drawText(mm + 0.4, 3.2, PrintJustify::pjLeft, QString::number(mm), small);
    }
    for (int mm = 1; mm < format.pageHeightMm; ++mm) {
        page.fillRect(QRectF(0, mm - thin / 2, tick(mm), thin));
        if (mm % 10 == 0 && mm > 10)
            page.drawText(5.4, mm - page.measureText(QString(), small).height / 2, PrintJustify::pjLeft,
                          QString::number(mm), small);
    }
}

SheetSetup SheetSetupOf(const SheetFormat &format, const QString &printer)
{
    SheetSetup setup;
    setup.printer = base::toCp1252Lossy(printer);
    setup.reportName = base::toCp1252Lossy(format.name);
    setup.paperSize = -1;
    setup.sizeMm = QSizeF(format.pageWidthMm, format.pageHeightMm);
    return setup;
}

bool PrintTestSheet(SheetSink &sink, const SheetFormat &format, const QString &printer)
{
    sink.setJobPrinter(printer);
    PageSurface *surface = sink.beginSheet(SheetSetupOf(format, printer));
    if (!surface)
        return false;
    try {
        DrawTestSheet(*surface, format);
    } catch (...) {
        sink.cancel();
        throw;
    }
    sink.endSheet();
    return true;
}

} // namespace etibarix::labels
