#pragma once
// Shared by the benchmarks: work to do once every benchmark has run, while
// the application object still exists (windows must go before it).

#include <functional>

namespace etibarix::bench {

void AtBenchmarksEnd(std::function<void()> cleanup);

} // namespace etibarix::bench
