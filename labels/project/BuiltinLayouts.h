#pragma once
// The copy of the label layouts built into the program: the thirteen
// reports "etiquette1" to "Etiquette13" with one page each, plus the unused
// global page, built from geometry tables. Used whenever the project file
// is missing or not chosen.

#include "labels/project/ReportProject.h"

#include <QDateTime>

namespace etibarix::labels {

class BuiltinLayouts {
public:
    // When the built-in copy was saved, in days since 30 December 1899,
    // local time: 2 June 2004, 23:07:02.95.
    static constexpr double SaveTimeDays = 38140.9632285764;
    static QDateTime saveTime();
    // A day count of that form as a local date and time, to the millisecond.
    static QDateTime fromDays(double days);

    static constexpr int LayoutCount = 13;

    // A fresh project with the thirteen layouts.
    static ReportProject create();
};

} // namespace etibarix::labels
