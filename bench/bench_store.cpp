// Record table benchmarks on a table of 100,000 records (26 MB): walking with
// every field decoded, appending with index maintenance, opening with the
// index present, rebuilding the index.

#include "store/Table.h"
#include "store/TableFiles.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace etibarix;

namespace {

constexpr int kRecords = 100000;

// Appends kRecords records with random 13-digit barcodes (random key order
// is the hard case for the index).
void fillTable(store::Table &t)
{
    QRandomGenerator rng(42);
    const int num = t.fieldIndex("num");
    const int cb = t.fieldIndex("cb");
    const int lib1 = t.fieldIndex("lib1");
    const int lib2 = t.fieldIndex("lib2");
    const int quantite = t.fieldIndex("quantite");
    const int topp = t.fieldIndex("topp");
    for (int i = 1; i <= kRecords; ++i) {
        const QByteArray code = QByteArray::number(qulonglong(rng.bounded(quint64(10000000000000ULL)))).rightJustified(13, '0');
        const store::FieldAssignment values[] = {
            {num, std::int32_t(i % 100000)},
            {cb, code},
            {lib1, QByteArray("Article number ") + QByteArray::number(i)},
            {lib2, QByteArray("Second line of text")},
            {quantite, std::int32_t(i % 10)},
            {topp, QByteArray(i % 2 ? "O" : "N")},
        };
        t.append(values);
    }
}

// One shared table of kRecords records, made on first use.
const QString &sharedTable()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString p = dir.path() + QStringLiteral("/article.dbf");
        store::Table t{store::ArticleDefinition()};
        t.setFileName(p);
        t.open();
        fillTable(t);
        t.close();
        return p;
    }();
    return path;
}

void BM_StoreWalkAllFields(benchmark::State &state)
{
    store::Table t{store::ArticleDefinition()};
    t.setFileName(sharedTable());
    t.open();
    const int fieldCount = static_cast<int>(t.fields().size());
    std::int64_t records = 0;
    for (auto _ : state) {
        std::int64_t sum = 0;
        records = 0;
        for (t.first(); !t.eof(); t.next()) {
            for (int f = 0; f < fieldCount; ++f) {
                if (t.fields()[std::size_t(f)].type == 'N')
                    sum += t.integer(f);
                else
                    sum += t.text(f).size();
            }
            ++records;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["records"] = double(records);
}
BENCHMARK(BM_StoreWalkAllFields)->Unit(benchmark::kMillisecond);

void BM_StoreAppend100k(benchmark::State &state)
{
    for (auto _ : state) {
        QTemporaryDir dir;
        store::Table t{store::ArticleDefinition()};
        t.setFileName(dir.path() + QStringLiteral("/article.dbf"));
        t.open();
        fillTable(t);
        t.close();
    }
}
BENCHMARK(BM_StoreAppend100k)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_StoreOpenWithIndex(benchmark::State &state)
{
    const QString path = sharedTable();
    int rebuilds = 0;
    for (auto _ : state) {
        store::Table t{store::ArticleDefinition()};
        store::TableCallbacks cb;
        cb.indexBegin = [&rebuilds](const QString &) { ++rebuilds; };
        t.setCallbacks(cb);
        t.setFileName(path);
        t.open();
        t.close();
    }
    if (rebuilds > 0)
        state.SkipWithError("the index was rebuilt");
}
BENCHMARK(BM_StoreOpenWithIndex)->Unit(benchmark::kMillisecond);

void BM_StoreRebuildIndex(benchmark::State &state)
{
    const QString path = sharedTable();
    const QString index = QString(path).replace(QStringLiteral(".dbf"), QStringLiteral(".MDX"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(index);
        state.ResumeTiming();
        store::Table t{store::ArticleDefinition()};
        t.setFileName(path);
        t.open();
        t.close();
    }
}
BENCHMARK(BM_StoreRebuildIndex)->Unit(benchmark::kMillisecond);

} // namespace
