// Encoder of the Code 128 symbol: filtering, code set choice, symbol values,
// check character and the pattern table.

#include "labels/code128/Code128Patterns.h"
#include "labels/code128/Code128Symbol.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace etibarix::labels;

namespace {

struct Case {
    const char *name;
    QByteArray text;   // raw bytes, filtered first
    CodeSet start;
    std::vector<std::uint8_t> values;
    int check = -1;    // -1: not checked
};

void PrintTo(const Case &c, std::ostream *os)
{
    *os << c.name;
}

std::string describe(const Code128Encoding &e)
{
    std::string s(1, codeSetLetter(e.startSet));
    for (const auto v : e.values)
        s += ' ' + std::to_string(v);
    return s + " / " + std::to_string(e.checkValue);
}

Code128Encoding encode(const QByteArray &text, bool optimize = true,
                       CodePage128 page = CodePage128::cpCodeA)
{
    Code128Symbol symbol;
    symbol.setOptimize(optimize);
    symbol.setCodePage(page);
    symbol.FilterBarText(text);
    return symbol.EncodeSymbol();
}

void expectCase(const Case &c, const Code128Encoding &e)
{
    Code128Encoding expected;
    expected.startSet = c.start;
    expected.values = c.values;
    expected.checkValue = c.check < 0 ? Code128Symbol::CheckValue(c.values, c.start) : c.check;
    EXPECT_EQ(describe(e), describe(expected)) << c.name;
}

// --- optimized encoding ------------------------------------------------------

class OptimizedEncoding : public ::testing::TestWithParam<Case> {};

TEST_P(OptimizedEncoding, StartSetValuesAndCheck)
{
    const Case &c = GetParam();
    expectCase(c, encode(c.text));
}

const Case kOptimized[] = {
    // Start set, symbol values and check value for the plain shapes: a run of
    // capitals, of small letters, of even and odd digit counts.
    {"ABC", "ABC", CodeSet::A, {33, 34, 35}, 0},
    {"abc", "abc", CodeSet::B, {65, 66, 67}, 90},
    {"digits_even", "123456", CodeSet::C, {12, 34, 56}, 44},
    {"digits_odd", "12345", CodeSet::C, {12, 34, 100, 21}, 54},
    {"back_to_c_after_one_char", "12A3456", CodeSet::C, {12, 100, 33, 99, 34, 56}, 82},
    {"run_of_7_switches_late", "AB1234567", CodeSet::A, {33, 34, 17, 99, 23, 45, 67}, 63},
    {"hello_world", "Hello World", CodeSet::B, {40, 69, 76, 76, 79, 0, 55, 79, 82, 76, 68}, 43},
    {"ten_digits", "0123456789", CodeSet::C, {1, 23, 45, 67, 89}, 73},
    {"empty", "", CodeSet::A, {}, 0},
    // Digit runs inside a text.
    {"run_of_4_never_switches", "A1234B", CodeSet::A, {33, 17, 18, 19, 20, 34}},
    {"run_of_6_switches", "A123456", CodeSet::A, {33, 99, 12, 34, 56}},
    {"run_of_8_switches", "A12345678", CodeSet::A, {33, 99, 12, 34, 56, 78}},
    {"run_of_7_at_end", "A1234567", CodeSet::A, {33, 17, 99, 23, 45, 67}},
    {"run_then_letters", "x123456y", CodeSet::B, {88, 99, 12, 34, 56, 100, 89}},
    {"four_digits_alone", "1234", CodeSet::C, {12, 34}},
    {"single_digit", "7", CodeSet::A, {23}},
    // Control characters live in set A only, lower case in set B only.
    {"controls", QByteArray("\x01\x02", 2), CodeSet::A, {65, 66}},
    {"nul_byte", QByteArray("A\0B", 3), CodeSet::A, {33, 64, 34}},
    {"lower_then_control", QByteArray("a\x01", 2), CodeSet::B, {65, 101, 65}},
    {"control_then_lower", QByteArray("\x1f" "a", 2), CodeSet::A, {95, 100, 65}},
    {"del_is_set_b", "\x7f", CodeSet::B, {95}},
    {"lower_start_needs_b", "aB", CodeSet::B, {65, 34}},
    // Bytes the code sets cannot hold are dropped from the symbol.
    {"accented_dropped", "\xC9x\xE9", CodeSet::B, {88}, 89},
    {"high_bytes_dropped", "A\x80" "B\xFF" "C\xF0\xF9", CodeSet::A, {33, 34, 35}, 0},
    {"only_dropped_bytes", "\xE9\xE8\xA0", CodeSet::A, {}, 0},
    // Escape bytes: set changes and SHIFT are the optimizer's business.
    {"code_escapes_skipped", "AB\xF5\xF6\xF7\xF8" "CD", CodeSet::A, {33, 34, 35, 36}},
    {"fnc1_then_digits", "\xF1" "0123456789", CodeSet::C, {102, 1, 23, 45, 67, 89}},
    {"fnc1_inside_c", "12\xF1" "34", CodeSet::C, {12, 102, 34}},
    {"fnc4_in_b", "a\xF4", CodeSet::B, {65, 100}},
    {"fnc4_in_a", "A\xF4", CodeSet::A, {33, 101}},
    {"fnc2_fnc3_in_a", "\xF2\xF3", CodeSet::A, {97, 96}},
    {"fnc2_from_c", "1234\xF2", CodeSet::C, {12, 34, 100, 97}},
    // Ties go to the earlier set.
    {"tie_a_over_b", "AB", CodeSet::A, {33, 34}},
    {"two_digits", "12", CodeSet::C, {12}},
    {"tie_a_over_c", "12\xF2", CodeSet::A, {17, 18, 97}},
};

INSTANTIATE_TEST_SUITE_P(Table, OptimizedEncoding, ::testing::ValuesIn(kOptimized),
                         [](const auto &info) { return std::string(info.param.name); });

// --- codeset from CodePage, escapes as the standard defines them --------------

struct PlainCase {
    Case c;
    CodePage128 page;
};

void PrintTo(const PlainCase &c, std::ostream *os)
{
    *os << c.c.name;
}

class PlainEncoding : public ::testing::TestWithParam<PlainCase> {};

TEST_P(PlainEncoding, StartSetValuesAndCheck)
{
    const PlainCase &p = GetParam();
    expectCase(p.c, encode(p.c.text, false, p.page));
}

const PlainCase kPlain[] = {
    {{"start_a", "ABC", CodeSet::A, {33, 34, 35}, 0}, CodePage128::cpCodeA},
    {{"start_b_upper", "ABC", CodeSet::B, {33, 34, 35}}, CodePage128::cpCodeB},
    {{"start_c_letters", "ABC", CodeSet::C, {100, 33, 34, 35}, 101}, CodePage128::cpCodeC},
    {{"no_auto_c", "123456", CodeSet::A, {17, 18, 19, 20, 21, 22}}, CodePage128::cpCodeA},
    {{"start_c_digits", "123456", CodeSet::C, {12, 34, 56}, 44}, CodePage128::cpCodeC},
    {{"empty_starts_in_page", "", CodeSet::B, {}, 1}, CodePage128::cpCodeB},
    {{"auto_code_b", "Aa", CodeSet::A, {33, 100, 65}}, CodePage128::cpCodeA},
    {{"code_a_from_b", "\xF5\x01", CodeSet::B, {101, 65}}, CodePage128::cpCodeB},
    {{"code_of_current_set_skipped", "\xF5" "AB", CodeSet::A, {33, 34}}, CodePage128::cpCodeA},
    {{"code_c_from_a", "A\xF7" "1234", CodeSet::A, {33, 99, 12, 34}}, CodePage128::cpCodeA},
    {{"code_b_from_c", "12\xF6" "34", CodeSet::C, {12, 100, 19, 20}}, CodePage128::cpCodeC},
    {{"code_a_from_c", "\xF5" "a", CodeSet::C, {101, 100, 65}}, CodePage128::cpCodeC},
    {{"shift_to_b", "\xF8" "aA", CodeSet::A, {98, 65, 33}}, CodePage128::cpCodeA},
    {{"shift_to_a", "a\xF8\x01" "b", CodeSet::B, {65, 98, 65, 66}}, CodePage128::cpCodeB},
    {{"shift_at_end_dropped", "A\xF8", CodeSet::A, {33}}, CodePage128::cpCodeA},
    {{"shift_without_target_dropped", "\xF8\x01", CodeSet::A, {65}}, CodePage128::cpCodeA},
    {{"shift_from_c", "12\xF8\x01", CodeSet::C, {12, 100, 98, 65}}, CodePage128::cpCodeC},
    {{"fncs_in_a", "\xF1\xF2\xF3\xF4", CodeSet::A, {102, 97, 96, 101}}, CodePage128::cpCodeA},
    {{"fncs_in_b", "\xF1\xF2\xF3\xF4", CodeSet::B, {102, 97, 96, 100}}, CodePage128::cpCodeB},
    {{"fnc4_from_c", "\xF1\xF4", CodeSet::C, {102, 100, 100}}, CodePage128::cpCodeC},
};

INSTANTIATE_TEST_SUITE_P(Table, PlainEncoding, ::testing::ValuesIn(kPlain),
                         [](const auto &info) { return std::string(info.param.c.name); });

// --- other properties --------------------------------------------------------

TEST(Code128Encoder, FilterKeepsAsciiAndEscapesOnly)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    Code128Symbol symbol;
    symbol.FilterBarText(all);
    QByteArray expected = all.left(0x80);
    expected += "\xF1\xF2\xF3\xF4\xF5\xF6\xF7\xF8";
    EXPECT_EQ(symbol.BarcodeText(), expected);
}

TEST(Code128Encoder, OptimizedSymbolIgnoresCodePage)
{
    for (const QByteArray &text : {QByteArray("ABC"), QByteArray("abc123456"), QByteArray("12345"),
                                  QByteArray("\xF1" "01234")}) {
        const std::string a = describe(encode(text, true, CodePage128::cpCodeA));
        EXPECT_EQ(describe(encode(text, true, CodePage128::cpCodeB)), a) << text.constData();
        EXPECT_EQ(describe(encode(text, true, CodePage128::cpCodeC)), a) << text.constData();
    }
}

TEST(Code128Encoder, EncodeFromSetGivesEachCandidate)
{
    Code128Symbol symbol;
    symbol.FilterBarText("Hello");
    EXPECT_EQ(symbol.EncodeFromSet(CodeSet::A), (std::vector<std::uint8_t>{40, 100, 69, 76, 76, 79}));
    EXPECT_EQ(symbol.EncodeFromSet(CodeSet::B), (std::vector<std::uint8_t>{40, 69, 76, 76, 79}));
    EXPECT_EQ(symbol.EncodeFromSet(CodeSet::C), (std::vector<std::uint8_t>{100, 40, 69, 76, 76, 79}));
    symbol.EncodeSymbol();
    EXPECT_EQ(symbol.UsedSet(), CodeSet::B);
}

TEST(Code128Encoder, CheckValueOfLongTextStaysExact)
{
    // 100000 times 'A' (value 33): 103 + 33 * n (n + 1) / 2, computed apart.
    const std::uint64_t n = 100000;
    const int expected = static_cast<int>((103 + 33 * (n * (n + 1) / 2)) % 103);
    const std::vector<std::uint8_t> values(n, 33);
    EXPECT_EQ(Code128Symbol::CheckValue(values, CodeSet::A), expected);
    EXPECT_EQ(Code128Symbol::CheckValue({}, CodeSet::B), 1);
    EXPECT_EQ(Code128Symbol::CheckValue({}, CodeSet::C), 2);
}

TEST(Code128Encoder, SymbolWidth)
{
    Code128Symbol symbol;
    symbol.setBarWidth(0.254);
    symbol.FilterBarText("ABC");
    EXPECT_NEAR(symbol.SymbolWidth(), 17.272, 1e-9);   // 68 modules
    symbol.FilterBarText("");
    EXPECT_NEAR(symbol.SymbolWidth(), 35 * 0.254, 1e-9);
}

TEST(Code128Encoder, ReadableTextDropsCodesAbove200)
{
    Code128Symbol symbol;
    symbol.setOptimize(false);
    symbol.FilterBarText("A\xF1" "B\xC9\xF8" "c");
    const Code128Encoding e = symbol.EncodeSymbol();
    EXPECT_EQ(symbol.readableText(e, false), QByteArray("ABc"));
    EXPECT_EQ(symbol.readableText(e, true), QByteArray("ABc") + static_cast<char>(e.checkValue));
}

TEST(Code128Patterns, TableIsWellFormed)
{
    std::set<std::string_view> seen;
    for (int v = 0; v <= 105; ++v) {
        const std::string_view p = Code128Patterns::pattern(v);
        ASSERT_EQ(p.size(), 6u) << v;
        int modules = 0;
        int barModules = 0;
        for (std::size_t i = 0; i < p.size(); ++i) {
            const int w = p[i] - '0';
            ASSERT_TRUE(w >= 1 && w <= 4) << v;
            modules += w;
            if (i % 2 == 0)
                barModules += w;
        }
        EXPECT_EQ(modules, 11) << v;
        EXPECT_EQ(barModules % 2, 0) << v;   // the character's parity
        EXPECT_TRUE(seen.insert(p).second) << "duplicate pattern at " << v;
    }
    EXPECT_EQ(Code128Patterns::pattern(0), "212222");
    EXPECT_EQ(Code128Patterns::pattern(103), "211412");
    EXPECT_EQ(Code128Patterns::pattern(106), "2331112");
    EXPECT_TRUE(Code128Patterns::pattern(107).empty());
    EXPECT_TRUE(Code128Patterns::pattern(-1).empty());
}

} // namespace
