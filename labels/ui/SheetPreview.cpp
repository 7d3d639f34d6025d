#include "labels/ui/SheetPreview.h"

#include "i18n/LanguageTable.h"
#include "labels/print/PainterSurface.h"
#include "labels/print/SheetDrawing.h"

#include <QPainter>

#include <algorithm>

namespace etibarix::labels {
namespace {

// Samples drawn in the labels; past this many labels only the outlines show.
constexpr int MaxSampleLabels = 120;

} // namespace

SheetPreview::SheetPreview(QWidget *parent) : QWidget(parent)
{
    setMinimumSize(160, 200);
}

void SheetPreview::setFormat(const SheetFormat &format)
{
    m_format = format;
    update();
}

void SheetPreview::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const SheetFormat &f = m_format;
    if (!(f.pageWidthMm > 0) || !(f.pageHeightMm > 0))
        return;
    const double margin = 6;
    const double scale = std::min((width() - 2 * margin) / f.pageWidthMm, (height() - 2 * margin) / f.pageHeightMm);
    if (!(scale > 0))
        return;
    const QSizeF page(f.pageWidthMm * scale, f.pageHeightMm * scale);
    const QPointF origin((width() - page.width()) / 2, (height() - page.height()) / 2);
    painter.fillRect(QRectF(origin, page), Qt::white);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(QRectF(origin, page));

    // The surface works in millimetres through the device's resolution; the
    // painter's own transform maps that onto the drawing's scale.
    painter.translate(origin);
    const double unitsPerMm = logicalDpiX() / 25.4;
    painter.scale(scale / unitsPerMm, scale / unitsPerMm);
    PainterSurface surface(painter);
    const QRectF pageMm(0, 0, f.pageWidthMm, f.pageHeightMm);
    if (f.columns < 1 || f.rows < 1 || f.slotCount() > SheetFormatLimits::MaxLabels)
        return;
    DrawLabelOutlines(surface, f, std::max(0.2, 1.0 / scale));
    if (f.slotCount() > MaxSampleLabels || !(f.barHeightMm > 0))
        return;
    LabelContent sample;
    sample.barcode = "123456";
    sample.line1 = i18n::LangText(i18n::Text::Text1);
    sample.line2 = i18n::LangText(i18n::Text::Text2);
    for (int slot = 1; slot <= f.slotCount(); ++slot) {
        if (pageMm.intersects(f.labelRect(slot)))
            DrawCustomLabel(surface, f, slot, sample, true);
    }
}

} // namespace etibarix::labels
