// etibarix-cli sql / list / add, end to end on a temporary data directory.

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace etibarix;

namespace {

class CliTest : public ::testing::Test {
protected:
    test::CliResult cli(QStringList args)
    {
        args.prepend(dir.path());
        args.prepend(QStringLiteral("--dir"));
        return test::runCli(args);
    }
    QByteArray out(const QStringList &args)
    {
        const test::CliResult r = cli(args);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(r.err, QByteArray());
        return r.out;
    }
    bool tableExists() const { return QFile::exists(dir.file(QStringLiteral("article.dbf"))); }

    test::DataDir dir;
};

QStringList args(std::initializer_list<const char *> items)
{
    QStringList l;
    for (const char *s : items)
        l << QString::fromUtf8(s);
    return l;
}

} // namespace

TEST_F(CliTest, AddNumbersRecordsAsTheDialogDoes)
{
    EXPECT_EQ(out(args({"add", "--cb", "abc", "--t1", "cr\xC3\xA8me"})), QByteArray("1\n"));
    EXPECT_EQ(out(args({"add", "--cb", " x ", "--t1", "L1", "--t2", "L2", "--qty", "7", "--flag", "no"})), QByteArray("2\n"));
    EXPECT_EQ(out(args({"add", "--cb", "Z", "--qty", "999"})), QByteArray("3\n"));
    EXPECT_EQ(out(args({"add", "--cb", "W", "--qty", "0"})), QByteArray("4\n"));
    EXPECT_EQ(out(args({"sql", "select * from article"})),
        QByteArray("num\tcb\tlib1\tlib2\tquantite\ttopp\n"
                   "1\tABC\tcr\xC3\xA8me\t\t1\tO\n"
                   "2\t X\tL1\tL2\t7\tN\n"
                   "3\tZ\t\t\t999\tO\n"
                   "4\tW\t\t\t0\tO\n"));
    // Windows-1252 in the file.
    EXPECT_TRUE(test::readFile(dir.file(QStringLiteral("article.dbf"))).contains("cr\xE8me"));
    // Deleting the highest number frees it again.
    EXPECT_EQ(out(args({"sql", "delete from article where num=4"})), QByteArray());
    EXPECT_EQ(out(args({"add", "--cb", "V"})), QByteArray("4\n"));
}

TEST_F(CliTest, AddRefusesBadInputWithoutWritingAnything)
{
    const QByteArray longBarcode(51, '7');
    const QByteArray longText(101, 't');
    const char *bad[][3] = {
        {"--cb", "caf\xE4\xB8\xAD", nullptr},     // no Windows-1252 byte for it
        {"--cb", "A\"B", nullptr},                // would break the statement
        {"--cb", "   ", nullptr},
        {"--flag", "maybe", nullptr},
        {"--t1", "x", nullptr},                   // --cb missing
        {"--cb", "CAF\xC3\x89-123", "\xC3\x89"},  // Code 128 would drop the É
        {"--cb", longBarcode.constData(), "50"},  // longer than the field
        {"--t2", longText.constData(), "100"},
        {"--qty", "1000", "999"},                 // would be stored as asterisks
        {"--qty", "-1", "999"},
        {"--qty", "lots", "999"},
    };
    for (const auto &b : bad) {
        QStringList a = args({"add"});
        if (QByteArray(b[0]) != "--cb" && QByteArray(b[0]) != "--t1")
            a << QStringLiteral("--cb") << QStringLiteral("OK");
        a << QString::fromUtf8(b[0]) << QString::fromUtf8(b[1]);
        const test::CliResult r = cli(a);
        EXPECT_EQ(r.exitCode, 2) << b[1];
        EXPECT_EQ(r.out, QByteArray());
        // One message, then the command's usage.
        EXPECT_EQ(r.err.count('\n'), 2) << r.err.toStdString();
        if (b[2]) {
            EXPECT_TRUE(r.err.split('\n').at(0).contains(b[2])) << r.err.toStdString();
        }
        EXPECT_FALSE(tableExists()) << b[1];
    }
    const test::CliResult r = cli(args({"add", "--cb", "x", "--t2", "\xF0\x9F\x98\x80"}));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("U+1F600")) << r.err.toStdString();
    EXPECT_TRUE(cli(args({"add", "--cb", "A\"B"})).err.contains("Code Barre : un guillemet"));
}

TEST_F(CliTest, SqlPrintsRowsWithEscapesAndReportsErrors)
{
    EXPECT_EQ(out(args({"sql", "insert into article (num,cb,lib1,lib2) values (1,\"a\tb\",\"x\\y\xC3\xA9\xE2\x82\xAC\",\"line1\nline2\")"})),
        QByteArray());
    EXPECT_EQ(out(args({"sql", "select * from article where num=1"})),
        QByteArray("num\tcb\tlib1\tlib2\tquantite\ttopp\n1\ta\\tb\tx\\\\y\xC3\xA9\xE2\x82\xAC\tline1\\nline2\t0\t\n"));
    EXPECT_EQ(out(args({"sql", "SELECT MAX(num) AS Nb FROM article"})), QByteArray("Nb\n1\n"));
    EXPECT_EQ(out(args({"sql", "delete from article where num=1"})), QByteArray());
    EXPECT_EQ(out(args({"sql", "select max(num) as nb from article"})), QByteArray("nb\n"));   // no row

    const test::CliResult bad = cli(args({"sql", "select * from article where cb like \"A\"B\""}));
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.err, QByteArray("etibarix-cli:  syntax error at line : 1, Column: 40, token: B\n"));
    const test::CliResult misuse = cli(args({"sql", "update article set topp=\"N\" where num=1 and"}));
    EXPECT_EQ(misuse.exitCode, 1);
    EXPECT_EQ(cli(args({"sql"})).exitCode, 2);
    EXPECT_EQ(cli(args({"sql", "select", "*"})).exitCode, 2);
    EXPECT_EQ(cli(args({"sql", ""})).err, QByteArray("etibarix-cli: SQL statement cannot be empty\n"));

    // A table file that cannot be opened is reported as a statement on it
    // reports it, with the engine's reason after.
    ASSERT_TRUE(test::writeFile(dir.file(QStringLiteral("article.dbf")), QByteArray("junk")));
    for (const QStringList &command : {args({"sql", "select * from article"}), args({"list"}), args({"add", "--cb", "1"})}) {
        const test::CliResult broken = cli(command);
        EXPECT_EQ(broken.exitCode, 1);
        EXPECT_TRUE(broken.err.startsWith("etibarix-cli: DataSet article is not opened ! ")) << broken.err.toStdString();
        EXPECT_TRUE(broken.err.contains("Not a dBASE data file")) << broken.err.toStdString();
        EXPECT_EQ(broken.err.count('\n'), 1);
    }
}

// Longer than one written piece; every row in order, each text from
// Windows-1252 to UTF-8.
TEST_F(CliTest, LongResultsComeOutWholeInUtf8)
{
    QByteArray csv;
    QByteArray expected("num\tcb\tlib1\tlib2\tquantite\ttopp\n");
    for (int i = 1; i <= 5000; ++i) {
        csv += QByteArray::number(i) + ",\xE9t\xE9 \x80" + QByteArray::number(i % 7) + "\n";
        expected += QByteArray::number(i) + '\t' + QByteArray::number(i) + "\t\xC3\xA9t\xC3\xA9 \xE2\x82\xAC"
            + QByteArray::number(i % 7) + "\t\t1\tO\n";
    }
    ASSERT_TRUE(test::writeFile(dir.file(QStringLiteral("in.csv")), csv));
    out(args({"import", dir.file(QStringLiteral("in.csv")).toUtf8().constData(), "--encoding", "windows-1252"}));
    const QByteArray listed = out(args({"sql", "select * from article order by num"}));
    EXPECT_GT(listed.size(), 64 * 1024);
    EXPECT_EQ(listed, expected);
}

TEST_F(CliTest, ListComposesAndRunsTheListStatement)
{
    EXPECT_EQ(out(args({"list", "--statement"})), QByteArray("select * from article order by num\n"));
    EXPECT_EQ(out(args({"list", "--cb", "12", "--statement"})),
        QByteArray("select * from article  where  cb like \"12%\"order by num\n"));
    EXPECT_EQ(out(args({"list", "--cb", "12", "--t1", "AB", "--top", "flagged", "--sort", "quantite", "--desc",
                  "--statement"})),
        QByteArray("select * from article  where  cb like \"12%\" and  lib1 like \"AB%\" and  topp=\"O\" order by "
                   "quantite desc , cb\n"));
    EXPECT_EQ(out(args({"list", "--t2", "\xC3\xA9", "--top", "unflagged", "--sort", "topp", "--statement"})),
        QByteArray("select * from article  where  lib2 like \"\xC3\xA9%\" and  topp=\"N\" order by topp  , cb \n"));
    EXPECT_FALSE(tableExists());

    out(args({"add", "--cb", "123", "--qty", "2"}));
    out(args({"add", "--cb", "312", "--qty", "5"}));
    out(args({"add", "--cb", "12", "--qty", "5", "--flag", "no"}));
    out(args({"add", "--cb", "120", "--qty", "2", "--t1", "AB"}));
    const QByteArray header("num\tcb\tlib1\tlib2\tquantite\ttopp\n");
    EXPECT_EQ(out(args({"list", "--cb", "12"})),
        header + "1\t123\t\t\t2\tO\n3\t12\t\t\t5\tN\n4\t120\tAB\t\t2\tO\n");
    EXPECT_EQ(out(args({"list", "--sort", "quantite", "--desc"})),
        header + "3\t12\t\t\t5\tN\n2\t312\t\t\t5\tO\n4\t120\tAB\t\t2\tO\n1\t123\t\t\t2\tO\n");
    EXPECT_EQ(out(args({"list", "--top", "flagged", "--t1", "A"})), header + "4\t120\tAB\t\t2\tO\n");
    EXPECT_EQ(out(args({"list", "--cb", "%12", "--sort", "cb", "--desc"})),
        header + "2\t312\t\t\t5\tO\n1\t123\t\t\t2\tO\n4\t120\tAB\t\t2\tO\n3\t12\t\t\t5\tN\n");

    EXPECT_EQ(cli(args({"list", "--top", "some"})).exitCode, 2);
    EXPECT_EQ(cli(args({"list", "--sort", "colour"})).exitCode, 2);
    EXPECT_EQ(cli(args({"list", "extra"})).exitCode, 2);
    EXPECT_EQ(cli(args({"list", "--cb"})).exitCode, 2);
    const test::CliResult quote = cli(args({"list", "--cb", "A\"B"}));
    EXPECT_EQ(quote.exitCode, 2);   // refused before any statement
    EXPECT_FALSE(quote.err.contains("syntax error")) << quote.err.toStdString();
}

TEST_F(CliTest, ResetErasesOnlyWithYes)
{
    out(args({"add", "--cb", "A"}));
    out(args({"add", "--cb", "B"}));
    const QString table = dir.file(QStringLiteral("article.dbf"));
    const QByteArray before = test::readFile(table);
    for (const QStringList &refused : {args({"reset"}), args({"reset", "--yes", "now"}), args({"reset", "--force"})}) {
        const test::CliResult r = cli(refused);
        EXPECT_EQ(r.exitCode, 2) << refused.join(u' ').toStdString();
        EXPECT_EQ(test::readFile(table), before);
    }
    EXPECT_EQ(out(args({"reset", "--yes"})), QByteArray());
    EXPECT_EQ(out(args({"sql", "select * from article"})), QByteArray("num\tcb\tlib1\tlib2\tquantite\ttopp\n"));
    EXPECT_EQ(out(args({"add", "--cb", "C"})), QByteArray("1\n"));
}

TEST_F(CliTest, DoubleQuoteInACriterionIsRefused)
{
    out(args({"add", "--cb", "A"}));
    for (const QStringList &refused : {args({"list", "--t1", "x\"y"}), args({"list", "--statement", "--cb", "\""}),
             args({"print", "--pdf", "out.pdf", "--matching", "--t2", "a\""})}) {
        const test::CliResult r = cli(refused);
        EXPECT_EQ(r.exitCode, 2) << refused.join(u' ').toStdString();
        EXPECT_TRUE(r.err.contains("un crit\xC3\xA8re ne peut pas contenir de guillemet")) << r.err.toStdString();
        EXPECT_EQ(r.out, QByteArray());
    }
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("out.pdf"))));
}
