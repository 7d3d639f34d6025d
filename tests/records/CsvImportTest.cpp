// The CSV import core: field choices, header and blank lines, quotes,
// quantities, numbering, the final message and damaged or hostile files.

#include "tests/support/TestSupport.h"

#include "records/RecordDatabase.h"
#include "base/DataDir.h"
#include "base/Parameters.h"
#include "i18n/LanguageTable.h"
#include "i18n/TextFile.h"
#include "records/CsvImport.h"
#include "records/RecordCommands.h"
#include "records/RecordStatements.h"
#include "store/sql/Parser.h"

#include <gtest/gtest.h>

#include <QFile>

#include <limits>
#include <random>
#include <variant>

using namespace etibarix;

namespace {

struct Row {
    int num = 0;
    QByteArray cb, lib1, lib2;
    int quantite = 0;
    QByteArray topp;
    bool operator==(const Row &) const = default;
};

void PrintTo(const Row &r, std::ostream *os)
{
    *os << "{" << r.num << ", \"" << r.cb.toStdString() << "\", \"" << r.lib1.toStdString() << "\", \""
        << r.lib2.toStdString() << "\", " << r.quantite << ", \"" << r.topp.toStdString() << "\"}";
}

class CsvImport : public ::testing::Test {
protected:
    void SetUp() override
    {
        base::setDataDirOverride(dir.path());
        i18n::ClearLanguageTable();
        base::Parameters.Language = 1;
        data = std::make_unique<records::RecordDatabase>();
    }
    void TearDown() override
    {
        data->table().close();
        data.reset();
        base::setDataDirOverride({});
    }

    QString csv(const QByteArray &bytes)
    {
        const QString path = dir.file(QStringLiteral("in.csv"));
        EXPECT_TRUE(test::writeFile(path, bytes));
        return path;
    }
    records::CsvImportResult import(const QByteArray &bytes, const records::CsvImportOptions &options = {})
    {
        return records::RunCsvImport(data->commandQuery(), csv(bytes), options);
    }
    std::vector<Row> rows()
    {
        store::Query &q = data->listQuery();
        q.close();
        q.setSql("select * from article");
        q.open();
        std::vector<Row> out;
        for (q.first(); !q.eof(); q.next())
            out.push_back({q.integer("num"), q.text("cb"), q.text("lib1"), q.text("lib2"), q.integer("quantite"), q.text("topp")});
        q.close();
        return out;
    }

    test::DataDir dir;
    std::unique_ptr<records::RecordDatabase> data;
};

records::CsvImportOptions options(char sep, int skip, int cb, int t1, int t2, int qty)
{
    records::CsvImportOptions o;
    o.separator = sep;
    o.headerLines = skip;
    o.fieldCb = cb;
    o.fieldText1 = t1;
    o.fieldText2 = t2;
    o.fieldQuantity = qty;
    return o;
}

constexpr int none = records::NoField;

TEST_F(CsvImport, FieldChoicesSeparatorsAndLines)
{
    struct Case {
        const char *what;
        QByteArray file;
        records::CsvImportOptions options;
        std::vector<Row> expected;   // num, cb, lib1, lib2, quantite, topp
    } cases[] = {
        {"defaults", "a,b,c\n", {}, {{1, "a", "b", "c", 1, "O"}}},
        {"quoted quantity stays 1", "\"A1\";\"Text\";\"\";\"3\"\n", options(';', 0, 1, 2, 3, 4), {{1, "A1", "Text", "", 1, "O"}}},
        {"bare quantity", "\"A1\";\"Text\";\"\";3\n", options(';', 0, 1, 2, 3, 4), {{1, "A1", "Text", "", 3, "O"}}},
        {"fewer fields than chosen", "only\n", options(',', 0, 1, 2, 3, 4), {{1, "only", "", "", 1, "O"}}},
        {"no field for text 2, field 10 for text 1", "1,2,3,4,5,6,7,8,9,ten,eleven\n", options(',', 0, 4, 10, none, none),
            {{1, "4", "ten", "", 1, "O"}}},
        {"text 2 from field 10", "1,2,3,4,5,6,7,8,9,ten\n", options(',', 0, 1, 2, 10, none), {{1, "1", "2", "ten", 1, "O"}}},
        {"two header lines after a blank first line", "\n  \t\nhead1\nhead2\n\nx,y\n", options(',', 2, 1, 2, 3, none),
            {{1, "x", "y", "", 1, "O"}}},
        {"blank lines between data", "a,1\n\n \nb,2\r\n\r\nc,3", options(',', 0, 1, 2, none, 2),
            {{1, "a", "1", "", 1, "O"}, {2, "b", "2", "", 2, "O"}, {3, "c", "3", "", 3, "O"}}},
        {"fields untrimmed, spaces kept", " a , b ,c\n", {}, {{1, " a", " b", "c", 1, "O"}}},
        {"separator inside quotes still splits", "\"Smith, John\",x\n", {}, {{1, "Smith", " John", "x", 1, "O"}}},
        {"empty fields and an empty barcode", ",,t2,9\n", options(',', 0, 1, 2, 3, 4), {{1, "", "", "t2", 9, "O"}}},
        {"quantities: blanks, sign, not whole", "a,, 7\nb,,-5\nc,,3.5\nd,,\ne,,x\n", options(',', 0, 1, 2, none, 3),
            {{1, "a", "", "", 7, "O"}, {2, "b", "", "", -5, "O"}, {3, "c", "", "", 1, "O"}, {4, "d", "", "", 1, "O"},
                {5, "e", "", "", 1, "O"}}},
        {"semicolon file read with commas", "a;b;c\n", {}, {{1, "a;b;c", "", "", 1, "O"}}},
        {"more header lines than lines", "a\nb\n", options(',', 6, 1, 2, 3, none), {}},
        {"Windows-1252 bytes unchanged", "cafe,\x80uro,cr\xe8me\n", {}, {{1, "cafe", "\x80uro", "cr\xe8me", 1, "O"}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        data->table().close();
        QFile::remove(dir.file(QStringLiteral("article.dbf")));
        QFile::remove(dir.file(QStringLiteral("article.mdx")));
        const records::CsvImportResult r = import(c.file, c.options);
        EXPECT_EQ(rows(), c.expected);
        EXPECT_EQ(r.linesRead, static_cast<int>(c.expected.size()));
        EXPECT_EQ(r.recordsStored, r.linesRead);
    }
}

// "Crème" and "Ω" (which Windows-1252 cannot store) as UTF-8.
#define CREME_UTF8 "Cr\xC3\xA8me"
#define OMEGA_UTF8 "\xCE\xA9"

TEST_F(CsvImport, EncodingsReachTheTableAsWindows1252)
{
    using E = i18n::TextEncoding;
    const QByteArray mark = "\xEF\xBB\xBF";
    struct Case {
        const char *what;
        QByteArray file;
        E encoding;
        std::vector<Row> expected;
        int unstorableLine;   // 0: none
    } cases[] = {
        {"UTF-8 with a mark", mark + "A1," CREME_UTF8 "\n", E::Automatic, {{1, "A1", "Cr\xE8me", "", 1, "O"}}, 0},
        {"UTF-8 without a mark", "A1," CREME_UTF8 ",\xE2\x82\xAC\n", E::Automatic,
            {{1, "A1", "Cr\xE8me", "\x80", 1, "O"}}, 0},
        {"a mark before ASCII only", mark + "A1,x\n", E::Automatic, {{1, "A1", "x", "", 1, "O"}}, 0},
        {"Windows-1252 accents", "A1,Cr\xE8me\n", E::Automatic, {{1, "A1", "Cr\xE8me", "", 1, "O"}}, 0},
        {"plain ASCII", "A1,x\nA2,y\n", E::Automatic, {{1, "A1", "x", "", 1, "O"}, {2, "A2", "y", "", 1, "O"}}, 0},
        {"empty file", "", E::Automatic, {}, 0},
        {"a character outside Windows-1252", "A1," CREME_UTF8 "\nA2," OMEGA_UTF8 "\nA3,z\n", E::Automatic,
            {{1, "A1", "Cr\xE8me", "", 1, "O"}, {2, "A3", "z", "", 1, "O"}}, 2},
        {"UTF-8 read as Windows-1252 by choice", "A1," CREME_UTF8 "\n", E::Windows1252,
            {{1, "A1", "Cr\xC3\xA8me", "", 1, "O"}}, 0},
        {"Windows-1252 read as UTF-8 by choice", "A1,x\nA2,Cr\xE8me\n", E::Utf8, {{1, "A1", "x", "", 1, "O"}}, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        data->table().close();
        QFile::remove(dir.file(QStringLiteral("article.dbf")));
        QFile::remove(dir.file(QStringLiteral("article.mdx")));
        records::CsvImportOptions o;
        o.encoding = c.encoding;
        const records::CsvImportResult r = import(c.file, o);
        EXPECT_EQ(rows(), c.expected);
        EXPECT_EQ(r.unstorableCharacter.firstLine, c.unstorableLine);
        EXPECT_EQ(r.unstorableCharacter.lines, c.unstorableLine ? 1 : 0);
    }
    // A UTF-8 file and its Windows-1252 twin leave the same table, byte for byte.
    const auto tableAfter = [this](const QByteArray &file) {
        data->table().close();
        QFile::remove(dir.file(QStringLiteral("article.dbf")));
        QFile::remove(dir.file(QStringLiteral("article.mdx")));
        import(file);
        data->table().close();
        return test::readFile(dir.file(QStringLiteral("article.dbf")));
    };
    const QByteArray fromWindows1252 = tableAfter("A1,Cr\xE8me,\x80 \xE9t\xE9\nA2,na\xEFve,\xC0 \xFF\n");
    EXPECT_EQ(tableAfter(mark + "A1," CREME_UTF8 ",\xE2\x82\xAC \xC3\xA9t\xC3\xA9\nA2,na\xC3\xAFve,\xC3\x80 \xC3\xBF\n"),
        fromWindows1252);
    EXPECT_GT(fromWindows1252.size(), 0);

    base::Parameters.Language = 3;
    records::CsvImportResult r;
    r.unstorableCharacter.add(2);
    r.firstUnstorable = QStringLiteral("\u03A9");
    EXPECT_TRUE(records::ImportNotesText(r).startsWith(
        QStringLiteral("O ficheiro continha um carácter que a tabela não pode guardar em a linha de dados 2 (o primeiro: \u201C\u03A9\u201D)")))
        << records::ImportNotesText(r).toStdString();
}

TEST_F(CsvImport, LinesAlreadyInTheTableAreSkippedOnRequest)
{
    import("A1,first\nA2,second\n");
    records::CsvImportOptions skip;
    skip.skipExisting = true;
    const QByteArray longCb(60, 'L');
    const records::CsvImportResult r = import("A1,again\nA3,new\nA3,twice\nA2 ,trailing blank\n" + longCb + "\n" + longCb + "x\n", skip);
    EXPECT_EQ(r.skippedExisting, 4);   // A1, A3 twice, "A2 ", the second long one cut to the same 50
    EXPECT_EQ(r.recordsStored, 2);
    const std::vector<Row> all = rows();
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[2].cb, "A3");
    EXPECT_EQ(all[2].lib1, "new");
    base::Parameters.Language = 2;
    EXPECT_EQ(records::ImportFinalText(r).section(u'\n', 1, 1), QStringLiteral("Lines skipped, barcode already in the table: 4"));
    // Off, the specified behaviour: every line goes in again.
    EXPECT_EQ(import("A1,again\n").recordsStored, 1);
    EXPECT_EQ(rows().size(), 5u);
}

TEST_F(CsvImport, NumbersFollowTheLargestNumber)
{
    import("a\nb\nc\n");
    EXPECT_EQ(rows().back().num, 3);
    ASSERT_TRUE(records::RunCommand(data->commandQuery(),
        "INSERT INTO article (num,cb,lib1,lib2,quantite,topp) VALUES (40,\"X\",\"\", \"\", 1, \"N\" )"));
    import("d\ne\n");
    const std::vector<Row> all = rows();
    ASSERT_EQ(all.size(), 6u);
    EXPECT_EQ(all[4].num, 41);
    EXPECT_EQ(all[5].num, 42);
    EXPECT_EQ(all[5].cb, "e");
}

TEST_F(CsvImport, ProgressComesBeforeEachLineIsStored)
{
    std::vector<int> seen;
    records::RunCsvImport(data->commandQuery(), csv("head\na\n\nb\nc\n"), options(',', 1, 1, 2, 3, none), [&](int n) {
        seen.push_back(n);
        // The record of line n is not there yet.
        EXPECT_EQ(records::NextRecordNum(data->commandQuery()), n);
    });
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
}

TEST_F(CsvImport, FinalMessageInEachLanguage)
{
    const records::CsvImportResult r = import("a\nb\nc\n");
    EXPECT_TRUE(r.clean());
    const char *expected[] = {"Nombre de fiches importées: 3", "Number of barcods imported: 3",
        "Número dos código de barras importados 3"};
    for (int language = 1; language <= 3; ++language) {
        base::Parameters.Language = language;
        EXPECT_EQ(records::ImportFinalText(r), QString::fromUtf8(expected[language - 1]));
    }
}

TEST_F(CsvImport, HostileQuotesCannotBreakTheStatement)
{
    // Each line tries to close the literal and append a second record.
    const records::CsvImportResult r =
        import("x\"), (99,\"evil\",\"\", \"\", 1, \"O\" ) --,t\n\"a\"\"b\",\"\"\"\",\"\n", options(',', 0, 1, 2, 3, none));
    const std::vector<Row> all = rows();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0], (Row{1, "x)", " (99", "evil", 1, "O"}));
    EXPECT_EQ(all[1], (Row{2, "ab", "", "", 1, "O"}));
    EXPECT_EQ(r.recordsStored, 2);
    EXPECT_EQ(r.innerQuotes.lines, 2);
    EXPECT_EQ(r.innerQuotes.firstLine, 1);
    EXPECT_TRUE(records::ImportFinalText(r).contains(QStringLiteral("Des guillemets \u00e0 l'int\u00e9rieur d'un champ ont \u00e9t\u00e9 retir\u00e9s dans 2 lignes de donn\u00e9es")))
        << records::ImportFinalText(r).toStdString();
}

TEST_F(CsvImport, EnclosingQuotesAreNotNoted)
{
    const records::CsvImportResult r = import("\"a\",\"b c\",\"\"\n", {});
    EXPECT_TRUE(r.clean());
    EXPECT_EQ(rows().front(), (Row{1, "a", "b c", "", 1, "O"}));
}

TEST_F(CsvImport, WhatTheTableCannotHoldIsNoted)
{
    const QByteArray longCb(60, 'C');
    const QByteArray longText(101, 't');
    const records::CsvImportResult r =
        import("ok,,5\n" + longCb + ",x,1\n" + "y," + longText + ",2\n" + "z,,\"4\"\n" + "w,,1000\n",
            options(',', 0, 1, 2, none, 3));
    EXPECT_EQ(r.recordsStored, 5);
    EXPECT_EQ(r.textsCut.lines, 2);
    EXPECT_EQ(r.textsCut.firstLine, 2);
    EXPECT_EQ(r.quantityNotWhole.lines, 1);
    EXPECT_EQ(r.quantityNotWhole.firstLine, 4);
    EXPECT_EQ(r.quantityOutOfRange.lines, 1);
    EXPECT_EQ(r.quantityOutOfRange.firstLine, 5);
    const std::vector<Row> all = rows();
    ASSERT_EQ(all.size(), 5u);
    EXPECT_EQ(all[1].cb, longCb.left(50));   // the table's width
    base::Parameters.Language = 2;
    const QString text = records::ImportFinalText(r);
    EXPECT_TRUE(text.startsWith(QStringLiteral("Number of barcods imported: 5\n\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("cut in 2 data lines, the first being line 2"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("not a whole number in data line 4"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("outside -99 to 999 in data line 5"))) << text.toStdString();
}

TEST_F(CsvImport, RejectedLinesAreCountedApart)
{
    records::CsvImportResult r;
    r.linesRead = 4;
    r.recordsStored = 3;
    r.rejected.add(2);
    r.firstRejection = QStringLiteral("Disk full");
    base::Parameters.Language = 2;
    EXPECT_EQ(records::ImportFinalText(r),
        QStringLiteral("Number of barcods imported: 3\n\n1 of 4 data lines could not be stored (data line 2): Disk full\n"
                       "(Data lines are counted from the first line after the header lines, blank lines left out.)"));
}

TEST_F(CsvImport, RunCommandTellsWhetherTheStatementRan)
{
    QString reason;
    EXPECT_FALSE(records::RunCommand(data->commandQuery(), "INSERT INTO article (num,cb) VALUES (1,\"a\"\"b)", &reason));
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_FALSE(records::RunCommand(data->commandQuery(), "INSERT INTO article (nope) VALUES (1)", &reason));
    EXPECT_EQ(reason, QStringLiteral("Unknown column: nope"));
    EXPECT_TRUE(records::RunCommand(data->commandQuery(), "INSERT INTO article (num,cb) VALUES (1,\"a\")", &reason));
    EXPECT_EQ(rows().size(), 1u);
}

TEST_F(CsvImport, DamagedFilesLoseNothingSilently)
{
    // A NUL byte, binary bytes, a bare CR and a very long line: every line
    // becomes one record and nothing crashes.
    QByteArray file("a\0b,c\n", 6);
    file += QByteArray("\x01\x02\x7f,\xfe\r\n");
    file += "x\ry,z\n";
    file += QByteArray(1 << 20, 'L') + ",t\n";
    const records::CsvImportResult r = import(file);
    EXPECT_EQ(r.linesRead, 4);
    EXPECT_EQ(r.recordsStored, 4);
    const std::vector<Row> all = rows();
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0].cb, QByteArray("a\0b", 3));
    EXPECT_EQ(all[2].cb, "xy");   // a CR inside a line is dropped by the reader
    EXPECT_EQ(all[3].cb, QByteArray(50, 'L'));
    EXPECT_EQ(all[3].lib1, "t");
    EXPECT_EQ(r.textsCut.lines, 1);
}

TEST_F(CsvImport, CtrlZEndsTheFileAndTextAfterItIsNoted)
{
    const struct {
        const char *name;
        QByteArray bytes;
        int lines;
        bool noted;
    } cases[] = {
        {"text after the mark", "a\nb\x1a\nc\n", 2, true},
        {"a trailing mark, as old editors wrote", "a\nb\r\n\x1a", 2, false},
        {"marks and blanks only after it", "a\n\x1a\x1a \r\n\t\x1a", 1, false},
        // The rest is read beyond the reader's first block to find it.
        {"text far after the mark", "a\n\x1a" + QByteArray(200000, ' ') + "lost\n", 1, true},
    };
    int stored = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const records::CsvImportResult r = import(c.bytes);
        EXPECT_EQ(r.linesRead, c.lines);
        EXPECT_EQ(r.textAfterEndMark, c.noted);
        EXPECT_EQ(r.clean(), !c.noted);
        EXPECT_EQ(records::ImportNotesText(r).contains(QStringLiteral("(Ctrl-Z) apr\u00e8s la ligne de donn\u00e9es %1 ;").arg(c.lines)),
                  c.noted);
        stored += c.lines;
        EXPECT_EQ(rows().size(), std::size_t(stored));
    }
}

TEST_F(CsvImport, MissingFileRaisesTheReadersErrorAndChangesNothing)
{
    const QString path = dir.file(QStringLiteral("gone.csv"));
    try {
        records::RunCsvImport(data->commandQuery(), path, {});
        FAIL() << "no error";
    } catch (const i18n::TextFileError &e) {
        EXPECT_EQ(e.text(), QStringLiteral("Impossible d'ouvrir le fichier \"") + path + QStringLiteral("\" en lecture"));
    }
    EXPECT_TRUE(rows().empty());
}

TEST_F(CsvImport, OptionsOutOfRangeAreRefused)
{
    const QString path = csv("a\n");
    const records::CsvImportOptions bad[] = {options(',', -1, 1, 2, 3, none), options(',', 0, 0, 2, 3, none),
        options(',', 0, 1, 11, 3, none), options(',', 0, 1, 2, 11, none), options(',', 0, 1, 2, 3, -1)};
    for (const auto &o : bad)
        EXPECT_THROW(records::RunCsvImport(data->commandQuery(), path, o), base::Error);
    EXPECT_TRUE(rows().empty());
}

// The import parses its insert once and puts each line's values into that
// shape: for texts without a double quote, whatever their bytes, that must be
// what parsing the line's own statement gives.
TEST(PreparedInsert, GivesWhatParsingEachStatementGives)
{
    std::mt19937 rng(7);
    auto text = [&] {
        QByteArray t(static_cast<qsizetype>(rng() % 61), '\0');
        for (char &c : t) {
            do
                c = static_cast<char>(rng() % 256);
            while (c == '"');
        }
        return t;
    };
    const std::int32_t numbers[] = {0, 1, -1, 99999, 100000, -99, 999,
        std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min()};
    records::PreparedInsert prepared;
    for (int i = 0; i < 2000; ++i) {
        records::RecordEntry e;
        e.cb = text();
        e.lib1 = text();
        e.lib2 = text();
        e.topp = i % 3 == 0 ? text() : QByteArray(i % 2 ? "O" : "N");
        const std::int32_t num = i < 9 ? numbers[i] : static_cast<std::int32_t>(rng());
        e.quantite = i < 9 ? numbers[8 - i] : static_cast<std::int32_t>(rng());
        const auto parsed = std::get<store::sql::InsertStatement>(
            store::sql::Parser::parse(records::InsertStatement(num, e, records::QuoteRule::Keep)));
        const store::sql::InsertStatement &bound = prepared.bind(num, e);
        ASSERT_EQ(bound.table.text, parsed.table.text);
        ASSERT_EQ(bound.columns.size(), parsed.columns.size());
        for (std::size_t c = 0; c < parsed.columns.size(); ++c)
            ASSERT_EQ(bound.columns[c].text, parsed.columns[c].text);
        ASSERT_EQ(bound.values, parsed.values) << "entry " << i;
    }
}

TEST(CsvPreview, LinesAsImportedCutAfterTheTenthField)
{
    test::DataDir dir;
    const QString path = dir.file(QStringLiteral("p.csv"));
    ASSERT_TRUE(test::writeFile(path, "h\n\nh2\n1,2,3,4,5,6,7,8,9,10,11,12\n\r\n;x;y\nlast"));
    const std::vector<QByteArray> lines = records::ReadPreviewLines(path, ',', 2);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "1,2,3,4,5,6,7,8,9,10");
    EXPECT_EQ(i18n::TextFile::Field(lines[0], ',', 10), "10");
    EXPECT_EQ(lines[1], ";x;y");
    EXPECT_EQ(i18n::TextFile::Field(lines[1], ';', 1), "");
    EXPECT_EQ(i18n::TextFile::Field(lines[1], ';', 3), "y");
    EXPECT_EQ(lines[2], "last");
    EXPECT_EQ(records::ReadPreviewLines(path, ';', 0).front(), "h");
    EXPECT_TRUE(records::ReadPreviewLines(path, ',', 6).empty());
    EXPECT_THROW(records::ReadPreviewLines(dir.file(QStringLiteral("none.csv")), ',', 0), i18n::TextFileError);
}

TEST(RemoveChar, DropsEveryOccurrence)
{
    EXPECT_EQ(records::RemoveChar("\"a\"\"b\"", '"'), "ab");
    EXPECT_EQ(records::RemoveChar("", '"'), "");
    EXPECT_EQ(records::RemoveChar("\"\"\"", '"'), "");
    EXPECT_EQ(records::RemoveChar("abc", '"'), "abc");
}

} // namespace
