#include "labels/code128/Code128BarCode.h"

namespace etibarix::labels {

Code128Placement Code128BarCode::placement() const
{
    Code128Placement p;
    p.Left = Left;
    p.BarTop = BarTop;
    p.Box = QRectF(Left, Top, Width, Height);
    p.BarCodeJustify = BarCodeJustify;
    p.TextJustify = TextJustify;
    p.PrintReadable = PrintReadable;
    p.PrintChecksum = PrintChecksum;
    p.PrintTop = PrintTop;
    p.Font = Font;
    p.Rotation = BarCodeRotation;
    return p;
}

Code128Encoding Code128BarCode::Print(PageSurface &page, const QByteArray &dataValue)
{
    m_symbol.FilterBarText(DataField.isEmpty() ? Text : dataValue);
    m_symbol.setCodePage(CodePage);
    m_symbol.setOptimize(Optimize);
    m_symbol.setBarWidth(BarWidth);
    m_symbol.setBarHeight(BarHeight);
    if (AutoSize)
        Width = m_symbol.SymbolWidth();
    return m_symbol.DrawSymbol(page, placement());
}

} // namespace etibarix::labels
