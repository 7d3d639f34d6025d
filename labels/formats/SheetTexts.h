#pragma once
// Texts of the sheet features (custom formats, calibration, start label,
// shrink to fit) in French, English and Portuguese.

#include "labels/formats/SheetFormat.h"

#include <QString>

namespace etibarix::labels {

enum class SheetText {
    FileNotUsed, FileTooLarge, FileUnreadable, NotJson, NoFormatsList, TooManyFormats, EntryNotObject,
    FieldMissing, FieldWrongType, EntryInvalid, SaveFailed, DamagedNotKept,
    // Print tab
    StartLabel, ShrinkToFit, CalibrateButton, NewFormat, EditFormat, DeleteFormat, DeleteQuestion,
    // Calibration dialog
    CalibrateTitle, CalibratePrinter, OffsetX, OffsetY, PrintTestSheet, CalibrateHint, DefaultPrinter,
    // Format dialog
    FormatTitle, Name, Page, PageA4, PageLetter, PageCustom, PageWidth, PageHeight, Columns, Rows, LeftMargin,
    TopMargin, LabelWidth, LabelHeight, PitchX, PitchY, BarHeight, ReadableLine, TextLines, FontSize, FormatValid,
};

QString sheetText(SheetText text);
QString sheetProblemText(SheetProblem problem);

} // namespace etibarix::labels
