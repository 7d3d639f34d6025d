// Saving and restoring a real record table while it is open, as the main
// window does: the table is closed through the callback only once the
// archive has been checked, and opens again with the saved records.

#include "backup/DataBackup.h"

#include "store/TableFiles.h"
#include "tests/backup/BackupTestSupport.h"
#include "tests/store/StoreTestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace etibarix;
using namespace etibarix::test;

namespace {

TEST(TableRestore, BringsBackTheSavedRecords)
{
    DataDir data, store;
    store::Table table{store::ArticleDefinition()};
    table.setFileName(data.file(QStringLiteral("article.dbf")));
    table.open();
    const Article first{1, "3123456789012", "Vis inox", "boite de 100", 5, "O"};
    const Article second{2, "ABC-42", "Ecrou \xe9tag\xe8re", "", 12, "N"};
    appendArticle(table, first);
    appendArticle(table, second);

    Recorder rec;
    const QString archive = store.file(QStringLiteral("table.ebk"));
    ASSERT_EQ(backup::SaveData(data.path(), archive, rec.callbacks()).outcome, backup::SaveResult::Saved);

    // The table changes after the save, then the save is restored.
    table.first();
    table.deleteCurrent();
    appendArticle(table, Article{3, "LATER", "added later", "", 1, "N"});
    int closes = 0;
    const auto result = backup::RestoreData(data.path(), archive, rec.callbacks(), [&] {
        ++closes;
        store::CloseArticleTable(table);
    });
    ASSERT_EQ(result.outcome, backup::RestoreResult::Restored);
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(rec.errors.isEmpty());

    table.open();
    EXPECT_EQ(walk(table), (std::vector<Article>{first, second}));
    table.close();
    // One table file and one index, whatever letter case the index had.
    const QStringList files = QDir(data.path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(files.size(), 2) << files.join(u' ').toStdString();
}

TEST(TableRestore, DamagedArchiveLeavesTheTableOpenAndIntact)
{
    DataDir data, store;
    store::Table table{store::ArticleDefinition()};
    table.setFileName(data.file(QStringLiteral("article.dbf")));
    table.open();
    const Article kept{7, "KEEP", "kept", "", 2, "N"};
    appendArticle(table, kept);
    const QString archive = store.file(QStringLiteral("bad.ebk"));
    writeFile(archive, QByteArray("\0\0\0\0\0\0\0\0\1\0\0\0\x0b\0\0\0article.dbf", 27));
    Recorder rec;
    int closes = 0;
    EXPECT_THROW(backup::RestoreData(data.path(), archive, rec.callbacks(), [&] { ++closes; }), base::Error);
    EXPECT_EQ(closes, 0);
    ASSERT_TRUE(table.isOpen());
    EXPECT_EQ(walk(table), std::vector<Article>{kept});
}

} // namespace
