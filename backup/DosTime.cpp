#include "backup/DosTime.h"

namespace etibarix::backup {

std::uint32_t toDosTime(const QDateTime &time)
{
    const QDateTime local = time.toLocalTime();
    QDate d = local.date();
    QTime t = local.time();
    if (!d.isValid() || d.year() < 1980) {
        d = QDate(1980, 1, 1);
        t = QTime(0, 0);
    } else if (d.year() > 2107) {
        d = QDate(2107, 12, 31);
        t = QTime(23, 59, 58);
    }
    const std::uint32_t date = (std::uint32_t(d.year() - 1980) << 9) | (std::uint32_t(d.month()) << 5)
        | std::uint32_t(d.day());
    const std::uint32_t clock = (std::uint32_t(t.hour()) << 11) | (std::uint32_t(t.minute()) << 5)
        | std::uint32_t(t.second() / 2);
    return (date << 16) | clock;
}

QDateTime fromDosTime(std::uint32_t value)
{
    const std::uint32_t date = value >> 16;
    const std::uint32_t clock = value & 0xFFFF;
    const QDate d(int(date >> 9) + 1980, int((date >> 5) & 0x0F), int(date & 0x1F));
    const int hour = int(clock >> 11);
    const int minute = int((clock >> 5) & 0x3F);
    const int second = int(clock & 0x1F) * 2;
    if (!d.isValid() || !QTime::isValid(hour, minute, second))
        return {};
    return QDateTime(d, QTime(hour, minute, second));
}

} // namespace etibarix::backup
