#pragma once
// One wildcard matcher for the LIKE test of the query layer ("%" and "_")
// and the file-name patterns of the backup's file list ("*" and "?").

#include <cstddef>

namespace etibarix::base {

// True when the whole of value matches the whole of pattern: anyRun matches
// any run of elements (the empty one included), anyOne exactly one, every
// other element one for which same(patternElement, valueElement) holds.
// A greedy walk that backtracks to the last anyRun: linear for the usual
// "text" + anyRun patterns, never worse than value length x pattern length.
template <typename Text, typename Element, typename Same>
bool matchesWildcard(const Text &pattern, const Text &value, Element anyRun, Element anyOne, Same same)
{
    const std::ptrdiff_t m = pattern.size();
    const std::ptrdiff_t n = value.size();
    std::ptrdiff_t i = 0, j = 0, star = -1, mark = 0;
    while (i < n) {
        if (j < m && pattern[j] == anyRun) {
            star = j++;
            mark = i;
        } else if (j < m && (pattern[j] == anyOne || same(pattern[j], value[i]))) {
            ++i;
            ++j;
        } else if (star >= 0) {
            j = star + 1;
            i = ++mark;
        } else {
            return false;
        }
    }
    while (j < m && pattern[j] == anyRun)
        ++j;
    return j == m;
}

} // namespace etibarix::base
