// etibarix-cli backup / restore, end to end.

#include "tests/backup/BackupTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace etibarix::test;

namespace {

TEST(CliBackup, SaveAndRestore)
{
    DataDir data, store, target;
    const QByteArray table = tableLikeBytes(200000, 31);
    writeFile(data.file(QStringLiteral("article.dbf")), table);
    writeFile(data.file(QStringLiteral("article.MDX")), randomBytes(40000, 32));
    const QString archive = store.file(QStringLiteral("cli.ebk"));

    CliResult r = runCli({QStringLiteral("--dir"), data.path(), QStringLiteral("backup"), archive,
                          QStringLiteral("--max-size"), QStringLiteral("30000")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_TRUE(r.out.startsWith(QByteArray(archive.toUtf8() + '\n')));
    EXPECT_TRUE(r.err.contains("Ins\xC3\xA9rez le disque 2 et cliquez sur OK pour continuer.\n"));
    EXPECT_TRUE(QFileInfo::exists(store.file(QStringLiteral("cli.002"))));

    writeFile(target.file(QStringLiteral("article.dbf")), "other");
    r = runCli({QStringLiteral("--dir"), target.path(), QStringLiteral("restore"), archive});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(readFile(target.file(QStringLiteral("article.dbf"))), table);
    EXPECT_EQ(readFile(target.file(QStringLiteral("article.mdx"))), readFile(data.file(QStringLiteral("article.MDX"))));
    EXPECT_TRUE(r.out.contains("article.dbf\n"));

    // A missing volume ends the restore instead of asking again and again.
    QFile::remove(store.file(QStringLiteral("cli.002")));
    writeFile(target.file(QStringLiteral("article.dbf")), "kept");
    r = runCli({QStringLiteral("--dir"), target.path(), QStringLiteral("restore"), archive});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("missing volume")) << r.err.constData();
    EXPECT_EQ(readFile(target.file(QStringLiteral("article.dbf"))), QByteArray("kept"));
}

TEST(CliBackup, ErrorsAndUsage)
{
    DataDir data;
    writeFile(data.file(QStringLiteral("article.dbf")), "kept");
    writeFile(data.file(QStringLiteral("junk.ebk")), "not an archive at all");
    const QString dir = data.path();
    const struct {
        QStringList args;
        int exitCode;
        const char *err;
    } cases[] = {
        {{QStringLiteral("backup")}, 2, "usage: backup ARCHIVE"},
        {{QStringLiteral("backup"), data.file(QStringLiteral("a.ebk")), QStringLiteral("--max-size"), QStringLiteral("100")},
         2, "--max-size must be"},
        {{QStringLiteral("backup"), data.file(QStringLiteral("a.ebk")), QStringLiteral("--max-size")}, 2, "needs a value"},
        {{QStringLiteral("restore")}, 2, "usage: restore ARCHIVE"},
        {{QStringLiteral("restore"), data.file(QStringLiteral("none.ebk"))}, 1, "no such archive"},
        {{QStringLiteral("restore"), data.file(QStringLiteral("junk.ebk"))}, 1, "etibarix-cli: Impossible de lire l'archive"},
        {{QStringLiteral("backup"), data.file(QStringLiteral("no/dir/a.ebk"))}, 1, "etibarix-cli: Impossible d'\xC3\xA9" "crire dans l'archive"},
    };
    for (const auto &c : cases) {
        const CliResult r = runCli(QStringList{QStringLiteral("--dir"), dir} + c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.err)) << r.err.constData();
    }
    EXPECT_EQ(readFile(data.file(QStringLiteral("article.dbf"))), QByteArray("kept"));
}

} // namespace
