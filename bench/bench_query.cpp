// Query engine speed on 100,000 records:
//   BM_QueryListStatement   the record list's statement with a LIKE prefix
//                           criterion and `order by quantite desc , cb` (≤ 100 ms)
//   BM_QueryMaxNum          `select max(num) as nb from article` after the first (≤ 5 ms)
//   BM_QueryCreateRecords   100,000 NextRecordNum + INSERT pairs on an empty table (≤ 5 s)

#include "records/ListStatements.h"
#include "records/RecordCommands.h"
#include "records/RecordStatements.h"
#include "store/Table.h"
#include "store/TableFiles.h"
#include "store/Query.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace etibarix;

namespace {

constexpr int kRecords = 100000;

// A table of kRecords records, built once: barcodes of 13 digits (half of
// them begin with "3"), texts, quantities 0..50 (many ties), both flags.
struct Fixture {
    QTemporaryDir dir;
    store::Table table{store::ArticleDefinition()};

    Fixture()
    {
        table.setFileName(dir.filePath(QStringLiteral("article.dbf")));
        table.open();
        QRandomGenerator rng(42);
        const int num = table.fieldIndex("num"), cb = table.fieldIndex("cb"), lib1 = table.fieldIndex("lib1"),
                  lib2 = table.fieldIndex("lib2"), qty = table.fieldIndex("quantite"), topp = table.fieldIndex("topp");
        for (int i = 1; i <= kRecords; ++i) {
            QByteArray code = QByteArray::number(rng.bounded(2) ? 3 : rng.bounded(1, 10));
            while (code.size() < 13)
                code += char('0' + rng.bounded(10));
            const store::FieldAssignment values[] = {
                {num, std::int32_t(i)},
                {cb, code},
                {lib1, "Article " + QByteArray::number(rng.bounded(5000))},
                {lib2, QByteArray("Rayon ") + char('A' + rng.bounded(26))},
                {qty, std::int32_t(rng.bounded(51))},
                {topp, QByteArray(rng.bounded(3) ? "O" : "N")},
            };
            table.append(values);
        }
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

void BM_QueryListStatement(benchmark::State &state)
{
    Fixture &f = fixture();
    store::Query query;
    query.addDataSet("article", f.table);
    records::ListState list;
    list.criteriaCb = "3";
    list.SortColumn = 4;
    list.SortDescending = true;
    const QByteArray statement = records::ListStatement(list);
    for (auto _ : state) {
        query.close();
        query.setSql(statement);
        query.open();
        benchmark::DoNotOptimize(query.recordCount());
    }
    state.counters["rows"] = query.recordCount();
}
BENCHMARK(BM_QueryListStatement)->Unit(benchmark::kMillisecond);

void BM_QueryMaxNum(benchmark::State &state)
{
    Fixture &f = fixture();
    store::Query query;
    query.addDataSet("article", f.table);
    std::int32_t next = records::NextRecordNum(query);   // the first one walks the table
    for (auto _ : state)
        benchmark::DoNotOptimize(next = records::NextRecordNum(query));
    state.counters["next"] = next;
}
BENCHMARK(BM_QueryMaxNum)->Unit(benchmark::kMicrosecond);

void BM_QueryCreateRecords(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        store::Table table{store::ArticleDefinition()};
        table.setFileName(dir.filePath(QStringLiteral("article.dbf")));
        store::Query query;
        query.addDataSet("article", table);
        state.ResumeTiming();
        for (int i = 0; i < kRecords; ++i) {
            const std::int32_t num = records::NextRecordNum(query);
            records::RunCommand(query, records::InsertStatement(num,
                records::RecordEntry{"3" + QByteArray::number(100000000 + i), "Line 1", "", 1 + i % 7, "O"}));
        }
        state.PauseTiming();
        table.close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_QueryCreateRecords)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
