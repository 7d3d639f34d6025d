#pragma once
// PageSurface on a QPainter: works on any paint device (QPdfWriter, QImage,
// QPrinter). Millimetres become device units through the device's logical
// resolution; the painter's world transform at construction is kept as the
// page's placement on the device (a printer's margin offset, for instance),
// and the painter is left with that transform after every call.
//
// Filled rectangles that stay axis-aligned are snapped to the device pixel
// grid edge by edge: a symbol whose module is a whole number of pixels then
// has every bar exactly that many pixels wide, and no edge moves by more than
// half a pixel.

#include "labels/print/PageSurface.h"

#include <QFont>
#include <QTransform>

#include <vector>

class QPainter;

namespace etibarix::labels {

class PainterSurface : public PageSurface {
public:
    // The painter must be active on its device for the surface's lifetime.
    explicit PainterSurface(QPainter &painter);

    void fillRect(const QRectF &rect, const QColor &color = QColor(Qt::black)) override;
    void drawText(double x, double top, PrintJustify justify, const QString &text,
                  const PageFont &font) override;
    TextExtent measureText(const QString &text, const PageFont &font) const override;
    void save() override;
    void restore() override;
    void rotate(double degrees, QPointF centre) override;
    double pixelSize() const override;

    // The QFont a PageFont resolves to ("Arial" and "MS Sans Serif" go
    // through fontconfig's metric-compatible families).
    static QFont toQFont(const PageFont &font);

    // Device units per millimetre, horizontally and vertically.
    double unitsPerMmX() const { return m_unitsPerMmX; }
    double unitsPerMmY() const { return m_unitsPerMmY; }

private:
    QPainter &m_painter;
    QTransform m_base;       // the painter's transform at construction
    QTransform m_scale;      // mm -> logical device units
    QTransform m_rotation;   // accumulated rotations, in mm
    std::vector<QTransform> m_saved;
    double m_unitsPerMmX = 1;
    double m_unitsPerMmY = 1;
};

} // namespace etibarix::labels
