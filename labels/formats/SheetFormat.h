#pragma once
// The geometry of a sheet of labels: the page, the grid of labels on it and
// what each label carries. Custom formats are stored as this (formats.json);
// the thirteen built-in formats have one too, for the test sheet and for the
// width a barcode may take on them.
//
// Lengths are millimetres from the page's top-left corner. Labels are filled
// row by row: slot 1 is the top-left label, slot `columns` the top-right one.

#include <QRectF>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace etibarix::labels {

struct SheetFormat {
    QString name;
    double pageWidthMm = 210;
    double pageHeightMm = 297;
    int columns = 3;
    int rows = 8;
    double leftMm = 7;            // left edge of the first label
    double topMm = 13;            // top edge of the first label
    double labelWidthMm = 64;
    double labelHeightMm = 34;
    double pitchXMm = 66;         // from one label's left edge to the next one's
    double pitchYMm = 34;
    double barHeightMm = 12;
    bool readableLine = true;     // the barcode text under the bars
    int textLines = 2;            // 0, 1 or 2
    double fontSizePt = 9;        // of the text lines

    int slotCount() const { return columns * rows; }
    // The label of slot 1..slotCount().
    QRectF labelRect(int slot) const;

    bool operator==(const SheetFormat &) const = default;
};

// Page sizes the format dialog offers by name.
inline constexpr double A4WidthMm = 210;
inline constexpr double A4HeightMm = 297;
inline constexpr double LetterWidthMm = 215.9;
inline constexpr double LetterHeightMm = 279.4;

// What can be wrong with a format, in the order the checks run. Each has a
// text in the three languages (SheetFormatProblemText).
enum class SheetProblem {
    NameMissing,       // empty name
    NameTooLong,       // more than MaxNameLength characters
    NameIsNumber,      // a number would be taken for a built-in format's entry
    NameTaken,         // another custom format has it
    PageSize,          // page width or height outside MinPageMm..MaxPageMm
    GridSize,          // columns or rows below 1
    LabelCount,        // columns x rows outside 1..MaxLabels
    Margins,           // negative left or top margin
    LabelSize,         // label width or height below MinLabelMm
    PitchX,            // horizontal pitch below the label width
    PitchY,            // vertical pitch below the label height
    OffPageX,          // the last column passes the page's right edge
    OffPageY,          // the last row passes the page's bottom edge
    BarHeight,         // bar height outside MinBarMm..label height
    TextLines,         // not 0, 1 or 2
    FontSize,          // outside MinFontPt..MaxFontPt
};

struct SheetFormatLimits {
    static constexpr int MaxNameLength = 60;
    static constexpr double MinPageMm = 20;
    static constexpr double MaxPageMm = 1000;
    static constexpr int MaxLabels = 500;
    static constexpr double MinLabelMm = 5;
    static constexpr double MinBarMm = 2;
    static constexpr double MinFontPt = 4;
    static constexpr double MaxFontPt = 36;
};

// The first problem of a format, or nullopt when it can be printed. `others`
// are the names already taken (the other custom formats), compared without
// regard to case.
std::optional<SheetProblem> CheckSheetFormat(const SheetFormat &format, const QStringList &others = {});

// The sheet a built-in format (entry 1..13) is made for; nullopt for any
// other entry. The labels are those of the label stock the format names (or,
// for the sheets without gaps, the page divided into equal labels), placed
// where the format's layout prints into them.
std::optional<SheetFormat> BuiltinSheet(int entry);

} // namespace etibarix::labels
