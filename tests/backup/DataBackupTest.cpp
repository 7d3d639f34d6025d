// The save and restore commands on a data directory.

#include "backup/DataBackup.h"

#include "tests/backup/ArchiveBuilder.h"
#include "tests/backup/BackupTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace etibarix;
using namespace etibarix::test;

namespace {

QStringList entries(const DataDir &dir)
{
    QStringList list = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    return list;
}

TEST(DataBackup, SaveThenRestoreReplacesTheTableAndKeepsOtherFiles)
{
    DataDir saved, current, store;
    const QByteArray table = tableLikeBytes(100000, 21);
    writeFile(saved.file(QStringLiteral("article.dbf")), table);
    writeFile(saved.file(QStringLiteral("article.MDX")), "saved index");
    writeFile(saved.file(QStringLiteral("extra.dbt")), "saved memo");
    writeFile(saved.file(QStringLiteral("ETIBARIX.PAR")), "not a data file");
    writeFile(saved.file(QStringLiteral("article.@S@")), "companion");

    Recorder rec;
    const QString archive = store.file(QStringLiteral("save.ebk"));
    const backup::SaveResult save = backup::SaveData(saved.path(), archive, rec.callbacks());
    ASSERT_EQ(save.outcome, backup::SaveResult::Saved);
    EXPECT_EQ(save.volumes, QStringList{archive});
    EXPECT_TRUE(rec.errors.isEmpty());
    EXPECT_GT(rec.events, 0);
    // Saving again under the same name replaces the archive.
    const QByteArray first = readFile(archive);
    ASSERT_EQ(backup::SaveData(saved.path(), archive, rec.callbacks()).outcome, backup::SaveResult::Saved);
    EXPECT_EQ(readFile(archive), first);

    writeFile(current.file(QStringLiteral("article.dbf")), "changed table");
    writeFile(current.file(QStringLiteral("article.mdx")), "changed index");
    writeFile(current.file(QStringLiteral("other.dbt")), "other memo");
    writeFile(current.file(QStringLiteral("EXTRA.DBT")), "replaced by the archive's extra.dbt");
    int closed = 0;
    const backup::RestoreResult restore = backup::RestoreData(current.path(), archive, rec.callbacks(), [&] {
        ++closed;
        // Called while the old table is still in place.
        EXPECT_EQ(readFile(current.file(QStringLiteral("article.dbf"))), QByteArray("changed table"));
    });
    ASSERT_EQ(restore.outcome, backup::RestoreResult::Restored);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(readFile(current.file(QStringLiteral("article.dbf"))), table);
    EXPECT_EQ(readFile(current.file(QStringLiteral("article.mdx"))), QByteArray("saved index"));
    EXPECT_EQ(readFile(current.file(QStringLiteral("extra.dbt"))), QByteArray("saved memo"));
    EXPECT_EQ(readFile(current.file(QStringLiteral("other.dbt"))), QByteArray("other memo"));
    EXPECT_EQ(entries(current), (QStringList{QStringLiteral("article.dbf"), QStringLiteral("article.mdx"),
                                            QStringLiteral("extra.dbt"), QStringLiteral("other.dbt")}));
    EXPECT_EQ(modified(current.file(QStringLiteral("article.dbf"))).toSecsSinceEpoch() / 2,
              modified(saved.file(QStringLiteral("article.dbf"))).toSecsSinceEpoch() / 2);
}

TEST(DataBackup, TableFilesGoEvenWhenTheArchiveHasNone)
{
    DataDir data, store;
    writeFile(data.file(QStringLiteral("article.dbf")), "old");
    writeFile(data.file(QStringLiteral("Article.MDX")), "old index");
    ArchiveBuilder b;
    b.header(1, 1).file("c:\\etibarix\\notes.dbt", 0, "n").endRecord();
    ASSERT_TRUE(b.save(store.file(QStringLiteral("n.ebk"))));
    Recorder rec;
    const auto result = backup::RestoreData(data.path(), store.file(QStringLiteral("n.ebk")), rec.callbacks());
    ASSERT_EQ(result.outcome, backup::RestoreResult::Restored);
    EXPECT_EQ(entries(data), QStringList{QStringLiteral("notes.dbt")});
}

TEST(DataBackup, TableFilesTakeTheirLowerCaseNames)
{
    DataDir data, store;
    writeFile(data.file(QStringLiteral("article.dbf")), "old");
    ArchiveBuilder b;
    b.header(2, 2).file("C:\\ETIBARIX\\ARTICLE.DBF", 0, "table").file("C:\\ETIBARIX\\Article.Mdx", 0, "index").endRecord();
    ASSERT_TRUE(b.save(store.file(QStringLiteral("u.ebk"))));
    Recorder rec;
    const auto result = backup::RestoreData(data.path(), store.file(QStringLiteral("u.ebk")), rec.callbacks());
    ASSERT_EQ(result.outcome, backup::RestoreResult::Restored);
    EXPECT_EQ(entries(data), (QStringList{QStringLiteral("article.dbf"), QStringLiteral("article.mdx")}));
    EXPECT_EQ(readFile(data.file(QStringLiteral("article.dbf"))), QByteArray("table"));
    EXPECT_EQ(result.files, (QStringList{data.file(QStringLiteral("article.dbf")), data.file(QStringLiteral("article.mdx"))}));
}

TEST(DataBackup, VolumesOfTheSaveCommand)
{
    DataDir data, store, target;
    const QByteArray table = randomBytes(3000000, 22);
    writeFile(data.file(QStringLiteral("article.dbf")), table);
    Recorder rec;
    const QString archive = store.file(QStringLiteral("big.ebk"));
    const auto save = backup::SaveData(data.path(), archive, rec.callbacks());
    ASSERT_EQ(save.outcome, backup::SaveResult::Saved);
    ASSERT_EQ(save.volumes.size(), 3);
    EXPECT_EQ(save.volumes[1], store.file(QStringLiteral("big.002")));
    for (const QString &v : save.volumes)
        EXPECT_LE(QFileInfo(v).size(), 1300000);
    EXPECT_EQ(rec.prompts, (QStringList{QStringLiteral("Please insert disk 2 and click OK to continue."),
                                        QStringLiteral("Please insert disk 3 and click OK to continue.")}));
    // The second volume begins with the marker of the continued file.
    EXPECT_EQ(readFile(save.volumes[1]).left(4), QByteArray("EC2\0", 4));

    Recorder restoring;
    const auto restore = backup::RestoreData(target.path(), archive, restoring.callbacks());
    ASSERT_EQ(restore.outcome, backup::RestoreResult::Restored);
    EXPECT_EQ(restoring.prompts.size(), 2);
    EXPECT_EQ(readFile(target.file(QStringLiteral("article.dbf"))), table);
}

TEST(DataBackup, CancelledOrMissingVolumeKeepsTheData)
{
    DataDir data, store, target;
    writeFile(data.file(QStringLiteral("article.dbf")), randomBytes(60000, 23));
    Recorder rec;
    const QString archive = store.file(QStringLiteral("v.ebk"));
    ASSERT_EQ(backup::SaveData(data.path(), archive, rec.callbacks(), 30000).outcome, backup::SaveResult::Saved);
    QFile::remove(store.file(QStringLiteral("v.003")));

    writeFile(target.file(QStringLiteral("article.dbf")), "current");
    Recorder restoring;
    restoring.answers = {true, false};   // OK for disk 2, Cancel for the missing disk 3
    int closed = 0;
    const auto result = backup::RestoreData(target.path(), archive, restoring.callbacks(), [&] { ++closed; });
    EXPECT_EQ(result.outcome, backup::RestoreResult::Cancelled);
    EXPECT_TRUE(restoring.errors.isEmpty());
    EXPECT_EQ(closed, 0);
    EXPECT_EQ(entries(target), QStringList{QStringLiteral("article.dbf")});
    EXPECT_EQ(readFile(target.file(QStringLiteral("article.dbf"))), QByteArray("current"));

    EXPECT_EQ(backup::RestoreData(target.path(), store.file(QStringLiteral("none.ebk")), restoring.callbacks()).outcome,
              backup::RestoreResult::NoArchive);
}

TEST(DataBackup, FailedReplacementPutsEverythingBack)
{
    // The archive's file would replace a directory: the rename fails after
    // the table files were moved aside, and they must come back.
    DataDir data, store;
    writeFile(data.file(QStringLiteral("article.dbf")), "old");
    writeFile(data.file(QStringLiteral("article.mdx")), "old index");
    ASSERT_TRUE(QDir().mkdir(data.file(QStringLiteral("sub.dbt"))));
    ArchiveBuilder b;
    b.header(2, 2).file("article.dbf", 0, "new").file("sub.dbt", 0, "s").endRecord();
    ASSERT_TRUE(b.save(store.file(QStringLiteral("r.ebk"))));
    Recorder rec;
    int closed = 0;
    const auto result = backup::RestoreData(data.path(), store.file(QStringLiteral("r.ebk")), rec.callbacks(), [&] { ++closed; });
    EXPECT_EQ(result.outcome, backup::RestoreResult::Failed);
    EXPECT_EQ(rec.errors, QStringList{QStringLiteral("Cannot read file")});
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(readFile(data.file(QStringLiteral("article.dbf"))), QByteArray("old"));
    EXPECT_EQ(readFile(data.file(QStringLiteral("article.mdx"))), QByteArray("old index"));
    EXPECT_EQ(entries(data), (QStringList{QStringLiteral("article.dbf"), QStringLiteral("article.mdx"),
                                         QStringLiteral("sub.dbt")}));
}

TEST(DataBackup, SaveErrorsAreReported)
{
    DataDir data;
    writeFile(data.file(QStringLiteral("article.dbf")), "x");
    Recorder rec;
    const auto result = backup::SaveData(data.path(), data.file(QStringLiteral("no/such/dir.ebk")), rec.callbacks());
    EXPECT_EQ(result.outcome, backup::SaveResult::Failed);
    EXPECT_EQ(result.errorCode, 4);
    EXPECT_EQ(rec.errors, QStringList{QStringLiteral("Cannot write to archive")});
}

} // namespace
