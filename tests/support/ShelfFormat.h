#pragma once
// One of the user's own sheets for the tests that need one: six 68 x 35 mm
// labels (2 x 3) on a 150 x 120 mm page, named "Shelf 2x3".

#include "labels/formats/SheetFormat.h"

namespace etibarix::test {

inline labels::SheetFormat ShelfFormat()
{
    labels::SheetFormat f;
    f.name = QStringLiteral("Shelf 2x3");
    f.pageWidthMm = 150;
    f.pageHeightMm = 120;
    f.columns = 2;
    f.rows = 3;
    f.leftMm = 5;
    f.topMm = 6;
    f.labelWidthMm = 68;
    f.labelHeightMm = 35;
    f.pitchXMm = 72;
    f.pitchYMm = 37;
    f.barHeightMm = 12;
    f.textLines = 2;
    return f;
}

} // namespace etibarix::test
