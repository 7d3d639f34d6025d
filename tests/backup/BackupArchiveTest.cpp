// The archive component: byte-exact output against the tests' own writer,
// round trips, volumes, and archives written elsewhere.

#include "backup/BackupArchive.h"

#include "base/Error.h"
#include "tests/backup/ArchiveBuilder.h"
#include "tests/backup/BackupTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace etibarix;
using namespace etibarix::test;
using backup::BackupArchive;

namespace {

struct NamedData {
    QString name;
    QByteArray data;
};

// Writes the files into dir with the fixed time; returns their full paths.
QStringList makeFiles(const DataDir &dir, const QList<NamedData> &files)
{
    QStringList paths;
    for (const auto &f : files) {
        const QString path = dir.file(f.name);
        EXPECT_TRUE(writeFile(path, f.data));
        EXPECT_TRUE(setModified(path, fixedTime()));
        paths << path;
    }
    return paths;
}

// What the archive must hold for these files, written by the tests' writer.
QList<QByteArray> expectedArchive(const QStringList &paths, const QList<NamedData> &files, std::int32_t maxSize, int level)
{
    ArchiveBuilder b(maxSize);
    std::int32_t total = 0;
    for (const auto &f : files)
        total += std::int32_t(f.data.size());
    b.header(total, std::int32_t(files.size()));
    for (qsizetype i = 0; i < files.size(); ++i)
        b.file(QFileInfo(paths[i]).absoluteFilePath().toLower().toLatin1(), dosTime(2024, 5, 17, 13, 45, 30),
               files[i].data, level);
    b.endRecord();
    return b.volumes();
}

QList<QByteArray> readVolumes(const QStringList &paths)
{
    QList<QByteArray> volumes;
    for (const QString &p : paths)
        volumes << readFile(p);
    return volumes;
}

struct RoundTripCase {
    const char *label;
    QList<NamedData> files;
    std::int32_t maxSize;
    bool split;
};

class RoundTrip : public ::testing::TestWithParam<int> {};

QList<RoundTripCase> roundTripCases()
{
    return {
        {"empty file", {{QStringLiteral("a.dbf"), {}}}, 0, false},
        {"16385 bytes", {{QStringLiteral("a.dbf"), tableLikeBytes(16385, 1)}}, 0, false},
        {"random chunks", {{QStringLiteral("a.dbf"), randomBytes(40000, 2)}}, 0, false},
        {"repetitive chunks", {{QStringLiteral("a.dbf"), repetitiveBytes(70000)}}, 0, false},
        {"several files, mixed",
         {{QStringLiteral("a.dbf"), tableLikeBytes(300000, 3)},
          {QStringLiteral("b.dbf"), randomBytes(20000, 4) + repetitiveBytes(30000)},
          {QStringLiteral("c.dbf"), {}},
          {QStringLiteral("d.dbf"), randomBytes(5, 5)}},
         0, false},
        {"volumes of 40000 bytes",
         {{QStringLiteral("a.dbf"), randomBytes(90000, 6)}, {QStringLiteral("b.dbf"), randomBytes(50000, 7)}},
         40000, true},
        {"one block per volume", {{QStringLiteral("a.dbf"), randomBytes(3 * 16384 + 7, 8)}}, 16489, true},
        {"no limit, many chunks", {{QStringLiteral("a.dbf"), randomBytes(1300000, 15)}}, 0, false},
    };
}

TEST_P(RoundTrip, MatchesIndependentWriterAndRestores)
{
    const RoundTripCase c = roundTripCases()[GetParam()];
    SCOPED_TRACE(c.label);
    DataDir src, out, dst;
    const QStringList paths = makeFiles(src, c.files);
    QStringList patterns;
    for (const auto &p : paths)
        patterns << p;   // one pattern per file keeps the order known

    Recorder rec;
    BackupArchive archive;
    archive.setCallbacks(rec.callbacks());
    archive.setCompressionLevel(backup::clMax);
    archive.setMaxSize(c.maxSize);
    const QString first = out.file(QStringLiteral("save.ebk"));
    ASSERT_TRUE(archive.Backup(patterns, first));
    EXPECT_TRUE(rec.errors.isEmpty());
    EXPECT_FALSE(archive.busy());

    const QStringList volumes = archive.volumes();
    const QList<QByteArray> expected = expectedArchive(paths, c.files, c.maxSize, 9);
    ASSERT_EQ(volumes.size(), expected.size());
    EXPECT_EQ(volumes.size() > 1, c.split);
    for (int disk = 2; disk <= volumes.size(); ++disk) {
        EXPECT_EQ(volumes[disk - 1], out.file(QStringLiteral("save.%1").arg(disk, 3, 10, QLatin1Char('0'))));
        EXPECT_EQ(rec.prompts[disk - 2], QStringLiteral("Please insert disk %1 and click OK to continue.").arg(disk));
    }
    const QList<QByteArray> actual = readVolumes(volumes);
    ASSERT_EQ(actual.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i)
        EXPECT_TRUE(actual[i] == expected[i]) << "volume " << i + 1 << " differs";

    Recorder rrec;
    BackupArchive reader;
    reader.setCallbacks(rrec.callbacks());
    ASSERT_TRUE(reader.Restore(first, dst.path()));
    EXPECT_TRUE(rrec.errors.isEmpty());
    EXPECT_EQ(rrec.prompts.size(), volumes.size() - 1);
    for (const auto &f : c.files) {
        const QString restored = dst.file(f.name);
        EXPECT_EQ(readFile(restored), f.data) << f.name.toStdString();
        EXPECT_EQ(modified(restored), fixedTime()) << f.name.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Archive, RoundTrip, ::testing::Range(0, int(roundTripCases().size())));

TEST(BackupArchive, BlocksOfASixteen385ByteFile)
{
    DataDir src, out;
    QByteArray data = randomBytes(16385, 9);
    const QStringList paths = makeFiles(src, {{QStringLiteral("x.dbf"), data}});
    BackupArchive archive;
    EXPECT_EQ(archive.compressionLevel(), backup::clFastest);
    EXPECT_EQ(archive.maxSize(), 0);
    archive.setCompressionLevel(backup::clMax);
    ASSERT_TRUE(archive.Backup(paths, out.file(QStringLiteral("x.ebk"))));
    const QByteArray bytes = readFile(out.file(QStringLiteral("x.ebk")));
    // header 12, entry 4 + path + 4, marker 4, then a stored chunk of random
    // bytes and a compressed one-byte chunk (compressed although longer).
    const qsizetype section = 12 + 4 + paths[0].toLower().toLatin1().size() + 4;
    ASSERT_EQ(bytes.mid(section, 4), QByteArray("EC2\0", 4));
    EXPECT_EQ(bytes.mid(section + 4, 4), QByteArray("\x00\xC0\xFF\xFF", 4));   // -16384
    const qsizetype second = section + 8 + 16384;
    EXPECT_EQ(bytes.mid(second, 4), QByteArray("\x09\0\0\0", 4));            // 9
    EXPECT_EQ(bytes.mid(second + 4, 2), QByteArray("\x78\xDA"));              // zlib header, level 9
    EXPECT_EQ(bytes.mid(second + 13), QByteArray(8, '\0'));                   // L = 0, end record
    EXPECT_EQ(archive.totalSize(), 16385);
    EXPECT_EQ(archive.fileCount(), 1);
    EXPECT_EQ(archive.bytesDone(), 16385);
}

TEST(BackupArchive, CompressionLevelsGiveTheirStreams)
{
    DataDir src, out;
    const QList<NamedData> files = {{QStringLiteral("t.dbf"), tableLikeBytes(50000, 10)}};
    const QStringList paths = makeFiles(src, files);
    const struct {
        backup::TCompressionLevel level;
        int zlib;
    } levels[] = {{backup::clFastest, 1}, {backup::clNone, 0}, {backup::clDefault, -1}, {backup::clMax, 9}};
    for (const auto &l : levels) {
        BackupArchive archive;
        archive.setCompressionLevel(l.level);
        const QString path = out.file(QStringLiteral("l.ebk"));
        ASSERT_TRUE(archive.Backup(paths, path));
        EXPECT_EQ(readFile(path), expectedArchive(paths, files, 0, l.zlib).first()) << "zlib level " << l.zlib;
    }
}

TEST(BackupArchive, CollectsByPatternWithoutDuplicatesNorTheArchive)
{
    DataDir dir;
    makeFiles(dir, {{QStringLiteral("article.dbf"), "d"},
                    {QStringLiteral("article.MDX"), "m"},
                    {QStringLiteral(".hidden.dbf"), "h"},
                    {QStringLiteral("notes.txt"), "n"},
                    {QStringLiteral("ab.dbt"), "t"},
                    {QStringLiteral("abc.dbt"), "u"}});
    ASSERT_TRUE(QDir().mkdir(dir.file(QStringLiteral("sub.dbf"))));   // a directory is never listed
    const QString archivePath = dir.file(QStringLiteral("SAVE.DBF"));
    writeFile(archivePath, "old archive");
    BackupArchive archive;
    const QStringList patterns = {dir.file(QStringLiteral("*.dbf")), dir.file(QStringLiteral("ARTICLE.*")),
                                  dir.file(QStringLiteral("*.mdx")), dir.file(QStringLiteral("a?.dbt"))};
    const QString newArchive = dir.file(QStringLiteral("save.dbf"));
    ASSERT_TRUE(archive.Backup(patterns, newArchive));
    EXPECT_EQ(archive.fileCount(), 4);   // .hidden.dbf, article.dbf, article.MDX, ab.dbt

    DataDir dst;
    BackupArchive reader;
    ASSERT_TRUE(reader.Restore(newArchive, dst.path()));
    QStringList names;
    for (const QString &p : reader.restoredFiles())
        names << QFileInfo(p).fileName();
    EXPECT_EQ(names, (QStringList{QStringLiteral(".hidden.dbf"), QStringLiteral("article.dbf"),
                                  QStringLiteral("article.mdx"), QStringLiteral("ab.dbt")}));
    EXPECT_EQ(readFile(dst.file(QStringLiteral("article.mdx"))), QByteArray("m"));
}

TEST(BackupArchive, CancelAtDiskPromptLeavesVolumesWithoutEndRecord)
{
    DataDir src, out;
    const QStringList paths = makeFiles(src, {{QStringLiteral("a.dbf"), randomBytes(100000, 11)}});
    Recorder rec;
    rec.answers = {true, false};
    BackupArchive archive;
    archive.setCallbacks(rec.callbacks());
    archive.setMaxSize(40000);
    EXPECT_FALSE(archive.Backup(paths, out.file(QStringLiteral("c.ebk"))));
    EXPECT_EQ(archive.errorCode(), 0);
    EXPECT_TRUE(rec.errors.isEmpty());
    EXPECT_EQ(rec.prompts.size(), 2);
    const QByteArray second = readFile(out.file(QStringLiteral("c.002")));
    EXPECT_TRUE(second.endsWith(QByteArray("\x0c\0\0\0NEXT:DISK003", 16)));
    EXPECT_FALSE(QFileInfo::exists(out.file(QStringLiteral("c.003"))));
}

TEST(BackupArchive, WriteFailuresAreCodeFour)
{
    DataDir src;
    const QStringList paths = makeFiles(src, {{QStringLiteral("a.dbf"), "abc"}});
    for (const std::int32_t maxSize : {0, 16488, -5}) {
        Recorder rec;
        BackupArchive archive;
        archive.setCallbacks(rec.callbacks());
        archive.setMaxSize(maxSize);
        const QString target = maxSize == 0 ? src.file(QStringLiteral("missing/dir/a.ebk")) : src.file(QStringLiteral("a.ebk"));
        EXPECT_FALSE(archive.Backup(paths, target));
        EXPECT_EQ(archive.errorCode(), 4);
        EXPECT_EQ(rec.errors, QStringList{QStringLiteral("Cannot write to archive")});
    }
}

TEST(BackupArchive, ReadsArchivesWrittenElsewhere)
{
    // Windows paths, a title, a skipped file list, a continued file over
    // three volumes and blocks of another compression level.
    DataDir dir, dst;
    const QByteArray big = randomBytes(60000, 12) + tableLikeBytes(40000, 13);
    const QByteArray small = tableLikeBytes(3000, 14);
    ArchiveBuilder b(40000);
    b.header(123, 3, "Etibarix")
        .file("FILE:LIST", 0, "c:\\etibarix\\article.dbf\r\nc:\\etibarix\\article.mdx\r\n")
        .file("c:\\program files\\etibarix\\article.dbf", dosTime(2003, 2, 1, 9, 8, 6), big, 1)
        .file("d:\\autre\\ARTICLE.MDX", dosTime(1999, 12, 31, 23, 59, 58), small, 6)
        .endRecord();
    ASSERT_EQ(b.volumes().size(), 3);
    const QString path = dir.file(QStringLiteral("old.ebk"));
    ASSERT_TRUE(b.save(path));

    Recorder rec;
    BackupArchive reader;
    reader.setCallbacks(rec.callbacks());
    ASSERT_TRUE(reader.Restore(path, dst.path()));
    EXPECT_EQ(rec.prompts, (QStringList{QStringLiteral("Please insert disk 2 and click OK to continue."),
                                        QStringLiteral("Please insert disk 3 and click OK to continue.")}));
    EXPECT_EQ(readFile(dst.file(QStringLiteral("article.dbf"))), big);
    EXPECT_EQ(readFile(dst.file(QStringLiteral("ARTICLE.MDX"))), small);
    EXPECT_FALSE(QFileInfo::exists(dst.file(QStringLiteral("FILE:LIST"))));
    EXPECT_EQ(QDir(dst.path()).entryList(QDir::Files).size(), 2);
    EXPECT_EQ(modified(dst.file(QStringLiteral("article.dbf"))), QDateTime(QDate(2003, 2, 1), QTime(9, 8, 6)));
    EXPECT_EQ(modified(dst.file(QStringLiteral("ARTICLE.MDX"))), QDateTime(QDate(1999, 12, 31), QTime(23, 59, 58)));
    EXPECT_EQ(reader.totalSize(), 123);
    EXPECT_EQ(reader.fileCount(), 3);
    EXPECT_EQ(reader.diskNumber(), 3);
}

TEST(BackupArchive, ReadsTheCheckedInArchive)
{
    // Written by a separate script: two volumes, Windows paths, a file list.
    DataDir dst;
    Recorder rec;
    BackupArchive reader;
    reader.setCallbacks(rec.callbacks());
    ASSERT_TRUE(reader.Restore(source(QStringLiteral("tests/data/backup/windows.ebk")), dst.path()));
    EXPECT_EQ(rec.prompts.size(), 1);
    EXPECT_EQ(readFile(dst.file(QStringLiteral("article.dbf"))),
              readFile(source(QStringLiteral("tests/data/backup/article.dbf"))));
    EXPECT_EQ(readFile(dst.file(QStringLiteral("article.mdx"))),
              readFile(source(QStringLiteral("tests/data/backup/article.mdx"))));
    EXPECT_EQ(QDir(dst.path()).entryList(QDir::Files).size(), 2);
}

TEST(BackupArchive, MissingArchiveIsFalseWithoutMessage)
{
    DataDir dir;
    Recorder rec;
    BackupArchive reader;
    reader.setCallbacks(rec.callbacks());
    EXPECT_FALSE(reader.Restore(dir.file(QStringLiteral("none.ebk")), dir.path()));
    EXPECT_TRUE(rec.errors.isEmpty());
    EXPECT_EQ(reader.errorCode(), 0);
}

TEST(BackupArchive, NamesTakeTheLastComponentAndStayInside)
{
    DataDir dir, dst;
    ArchiveBuilder b;
    b.header(3, 3).file("/etc/x1", 0, "a").file("..\\..\\x2", 0, "b").file("c:x3", 0, "c").endRecord();
    const QString path = dir.file(QStringLiteral("n.ebk"));
    ASSERT_TRUE(b.save(path));
    BackupArchive reader;
    ASSERT_TRUE(reader.Restore(path, dst.path()));
    EXPECT_EQ(readFile(dst.file(QStringLiteral("x1"))), QByteArray("a"));
    EXPECT_EQ(readFile(dst.file(QStringLiteral("x2"))), QByteArray("b"));
    EXPECT_EQ(readFile(dst.file(QStringLiteral("c:x3"))), QByteArray("c"));
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/etc/x1")));
}

TEST(BackupArchive, RestoreDoesNotWriteThroughALink)
{
    DataDir dir, dst, elsewhere;
    const QString outside = elsewhere.file(QStringLiteral("victim"));
    writeFile(outside, "keep");
    ASSERT_TRUE(QFile::link(outside, dst.file(QStringLiteral("a.dbf"))));
    ArchiveBuilder b;
    b.header(3, 1).file("a.dbf", 0, "new").endRecord();
    ASSERT_TRUE(b.save(dir.file(QStringLiteral("l.ebk"))));
    BackupArchive reader;
    ASSERT_TRUE(reader.Restore(dir.file(QStringLiteral("l.ebk")), dst.path()));
    EXPECT_EQ(readFile(outside), QByteArray("keep"));
    EXPECT_EQ(readFile(dst.file(QStringLiteral("a.dbf"))), QByteArray("new"));
    EXPECT_FALSE(QFileInfo(dst.file(QStringLiteral("a.dbf"))).isSymLink());
}

} // namespace

namespace {

TEST(BackupArchive, MissingVolumeWithoutAnyoneToAskEndsTheRun)
{
    DataDir dir, dst;
    ArchiveBuilder b(30000);
    b.header(60000, 1).file("a.dbf", 0, randomBytes(60000, 16)).endRecord();
    ASSERT_GT(b.volumes().size(), 1);
    const QString path = dir.file(QStringLiteral("m.ebk"));
    ASSERT_TRUE(writeFile(path, b.volumes().first()));
    BackupArchive reader;
    EXPECT_FALSE(reader.Restore(path, dst.path()));
    EXPECT_EQ(reader.errorCode(), 0);
    EXPECT_FALSE(reader.busy());
}

} // namespace
