#pragma once
// Windows-1252 conversion. The data files hold Windows-1252 bytes; the core
// keeps them as QByteArray and converts only where text meets the user.

#include <QByteArray>
#include <QString>

#include <optional>

namespace etibarix::base {

// Every byte maps to a character; the five bytes Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of that code.
QString fromCp1252(QByteArrayView bytes);

// fromCp1252(bytes).toUtf8() appended to `out`, without the detour; for
// output that goes out as bytes anyway.
void appendCp1252AsUtf8(QByteArray &out, QByteArrayView bytes);

// Strict: nullopt when a character has no Windows-1252 byte.
std::optional<QByteArray> toCp1252(QStringView text);

// Lenient: characters without a byte become '?'.
QByteArray toCp1252Lossy(QStringView text);

} // namespace etibarix::base
