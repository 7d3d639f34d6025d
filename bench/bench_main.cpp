// Benchmarks of the core and of the record grid. Run with `cmake --build build --target bench`.

#include "BenchSupport.h"

#include <QApplication>

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
