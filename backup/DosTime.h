#pragma once
// Last-write times as archives store them: the MS-DOS date/time form, local
// time, date in the high 16 bits (years since 1980, month, day) and time in
// the low 16 bits (hours, minutes, seconds / 2).

#include <QDateTime>

#include <cstdint>

namespace etibarix::backup {

// Times before 1980 or after 2107 are clamped to the nearest one the form holds.
std::uint32_t toDosTime(const QDateTime &time);

// An invalid QDateTime when the value names no real date or time (damaged archive).
QDateTime fromDosTime(std::uint32_t value);

} // namespace etibarix::backup
