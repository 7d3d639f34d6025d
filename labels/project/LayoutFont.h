#pragma once
// The font of a layout component as the project stores it: the nested
// property list "Font" with Name, Size (or Height), Color, Style, Charset.

#include "labels/print/PageSurface.h"
#include "labels/project/ProjectValue.h"

#include <QByteArray>

namespace etibarix::labels {

struct LayoutFont {
    QByteArray name = QByteArrayLiteral("Arial");
    double size = 10;     // points
    qint64 color = 0;     // Windows colour: 0x00BBGGRR, or a system colour when negative
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charset = 1;      // DEFAULT_CHARSET

    // Window text colour, the one the barcodes' readable line uses.
    static constexpr qint64 WindowText = -16777208;

    // Sets the members named in a nested property list; others are ignored.
    void apply(const std::vector<ProjectProperty> &list);
    // The font as the page surface draws it; system colours are black.
    PageFont pageFont() const;

    bool operator==(const LayoutFont &) const = default;
};

} // namespace etibarix::labels
