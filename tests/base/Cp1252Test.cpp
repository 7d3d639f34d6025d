#include "base/DataDir.h"
#include "base/Cp1252.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace etibarix;

TEST(Cp1252, RoundTripsEveryByte)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = base::fromCp1252(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text.at(0x80), QChar(0x20AC));   // euro sign
    EXPECT_EQ(text.at(0xE9), QChar(0xE9));     // e acute
    const auto back = base::toCp1252(text);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
    // The direct way to UTF-8 gives what Qt's encoder makes of the text.
    QByteArray utf8("kept ");
    base::appendCp1252AsUtf8(utf8, all);
    EXPECT_EQ(utf8, "kept " + text.toUtf8());
}

TEST(Cp1252, RefusesCharactersWithoutAByte)
{
    EXPECT_FALSE(base::toCp1252(u"caf\u00e9 \u4e2d").has_value());
    EXPECT_EQ(base::toCp1252Lossy(u"a\u4e2db"), QByteArray("a?b"));
    EXPECT_EQ(base::toCp1252(u"\u0152uvre \u2014 \u20ac").value(), QByteArray("\x8Cuvre \x97 \x80"));
}

TEST(DataDir, EndsWithSeparatorAndHonoursOverride)
{
    const QString own = base::DataDir();
    EXPECT_TRUE(own.endsWith(u'/'));
    EXPECT_TRUE(own.startsWith(u'/'));
    base::setDataDirOverride(QStringLiteral("/tmp/somewhere"));
    EXPECT_EQ(base::DataDir(), QStringLiteral("/tmp/somewhere/"));
    base::setDataDirOverride(QString());
    EXPECT_EQ(base::DataDir(), own);
}

TEST(Cli, UsageAndUnknownCommand)
{
    auto r = test::runCli({});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("usage: etibarix-cli"));
    r = test::runCli({QStringLiteral("no-such-command")});
    EXPECT_EQ(r.exitCode, 2);
    r = test::runCli({QStringLiteral("--dir"), QStringLiteral("/nonexistent/dir"), QStringLiteral("x")});
    EXPECT_EQ(r.exitCode, 1);
}
