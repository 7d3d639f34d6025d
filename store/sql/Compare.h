#pragma once
// Orderings of values: texts byte by byte as unsigned values (so letter case
// matters, accented Windows-1252 letters come after every unaccented one, and
// a text that begins another sorts first); integers numerically.

#include <QByteArrayView>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace etibarix::store::sql {

inline int compareText(QByteArrayView a, QByteArrayView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    if (n > 0) {
        const int c = std::memcmp(a.data(), b.data(), static_cast<std::size_t>(n));
        if (c != 0)
            return c < 0 ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

inline int compareInteger(std::int32_t a, std::int32_t b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

// An N field's reading of a text: blanks trimmed on both sides, an optional
// sign and digits; anything else reads as 0.
std::int32_t textToInteger(QByteArrayView text);

} // namespace etibarix::store::sql
