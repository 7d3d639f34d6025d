// Several programs writing one table at once: terminal commands adding and
// importing side by side, and a long-lived program in this test among them.
// The result is checked from the file bytes as another dBase reader would
// see them, and the index file against the table.

#include "records/RecordCommands.h"
#include "records/RecordStatements.h"
#include "store/Table.h"
#include "store/TableFiles.h"
#include "store/MdxIndex.h"
#include "store/Query.h"
#include "tests/store/StoreTestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>

using namespace etibarix;
using namespace etibarix::test;

namespace {

constexpr int kHeaderLen = 225;
constexpr int kRecordLen = 261;
constexpr int kKeyLength = 50;

struct Record {
    char flag = ' ';
    int num = 0;
    QByteArray cb;     // trailing blanks removed
    QByteArray lib2;
    QByteArray key;    // the 50 bytes as stored
};

// The table as read straight from its bytes; failures name what is wrong.
struct TableBytes {
    std::vector<Record> records;
    QString fault;

    explicit TableBytes(const QByteArray &file)
    {
        if (file.size() < kHeaderLen + 1 || file[0] != 0x03 || le32(file, 8) % 65536 != kHeaderLen) {
            fault = QStringLiteral("not a table of this program");
            return;
        }
        const qsizetype body = file.size() - kHeaderLen;
        if (body % kRecordLen != 1 || file.back() != 0x1A) {
            fault = QStringLiteral("the file does not end with one marker after whole records");
            return;
        }
        if (file.count(char(0x1A)) != 1) {
            fault = QStringLiteral("an end marker stands before the end");
            return;
        }
        const std::uint32_t count = le32(file, 4);
        if (count != body / kRecordLen) {
            fault = QStringLiteral("header counts %1 records, the file holds %2").arg(count).arg(body / kRecordLen);
            return;
        }
        for (std::uint32_t i = 0; i < count; ++i) {
            const char *r = file.constData() + kHeaderLen + qsizetype(i) * kRecordLen;
            Record rec;
            rec.flag = r[0];
            if (rec.flag != ' ' && rec.flag != '*') {
                fault = QStringLiteral("record %1 has deletion flag %2").arg(i + 1).arg(int(rec.flag));
                return;
            }
            rec.num = QByteArray(r + 1, 5).trimmed().toInt();
            rec.key = QByteArray(r + 6, kKeyLength);
            rec.cb = rec.key.trimmed();
            rec.lib2 = QByteArray(r + 156, 100).trimmed();
            records.push_back(rec);
        }
    }
};

// Every record's key once in the index file, and nothing else.
QString indexFault(const QString &indexPath, const TableBytes &table)
{
    std::vector<store::MdxIndex::Entry> entries;
    QString why;
    if (!store::MdxIndex::check(readFile(indexPath), "CB", kKeyLength, std::int64_t(table.records.size()), &entries, &why))
        return QStringLiteral("index: ") + why;
    for (const store::MdxIndex::Entry &e : entries) {
        if (e.recNo < 1 || e.recNo > table.records.size() || table.records[e.recNo - 1].key != e.key)
            return QStringLiteral("index entry for record %1 does not match it").arg(e.recNo);
    }
    return {};
}

QByteArray csv(const QByteArray &prefix, int lines)
{
    QByteArray bytes;
    for (int i = 0; i < lines; ++i)
        bytes += prefix + QByteArray::number(i) + ";Article " + QByteArray::number(i) + ";;2\r\n";
    return bytes;
}

using Processes = std::vector<std::pair<QByteArray, std::unique_ptr<QProcess>>>;

class SharedTableTest : public ::testing::Test {
protected:
    QString cli() const { return QStringLiteral(ETIBARIX_BIN_DIR "/etibarix-cli"); }

    // A shell loop of `adds` add commands; it stops at the first failure.
    std::unique_ptr<QProcess> startAdds(const QString &dir, const QByteArray &prefix, int adds)
    {
        auto p = std::make_unique<QProcess>();
        const QString script = QStringLiteral("set -e; i=0; while [ $i -lt %1 ]; do \"$0\" --dir \"$1\" add --cb %2$i "
                                              "--t1 loop; i=$((i+1)); done")
                                   .arg(adds)
                                   .arg(QString::fromLatin1(prefix));
        p->start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script, cli(), dir});
        return p;
    }

    std::unique_ptr<QProcess> startImport(const QString &dir, const QString &csvPath)
    {
        auto p = std::make_unique<QProcess>();
        p->start(cli(), {QStringLiteral("--dir"), dir, QStringLiteral("import"), csvPath, QStringLiteral("--sep"),
                         QStringLiteral(";"), QStringLiteral("--qty"), QStringLiteral("4")});
        return p;
    }

    // Starts `count` imports of `lines` lines each and notes the barcodes they bring.
    void startImports(const DataDir &data, const QString &dir, int count, int lines, std::set<QByteArray> &expected,
                      Processes &processes)
    {
        for (int i = 0; i < count; ++i) {
            const QByteArray prefix = "IMP" + QByteArray::number(i) + "-";
            const QString path = data.file(QStringLiteral("in%1.csv").arg(i));
            ASSERT_TRUE(writeFile(path, csv(prefix, lines)));
            for (int k = 0; k < lines; ++k)
                expected.insert(prefix + QByteArray::number(k));
            processes.emplace_back("import " + prefix, startImport(dir, path));
        }
    }

    static void finish(QProcess &p, std::map<QByteArray, int> &numbersPrinted, const QByteArray &what)
    {
        ASSERT_TRUE(p.waitForFinished(60000)) << what.constData();
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << what.constData();
        EXPECT_EQ(p.exitCode(), 0) << what.constData() << ": " << p.readAllStandardError().constData();
        numbersPrinted[what] = int(p.readAllStandardOutput().count('\n'));
    }

    // The checks shared by every run: the file as a whole, the index, and
    // each expected barcode once among the live records.
    static void checkTable(const QString &dir, const std::set<QByteArray> &expected)
    {
        const TableBytes table(readFile(dir + QStringLiteral("/article.dbf")));
        ASSERT_TRUE(table.fault.isEmpty()) << table.fault.toStdString();
        std::set<int> nums;
        std::multiset<QByteArray> cbs;
        for (const Record &r : table.records) {
            if (r.flag != ' ')
                continue;
            EXPECT_TRUE(nums.insert(r.num).second) << "number " << r.num << " given twice";
            cbs.insert(r.cb);
        }
        EXPECT_EQ(cbs.size(), expected.size());
        for (const QByteArray &cb : expected)
            EXPECT_EQ(cbs.count(cb), 1u) << cb.constData();
        const QString fault = indexFault(dir + QStringLiteral("/article.MDX"), table);
        EXPECT_TRUE(fault.isEmpty()) << fault.toStdString();
        EXPECT_FALSE(QFile::exists(dir + QStringLiteral("/article.@S@")));
    }
};

TEST_F(SharedTableTest, CommandsAddingAndImportingAtOnceLoseNothing)
{
    constexpr int kRuns = 3;
    constexpr int kLoops = 3;
    constexpr int kAdds = 15;
    constexpr int kImports = 2;
    constexpr int kLines = 1000;
    for (int run = 0; run < kRuns; ++run) {
        SCOPED_TRACE(run);
        DataDir data;
        const QString dir = QDir(data.path()).absolutePath();
        std::set<QByteArray> expected;
        Processes processes;
        startImports(data, dir, kImports, kLines, expected, processes);
        ASSERT_FALSE(HasFatalFailure());
        for (int i = 0; i < kLoops; ++i) {
            const QByteArray prefix = "ADD" + QByteArray::number(i) + "-";
            for (int k = 0; k < kAdds; ++k)
                expected.insert(prefix + QByteArray::number(k));
            processes.emplace_back("adds " + prefix, startAdds(dir, prefix, kAdds));
        }
        std::map<QByteArray, int> printed;
        for (auto &[what, p] : processes)
            finish(*p, printed, what);
        for (int i = 0; i < kLoops; ++i)
            EXPECT_EQ(printed["adds ADD" + QByteArray::number(i) + "-"], kAdds);   // one number per add
        checkTable(dir, expected);
    }
}

TEST_F(SharedTableTest, ALongLivedProgramAndImportsKeepEachOthersRecords)
{
    constexpr int kImports = 2;
    constexpr int kLines = 2000;
    constexpr int kOwn = 150;
    DataDir data;
    const QString dir = QDir(data.path()).absolutePath();
    std::set<QByteArray> expected;
    Processes processes;
    startImports(data, dir, kImports, kLines, expected, processes);
    ASSERT_FALSE(HasFatalFailure());

    {
        // As the desktop program does: a table open for the whole run, each
        // record created under the numbering lock, and each one then saved
        // again with a change addressed by its number.
        store::Table table{store::ArticleDefinition()};
        table.setFileName(dir + QStringLiteral("/article.dbf"));
        table.open();
        store::Query query;
        query.addDataSet("article", table);
        for (int k = 0; k < kOwn; ++k) {
            records::RecordEntry entry;
            entry.cb = "OWN-" + QByteArray::number(k);
            entry.lib1 = "mine";
            entry.quantite = 1;
            entry.topp = "O";
            std::int32_t num = 0;
            {
                const records::NumberingLock numbering(query);
                num = records::NextRecordNum(query);
                ASSERT_TRUE(records::RunCommand(query, records::InsertStatement(num, entry)));
            }
            entry.lib2 = "SAVED";
            ASSERT_TRUE(records::RunCommand(query, records::UpdateStatement(num, entry)));
            expected.insert(entry.cb);
        }
        std::map<QByteArray, int> printed;
        for (auto &[what, p] : processes)
            finish(*p, printed, what);

        // The next refresh shows every record of the others.
        query.setSql("select * from article");
        query.open();
        EXPECT_EQ(query.recordCount(), int(expected.size()));
        query.close();
        table.close();
    }
    checkTable(dir, expected);
    const TableBytes table(readFile(dir + QStringLiteral("/article.dbf")));
    for (const Record &r : table.records)
        EXPECT_EQ(r.lib2 == "SAVED", r.cb.startsWith("OWN-")) << r.cb.constData();
}

// An import holds the append region over many lines at a time; a program
// that waits for it must still get it between two lines, not after the
// whole file.
TEST_F(SharedTableTest, AnImportLetsAWaitingProgramInBetweenLines)
{
    constexpr int kLines = 30000;
    DataDir data;
    const QString dir = QDir(data.path()).absolutePath();
    std::set<QByteArray> expected;
    Processes processes;
    startImports(data, dir, 1, kLines, expected, processes);
    ASSERT_FALSE(HasFatalFailure());
    QProcess &import = *processes.front().second;

    // Once the import is storing lines, a record of this program's own.
    const QString file = dir + QStringLiteral("/article.dbf");
    QElapsedTimer started;
    started.start();
    while (QFileInfo(file).size() < 100 * 1000 && import.state() != QProcess::NotRunning && started.elapsed() < 60000)
        QThread::msleep(2);
    {
        store::Table table{store::ArticleDefinition()};
        table.setFileName(file);
        table.open();
        store::Query query;
        query.addDataSet("article", table);
        records::RecordEntry entry;
        entry.cb = "WAITER";
        const records::NumberingLock numbering(query);
        ASSERT_TRUE(records::RunCommand(query, records::InsertStatement(records::NextRecordNum(query), entry)));
        expected.insert(entry.cb);
    }
    std::map<QByteArray, int> printed;
    finish(import, printed, processes.front().first);
    checkTable(dir, expected);

    const TableBytes table(readFile(file));
    const auto waiter = std::find_if(table.records.begin(), table.records.end(),
        [](const Record &r) { return r.cb == "WAITER"; });
    ASSERT_NE(waiter, table.records.end());
    EXPECT_GT(waiter - table.records.begin(), 0) << "the import had not begun";
    EXPECT_LT(waiter - table.records.begin(), kLines) << "the import kept the region to its end";
}

} // namespace
