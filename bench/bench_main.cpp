// Benchmarks of the core and of the record grid. Run with `cmake --build build --target bench`.

#include "BenchSupport.h"

#include "store/Table.h"

#include <QApplication>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

#include <vector>

namespace etibarix::bench {
namespace {
std::vector<std::function<void()>> &cleanups()
{
    static std::vector<std::function<void()>> list;
    return list;
}
} // namespace

void AtBenchmarksEnd(std::function<void()> cleanup)
{
    cleanups().push_back(std::move(cleanup));
}

void AppendSampleRecords(store::Table &table, int count)
{
    QRandomGenerator rng(7);
    const int num = table.fieldIndex("num"), cb = table.fieldIndex("cb"), lib1 = table.fieldIndex("lib1"),
              lib2 = table.fieldIndex("lib2"), qty = table.fieldIndex("quantite"), topp = table.fieldIndex("topp");
    for (int i = 1; i <= count; ++i) {
        const store::FieldAssignment values[] = {
            {num, std::int32_t(i)},
            {cb, QByteArray::number(3000000000000LL + rng.bounded(1000000000))},
            {lib1, "Article " + QByteArray::number(rng.bounded(5000))},
            {lib2, QByteArray("Rayon ") + char('A' + rng.bounded(26))},
            {qty, std::int32_t(rng.bounded(51))},
            {topp, QByteArray(rng.bounded(3) ? "O" : "N")},
        };
        table.append(values);
    }
}

} // namespace etibarix::bench

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::benchmark::Initialize(&argc, argv);
    if (::benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();
    for (const auto &cleanup : etibarix::bench::cleanups())
        cleanup();
    return 0;
}
