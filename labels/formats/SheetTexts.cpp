#include "labels/formats/SheetTexts.h"

#include "i18n/LanguageTable.h"

namespace etibarix::labels {

QString sheetProblemText(SheetProblem problem)
{
    using L = SheetFormatLimits;
    using i18n::LangString;
    using i18n::Text;
    switch (problem) {
    case SheetProblem::NameMissing:
        return LangString(Text::FormatNameMissing);
    case SheetProblem::NameTooLong:
        return LangString(Text::FormatNameTooLong).arg(L::MaxNameLength);
    case SheetProblem::NameIsNumber:
        return LangString(Text::FormatNameIsNumber);
    case SheetProblem::NameTaken:
        return LangString(Text::FormatNameTaken);
    case SheetProblem::PageSize:
        return LangString(Text::FormatPageSizeRange).arg(L::MinPageMm).arg(L::MaxPageMm);
    case SheetProblem::GridSize:
        return LangString(Text::FormatGridEmpty);
    case SheetProblem::LabelCount:
        return LangString(Text::FormatLabelCountRange).arg(L::MaxLabels);
    case SheetProblem::Margins:
        return LangString(Text::FormatMarginsNegative);
    case SheetProblem::LabelSize:
        return LangString(Text::FormatLabelSizeRange).arg(L::MinLabelMm);
    case SheetProblem::PitchX:
        return LangString(Text::FormatPitchXTooSmall);
    case SheetProblem::PitchY:
        return LangString(Text::FormatPitchYTooSmall);
    case SheetProblem::OffPageX:
        return LangString(Text::FormatOffPageRight);
    case SheetProblem::OffPageY:
        return LangString(Text::FormatOffPageBottom);
    case SheetProblem::BarHeight:
        return LangString(Text::FormatBarHeightRange).arg(L::MinBarMm);
    case SheetProblem::TextLines:
        return LangString(Text::FormatTextLinesRange);
    case SheetProblem::FontSize:
        return LangString(Text::FormatFontSizeRange).arg(L::MinFontPt).arg(L::MaxFontPt);
    }
    return {};
}

} // namespace etibarix::labels
