// The index file: any bytes as article.MDX beside a valid table. The table
// opens (a damaged index is rebuilt), walks as it is, takes an append and a
// key change, and after a clean close the index passes its own consistency
// check with one entry per record, and the keys this run set are right.

#include "store/TableFiles.h"
#include "tests/fuzz/TableFacts.h"

using namespace etibarix;
using namespace etibarix::fuzz;

namespace {

constexpr int Records = 60;
constexpr int KeyOffset = 6;   // after the deletion flag and num
constexpr int KeyLength = 50;

store::FieldAssignment field(store::Table &t, const char *name, store::FieldValue value)
{
    return {t.fieldIndex(name), std::move(value)};
}

// A table of 60 records (some keys shared, some deleted), enough for an
// index of several leaves under a root. Written once per process.
struct Template {
    QByteArray table;
    QByteArray index;
    std::vector<RecordValues> live;
};

const Template &tableTemplate()
{
    static const Template t = [] {
        Template made;
        const QString dir = scratchDir() + QStringLiteral("template/");
        QDir().mkpath(dir);
        emptyDir(dir);
        store::Table table{store::ArticleDefinition()};
        table.setFileName(dir + QStringLiteral("article.dbf"));
        table.open();
        for (int i = 1; i <= Records; ++i) {
            const QByteArray cb = i % 7 == 0 ? QByteArray("SAME") : QByteArray::number(i * 7919 % 1000).rightJustified(6, '0');
            const store::FieldAssignment values[] = {
                field(table, "num", std::int32_t(i)), field(table, "cb", cb),
                field(table, "lib1", QByteArray("TEXT ") + QByteArray::number(i)),
                field(table, "quantite", std::int32_t(i % 4)), field(table, "topp", QByteArray(i % 2 ? "O" : "N")),
            };
            table.append(values);
        }
        int n = 0;
        for (table.first(); !table.eof();) {
            if (++n % 9 == 0)
                table.deleteCurrent();
            else
                table.next();
        }
        made.live = liveRecords(table);
        table.close();
        made.table = readFile(dir + QStringLiteral("article.dbf"));
        made.index = readFile(indexFileIn(dir));
        emptyDir(dir);
        return made;
    }();
    return t;
}

} // namespace

ETIBARIX_FUZZ_SEEDS(index)
{
    const Template &t = tableTemplate();
    Seeds seeds{{QStringLiteral("template.mdx"), t.index}};
    // The same index cut short, and with its first block of keys only.
    seeds.push_back({QStringLiteral("template-cut.mdx"), t.index.left(t.index.size() / 2)});
    seeds.push_back({QStringLiteral("template-head.mdx"), t.index.left(2048)});
    return seeds;
}

ETIBARIX_FUZZ_TARGET(index)
{
    const Template &t = tableTemplate();
    const QString dir = scratchDir();
    emptyDir(dir);
    QDir().mkpath(dir);
    const QString path = dir + QStringLiteral("article.dbf");
    writeFile(path, t.table);
    writeFile(dir + QStringLiteral("article.MDX"), input);

    // The records whose keys this run sets: the index must hold them right.
    std::vector<std::uint32_t> touched;
    {
        store::Table table{store::ArticleDefinition()};
        table.setFileName(path);
        try {
            table.open();
        } catch (const base::Error &e) {
            fail(__FILE__, __LINE__, "open beside any index", e.text());
        }
        FUZZ_CHECK(liveRecords(table) == t.live, QStringLiteral("the index changed what the table reads"));
        const store::FieldAssignment appended[] = {field(table, "num", std::int32_t(Records + 1)),
                                                   field(table, "cb", QByteArray("000500"))};
        table.append(appended);
        table.first();
        for (int i = 0; i < 5 && !table.eof(); ++i)
            table.next();
        touched.push_back(static_cast<std::uint32_t>(table.recNo()));
        const store::FieldAssignment changed[] = {field(table, "cb", QByteArray("SAME"))};
        table.updateCurrent(changed);
        table.next();
        touched.push_back(static_cast<std::uint32_t>(table.recNo()));
        const store::FieldAssignment changedAgain[] = {field(table, "cb", QByteArray("000001"))};
        table.updateCurrent(changedAgain);
        table.close();
    }
    touched.push_back(checkClosedTable(path));
    checkIndexAgrees(path, KeyOffset, KeyLength, touched);
}
