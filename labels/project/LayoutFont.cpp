#include "labels/project/LayoutFont.h"

#include "base/Cp1252.h"

#include <cmath>

namespace etibarix::labels {

void LayoutFont::apply(const std::vector<ProjectProperty> &list)
{
    for (const ProjectProperty &p : list) {
        const ProjectValue &v = p.value;
        if (sameName(p.name, "Name")) {
            if (auto t = v.toText())
                name = *t;
        } else if (sameName(p.name, "Size")) {
            if (auto r = v.toReal(); r && *r > 0)
                size = *r;
        } else if (sameName(p.name, "Height")) {
            // A negative height is the character height in pixels at 96 per
            // inch; a positive one includes the internal leading (kept as is).
            if (auto h = v.toInteger(); h && *h != 0)
                size = std::round(std::abs(double(*h)) * 72.0 / 96.0);
        } else if (sameName(p.name, "Color")) {
            if (auto c = v.toInteger())
                color = *c;
        } else if (sameName(p.name, "Charset")) {
            if (auto c = v.toInteger())
                charset = int(*c);
        } else if (sameName(p.name, "Style") && v.type == ProjectValue::Type::Set) {
            bold = italic = underline = strikeOut = false;
            for (const QByteArray &m : v.names) {
                bold = bold || sameName(m, "fsBold");
                italic = italic || sameName(m, "fsItalic");
                underline = underline || sameName(m, "fsUnderline");
                strikeOut = strikeOut || sameName(m, "fsStrikeOut");
            }
        }
    }
}

PageFont LayoutFont::pageFont() const
{
    PageFont f;
    f.Name = base::fromCp1252(name);
    f.Size = size;
    // Windows colours are 0x00BBGGRR; negative values name system colours,
    // which are black on paper (window text).
    f.Color = color < 0 ? QColor(Qt::black)
                        : QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
    f.Bold = bold;
    f.Italic = italic;
    f.Underline = underline;
    f.StrikeOut = strikeOut;
    f.Charset = charset;
    return f;
}

} // namespace etibarix::labels
