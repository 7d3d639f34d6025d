#pragma once
// The text of each problem a sheet format can have, in the user's language.

#include "labels/formats/SheetFormat.h"

#include <QString>

namespace etibarix::labels {

QString sheetProblemText(SheetProblem problem);

} // namespace etibarix::labels
