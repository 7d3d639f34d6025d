#include "labels/formats/SheetFormat.h"

#include <QStringList>



namespace etibarix::labels {
namespace {

// Room for rounding in hand-typed sizes: a label may pass the page edge by
// this much and still count as inside.
constexpr double Tolerance = 0.005;

bool isWholeNumber(const QString &text)
{
    bool ok = false;
    text.trimmed().toLongLong(&ok);
    return ok;
}

struct Builtin {
    bool letter;
    int columns, rows;
    double left, top, width, height, pitchX, pitchY;
    double barHeight;
    bool readable;
    int textLines;
    double fontSize;
};

// Letter-size layouts (entries 1 to 4) get the stock centred on the page; the
// sheets "without space" are the A4 page cut into equal labels.
constexpr Builtin Builtins[13] = {
    {true, 3, 4, 12.5, 2.5, 60, 50, 60, 50, 16.764, true, 2, 10},
    {true, 3, 8, 9.5, 4.1, 63.5, 33.9, 66, 33.9, 6.35, true, 2, 10},          // L7159
    {true, 3, 7, 9.5, 6.35, 63.5, 38.1, 66, 38.1, 6.35, true, 2, 10},         // L7160
    {true, 3, 6, 9.5, 0.2, 63.5, 46.5, 66, 46.5, 6.35, true, 2, 10},          // L7161 on Letter
    {false, 3, 8, 0, 0, 70, 297.0 / 8, 70, 297.0 / 8, 6.35, true, 2, 10},
    {false, 3, 7, 0, 0, 70, 297.0 / 7, 70, 297.0 / 7, 6.35, true, 2, 10},
    {false, 3, 6, 0, 0, 70, 297.0 / 6, 70, 297.0 / 6, 6.35, true, 2, 10},
    {false, 3, 5, 0, 0, 70, 297.0 / 5, 70, 297.0 / 5, 6.35, true, 2, 10},
    {false, 4, 11, 5, 11, 50, 25, 50, 25, 6.35, true, 1, 10},                 // 5 x 2.5 cm
    {false, 4, 10, 9.7, 21.5, 45.7, 25.4, 48.3, 25.4, 6.35, true, 2, 8},       // L7654
    {false, 3, 7, 7.25, 15.15, 63.5, 38.1, 66, 38.1, 6.35, true, 2, 10},       // LA21
    {false, 5, 13, 4.75, 10.7, 38.1, 21.2, 40.6, 21.2, 6.35, true, 2, 10},     // L7651
    {false, 4, 20, 7.6, 12.7, 44.45, 12.7, 52, 12.7, 6.35, false, 1, 8},       // 4.4 x 1.2 cm
};

} // namespace

QRectF SheetFormat::labelRect(int slot) const
{
    if (slot < 1 || slot > slotCount() || columns < 1)
        return {};
    const int index = slot - 1;
    return QRectF(leftMm + (index % columns) * pitchXMm, topMm + (index / columns) * pitchYMm, labelWidthMm,
                  labelHeightMm);
}

std::optional<SheetProblem> CheckSheetFormat(const SheetFormat &f, const QStringList &others)
{
    using L = SheetFormatLimits;
    const QString name = f.name.trimmed();
    if (name.isEmpty())
        return SheetProblem::NameMissing;
    if (name.size() > L::MaxNameLength)
        return SheetProblem::NameTooLong;
    if (isWholeNumber(name))
        return SheetProblem::NameIsNumber;
    for (const QString &other : others) {
        if (other.trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return SheetProblem::NameTaken;
    }
    // NaN fails every comparison below, so it is caught with the bad sizes.
    const auto within = [](double v, double low, double high) { return v >= low && v <= high; };
    if (!within(f.pageWidthMm, L::MinPageMm, L::MaxPageMm) || !within(f.pageHeightMm, L::MinPageMm, L::MaxPageMm))
        return SheetProblem::PageSize;
    if (f.columns < 1 || f.rows < 1)
        return SheetProblem::GridSize;
    if (static_cast<long long>(f.columns) * f.rows > L::MaxLabels)
        return SheetProblem::LabelCount;
    if (!(f.leftMm >= 0) || !(f.topMm >= 0))
        return SheetProblem::Margins;
    if (!within(f.labelWidthMm, L::MinLabelMm, f.pageWidthMm) || !within(f.labelHeightMm, L::MinLabelMm, f.pageHeightMm))
        return SheetProblem::LabelSize;
    if (f.columns > 1 && !(f.pitchXMm >= f.labelWidthMm - Tolerance))
        return SheetProblem::PitchX;
    if (f.rows > 1 && !(f.pitchYMm >= f.labelHeightMm - Tolerance))
        return SheetProblem::PitchY;
    if (!(f.leftMm + (f.columns - 1) * f.pitchXMm + f.labelWidthMm <= f.pageWidthMm + Tolerance))
        return SheetProblem::OffPageX;
    if (!(f.topMm + (f.rows - 1) * f.pitchYMm + f.labelHeightMm <= f.pageHeightMm + Tolerance))
        return SheetProblem::OffPageY;
    if (!within(f.barHeightMm, L::MinBarMm, f.labelHeightMm))
        return SheetProblem::BarHeight;
    if (f.textLines < 0 || f.textLines > 2)
        return SheetProblem::TextLines;
    if (!within(f.fontSizePt, L::MinFontPt, L::MaxFontPt))
        return SheetProblem::FontSize;
    return std::nullopt;
}

std::optional<SheetFormat> BuiltinSheet(int entry)
{
    if (entry < 1 || entry > 13)
        return std::nullopt;
    const Builtin &b = Builtins[entry - 1];
    SheetFormat f;
    f.name = QStringLiteral("etiquette%1").arg(entry);
    f.pageWidthMm = b.letter ? LetterWidthMm : A4WidthMm;
    f.pageHeightMm = b.letter ? LetterHeightMm : A4HeightMm;
    f.columns = b.columns;
    f.rows = b.rows;
    f.leftMm = b.left;
    f.topMm = b.top;
    f.labelWidthMm = b.width;
    f.labelHeightMm = b.height;
    f.pitchXMm = b.pitchX;
    f.pitchYMm = b.pitchY;
    f.barHeightMm = b.barHeight;
    f.readableLine = b.readable;
    f.textLines = b.textLines;
    f.fontSizePt = b.fontSize;
    return f;
}

} // namespace etibarix::labels
