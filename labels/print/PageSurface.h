#pragma once
// The page a label sheet is drawn on, as the layout components see it.
//
// Every length is in millimetres from the top-left corner of the page, y
// growing downwards. The components need very little: filled rectangles,
// single lines of text placed by their top edge, text measuring with the real
// font metrics, and rotation for turned symbols. One implementation
// (PainterSurface) draws through QPainter, so the same drawing goes to a PDF
// file, an image or a printer.

#include <QByteArrayView>
#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <optional>

namespace etibarix::labels {

// Alignment of a line of text or of a symbol against its anchor. Block
// justification has no meaning for one line and behaves as left.
enum class PrintJustify { pjCenter, pjLeft, pjRight, pjBlock };

// The identifier form used by layout files ("pjLeft"); nullopt when unknown.
inline std::optional<PrintJustify> printJustifyFromName(QByteArrayView name)
{
    if (name.compare("pjCenter", Qt::CaseInsensitive) == 0)
        return PrintJustify::pjCenter;
    if (name.compare("pjLeft", Qt::CaseInsensitive) == 0)
        return PrintJustify::pjLeft;
    if (name.compare("pjRight", Qt::CaseInsensitive) == 0)
        return PrintJustify::pjRight;
    if (name.compare("pjBlock", Qt::CaseInsensitive) == 0)
        return PrintJustify::pjBlock;
    return std::nullopt;
}

// A font as the layouts describe it. The fields mirror the font properties
// of the layout file (Name, Size, Color, Style, Charset).
struct PageFont {
    QString Name = QStringLiteral("Arial");
    double Size = 8.0;          // points
    QColor Color = QColor(Qt::black);
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    int Charset = 1;            // Windows character set number; 1 = default

    bool operator==(const PageFont &) const = default;
};

// Metrics of a text in a font, in millimetres. ascent + descent = height,
// the height of one line of that font.
struct TextExtent {
    double width = 0;
    double ascent = 0;
    double descent = 0;
    double height = 0;
};

class PageSurface {
public:
    virtual ~PageSurface() = default;

    // Fills the rectangle (mm) with a solid colour. Implementations on a
    // raster device put the edges on the device's pixel grid.
    virtual void fillRect(const QRectF &rect, const QColor &color = QColor(Qt::black)) = 0;

    // Draws one line of text whose top edge is at `top`. `x` is the left
    // edge (pjLeft, pjBlock), the centre (pjCenter) or the right edge
    // (pjRight) of the text. Nothing is clipped.
    virtual void drawText(double x, double top, PrintJustify justify, const QString &text,
                          const PageFont &font) = 0;

    // The width of `text` and the line metrics of `font`, as drawText draws them.
    virtual TextExtent measureText(const QString &text, const PageFont &font) const = 0;

    // save() / restore() keep the rotation state, nested.
    virtual void save() = 0;
    virtual void restore() = 0;

    // Turns everything drawn afterwards by `degrees` counter-clockwise (as
    // seen on the page) about `centre` (mm).
    virtual void rotate(double degrees, QPointF centre) = 0;

    // Size of one device pixel in millimetres (horizontal).
    virtual double pixelSize() const = 0;
};

} // namespace etibarix::labels
