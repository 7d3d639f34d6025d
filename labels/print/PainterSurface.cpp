#include "labels/print/PainterSurface.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QtMath>

#include <cmath>
#include <mutex>

namespace etibarix::labels {
namespace {

constexpr double kMmPerInch = 25.4;

void installFontSubstitutions()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // fontconfig maps "Arial" to Liberation Sans on its own; the old
        // Windows dialog font would land on DejaVu Sans, whose glyphs are
        // much wider, so point it at the same metric-compatible sans face.
        const QStringList sans{QStringLiteral("Liberation Sans"), QStringLiteral("Arial")};
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sans);
        QFont::insertSubstitutions(QStringLiteral("Microsoft Sans Serif"), sans);
    });
}

bool isAxisAligned(const QTransform &t)
{
    constexpr double eps = 1e-9;
    return (std::abs(t.m12()) < eps && std::abs(t.m21()) < eps)
        || (std::abs(t.m11()) < eps && std::abs(t.m22()) < eps);
}

} // namespace

PainterSurface::PainterSurface(QPainter &painter)
    : m_painter(painter), m_base(painter.worldTransform())
{
    installFontSubstitutions();
    const QPaintDevice *device = painter.device();
    if (device) {
        m_unitsPerMmX = device->logicalDpiX() / kMmPerInch;
        m_unitsPerMmY = device->logicalDpiY() / kMmPerInch;
    }
    m_scale = QTransform::fromScale(m_unitsPerMmX, m_unitsPerMmY);
}

QFont PainterSurface::toQFont(const PageFont &font)
{
    installFontSubstitutions();
    QFont f(font.Name);
    f.setPointSizeF(font.Size > 0 ? font.Size : 1.0);
    f.setBold(font.Bold);
    f.setItalic(font.Italic);
    f.setUnderline(font.Underline);
    f.setStrikeOut(font.StrikeOut);
    // Unhinted outlines: a text measures the same on the PDF, the preview
    // image and the printer, so truncation and centring agree everywhere.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

void PainterSurface::fillRect(const QRectF &rect, const QColor &color)
{
    if (!(rect.width() > 0) || !(rect.height() > 0))
        return;
    const QTransform toDevice = m_rotation * m_scale * m_base;
    if (isAxisAligned(toDevice)) {
        const QRectF d = toDevice.mapRect(rect);
        double left = std::round(d.left());
        double right = std::round(d.right());
        double top = std::round(d.top());
        double bottom = std::round(d.bottom());
        // A rectangle thinner than a pixel still shows as one pixel.
        if (right <= left)
            right = left + 1;
        if (bottom <= top)
            bottom = top + 1;
        m_painter.setWorldTransform(QTransform());
        m_painter.fillRect(QRectF(left, top, right - left, bottom - top), color);
    } else {
        m_painter.setWorldTransform(toDevice);
        m_painter.fillRect(rect, color);
    }
    m_painter.setWorldTransform(m_base);
}

void PainterSurface::drawText(double x, double top, PrintJustify justify, const QString &text,
                              const PageFont &font)
{
    if (text.isEmpty())
        return;
    const QFont qfont = toQFont(font);
    const QFontMetricsF fm(qfont, m_painter.device());
    const double widthMm = fm.horizontalAdvance(text) / m_unitsPerMmX;
    double left = x;
    if (justify == PrintJustify::pjCenter)
        left = x - widthMm / 2;
    else if (justify == PrintJustify::pjRight)
        left = x - widthMm;
    const double baseline = top + fm.ascent() / m_unitsPerMmY;

    // The anchor goes through the rotation in mm; the glyphs are drawn in
    // device units so the point size keeps its meaning on every device.
    const QPointF anchor = (m_rotation * m_scale).map(QPointF(left, baseline));
    const double angle = qRadiansToDegrees(std::atan2(m_rotation.m12(), m_rotation.m11()));
    QTransform t;
    t.translate(anchor.x(), anchor.y());
    t.rotate(angle);
    m_painter.setWorldTransform(t * m_base);
    m_painter.setFont(qfont);
    m_painter.setPen(font.Color);
    m_painter.drawText(QPointF(0, 0), text);
    m_painter.setWorldTransform(m_base);
}

TextExtent PainterSurface::measureText(const QString &text, const PageFont &font) const
{
    const QFontMetricsF fm(toQFont(font), m_painter.device());
    TextExtent e;
    e.width = fm.horizontalAdvance(text) / m_unitsPerMmX;
    e.ascent = fm.ascent() / m_unitsPerMmY;
    e.descent = fm.descent() / m_unitsPerMmY;
    e.height = e.ascent + e.descent;
    return e;
}

void PainterSurface::save()
{
    m_saved.push_back(m_rotation);
}

void PainterSurface::restore()
{
    if (m_saved.empty())
        return;
    m_rotation = m_saved.back();
    m_saved.pop_back();
}

void PainterSurface::rotate(double degrees, QPointF centre)
{
    // y grows downwards, so a counter-clockwise turn on the page is a
    // negative angle for QTransform.
    QTransform r;
    r.translate(centre.x(), centre.y());
    r.rotate(-degrees);
    r.translate(-centre.x(), -centre.y());
    m_rotation = r * m_rotation;
}

double PainterSurface::pixelSize() const
{
    return 1.0 / m_unitsPerMmX;
}

} // namespace etibarix::labels
