#pragma once
// Shared by the benchmarks: work to do once every benchmark has run, while
// the application object still exists (windows must go before it).

#include <functional>

namespace etibarix::store {
class Table;
}

namespace etibarix::bench {

void AtBenchmarksEnd(std::function<void()> cleanup);

// Appends records 1..count to an open article table: random 13-digit
// barcodes, a few thousand distinct texts, quantities 0 to 50, two in three
// flagged (the same records on every run).
void AppendSampleRecords(store::Table &table, int count);

} // namespace etibarix::bench
