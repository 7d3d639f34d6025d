// Writes that meet a full disk (the file size limit of a child process,
// with SIGXFSZ ignored so that the write fails instead): a clear error, the
// table as it was before the failed write, nothing half-written left.

#include "base/DataDir.h"
#include "base/Parameters.h"
#include "tests/app/cli/TableCheck.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace etibarix;

namespace {

void limitFileSize(rlim_t bytes)
{
    const struct rlimit limit {bytes, bytes};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::signal(SIGXFSZ, SIG_IGN);
}

test::CliResult runLimited(const QStringList &args, qint64 limit)
{
    QProcess p;
    p.setChildProcessModifier([limit] { limitFileSize(static_cast<rlim_t>(limit)); });
    p.start(QStringLiteral(ETIBARIX_BIN_DIR "/etibarix-cli"), args);
    test::CliResult r;
    if (!p.waitForStarted(10000) || !p.waitForFinished(120000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

class DiskFull : public ::testing::Test {
protected:
    void SetUp() override
    {
        // 200 records: the table is larger than its index, so the limit
        // falls inside the table's growth.
        ASSERT_TRUE(test::writeFile(csvPath, test::hardeningCsv(200)));
        ASSERT_EQ(test::runCli(cli("import") << csvPath << QStringLiteral("--qty") << QStringLiteral("4")).exitCode, 0);
        QFile::remove(csvPath);
        table = test::readFile(dir.file(QStringLiteral("article.dbf")));
        index = test::readFile(dir.file(QStringLiteral("article.MDX")));
        ASSERT_GT(table.size(), index.size() + 2000);
    }
    QStringList cli(const char *command) const { return {QStringLiteral("--dir"), dir.path(), QString::fromLatin1(command)}; }

    test::DataDir dir;
    test::DataDir elsewhere;
    const QString csvPath = elsewhere.file(QStringLiteral("in.csv"));
    QByteArray table;
    QByteArray index;
};

} // namespace

TEST_F(DiskFull, AppendFailsAndLeavesTheTableAsItWas)
{
    const test::CliResult r = runLimited(cli("add") << QStringLiteral("--cb") << QStringLiteral("K201"), table.size() + 100);
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains("Disk full")) << r.err.constData();
    EXPECT_EQ(test::readFile(dir.file(QStringLiteral("article.dbf"))), table);
    EXPECT_EQ(test::readFile(dir.file(QStringLiteral("article.MDX"))), index);
    test::expectOnlyFiles(dir.path(), {QStringLiteral("article.dbf"), QStringLiteral("article.MDX")});
}

TEST_F(DiskFull, ImportKeepsTheLinesBeforeTheFailedWrite)
{
    ASSERT_TRUE(test::writeFile(csvPath, test::hardeningCsv(220).mid(test::hardeningCsv(200).size())));
    const test::CliResult r =
        runLimited(cli("import") << csvPath << QStringLiteral("--qty") << QStringLiteral("4"), table.size() + 5 * 261 + 100);
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains("Disk full")) << r.err.constData();
    test::expectOnlyFiles(dir.path(), {QStringLiteral("article.dbf"), QStringLiteral("article.MDX")});
    EXPECT_EQ(test::checkWholeTable(dir.path()), 205);
    // The lines whose records did not fit are counted as rejected, not stored.
    EXPECT_TRUE(r.out.contains(QByteArray(": 5\n"))) << r.out.constData();
    EXPECT_TRUE(r.err.contains("15 lignes de donn\xC3\xA9" "es, la premi\xC3\xA8" "re \xC3\xA9" "tant la ligne 6"))
        << r.err.constData();
}

TEST_F(DiskFull, RestoreFailsAndLeavesTheDataAsItWas)
{
    test::DataDir other;
    ASSERT_TRUE(test::writeFile(csvPath, test::hardeningCsv(2000)));
    ASSERT_EQ(test::runCli({QStringLiteral("--dir"), other.path(), QStringLiteral("import"), csvPath}).exitCode, 0);
    const QString archive = elsewhere.file(QStringLiteral("save.ebk"));
    ASSERT_EQ(test::runCli({QStringLiteral("--dir"), other.path(), QStringLiteral("backup"), archive}).exitCode, 0);

    const test::CliResult r = runLimited(cli("restore") << archive, 100000);
    EXPECT_NE(r.exitCode, 0);
    EXPECT_FALSE(r.err.isEmpty());
    EXPECT_EQ(test::readFile(dir.file(QStringLiteral("article.dbf"))), table);
    EXPECT_EQ(test::readFile(dir.file(QStringLiteral("article.MDX"))), index);
    test::expectOnlyFiles(dir.path(), {QStringLiteral("article.dbf"), QStringLiteral("article.MDX")});
}

TEST_F(DiskFull, ParameterSaveFailsAndKeepsTheOldFile)
{
    const QByteArray old(120, '\x02');
    ASSERT_TRUE(test::writeFile(dir.file(QStringLiteral("ETIBARIX.PAR")), old));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        limitFileSize(50);
        base::setDataDirOverride(dir.path());
        bool told = false;
        const bool saved = base::SaveParameters(3, u"Office", [&](const QString &, const QString &) { told = true; });
        ::_exit(!saved && told ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the save did not fail with its message";
    EXPECT_EQ(test::readFile(dir.file(QStringLiteral("ETIBARIX.PAR"))), old);
    test::expectOnlyFiles(dir.path(), {QStringLiteral("article.dbf"), QStringLiteral("article.MDX"),
                                       QStringLiteral("ETIBARIX.PAR")});
}
