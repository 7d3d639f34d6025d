// etibarix-cli import, end to end on a temporary data directory.

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>

using namespace etibarix;

namespace {

class CliImport : public ::testing::Test {
protected:
    test::CliResult cli(QStringList args)
    {
        args.prepend(QStringLiteral("import"));
        args.prepend(dir.path());
        args.prepend(QStringLiteral("--dir"));
        return test::runCli(args);
    }
    QString csv(const QByteArray &bytes)
    {
        const QString path = dir.file(QStringLiteral("in.csv"));
        EXPECT_TRUE(test::writeFile(path, bytes));
        return path;
    }
    QByteArray list()
    {
        const test::CliResult r = test::runCli({QStringLiteral("--dir"), dir.path(), QStringLiteral("list")});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return r.out;
    }
    bool tableExists() const { return QFile::exists(dir.file(QStringLiteral("article.dbf"))); }

    test::DataDir dir;
};

TEST_F(CliImport, DefaultsPrintTheFinalMessage)
{
    const test::CliResult r = cli({csv("a,b,c\nd,e,f,g\n")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Nombre de fiches importées: 2\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(list(), "num\tcb\tlib1\tlib2\tquantite\ttopp\n1\ta\tb\tc\t1\tO\n2\td\te\tf\t1\tO\n");
}

TEST_F(CliImport, OptionsChooseSeparatorHeaderAndFields)
{
    const QString path = csv("code;name;qty\n\n\"X1\";\"Nail\";4\nX2;Screw;x\n");
    const test::CliResult r = cli({path, QStringLiteral("--sep"), QStringLiteral(";"), QStringLiteral("--skip"),
        QStringLiteral("1"), QStringLiteral("--cb"), QStringLiteral("2"), QStringLiteral("--t1"), QStringLiteral("1"),
        QStringLiteral("--t2"), QStringLiteral("none"), QStringLiteral("--qty"), QStringLiteral("3"),
        QStringLiteral("--lang"), QStringLiteral("2")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Number of barcods imported: 2\n");
    // The quantity x is noted on stderr; the record still gets 1.
    EXPECT_TRUE(r.err.contains("not a whole number in data line 2")) << r.err.toStdString();
    EXPECT_EQ(list(), "num\tcb\tlib1\tlib2\tquantite\ttopp\n1\tNail\tX1\t\t4\tO\n2\tScrew\tX2\t\t1\tO\n");
}

TEST_F(CliImport, Utf8FileTwiceWithSkipExisting)
{
    const QString path = csv("\xEF\xBB\xBF" "A1,Cr\xC3\xA8me\n");
    EXPECT_EQ(cli({path}).exitCode, 0);
    const test::CliResult again = cli({path, QStringLiteral("--skip-existing"), QStringLiteral("--lang"), QStringLiteral("2")});
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_EQ(again.out, "Number of barcods imported: 0\nLines skipped, barcode already in the table: 1\n");
    // Read as Windows-1252 by choice, the mark would land in the barcode,
    // which Code 128 cannot print: the line is refused, not stored.
    const test::CliResult forced = cli({path, QStringLiteral("--encoding"), QStringLiteral("windows-1252")});
    EXPECT_EQ(forced.exitCode, 0);
    EXPECT_TRUE(forced.err.contains("(le premier : \xC2\xAB \xC3\xAF \xC2\xBB)")) << forced.err.toStdString();
    EXPECT_EQ(list(), "num\tcb\tlib1\tlib2\tquantite\ttopp\n1\tA1\tCr\xC3\xA8me\t\t1\tO\n");
}

TEST_F(CliImport, UsageErrorsTouchNothing)
{
    const QString path = csv("a\n");
    const struct {
        QStringList args;
        const char *message;
    } cases[] = {
        {{}, "give the CSV file"},
        {{path, QStringLiteral("extra")}, "unexpected argument: extra"},
        {{path, QStringLiteral("--sep"), QStringLiteral("|")}, "--sep takes , or ;"},
        {{path, QStringLiteral("--skip"), QStringLiteral("7")}, "--skip takes 0 to 6"},
        {{path, QStringLiteral("--cb"), QStringLiteral("none")}, "--cb takes 1 to 10"},
        {{path, QStringLiteral("--t1"), QStringLiteral("0")}, "--t1 takes 1 to 10"},
        {{path, QStringLiteral("--t2"), QStringLiteral("11")}, "--t2 takes 1 to 10 or none"},
        {{path, QStringLiteral("--qty"), QStringLiteral("x")}, "--qty takes 1 to 10 or none"},
        {{path, QStringLiteral("--qty")}, "option --qty needs a value"},
        {{path, QStringLiteral("--lang"), QStringLiteral("4")}, "--lang must be 1, 2 or 3"},
        {{path, QStringLiteral("--encoding"), QStringLiteral("latin9")}, "--encoding takes auto, utf-8 or windows-1252"},
    };
    for (const auto &c : cases) {
        const test::CliResult r = cli(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.message;
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
        EXPECT_EQ(r.out, "");
    }
    EXPECT_FALSE(tableExists());
}

TEST_F(CliImport, MissingFileFails)
{
    const test::CliResult r = cli({dir.file(QStringLiteral("none.csv"))});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "etibarix-cli: Impossible d'ouvrir le fichier \"" + dir.file(QStringLiteral("none.csv")).toUtf8() + "\" en lecture\n");
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(tableExists());
}

} // namespace

namespace {

// The table and index files an import writes are those of the import as it
// was before it kept its lock, file status and statement from line to line
// (hashes of that output with the dates blanked).
TEST(CliImportBytes, SameFilesAsTheImportLineByLine)
{
    test::DataDir dir;
    QByteArray csv;
    for (int i = 0; i < 2000; ++i)
        csv += QByteArray::number((i * 7919) % 10007) + '-' + QByteArray::number(i % 7) + ";Article "
            + QByteArray::number(i % 300) + ";Rayon " + char('A' + i % 26) + ';' + QByteArray::number(i % 12) + "\r\n";
    ASSERT_TRUE(test::writeFile(dir.file(QStringLiteral("in.csv")), csv));
    const test::CliResult r = test::runCli({QStringLiteral("--dir"), dir.path(), QStringLiteral("import"),
                                            dir.file(QStringLiteral("in.csv")), QStringLiteral("--sep"),
                                            QStringLiteral(";"), QStringLiteral("--qty"), QStringLiteral("4")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    auto hashWithoutDates = [](QByteArray bytes, std::initializer_list<int> dates) {
        for (const int at : dates)
            bytes.replace(at, 3, QByteArray(3, '\0'));
        return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    };
    const QByteArray table = test::readFile(dir.file(QStringLiteral("article.dbf")));
    const QByteArray index = test::readFile(dir.file(QStringLiteral("article.MDX")));
    EXPECT_EQ(table.size(), 522226);
    EXPECT_EQ(hashWithoutDates(table, {1}), "a379aca8339ae34a2bd3bed1fda3df2d2d905ac97c85ff2231136f176dac91a7");
    EXPECT_EQ(index.size(), 165888);
    EXPECT_EQ(hashWithoutDates(index, {1, 44}), "779c7ae31715df99f0d211d55a1674590d8d70fee9f007507de6ef6b5be6ca8d");
}

} // namespace
