// Damaged and hostile archives: each gives a clear error, never a crash, and
// the data directory keeps its old files untouched.

#include "backup/DataBackup.h"

#include "base/Error.h"
#include "tests/backup/ArchiveBuilder.h"
#include "tests/backup/BackupTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <limits>

using namespace etibarix;
using namespace etibarix::test;

namespace {

constexpr std::int32_t Huge = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t Lowest = std::numeric_limits<std::int32_t>::min();

ArchiveBuilder started()
{
    ArchiveBuilder b;
    b.header(10, 1);
    return b;
}

QByteArray compressed(const QByteArray &data)
{
    ArchiveBuilder b;
    b.block(data);
    return b.volumes().first();   // L and the stream
}

struct Damage {
    const char *label;
    QList<QByteArray> volumes;
    const char *thrown;   // error reaching the caller, or nullptr
    const char *shown;    // error shown by the component, or nullptr
};

QList<Damage> damages()
{
    const QByteArray entry = ArchiveBuilder().entry("c:\\data\\article.dbf", 0).volumes().first();
    QByteArray badSum = compressed(repetitiveBytes(5000));
    badSum[badSum.size() - 1] = char(badSum.at(badSum.size() - 1) ^ 0x55);
    const QByteArray expands = compressed(QByteArray(20000, 'z')).mid(4);
    auto archive = [](ArchiveBuilder b) { return b.volumes(); };
    return {
        {"empty file", {QByteArray()}, "Cannot read archive", nullptr},
        {"truncated header", {QByteArray("\0\0\0", 3)}, "Cannot read archive", nullptr},
        {"header without counts", {QByteArray("\0\0\0\0\x05\0\0\0", 8)}, "Cannot read archive", nullptr},
        {"title length past the end", archive(ArchiveBuilder().int32(Huge).int32(0).int32(0)), "Cannot read archive", nullptr},
        {"negative title length", archive(ArchiveBuilder().int32(-4).int32(0).int32(0).int32(0)), "Cannot read archive", nullptr},
        {"huge name length", archive(started().int32(Huge - 15).raw("abc")), "Cannot read archive", nullptr},
        {"entry without time", archive(started().int32(5).raw("a.dbf")), "Cannot read archive", nullptr},
        {"missing end record", archive(started().file("article.dbf", 0, "new data")), "Cannot read archive", nullptr},
        {"missing marker", archive(started().raw(entry).raw("EC3\0").int32(0).endRecord()), nullptr, "Cannot read file"},
        {"marker cut short", archive(started().raw(entry).raw("EC")), nullptr, "Cannot read file"},
        {"missing marker in a file list", archive(started().entry("FILE:LIST", 0).raw("XXXX").int32(0).endRecord()),
         "Invalid archive type", nullptr},
        {"truncated block", archive(started().raw(entry).marker().int32(100).raw(QByteArray(50, 'x'))), nullptr,
         "Cannot read file"},
        {"truncated block in a file list", archive(started().entry("FILE:LIST", 0).marker().int32(100).raw("x")),
         "Cannot read archive", nullptr},
        {"bad zlib data", archive(started().raw(entry).marker().int32(10).raw("0123456789").int32(0).endRecord()),
         nullptr, "Compression error"},
        {"bad checksum", archive(started().raw(entry).marker().raw(badSum).int32(0).endRecord()), nullptr,
         "Compression error"},
        {"block expanding past the chunk size",
         archive(started().raw(entry).marker().int32(std::int32_t(expands.size())).raw(expands).int32(0).endRecord()),
         nullptr, "Compression error"},
        {"huge block length", archive(started().raw(entry).marker().int32(Huge).raw("abc")), nullptr, "Cannot read file"},
        {"lowest block length", archive(started().raw(entry).marker().int32(Lowest).raw("abc")), nullptr,
         "Cannot read file"},
        {"stored block above the chunk size",
         archive(started().raw(entry).marker().int32(-16385).raw(QByteArray(16385, 'q')).int32(0).endRecord()), nullptr,
         "Cannot read file"},
        {"name ..", archive(started().file("..", 0, "x").endRecord()), "Cannot read archive", nullptr},
        {"name .", archive(started().file(".", 0, "x").endRecord()), "Cannot read archive", nullptr},
        {"name ending in ..", archive(started().file("c:\\data\\..", 0, "x").endRecord()), "Cannot read archive", nullptr},
        {"name ending in a separator", archive(started().file("/etc/", 0, "x").endRecord()), "Cannot read archive",
         nullptr},
        {"name of a separator only", archive(started().file("\\", 0, "x").endRecord()), "Cannot read archive", nullptr},
        {"name with a zero byte", archive(started().file(QByteArray("a\0b", 3), 0, "x").endRecord()),
         "Cannot read archive", nullptr},
        {"volume number not digits", archive(started().file("article.dbf", 0, "x").int32(12).raw("NEXT:DISK/..")),
         "Cannot read archive", nullptr},
        {"continued file without marker",
         archive(started().raw(entry).marker().int32(0).nextDisk().raw("EC3\0").int32(0).endRecord()),
         "Invalid archive type", nullptr},
        {"volume pointing back at itself",
         archive(started().raw(entry).marker().int32(0).nextDisk().marker().int32(0).int32(12).raw("NEXT:DISK002")),
         "Cannot read archive", nullptr},
        {"good file then a damaged one",
         archive(started().file("article.dbf", 0, "new table").entry("article.mdx", 0).raw("????").endRecord()), nullptr,
         "Cannot read file"},
    };
}

class DamagedArchive : public ::testing::TestWithParam<int> {};

TEST_P(DamagedArchive, ClearErrorAndOldDataIntact)
{
    const Damage d = damages()[GetParam()];
    SCOPED_TRACE(d.label);
    DataDir data, store;
    writeFile(data.file(QStringLiteral("article.dbf")), "old table");
    writeFile(data.file(QStringLiteral("article.MDX")), "old index");
    writeFile(data.file(QStringLiteral("memo.dbt")), "old memo");
    const QString path = store.file(QStringLiteral("bad.ebk"));
    for (qsizetype i = 0; i < d.volumes.size(); ++i)
        ASSERT_TRUE(writeFile(i == 0 ? path : ArchiveBuilder::volumePath(path, int(i) + 1), d.volumes[i]));

    Recorder rec;
    int closed = 0;
    QString thrown;
    backup::RestoreResult result;
    try {
        result = backup::RestoreData(data.path(), path, rec.callbacks(), [&] { ++closed; });
    } catch (const base::Error &e) {
        thrown = e.text();
    }
    if (d.thrown) {
        EXPECT_EQ(thrown, QString::fromLatin1(d.thrown));
        EXPECT_TRUE(rec.errors.isEmpty());
    } else {
        EXPECT_TRUE(thrown.isEmpty()) << thrown.toStdString();
        EXPECT_EQ(result.outcome, backup::RestoreResult::Failed);
        EXPECT_EQ(rec.errors, QStringList{QString::fromLatin1(d.shown)});
    }
    EXPECT_EQ(closed, 0);
    EXPECT_EQ(readFile(data.file(QStringLiteral("article.dbf"))), QByteArray("old table"));
    EXPECT_EQ(readFile(data.file(QStringLiteral("article.MDX"))), QByteArray("old index"));
    EXPECT_EQ(readFile(data.file(QStringLiteral("memo.dbt"))), QByteArray("old memo"));
    EXPECT_EQ(QDir(data.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 3);
}

INSTANTIATE_TEST_SUITE_P(Restore, DamagedArchive, ::testing::Range(0, int(damages().size())));

} // namespace

namespace {

// Random corruption of a valid two-volume archive: whatever the damage, the
// run ends with an error or a correct restore, never a crash or a hang, and a
// failed run leaves the old data.
TEST(DamagedArchive, RandomCorruption)
{
    DataDir store;
    ArchiveBuilder b(40000);
    const QByteArray table = tableLikeBytes(50000, 41);
    const QByteArray index = randomBytes(40000, 42);
    b.header(70000, 3)
        .file("FILE:LIST", 0, "list")
        .file("c:\\data\\article.dbf", dosTime(2020, 1, 2, 3, 4, 6), table)
        .file("c:\\data\\article.mdx", 0, index)
        .endRecord();
    ASSERT_EQ(b.volumes().size(), 2);
    QRandomGenerator gen(4242);
    int failedRounds = 0, restoredRounds = 0;
    for (int round = 0; round < 100; ++round) {
        QList<QByteArray> volumes = b.volumes();
        QByteArray &victim = volumes[gen.bounded(2)];
        const int kind = gen.bounded(3);
        if (kind == 0) {
            for (int k = 0; k < 1 + gen.bounded(4); ++k)
                victim[gen.bounded(int(victim.size()))] = char(gen.bounded(256));
        } else if (kind == 1) {
            victim.truncate(gen.bounded(int(victim.size())));
        } else {
            // A length field somewhere near the start set to an extreme.
            const int at = gen.bounded(std::min(200, int(victim.size()) - 4));
            const char extreme[4] = {char(0xFF), char(0xFF), char(0xFF), char(gen.bounded(2) ? 0x7F : 0x80)};
            victim.replace(at, 4, QByteArray(extreme, 4));
        }
        const QString path = store.file(QStringLiteral("r.ebk"));
        ASSERT_TRUE(writeFile(path, volumes[0]));
        ASSERT_TRUE(writeFile(store.file(QStringLiteral("r.002")), volumes[1]));

        DataDir data;
        ASSERT_TRUE(writeFile(data.file(QStringLiteral("article.dbf")), "old table"));
        Recorder rec;
        rec.answers = {true, false};   // a volume asked for twice is missing
        bool failed = false;
        try {
            const auto r = backup::RestoreData(data.path(), path, rec.callbacks());
            failed = r.outcome != backup::RestoreResult::Restored;
        } catch (const base::Error &) {
            failed = true;
        }
        const QByteArray now = readFile(data.file(QStringLiteral("article.dbf")));
        // Stored blocks carry no checksum, so a run may succeed on damaged
        // bytes; a failed one must leave the data as it was.
        if (failed) {
            EXPECT_EQ(now, QByteArray("old table")) << "round " << round;
            ++failedRounds;
        } else {
            // The archive's two files (under whatever names the damage left
            // them) took the old data's place.
            EXPECT_NE(now, QByteArray("old table")) << "round " << round;
            EXPECT_EQ(QDir(data.path()).entryList(QDir::Files).size(), 2) << "round " << round;
            ++restoredRounds;
        }
        EXPECT_TRUE(QDir(data.path()).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty())
            << "round " << round;
    }
    // Both ends were met, or half of the checks above never ran.
    EXPECT_GT(failedRounds, 0);
    EXPECT_GT(restoredRounds, 0);
}

} // namespace
