// The query component on a real table in a temporary directory: what the
// statements do to the table and what a select gives back.

#include "base/Error.h"
#include "records/RecordCommands.h"
#include "records/RecordList.h"
#include "records/RecordStatements.h"
#include "store/Table.h"
#include "store/TableFiles.h"
#include "store/Query.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace etibarix;

namespace {

class QueryTest : public ::testing::Test {
protected:
    QueryTest()
    {
        table.setFileName(dir.file(QStringLiteral("article.dbf")));
        query.addDataSet("article", table);
        other.addDataSet("article", table);
    }

    void run(const QByteArray &statement)
    {
        query.setSql(statement);
        query.execSql();
    }

    void insert(int num, const QByteArray &cb, int qty = 1, const QByteArray &topp = "O",
        const QByteArray &lib1 = QByteArray(), const QByteArray &lib2 = QByteArray())
    {
        run(records::InsertStatement(num, records::RecordEntry{cb, lib1, lib2, qty, topp}, records::QuoteRule::Keep));
    }

    // One column of every row of a select, joined with "|".
    QByteArray column(const QByteArray &statement, const QByteArray &name)
    {
        query.setSql(statement);
        query.open();
        QList<QByteArray> values;
        for (; !query.eof(); query.next())
            values << query.text(name);
        return values.join('|');
    }

    QString error(const QByteArray &statement, bool open)
    {
        try {
            query.setSql(statement);
            open ? query.open() : query.execSql();
        } catch (const base::Error &e) {
            return e.text();
        }
        return QStringLiteral("<no error>");
    }

    std::optional<std::int32_t> maxNum()
    {
        query.setSql("select max(num) as nb from article");
        query.open();
        if (query.recordCount() == 0)
            return std::nullopt;
        return query.integer("NB");
    }

    test::DataDir dir;
    store::Table table{store::ArticleDefinition()};
    store::Query query;
    store::Query other;
};

} // namespace

TEST_F(QueryTest, StatementOpensAClosedTableCreatingItsFiles)
{
    ASSERT_FALSE(QFile::exists(dir.file(QStringLiteral("article.dbf"))));
    insert(1, "ABC");
    EXPECT_TRUE(table.isOpen());
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("article.dbf"))));
    // After the files are deleted behind a closed table, the next statement
    // creates a new empty table.
    table.close();
    QFile::remove(dir.file(QStringLiteral("article.dbf")));
    EXPECT_EQ(column("select * from article order by num", "num"), QByteArray());
    insert(1, "NEW");
    EXPECT_EQ(column("select * from article order by num", "cb"), QByteArray("NEW"));
}

TEST_F(QueryTest, SelectGivesTypedColumnsAndConvertedValues)
{
    run("INSERT INTO article (num,cb,lib1,lib2,quantite,topp) VALUES (7,\"ABC\",\"  L1\", \"L2   \", 5, \"O\" )");
    run("insert into article (num,cb,quantite) values (123456,\"" + QByteArray(60, 'x') + "\", -5)");
    query.setSql("select * from article");
    query.open();
    ASSERT_EQ(query.result().columnCount(), 6);
    const char *names[] = {"num", "cb", "lib1", "lib2", "quantite", "topp"};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(query.result().column(c).name, QByteArray(names[c]));
    EXPECT_EQ(query.result().column(0).type, store::sql::ColumnType::Integer);
    EXPECT_EQ(query.result().column(1).type, store::sql::ColumnType::Text);
    ASSERT_EQ(query.recordCount(), 2);
    EXPECT_EQ(query.recNo(), 1);
    EXPECT_EQ(query.integer("NUM"), 7);
    EXPECT_EQ(query.text("lib1"), QByteArray("  L1"));   // leading blanks stay
    EXPECT_EQ(query.text("lib2"), QByteArray("L2"));     // trailing blanks are never seen
    EXPECT_EQ(query.text("quantite"), QByteArray("5"));
    query.next();
    EXPECT_EQ(query.integer("num"), 0);                  // too wide: stored as asterisks
    EXPECT_EQ(query.text("cb"), QByteArray(50, 'x'));    // cut to the field width
    EXPECT_EQ(query.integer("quantite"), -5);
    EXPECT_EQ(query.text("lib1"), QByteArray());
    EXPECT_FALSE(query.eof());
    query.next();
    EXPECT_TRUE(query.eof());
    EXPECT_EQ(query.recNo(), 2);
    EXPECT_THROW(query.text("nope"), base::Error);
}

TEST_F(QueryTest, ConditionsOnTheTable)
{
    insert(1, "AB");
    insert(2, "ABC", 0, "N");
    insert(3, "xAB", 3, "O ");
    insert(4, "   ", 2);
    insert(5, "", 1, "N");
    insert(6, "ABCD", 12);
    insert(7, "AC", 4, "X");
    struct Case {
        const char *where;
        const char *nums;
    } cases[] = {
        {"cb like \"AB%\"", "1|2|6"},
        {"cb like \"ab%\"", ""},
        {"cb like \"%\"", "1|2|3|4|5|6|7"},
        {"cb like \"_%\"", "1|2|3|6|7"},
        {"cb like \"A_C%\"", "2|6"},
        {"topp=\"O\"", "1|3|4|6"},
        {"topp='N' and cb like \"AB%\"", "2"},
        {"length(cb)>0", "1|2|3|6|7"},
        {"quantite>0 and length(cb)>0", "1|3|6|7"},
        {"quantite > 3", "6|7"},
        {"quantite=12", "6"},
        {"num=-1", ""},
        {"num>5", "6|7"},
        {"cb=\"AB\"", "1"},
        {"cb=\"ab\"", ""},
        {"num=\"3\"", "3"},          // an integer column against a text: its decimal text
        {"length(cb)=4", "6"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(column(QByteArray("select * from article where ") + c.where, "num"), QByteArray(c.nums)) << c.where;
}

TEST_F(QueryTest, OrderByOnTheTable)
{
    const QByteArray cbs[] = {"b", "\xE9", "B", "", "1", "a", "Z", "10", "\xC9"};
    int n = 0;
    for (const QByteArray &cb : cbs) {
        ++n;
        insert(n, cb, n % 3, n % 2 ? "O" : "N");
    }
    EXPECT_EQ(column("select * from article order by cb", "cb"), QByteArray("|1|10|B|Z|a|b|\xC9|\xE9"));
    EXPECT_EQ(column("select * from article order by cb desc", "cb"), QByteArray("\xE9|\xC9|b|a|Z|B|10|1|"));
    EXPECT_EQ(column("select * from article order by quantite desc , cb", "num"), QByteArray("5|8|2|4|7|1|3|6|9"));
    EXPECT_EQ(column("select * from article order by topp desc , cb ", "cb"), QByteArray("1|B|Z|b|\xC9||10|a|\xE9"));
    // Without an order: record order.
    EXPECT_EQ(column("select * from article", "num"), QByteArray("1|2|3|4|5|6|7|8|9"));
}

TEST_F(QueryTest, TiesStayWhereTheQuicksortLeavesThem)
{
    // Quantities 2,1,2,1 in record order: the quicksort gives records 4,2,1,3
    // where a stable sort would give 2,4,1,3.
    int n = 0;
    for (int q : {2, 1, 2, 1})
        insert(++n, "T", q);
    EXPECT_EQ(column("select * from article order by quantite", "num"), QByteArray("4|2|1|3"));
}

TEST_F(QueryTest, UpdateAndDeleteEveryMatchingLiveRecord)
{
    for (int i = 1; i <= 6; ++i)
        insert(i % 3, QByteArray("C" + QByteArray::number(i)));   // nums 1 2 0 1 2 0
    run("UPDATE article  SET cb=\"X\", lib1=\"L\", lib2=\"M\", quantite=9,  topp=\"N\" WHERE num=1");
    EXPECT_EQ(column("select * from article", "cb"), QByteArray("X|C2|C3|X|C5|C6"));
    EXPECT_EQ(column("select * from article where topp=\"N\"", "quantite"), QByteArray("9|9"));
    // Consecutive matches: the delete walk must not skip the record after a deleted one.
    run("delete from article where cb like \"C%\"");
    EXPECT_EQ(column("select * from article", "cb"), QByteArray("X|X"));
    run("delete from article where num=1");
    EXPECT_EQ(column("select * from article", "cb"), QByteArray());
    EXPECT_EQ(maxNum(), std::nullopt);
}

TEST_F(QueryTest, MaxOfNum)
{
    EXPECT_EQ(maxNum(), std::nullopt);   // empty table: no row at all
    EXPECT_EQ(records::NextRecordNum(query), 1);
    insert(1, "A");
    insert(2, "B");
    insert(3, "C");
    EXPECT_EQ(maxNum(), 3);
    EXPECT_EQ(query.result().column(0).name, QByteArray("nb"));
    run("delete from article where num=3");
    EXPECT_EQ(records::NextRecordNum(query), 3);   // the freed number is given out again
    run("update article set num=40 where num=1");
    EXPECT_EQ(maxNum(), 40);
    insert(50, "D");
    EXPECT_EQ(maxNum(), 50);
    insert(100000, "E");                             // stored as asterisks, reads 0
    EXPECT_EQ(maxNum(), 50);
    run("insert into article (cb,num) values (\"F\",\"77\")");
    EXPECT_EQ(maxNum(), 77);
    run("insert into article (cb) values (\"G\")");   // num not given: 0
    EXPECT_EQ(maxNum(), 77);
    run("delete from article where num>-1000000");
    EXPECT_EQ(maxNum(), std::nullopt);                // all deleted: no row
}

TEST_F(QueryTest, MaxSeesChangesMadeBehindTheProgramsBack)
{
    insert(1, "A");
    insert(2, "B");
    EXPECT_EQ(maxNum(), 2);
    {
        // Another user of the same file.
        store::Table outside{store::ArticleDefinition()};
        outside.setFileName(dir.file(QStringLiteral("article.dbf")));
        store::Query q;
        q.addDataSet("article", outside);
        q.setSql("insert into article (num,cb) values (90,\"Z\")");
        q.execSql();
        outside.close();
    }
    EXPECT_EQ(maxNum(), 90);
    insert(91, "Y");
    EXPECT_EQ(maxNum(), 91);
    // The other query component over the same table agrees.
    other.setSql("select max(num) as nb from article");
    other.open();
    EXPECT_EQ(other.integer("nb"), 91);
}

TEST_F(QueryTest, ResultIsACopy)
{
    insert(1, "A", 1, "O");
    insert(2, "B", 1, "O");
    query.setSql("select * from article order by num");
    query.open();
    other.setSql("select * from article where num=2");
    other.open();
    run("delete from article where num=1");   // runs on `query`: its own result closes
    EXPECT_FALSE(query.isOpen());
    EXPECT_EQ(other.recordCount(), 1);

    query.setSql("select * from article order by num");
    query.open();
    other.setSql("update article set topp=\"N\" where num=2");
    other.execSql();
    EXPECT_EQ(query.text("topp"), QByteArray("O"));   // the copy does not follow the table
    query.setValue("topp", QByteArray("N"));
    query.setValue("quantite", std::int32_t(7));
    EXPECT_EQ(query.text("topp"), QByteArray("N"));
    EXPECT_EQ(query.integer("quantite"), 7);
    query.deleteCurrentRow();
    EXPECT_EQ(query.recordCount(), 0);
    EXPECT_EQ(query.recNo(), 0);
    EXPECT_EQ(column("select * from article", "quantite"), QByteArray("1"));   // table unchanged by the copy
}

TEST_F(QueryTest, ErrorTexts)
{
    EXPECT_EQ(error("", true), QStringLiteral("SQL statement cannot be empty"));
    EXPECT_EQ(error("delete from article where num=1", true),
        QStringLiteral("You must use UPDATE, DELETE, INSERT or CREATE TABLE only with ExecSQL method !"));
    EXPECT_EQ(error("select * from article", false),
        QStringLiteral("You must use SELECT only with Open method or Active property!"));
    EXPECT_EQ(error("select * from article where cb like \"A\"B\"", true),
        QStringLiteral(" syntax error at line : 1, Column: 40, token: B"));
    EXPECT_EQ(error("select * from article where colour=1", true), QStringLiteral("Unknown column: colour"));
    EXPECT_EQ(error("delete from things where num=1", false), QStringLiteral("Unknown table: things"));
    // A table file that cannot be opened.
    table.close();
    ASSERT_TRUE(test::writeFile(dir.file(QStringLiteral("article.dbf")), QByteArray("not a table")));
    EXPECT_EQ(error("select * from article", true), QStringLiteral("DataSet article is not opened !"));
    EXPECT_EQ(error("insert into article (num) values (1)", false), QStringLiteral("DataSet article is not opened !"));
}

TEST_F(QueryTest, RunCommandDropsEveryError)
{
    insert(1, "A");
    const QByteArray broken = records::InsertStatement(2, records::RecordEntry{"A\"B", "", "", 1, "O"}, records::QuoteRule::Keep);
    // Nothing escapes, and the result still tells a failed statement apart.
    bool ran = true;
    QString reason;
    EXPECT_NO_THROW(ran = records::RunCommand(query, broken, &reason));
    EXPECT_FALSE(ran);
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_NO_THROW(records::RunCommand(query, "select * from article"));
    EXPECT_TRUE(records::RunCommand(query, records::ToggleStatement(1, records::ToggledFlag("O"))));
    EXPECT_EQ(column("select * from article", "cb") + "/" + column("select * from article", "topp"), QByteArray("A/N"));
}

TEST_F(QueryTest, RecordListRefreshAndTitleClicks)
{
    insert(1, "B2", 5);
    insert(2, "A1", 5);
    insert(3, "C3", 9, "N");
    records::RecordList list(query);
    list.RefreshRecordList();
    EXPECT_EQ(query.sql(), QByteArray("select * from article order by num"));
    EXPECT_EQ(query.recordCount(), 3);
    query.setRecNo(3);
    list.sortByColumnTitle("quantite");
    EXPECT_EQ(query.recNo(), 1);   // the first row is current after every refresh
    EXPECT_EQ(query.text("cb"), QByteArray("A1"));
    list.sortByColumnTitle("quantite");
    EXPECT_EQ(query.text("cb"), QByteArray("C3"));
    list.state().top = records::TopChoice::Flagged;
    list.state().criteriaCb = "A";
    EXPECT_EQ(list.CriteriaClause(), QByteArray(" cb like \"A%\" and  topp=\"O\""));
    list.RefreshRecordList();
    EXPECT_EQ(query.recordCount(), 1);
    list.state().criteriaCb = "A\"B";
    EXPECT_THROW(list.RefreshRecordList(), base::Error);   // reported, not dropped
}
