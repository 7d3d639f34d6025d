// Statement texts run through the query layer against a small table, the
// way the program runs them: a select is opened, anything else executed as
// a command. Errors are the engine's own; a select changes nothing and gives
// rows that are live records (in record order without ORDER BY); a failed
// insert appends nothing, a successful one one record; afterwards the table
// closes consistent, opens again and its index agrees with it.

#include "store/Query.h"
#include "store/TableFiles.h"
#include "tests/fuzz/TableFacts.h"

#include <algorithm>

using namespace etibarix;
using namespace etibarix::fuzz;

namespace {

struct Template {
    QByteArray table;
    QByteArray index;
};

const Template &tableTemplate()
{
    static const Template t = [] {
        const QString dir = scratchDir() + QStringLiteral("template/");
        QDir().mkpath(dir);
        emptyDir(dir);
        store::Table table{store::ArticleDefinition()};
        table.setFileName(dir + QStringLiteral("article.dbf"));
        store::Query query;
        query.addDataSet("article", table);
        const char *const statements[] = {
            "INSERT INTO article (num,cb,lib1,lib2,quantite,topp) VALUES (1,\"ABC\",\"L1\", \"L2\", 5, \"O\" )",
            "INSERT INTO article (num,cb,lib1,lib2,quantite,topp) VALUES (2,\"AB\",\"  lead\", \"\", 0, \"N\" )",
            "INSERT INTO article (num,cb,lib1,lib2,quantite,topp) VALUES (3,\"\",\"\", \"x\", -4, \"O\" )",
            "INSERT INTO article (num,cb,lib1,lib2,quantite,topp) VALUES (4,\"xAB\",\"\xE9t\xE9\", \"\", 999, \"O\" )",
            "INSERT INTO article (num,cb,lib1,lib2,quantite,topp) VALUES (5,\"12\",\"A_C\", \"100%\", 3, \"N\" )",
            "INSERT INTO article (num,cb,lib1,lib2,quantite,topp) VALUES (6,\"abc\",\"L1\", \"L2\", 5, \"O\" )",
            "delete from article where num=5",
            "INSERT INTO article (num,cb,lib1,lib2,quantite,topp) VALUES (5,\"ABC\",\"again\", \"\", 1, \"O\" )",
        };
        for (const char *s : statements) {
            query.setSql(s);
            query.execSql();
        }
        table.close();
        Template made{readFile(dir + QStringLiteral("article.dbf")), readFile(indexFileIn(dir))};
        emptyDir(dir);
        return made;
    }();
    return t;
}

bool startsWithWord(QByteArrayView text, QByteArrayView word)
{
    const QByteArray t = text.trimmed().toByteArray().toLower();
    return t.startsWith(word.toByteArray());
}

std::vector<RecordValues> rows(const store::Query &query)
{
    std::vector<RecordValues> out;
    const store::sql::ResultSet &r = query.result();
    for (int row = 0; row < r.rowCount(); ++row) {
        RecordValues v;
        for (int c = 0; c < r.columnCount(); ++c) {
            v.texts.push_back(r.text(row, c));
            v.integers.push_back(r.integer(row, c));
        }
        out.push_back(v);
    }
    return out;
}

// The live records as a select * gives them (no record numbers).
std::vector<RecordValues> asRows(std::vector<RecordValues> records)
{
    for (RecordValues &r : records) {
        r.recNo = 0;
        for (std::size_t c = 0; c < r.texts.size(); ++c) {
            // Integer columns read as their decimal text.
            if (c == 0 || c == 4)
                r.texts[c] = QByteArray::number(r.integers[c]);
            else
                r.integers[c] = 0;
        }
    }
    return records;
}

void normaliseTextColumns(std::vector<RecordValues> &rows)
{
    for (RecordValues &r : rows) {
        for (std::size_t c = 0; c < r.texts.size(); ++c) {
            if (c != 0 && c != 4)
                r.integers[c] = 0;
        }
    }
}

} // namespace

ETIBARIX_FUZZ_SEEDS(statement)
{
    const char *const statements[] = {
        "select * from article  where  cb like \"12%\"order by num",
        "select * from article  where  cb like \"12%\" and  lib1 like \"AB%\" and  topp=\"O\" order by quantite desc , cb",
        "select * from article where  quantite>0 and length(cb)>0 ",
        "select * from article where quantite > 0 and length(cb)>0  order by lib2  desc , cb ",
        "select max(num) as nb from article",
        "INSERT INTO article (num,cb,lib1,lib2,quantite,topp) VALUES (7,\"ABC\",\"L1\", \"L2\", 5, \"O\" )",
        "UPDATE article  SET cb=\"X\", lib1=\"Y\", lib2=\"Z\", quantite=-3,  topp=\"N\" WHERE num=1",
        "UPDATE article  SET topp=\"N\" WHERE num=7",
        "delete from article where num=2",
        "select * from article  where  lib1 like 'A_C' order by topp desc , cb",
        "select * from article where cb=\"ABC\" and num=5",
    };
    Seeds seeds;
    int n = 0;
    for (const char *s : statements)
        seeds.push_back({QStringLiteral("statement-%1").arg(++n, 2, 10, QLatin1Char('0')), QByteArray(s)});
    return seeds;
}

ETIBARIX_FUZZ_TARGET(statement)
{
    if (input.size() > 4096)
        return;
    const Template &t = tableTemplate();
    const QString dir = scratchDir();
    emptyDir(dir);
    const QString path = dir + QStringLiteral("article.dbf");
    writeFile(path, t.table);
    writeFile(dir + QStringLiteral("article.MDX"), t.index);

    store::Table table{store::ArticleDefinition()};
    table.setFileName(path);
    table.open();
    const std::vector<RecordValues> before = liveRecords(table);

    store::Query query;
    query.addDataSet("article", table);
    const QByteArray text = input.toByteArray();
    query.setSql(text);
    const bool select = store::Query::isSelectText(text);
    bool failed = false;
    try {
        if (select)
            query.open();
        else
            query.execSql();
    } catch (const base::Error &) {
        failed = true;
    }
    if (select && !failed && query.result().columnCount() == 6) {
        std::vector<RecordValues> got = rows(query);
        normaliseTextColumns(got);
        const std::vector<RecordValues> live = asRows(before);
        const bool ordered = text.toLower().contains("order");
        if (!ordered) {
            // A subsequence of the live records.
            std::size_t at = 0;
            for (const RecordValues &row : got) {
                while (at < live.size() && !(live[at] == row))
                    ++at;
                FUZZ_CHECK(at < live.size(), QStringLiteral("a row that is no live record, or out of record order"));
                ++at;
            }
        } else {
            std::vector<RecordValues> left = live;
            for (const RecordValues &row : got) {
                const auto it = std::find(left.begin(), left.end(), row);
                FUZZ_CHECK(it != left.end(), QStringLiteral("a sorted row that is no live record"));
                left.erase(it);
            }
        }
    }
    query.close();
    table.close();

    if (select || (failed && startsWithWord(text, "insert")))
        FUZZ_CHECK(readFile(path) == t.table, QStringLiteral("the table changed (select or failed insert)"));
    checkClosedTable(path);

    table.open();
    const std::vector<RecordValues> after = liveRecords(table);
    table.close();
    if (!failed && startsWithWord(text, "insert"))
        FUZZ_CHECK(after.size() == before.size() + 1, QStringLiteral("insert gave %1 records").arg(after.size()));
    if (!failed && startsWithWord(text, "update"))
        FUZZ_CHECK(after.size() == before.size(), QStringLiteral("update changed the record count"));
    checkIndexAgrees(path, 6, 50);
}
