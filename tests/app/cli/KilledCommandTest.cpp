// Commands killed in the middle (SIGKILL at random moments): the table the
// next run opens holds whole records numbered on without a gap, its index
// agrees or is rebuilt, and a restore leaves the old data or the new, never
// a mix of both.

#include "backup/DataBackup.h"
#include "tests/app/cli/TableCheck.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace etibarix;

namespace {

const QString Cli = QStringLiteral(ETIBARIX_BIN_DIR "/etibarix-cli");

// Starts the command and kills it after a random delay below maxMs; true
// when it was still running then.
bool runKilled(const QStringList &args, int maxMs, QRandomGenerator &random)
{
    QProcess p;
    p.start(Cli, args);
    EXPECT_TRUE(p.waitForStarted(10000));
    const int delay = static_cast<int>(random.bounded(static_cast<quint32>(std::max(1, maxMs))));
    const bool finished = p.waitForFinished(delay);
    if (!finished) {
        p.kill();
        p.waitForFinished(10000);
    }
    return !finished;
}

// How long the command takes when it runs to its end, in milliseconds.
int runTimed(const QStringList &args)
{
    QElapsedTimer timer;
    timer.start();
    QProcess p;
    p.start(Cli, args);
    EXPECT_TRUE(p.waitForStarted(10000) && p.waitForFinished(120000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
    return static_cast<int>(timer.elapsed());
}

struct Dir : test::DataDir {
    QStringList cli(const char *command) const { return {QStringLiteral("--dir"), path(), QString::fromLatin1(command)}; }
};

} // namespace

TEST(KilledCommand, ImportNumbersOnAfterEveryKill)
{
    Dir dir;
    const QString csv = dir.file(QStringLiteral("in.csv"));
    ASSERT_TRUE(test::writeFile(csv, test::hardeningCsv(20000)));
    const QStringList import = dir.cli("import") << csv << QStringLiteral("--qty") << QStringLiteral("4");
    const int whole = runTimed(import);
    int records = test::checkWholeTable(dir.path());
    ASSERT_EQ(records, 20000);
    QRandomGenerator random(20261209);
    int interrupted = 0;
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        if (records > 60000) {
            // Record numbers have five digits: start again before they run out.
            for (const QString &name : QDir(dir.path()).entryList({QStringLiteral("article.*")}, QDir::Files))
                QFile::remove(dir.file(name));
            records = 0;
        }
        // In the first three quarters of a whole run, as for the restore
        // below: a timed run slowed by a busy machine leaves most kills late.
        interrupted += runKilled(import, whole * 3 / 4, random);
        const int n = test::checkWholeTable(dir.path());
        ASSERT_GE(n, records);
        records = n;
    }
    EXPECT_GE(interrupted, 5);
    // The next import goes on from the highest number.
    const QString small = dir.file(QStringLiteral("small.csv"));
    ASSERT_TRUE(test::writeFile(small, test::hardeningCsv(3)));
    EXPECT_EQ(test::runCli(dir.cli("import") << small << QStringLiteral("--qty") << QStringLiteral("4")).exitCode, 0);
    EXPECT_EQ(test::checkWholeTable(dir.path()), records + 3);
}

TEST(KilledCommand, AddLeavesTheTableWhole)
{
    Dir dir;
    QRandomGenerator random(9121);
    const int maxMs = runTimed(dir.cli("add") << QStringLiteral("--cb") << QStringLiteral("K1") << QStringLiteral("--t1")
                                              << QStringLiteral("L1") << QStringLiteral("--t2") << QStringLiteral("M1")
                                              << QStringLiteral("--qty") << QStringLiteral("1"));
    int records = 1;
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        const QByteArray x = QByteArray::number(round + 2);
        runKilled(dir.cli("add") << QStringLiteral("--cb") << QStringLiteral("K") + QString::fromLatin1(x)
                                 << QStringLiteral("--t1") << QStringLiteral("L") + QString::fromLatin1(x)
                                 << QStringLiteral("--t2") << QStringLiteral("M") + QString::fromLatin1(x)
                                 << QStringLiteral("--qty") << QString::fromLatin1(x) << QStringLiteral("--flag")
                                 << QStringLiteral("yes"),
                  maxMs, random);
        const int n = test::checkWholeTable(dir.path());
        ASSERT_GE(n, records);
        ASSERT_LE(n, records + 1);
        records = n;
    }
}

TEST(KilledCommand, RestoreLeavesOldOrNewData)
{
    // The new data: 5,000 records saved into an archive; the old: 300.
    Dir saved;
    const QString csv = saved.file(QStringLiteral("in.csv"));
    ASSERT_TRUE(test::writeFile(csv, test::hardeningCsv(5000, "B")));
    ASSERT_EQ(test::runCli(saved.cli("import") << csv << QStringLiteral("--qty") << QStringLiteral("4")).exitCode, 0);
    QFile::remove(csv);
    Dir archiveDir;
    const QString archive = archiveDir.file(QStringLiteral("new.ebk"));
    ASSERT_EQ(test::runCli(saved.cli("backup") << archive << QStringLiteral("--max-size") << QStringLiteral("0")).exitCode, 0);

    Dir dir;
    const QString oldCsv = archiveDir.file(QStringLiteral("old.csv"));
    ASSERT_TRUE(test::writeFile(oldCsv, test::hardeningCsv(300, "A")));
    ASSERT_EQ(test::runCli(dir.cli("import") << oldCsv << QStringLiteral("--qty") << QStringLiteral("4")).exitCode, 0);
    const QStringList oldNames = QDir(dir.path()).entryList(QDir::Files);
    std::map<QString, QByteArray> oldFiles;
    for (const QString &name : oldNames)
        oldFiles[name.toLower()] = test::readFile(dir.file(name));
    std::map<QString, QByteArray> newFiles;
    for (const QString &name : QDir(saved.path()).entryList(QDir::Files))
        newFiles[name.toLower()] = test::readFile(saved.file(name));

    const auto putOldBack = [&] {
        for (const QString &name : QDir(dir.path()).entryList(QDir::Files))
            QFile::remove(dir.file(name));
        for (const QString &name : oldNames)
            ASSERT_TRUE(test::writeFile(dir.file(name), oldFiles[name.toLower()]));
    };
    const QStringList restore = dir.cli("restore") << archive;
    const int wholeRestore = runTimed(restore);
    putOldBack();
    QRandomGenerator random(777);
    int interrupted = 0;
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        // Kills fall in the first three quarters of a whole run, so that a
        // busy machine that made the timed run slow still interrupts most.
        interrupted += runKilled(restore, wholeRestore * 3 / 4, random);
        // What the next start does before it opens the table.
        backup::RecoverInterruptedRestore(dir.path());
        std::map<QString, QByteArray> now;
        for (const QString &name : QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
            now[name.toLower()] = test::readFile(dir.file(name));
        const bool old = now == oldFiles;
        ASSERT_TRUE(old || now == newFiles) << "a mix of old and new data, or files left behind";
        if (!old)
            putOldBack();
    }
    EXPECT_GE(interrupted, 5);
    EXPECT_EQ(test::checkWholeTable(dir.path(), "A"), 300);
}
