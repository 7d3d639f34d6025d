#include "store/DbfFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

using namespace etibarix;
using store::DbfFile;

TEST(DbfFile, ReadsNumbersLikeTheTableStoresThem)
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
        EXPECT_EQ(DbfFile::parseInteger(c.stored, int(std::strlen(c.stored))), c.value);
    }
    EXPECT_EQ(DbfFile::parseInteger("\0\0 3", 4), 3);
}

TEST(DbfFile, TextLosesTrailingBlanksAndControlsOnly)
{
    EXPECT_EQ(DbfFile::trimmedText("  AB  \r\n\0 ", 10), QByteArrayView("  AB"));
    EXPECT_EQ(DbfFile::trimmedText("     ", 5).size(), 0);
    EXPECT_EQ(DbfFile::trimmedText("\xE9t\xE9 ", 4), QByteArrayView("\xE9t\xE9"));
}

TEST(DbfFile, ErrorTextsCarryCodeTextAndContext)
{
    EXPECT_EQ(DbfFile::errorText(210, QStringLiteral("File: x [Open]")),
              QStringLiteral("Dataset error: Error # 210 (Not a dBASE data file)\r\nFile: x [Open]"));
    const std::pair<int, const char *> texts[] = {
        {2, "File not found"},
        {5, "File access denied"},
        {32, "File sharing violation"},
        {211, "Invalid database field type encountered"},
        {212, "Request beyond range"},
        {213, "End of file found unexpectedly"},
        {222, "Corrupted index file"},
        {223, "Index version mismatch"},
    };
    for (const auto &[code, text] : texts)
        EXPECT_TRUE(DbfFile::errorText(code, {}).contains(QStringLiteral("(%1)").arg(QLatin1String(text))));
}
