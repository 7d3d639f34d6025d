#pragma once
// Shared by the benchmarks: work to do once every benchmark has run, while
// the application object still exists (windows must go before it).

#include "store/Query.h"
#include "store/Table.h"
#include "store/TableFiles.h"

#include <QTemporaryDir>

#include <functional>

namespace etibarix::bench {

void AtBenchmarksEnd(std::function<void()> cleanup);

// Appends records 1..count to an open article table: random 13-digit
// barcodes, a few thousand distinct texts, quantities 0 to 50, two in three
// flagged (the same records on every run).
void AppendSampleRecords(store::Table &table, int count);

// An empty article table in a folder of its own, with a query over it: the
// start of every benchmark that creates records.
struct ScratchTable {
    QTemporaryDir dir;
    store::Table table{store::ArticleDefinition()};
    store::Query query;
    ScratchTable()
    {
        table.setFileName(dir.filePath(QStringLiteral("article.dbf")));
        query.addDataSet("article", table);
    }
};

} // namespace etibarix::bench
