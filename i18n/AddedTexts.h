#pragma once
// The texts added after the numbered ones, in the three languages.

#include "i18n/Text.h"

#include <QString>

namespace etibarix::i18n {

// Added text in language 1 (French), 2 (English) or 3 (Portuguese); any other
// language gives French. Empty for a numbered text.
QString AddedText(Text text, int language);

// A count with the language's digit grouping: "2 000", "2,000", "2 000".
QString GroupedNumber(int number, int language);

} // namespace etibarix::i18n
