#include "app/AppDir.h"
#include "app/Cp1252.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

using namespace etibarix;

TEST(Cp1252, RoundTripsEveryByte)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = app::fromCp1252(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text.at(0x80), QChar(0x20AC));   // euro sign
    EXPECT_EQ(text.at(0xE9), QChar(0xE9));     // e acute
    const auto back = app::toCp1252(text);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
}

TEST(Cp1252, RefusesCharactersWithoutAByte)
{
    EXPECT_FALSE(app::toCp1252(u"caf\u00e9 \u4e2d").has_value());
    EXPECT_EQ(app::toCp1252Lossy(u"a\u4e2db"), QByteArray("a?b"));
    EXPECT_EQ(app::toCp1252(u"\u0152uvre \u2014 \u20ac").value(), QByteArray("\x8Cuvre \x97 \x80"));
}

TEST(AppDir, EndsWithSeparatorAndHonoursOverride)
{
    const QString own = app::AppDir();
    EXPECT_TRUE(own.endsWith(u'/'));
    EXPECT_TRUE(own.startsWith(u'/'));
    app::setAppDirOverride(QStringLiteral("/tmp/somewhere"));
    EXPECT_EQ(app::AppDir(), QStringLiteral("/tmp/somewhere/"));
    app::setAppDirOverride(QString());
    EXPECT_EQ(app::AppDir(), own);
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
