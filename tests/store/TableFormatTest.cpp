#include "store/TableFormat.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

using namespace etibarix;
using store::TableFormat;

TEST(TableFormat, ReadsNumbersLikeTheTableStoresThem)
{
    struct Case {
        const char *stored;
        std::int32_t value;
    };
    const Case cases[] = {
        {"   12", 12},   {"12   ", 12},   {"  -7 ", -7},  {"*****", 0},     {"     ", 0},
        {"", 0},         {"  1.5", 1},     {"+42", 42},    {"0000009", 9},   {"-", 0},
        {"99999999999", std::numeric_limits<std::int32_t>::max()},
        {"-99999999999", std::numeric_limits<std::int32_t>::min()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(TableFormat::parseInteger(c.stored, int(std::strlen(c.stored))), c.value);
    }
    EXPECT_EQ(TableFormat::parseInteger("\0\0 3", 4), 3);
}

TEST(TableFormat, TextLosesTrailingBlanksAndControlsOnly)
{
    EXPECT_EQ(TableFormat::trimmedText("  AB  \r\n\0 ", 10), QByteArrayView("  AB"));
    EXPECT_EQ(TableFormat::trimmedText("     ", 5).size(), 0);
    EXPECT_EQ(TableFormat::trimmedText("\xE9t\xE9 ", 4), QByteArrayView("\xE9t\xE9"));
}

TEST(TableFormat, ErrorTextsCarryCodeTextAndContext)
{
    EXPECT_EQ(TableFormat::errorText(210, QStringLiteral("File: x [Open]")),
              QStringLiteral("Dataset error: Error # 210 (Not a dBASE data file)\r\nFile: x [Open]"));
    const std::pair<int, const char *> texts[] = {
        {2, "File not found"},
        {5, "File access denied"},
        {32, "File sharing violation"},
        {101, "Disk full"},
        {211, "Invalid database field type encountered"},
        {212, "Request beyond range"},
        {213, "End of file found unexpectedly"},
        {222, "Corrupted index file"},
        {223, "Index version mismatch"},
    };
    for (const auto &[code, text] : texts)
        EXPECT_TRUE(TableFormat::errorText(code, {}).contains(QStringLiteral("(%1)").arg(QLatin1String(text))));
}
