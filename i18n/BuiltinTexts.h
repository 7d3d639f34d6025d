#pragma once
// The texts built into the program: numbers 1..137 in French (language 1),
// English (2) and Portuguese (3), as Windows-1252 bytes.

#include <QByteArray>

namespace etibarix::i18n {

inline constexpr int BuiltinTextCount = 137;
inline constexpr int LanguageCount = 3;

// Text number (1..137) of language (1..3); empty for any other number or
// language, and for the reserved numbers.
QByteArray BuiltinText(int number, int language);

} // namespace etibarix::i18n
