#pragma once
// Bar patterns of the Code 128 symbol characters.

#include <string_view>

namespace etibarix::labels {

class Code128Patterns {
public:
    // Element widths in modules, bar first, of the symbol value 0 to 106
    // (106 is the stop character, seven elements ending in its final bar).
    // An empty view for any other value.
    static std::string_view pattern(int value);
};

} // namespace etibarix::labels
