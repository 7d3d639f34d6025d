// The choice of the data directory: --dir, ETIBARIX_DIR, a portable copy's
// own directory, the user's data directory.

#include "base/DataDir.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace etibarix;
using base::DataDirChoice;

namespace {

class DataDirChoiceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char *dir : {"named", "plain", "table", "par", "system/bin", "system/kept", "home"})
            ASSERT_TRUE(QDir().mkpath(at(dir)));
        ASSERT_TRUE(test::writeFile(at("table") + QStringLiteral("article.dbf"), "x"));
        ASSERT_TRUE(test::writeFile(at("par") + QStringLiteral("ETIBARIX.PAR"), "x"));
        ASSERT_TRUE(test::writeFile(at("system/kept") + QStringLiteral("article.dbf"), "x"));
    }
    void TearDown() override { base::setDataDirOverride({}); }

    QString at(const char *relative) const { return m_root.path() + QString::fromUtf8(relative) + u'/'; }

    base::DataDirPlaces places(const char *option, const char *environment, const char *program) const
    {
        base::DataDirPlaces p;
        p.option = *option ? at(option) : QString();
        p.environment = *environment ? at(environment) : QString();
        p.programDir = at(program);
        p.userDataHome = at("home");
        p.systemRoots = {at("system")};
        return p;
    }

    test::DataDir m_root;
};

TEST_F(DataDirChoiceTest, FollowsTheOrderOfThePlaces)
{
    const struct {
        const char *option, *environment, *program;
        DataDirChoice::Source source;
        const char *dir;
    } cases[] = {
        {"named", "plain", "table", DataDirChoice::Option, "named"},
        {"", "named", "table", DataDirChoice::Environment, "named"},
        {"", "", "table", DataDirChoice::Program, "table"},
        {"", "", "par", DataDirChoice::Program, "par"},
        // Writable and outside the system: a portable copy or a build folder.
        {"", "", "plain", DataDirChoice::Program, "plain"},
        // Installed: the user's home, even for a user who could write there.
        {"", "", "system/bin", DataDirChoice::User, "home/etibarix"},
        // Data already beside an installed program stays in use.
        {"", "", "system/kept", DataDirChoice::Program, "system/kept"},
    };
    for (const auto &c : cases) {
        const DataDirChoice choice = base::ChooseDataDir(places(c.option, c.environment, c.program));
        EXPECT_EQ(choice.source, c.source) << c.program;
        EXPECT_EQ(choice.dir, at(c.dir)) << c.program;
    }
}

TEST_F(DataDirChoiceTest, UsingTheChoiceCreatesOnlyTheUsersDirectory)
{
    EXPECT_TRUE(base::UseDataDir(places("", "", "system/bin")).ready());
    EXPECT_EQ(base::DataDir(), at("home/etibarix"));
    EXPECT_TRUE(QFileInfo(at("home/etibarix")).isDir());

    // A named directory must exist; the directory in use stays as it was.
    base::DataDirPlaces missing = places("", "", "plain");
    missing.option = at("nowhere");
    EXPECT_EQ(base::UseDataDir(missing).problemText(), QStringLiteral("no such directory: %1").arg(at("nowhere")));
    missing.option.clear();
    missing.environment = at("nowhere");
    EXPECT_EQ(base::UseDataDir(missing).status, base::DataDirResult::Missing);
    EXPECT_FALSE(QFileInfo::exists(at("nowhere")));
    EXPECT_EQ(base::DataDir(), at("home/etibarix"));

    // A home where the directory cannot be made: a file stands in the way.
    ASSERT_TRUE(test::writeFile(at("home") + QStringLiteral("blocked"), "x"));
    base::DataDirPlaces blocked = places("", "", "system/bin");
    blocked.userDataHome = at("home") + QStringLiteral("blocked");
    EXPECT_EQ(base::UseDataDir(blocked).status, base::DataDirResult::NotCreated);
}

} // namespace
