#include "store/MdxIndex.h"
#include "store/Table.h"

#include "base/DataDir.h"
#include "store/TableFiles.h"
#include "tests/store/StoreTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace etibarix;
using namespace etibarix::test;

namespace {

constexpr int kHeaderLen = 225;
constexpr int kRecordLen = 261;

class DbfTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.file(QStringLiteral("article.dbf"));
        table.setFileName(path);
        store::TableCallbacks cb;
        cb.message = [this](const QString &text) { messages.push_back(text); };
        cb.indexBegin = [this](const QString &title) { indexTitles.push_back(title); };
        table.setCallbacks(cb);
    }

    QByteArray recordBytes(const QByteArray &file, int recNo) const
    {
        return file.mid(kHeaderLen + (recNo - 1) * kRecordLen, kRecordLen);
    }

    DataDir dir;
    QString path;
    store::Table table{store::ArticleDefinition()};
    std::vector<QString> messages;
    std::vector<QString> indexTitles;
};

QByteArray expectedNewHeader()
{
    QByteArray h(kHeaderLen + 1, '\0');
    h[0] = 0x03;
    h.replace(1, 3, todayBytes());
    h[8] = char(0xE1);
    h[10] = 0x05;
    h[11] = 0x01;
    struct F {
        const char *name;
        char type;
        int width;
    };
    const F fields[] = {{"NUM", 'N', 5},   {"CB", 'C', 50},       {"LIB1", 'C', 100},
                        {"LIB2", 'C', 100}, {"QUANTITE", 'N', 3}, {"TOPP", 'C', 2}};
    for (int i = 0; i < 6; ++i) {
        const int at = 32 + 32 * i;
        h.replace(at, int(strlen(fields[i].name)), fields[i].name);
        h[at + 11] = fields[i].type;
        h[at + 16] = char(fields[i].width);
    }
    h[224] = 0x0D;
    h[225] = 0x1A;
    return h;
}

} // namespace

TEST_F(DbfTableTest, CreatesTheEmptyTableWithIndexAndCompanion)
{
    table.open();
    EXPECT_TRUE(table.isOpen());
    EXPECT_TRUE(table.eof());
    EXPECT_EQ(readFile(path), expectedNewHeader());
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("article.MDX"))));
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("article.@S@"))));
    ASSERT_EQ(indexTitles.size(), 1u);
    EXPECT_EQ(indexTitles[0], QStringLiteral("Indexing %1...").arg(dir.file(QStringLiteral("article.MDX"))));

    ASSERT_EQ(table.fields().size(), 6u);
    EXPECT_EQ(table.fieldIndex("Quantite"), 4);
    EXPECT_EQ(table.fieldIndex("missing"), -1);
    EXPECT_EQ(table.fields()[5].offset, 259);

    table.close();
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("article.@S@"))));
    QByteArray expected = expectedNewHeader();
    expected[28] = 1;   // the index definition was set up by the open
    EXPECT_EQ(readFile(path), expected);
    table.close();   // closing a closed table does nothing
}

TEST(TableDefinition, FieldsAndIndexTagComeFromTheDefinition)
{
    DataDir dir;
    const QString path = dir.file(QStringLiteral("stock.dbf"));
    {
        store::Table table({{" code , c, 20, 3", "qty, N, 4, 0"}, {"CODE", "code"}});
        table.setFileName(path);
        table.open();
        const store::FieldAssignment values[] = {{0, QByteArray("B7")}, {1, std::int32_t(12)}};
        table.append(values);
        ASSERT_EQ(table.fields().size(), 2u);
        EXPECT_EQ(table.fields()[0].name, "CODE");
        EXPECT_EQ(table.fields()[0].decimals, 0);   // only numbers keep decimals
        EXPECT_EQ(table.fields()[1].offset, 21);
    }
    const QByteArray file = readFile(path);
    EXPECT_EQ(file.size(), 32 * 2 + 33 + 25 + 1);
    EXPECT_EQ(file.mid(32 * 2 + 33, 25), " B7" + QByteArray(20, ' ') + "12");
    std::vector<store::MdxIndex::Entry> entries;
    ASSERT_TRUE(store::MdxIndex::check(readFile(dir.file(QStringLiteral("stock.MDX"))), "CODE", 20, 1, &entries));
    EXPECT_EQ(entries.front().key, QByteArray("B7").leftJustified(20, ' '));

    // Without a tag the table keeps no index; a line that is no field
    // refuses the creation.
    DataDir bare;
    store::Table plain({{"code, C, 20, 0"}, {}});
    plain.setFileName(bare.file(QStringLiteral("plain.dbf")));
    plain.open();
    plain.close();
    EXPECT_FALSE(QFile::exists(bare.file(QStringLiteral("plain.MDX"))));
    EXPECT_EQ(readFile(bare.file(QStringLiteral("plain.dbf")))[28], 0);
    store::Table wrong({{"code, C, 20"}, {}});
    wrong.setFileName(bare.file(QStringLiteral("wrong.dbf")));
    EXPECT_THROW(wrong.open(), base::Error);
}

TEST_F(DbfTableTest, AppendsRecordsAndWritesCountAndMarkerAtClose)
{
    table.open();
    appendArticle(table, {12, "ABC", "  two blanks", "x", 5, "O"});
    appendArticle(table, {2, "DEF", "", "", 0, "N"});
    appendArticle(table, {3, "GHI", "", "", 7, "N"});
    // The header on disk stays as it was until close.
    EXPECT_EQ(le32(readFile(path), 4), 0u);
    table.close();

    const QByteArray file = readFile(path);
    ASSERT_EQ(file.size(), 1009);
    EXPECT_EQ(le32(file, 4), 3u);
    EXPECT_EQ(file[1008], char(0x1A));
    EXPECT_EQ(file.mid(1, 3), todayBytes());
    const QByteArray r1 = recordBytes(file, 1);
    QByteArray expected = " " + QByteArray("   12") + QByteArray("ABC").leftJustified(50, ' ')
                        + QByteArray("  two blanks").leftJustified(100, ' ')
                        + QByteArray("x").leftJustified(100, ' ') + "  5" + "O ";
    EXPECT_EQ(r1, expected);
    EXPECT_EQ(recordBytes(file, 2).mid(256, 3), QByteArray("  0"));

    table.open();
    const std::vector<Article> all = walk(table);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0], (Article{12, "ABC", "  two blanks", "x", 5, "O"}));
    EXPECT_EQ(all[2].cb, QByteArray("GHI"));
}

TEST_F(DbfTableTest, EncodesFieldValues)
{
    struct Case {
        const char *field;
        store::FieldValue value;
        QByteArray stored;
        QByteArray readText;      // for C fields
        std::int32_t readNumber;  // for N fields
    };
    const QByteArray sixty(60, 'x');
    const Case cases[] = {
        {"cb", sixty, sixty.left(50), sixty.left(50), 0},               // cut to width
        {"lib1", QByteArray("  lead"), QByteArray("  lead").leftJustified(100, ' '), "  lead", 0},
        {"cb", QByteArray("tab\t\x01"), QByteArray("tab\t\x01").leftJustified(50, ' '), "tab", 0},
        {"cb", std::int32_t(42), QByteArray("42").leftJustified(50, ' '), "42", 0},
        {"num", std::int32_t(12), "   12", {}, 12},
        {"num", std::int32_t(99999), "99999", {}, 99999},
        {"num", std::int32_t(123456), "*****", {}, 0},                 // overflow
        {"num", std::int32_t(-1234), "-1234", {}, -1234},
        {"num", std::int32_t(-12345), "*****", {}, 0},
        {"num", QByteArray(" 77 "), "   77", {}, 77},                   // text to number
        {"quantite", std::int32_t(0), "  0", {}, 0},
        {"quantite", std::int32_t(999), "999", {}, 999},
        {"quantite", std::int32_t(1000), "***", {}, 0},
        {"quantite", std::int32_t(-99), "-99", {}, -99},
        {"quantite", std::int32_t(-100), "***", {}, 0},
        {"quantite", QByteArray(""), "   ", {}, 0},                      // blanks read as 0
    };
    table.open();
    for (const Case &c : cases) {
        const store::FieldAssignment v[] = {{table.fieldIndex(c.field), c.value}};
        table.append(v);
    }
    int recNo = 0;
    table.first();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.field);
        ++recNo;
        ASSERT_FALSE(table.eof());
        EXPECT_EQ(table.recNo(), recNo);
        const int f = table.fieldIndex(c.field);
        const store::FieldDef &def = table.fields()[std::size_t(f)];
        const QByteArray rec = recordBytes(readFile(path), recNo);
        EXPECT_EQ(rec.mid(def.offset, def.width), c.stored);
        if (def.type == 'C') {
            EXPECT_EQ(table.text(f).toByteArray(), c.readText);
        } else {
            EXPECT_EQ(table.integer(f), c.readNumber);
        }
        table.next();
    }
    EXPECT_TRUE(table.eof());

    const store::FieldAssignment bad[] = {{table.fieldIndex("num"), QByteArray("abc")}};
    EXPECT_THROW(table.append(bad), base::Error);
}

TEST_F(DbfTableTest, UpdatesInPlaceAndDeletesLogically)
{
    table.open();
    appendArticle(table, {1, "A", "one", "", 1, "N"});
    appendArticle(table, {2, "B", "two", "", 2, "N"});
    appendArticle(table, {3, "C", "three", "", 3, "N"});
    table.close();
    table.open();

    table.first();
    table.next();
    ASSERT_EQ(table.recNo(), 2);
    const store::FieldAssignment set[] = {{table.fieldIndex("topp"), QByteArray("O")},
                                          {table.fieldIndex("quantite"), std::int32_t(9)}};
    table.updateCurrent(set);
    EXPECT_EQ(table.integer(table.fieldIndex("quantite")), 9);
    // Updates reach the file at once.
    EXPECT_EQ(recordBytes(readFile(path), 2), recordBytes(readFile(path), 2).left(256) + "  9O ");
    EXPECT_EQ(recordBytes(readFile(path), 2).mid(56, 3), QByteArray("two"));

    table.first();
    table.deleteCurrent();   // record 1; the walk goes on with record 2
    ASSERT_FALSE(table.eof());
    EXPECT_EQ(table.recNo(), 2);
    EXPECT_EQ(readFile(path)[kHeaderLen], '*');
    const std::vector<Article> live = walk(table);
    ASSERT_EQ(live.size(), 2u);
    EXPECT_EQ(live[0], (Article{2, "B", "two", "", 9, "O"}));
    EXPECT_EQ(live[1].num, 3);
    table.close();
    const QByteArray file = readFile(path);
    EXPECT_EQ(file.size(), 1009);
    EXPECT_EQ(le32(file, 4), 3u);
}

TEST_F(DbfTableTest, DeletingTheOnlyRecordKeepsLengthAndCount)
{
    table.open();
    appendArticle(table, {1, "ONLY", "", "", 1, "N"});
    table.close();
    const qsizetype before = readFile(path).size();
    table.open();
    table.first();
    table.deleteCurrent();
    EXPECT_TRUE(table.eof());
    table.close();
    const QByteArray file = readFile(path);
    EXPECT_EQ(file.size(), before);
    EXPECT_EQ(le32(file, 4), 1u);
    EXPECT_EQ(file[kHeaderLen], '*');
    table.open();
    EXPECT_TRUE(walk(table).empty());
}

TEST_F(DbfTableTest, HeaderIsWrittenOnlyWhenItsStateAsksForIt)
{
    table.open();
    appendArticle(table, {1, "A", "", "", 1, "N"});
    table.close();
    // Pretend the table was last written long ago.
    QByteArray old = readFile(path);
    old[1] = 101;
    old[2] = 1;
    old[3] = 2;
    ASSERT_TRUE(writeFile(path, old));

    table.open();
    walk(table);
    table.close();
    EXPECT_EQ(readFile(path), old);   // unchanged: nothing written

    table.open();
    table.first();
    const store::FieldAssignment set[] = {{table.fieldIndex("lib1"), QByteArray("new")}};
    table.updateCurrent(set);
    table.close();
    QByteArray changed = readFile(path);
    EXPECT_EQ(changed.mid(1, 3), todayBytes());   // header changed: 32 bytes written
    EXPECT_EQ(changed.size(), old.size());
}

TEST_F(DbfTableTest, StaleCountAfterACrashStillShowsEveryRecord)
{
    table.open();
    for (int i = 1; i <= 3; ++i)
        appendArticle(table, {i, QByteArray::number(i), "", "", i, "N"});
    // The state a run leaves when it ends without closing: count 0 in the
    // header, no end marker, companion still there.
    const QByteArray crashed = readFile(path);
    ASSERT_EQ(crashed.size(), kHeaderLen + 3 * kRecordLen);
    ASSERT_EQ(le32(crashed, 4), 0u);
    table.close();

    DataDir other;
    const QString copy = other.file(QStringLiteral("article.dbf"));
    ASSERT_TRUE(writeFile(copy, crashed));
    ASSERT_TRUE(writeFile(other.file(QStringLiteral("article.@S@")), "1"));
    store::Table t{store::ArticleDefinition()};
    t.setFileName(copy);
    t.open();
    EXPECT_EQ(walk(t).size(), 3u);
    t.close();
    const QByteArray fixed = readFile(copy);
    EXPECT_EQ(le32(fixed, 4), 3u);
    EXPECT_EQ(fixed.size(), kHeaderLen + 3 * kRecordLen + 1);
    EXPECT_EQ(fixed.back(), char(0x1A));
}

TEST_F(DbfTableTest, SeesRecordsAppendedByAnotherUserDuringAWalk)
{
    table.open();
    appendArticle(table, {1, "A", "", "", 1, "N"});
    store::Table other{store::ArticleDefinition()};
    other.setFileName(path);
    other.open();
    const std::uint64_t before = table.version();

    table.first();
    ASSERT_FALSE(table.eof());
    appendArticle(other, {2, "B", "", "", 1, "N"});
    table.next();
    ASSERT_FALSE(table.eof());
    EXPECT_EQ(table.integer(0), 2);
    table.next();
    EXPECT_TRUE(table.eof());
    EXPECT_NE(table.version(), before);

    // Each own change counts exactly one step (callers rely on it to keep
    // answers across their own appends); a walk counts none.
    const std::uint64_t v = table.version();
    EXPECT_EQ(table.version(), v);
    appendArticle(table, {3, "C", "", "", 1, "N"});
    EXPECT_EQ(table.version(), v + 1);
    appendArticle(table, {4, "D", "", "", 1, "N"});
    EXPECT_EQ(table.version(), v + 2);
    walk(table);
    EXPECT_EQ(table.version(), v + 2);
    table.first();
    const store::FieldAssignment set[] = {{1, QByteArray("AA")}};
    table.updateCurrent(set);
    EXPECT_EQ(table.version(), v + 3);
    table.deleteCurrent();
    EXPECT_EQ(table.version(), v + 4);

    other.close();
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("article.@S@"))));   // still one user
    table.close();
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("article.@S@"))));
    table.open();
    EXPECT_EQ(walk(table).size(), 3u);   // four records, the first deleted
}

TEST_F(DbfTableTest, RefusesDamagedFilesWithoutWritingThem)
{
    table.open();
    appendArticle(table, {1, "A", "", "", 1, "N"});
    table.close();
    const QByteArray good = readFile(path);

    auto patched = [&](int at, QByteArray bytes) {
        QByteArray b = good;
        b.replace(at, bytes.size(), bytes);
        return b;
    };
    struct Case {
        const char *name;
        QByteArray bytes;
        int code;
    };
    const Case cases[] = {
        {"empty", QByteArray(), 210},
        {"31 bytes", good.left(31), 210},
        {"version 0x30", patched(0, "\x30"), 210},
        {"version 0x8B", patched(0, "\x8B"), 210},
        {"header length too small", patched(8, QByteArray("\x40\x00", 2)), 210},
        {"header length past terminator", patched(8, QByteArray("\xE1\x01", 2)), 213},
        {"record length not the field sum", patched(10, QByteArray("\x06\x01", 2)), 210},
        {"no terminator", patched(224, QByteArray(1, ' ')), 210},
        {"field width zero", patched(32 + 16, QByteArray(1, '\0')), 210},
        {"field type X", patched(32 + 11, "X"), 211},
        {"count past the file", patched(4, QByteArray("\x02\x00\x00\x00", 4)), 213},
        {"header cut short", good.left(100), 213},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        DataDir d;
        const QString p = d.file(QStringLiteral("article.dbf"));
        ASSERT_TRUE(writeFile(p, c.bytes));
        store::Table t{store::ArticleDefinition()};
        t.setFileName(p);
        try {
            t.open();
            ADD_FAILURE() << "opened";
        } catch (const base::Error &e) {
            const QString expected = QStringLiteral("Dataset error: Error # %1 (").arg(c.code);
            EXPECT_TRUE(e.text().startsWith(expected)) << e.what();
            EXPECT_TRUE(e.text().contains(QStringLiteral(")\r\nFile: ") + p)) << e.what();
        }
        EXPECT_FALSE(t.isOpen());
        EXPECT_EQ(readFile(p), c.bytes);
        EXPECT_EQ(QDir(d.path()).entryList(QDir::Files), QStringList{QStringLiteral("article.dbf")});
    }

    try {
        store::Table t{store::ArticleDefinition()};
        t.setFileName(dir.file(QStringLiteral("bad.dbf")));
        ASSERT_TRUE(writeFile(dir.file(QStringLiteral("bad.dbf")), "short"));
        t.open();
        FAIL();
    } catch (const base::Error &e) {
        EXPECT_EQ(e.text(), QStringLiteral("Dataset error: Error # 210 (Not a dBASE data file)\r\nFile: %1 [ReadHeader]")
                                .arg(dir.file(QStringLiteral("bad.dbf"))));
    }
}

TEST_F(DbfTableTest, ReportsFilesThatCannotBeCreatedOrOpened)
{
    store::Table t{store::ArticleDefinition()};
    try {
        t.open();
        FAIL();
    } catch (const base::Error &e) {
        EXPECT_EQ(e.text(), QStringLiteral("Missing DbfFilename property"));
    }

    const QString missingDir = dir.file(QStringLiteral("no/such/article.dbf"));
    table.setFileName(missingDir);
    try {
        table.open();
        FAIL();
    } catch (const base::Error &e) {
        EXPECT_TRUE(e.text().startsWith(QStringLiteral("Dataset error: Error # 2 (File not found)\r\n")));
    }
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], QStringLiteral("Could not create \"%1\"").arg(missingDir));
}

TEST_F(DbfTableTest, LockHeldByAnotherUserRefusesTheChange)
{
    table.open();
    appendArticle(table, {1, "A", "", "", 1, "N"});
    const QByteArray before = readFile(path);

    // Another user holds the append lock and the lock of record 1.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR);
    ASSERT_GE(fd, 0);
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = off_t(1) << 40;
    fl.l_len = 2;
    ASSERT_EQ(::fcntl(fd, F_OFD_SETLK, &fl), 0);

    EXPECT_THROW(appendArticle(table, {2, "B", "", "", 1, "N"}), base::Error);
    table.first();
    const store::FieldAssignment set[] = {{1, QByteArray("Z")}};
    EXPECT_THROW(table.updateCurrent(set), base::Error);
    EXPECT_THROW(table.deleteCurrent(), base::Error);
    ::close(fd);

    EXPECT_EQ(messages, (std::vector<QString>{QStringLiteral("Lock failed [Insert]"),
                                              QStringLiteral("Lock failed [Post]"),
                                              QStringLiteral("Lock failed [Delete]")}));
    EXPECT_EQ(readFile(path), before);
    table.first();
    table.deleteCurrent();   // free again
    EXPECT_TRUE(table.eof());
}

TEST(ArticleFiles, OpensClosesAndDeletesInTheProgramDirectory)
{
    DataDir dir;
    base::setDataDirOverride(dir.path());
    store::Table table{store::ArticleDefinition()};
    store::OpenArticleTable(table);
    EXPECT_EQ(store::ProgramDir(), dir.path());
    EXPECT_EQ(table.fileName(), dir.path() + QStringLiteral("/article.dbf"));
    EXPECT_TRUE(table.isOpen());
    EXPECT_TRUE(QFileInfo::exists(dir.file(QStringLiteral("article.dbf"))));
    store::OpenArticleTable(table);   // already open: unchanged
    appendArticle(table, {1, "A", "", "", 1, "N"});
    store::CloseArticleTable(table);
    EXPECT_FALSE(table.isOpen());

    // A lower-case index from a restore is deleted as well.
    ASSERT_TRUE(QFile::rename(dir.file(QStringLiteral("article.MDX")), dir.file(QStringLiteral("article.mdx"))));
    store::DeleteArticleFiles(table);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    base::setDataDirOverride(QString());
}
