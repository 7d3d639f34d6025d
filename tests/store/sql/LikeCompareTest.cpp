// LIKE and the text ordering the sort and "=" rely on.

#include "store/sql/Compare.h"
#include "store/sql/LikePattern.h"

#include <gtest/gtest.h>

using namespace etibarix::store::sql;

TEST(Like, MatchesAsSqlDefinesIt)
{
    struct Case {
        const char *value;
        const char *pattern;
        bool match;
    } cases[] = {
        {"ABC", "AB%", true},
        {"AB", "AB%", true},
        {"xAB", "AB%", false},
        {"ABC", "ab%", false},    // letter case matters
        {"", "%", true},
        {"", "%%", true},
        {"", "_", false},
        {"A", "_%", true},
        {"", "_%", false},
        {"ABC", "A_C%", true},
        {"ABCD", "A_C%", true},
        {"AC", "A_C%", false},
        {"123", "%12%", true},
        {"312", "%12%", true},
        {"312", "12%", false},
        {"AB", "AB %", false},   // a typed trailing blank needs a blank in the value
        {"AB X", "AB %", true},
        {"ABC", "ABC", true},    // no wildcard: equality
        {"ABCD", "ABC", false},
        {"abcabcabd", "%abd", true},
        {"abcabcabc", "%abd", false},
        {"aXbXc", "a%b%c", true},
        {"aXbX", "a%b%c", false},
        {"mississippi", "%iss%ppi", true},
        {"mississippi", "m%s_s%i", true},
        {"\xE9t\xE9", "\xE9%", true},
        {"\xC9t\xE9", "\xE9%", false},
        {"50%", "50%%", true},   // no escape: % is always a wildcard
    };
    for (const Case &c : cases)
        EXPECT_EQ(LikePattern(c.pattern).matches(c.value), c.match) << c.value << " like " << c.pattern;
}

TEST(Compare, TextsCompareAsUnsignedBytes)
{
    // Empty first, then digits, capitals, small letters, accented letters.
    const char *ordered[] = {"", "0", "12", "123", "A", "AB", "Z", "a", "z", "\xC9", "\xE9"};
    const int n = static_cast<int>(std::size(ordered));
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            const int c = compareText(ordered[i], ordered[j]);
            EXPECT_EQ(c, i < j ? -1 : (i > j ? 1 : 0)) << ordered[i] << " vs " << ordered[j];
        }
    EXPECT_EQ(textToInteger("  42 "), 42);
    EXPECT_EQ(textToInteger("-7"), -7);
    EXPECT_EQ(textToInteger("4x"), 0);
    EXPECT_EQ(textToInteger("*****"), 0);
}
