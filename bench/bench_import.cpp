// CSV import speed on a file of 100,000 lines (the wizard's budget for the
// whole import is 10 s; the wizard adds the label and the event processing):
//   BM_ImportCsv       RunCsvImport into an empty table: one NextRecordNum and
//                      one insert per line
//   BM_ImportPreview   ReadPreviewLines over the same file (the preview grid's rows)

#include "records/CsvImport.h"
#include "store/Table.h"
#include "store/TableFiles.h"
#include "store/Query.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace etibarix;

namespace {

constexpr int kLines = 100000;

// A header line, then kLines lines of barcode;text 1;text 2;quantity with a
// blank line every thousand lines.
struct CsvFixture {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("stock.csv"));

    CsvFixture()
    {
        QByteArray bytes = "barcode;text 1;text 2;quantity\r\n";
        bytes.reserve(kLines * 48);
        for (int i = 0; i < kLines; ++i) {
            bytes += "\"3" + QByteArray::number(100000000000LL + i) + "\";Article " + QByteArray::number(i % 5000)
                + ";Rayon " + char('A' + i % 26) + ";" + QByteArray::number(i % 20) + "\r\n";
            if (i % 1000 == 999)
                bytes += "\r\n";
        }
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            std::abort();
    }
};

CsvFixture &fixture()
{
    static CsvFixture f;
    return f;
}

void BM_ImportCsv(benchmark::State &state)
{
    const CsvFixture &f = fixture();
    records::CsvImportOptions options;
    options.separator = ';';
    options.headerLines = 1;
    options.fieldQuantity = 4;
    records::CsvImportResult result;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        store::Table table{store::ArticleDefinition()};
        table.setFileName(dir.filePath(QStringLiteral("article.dbf")));
        store::Query query;
        query.addDataSet("article", table);
        state.ResumeTiming();
        result = records::RunCsvImport(query, f.path, options);
        state.PauseTiming();
        table.close();
        state.ResumeTiming();
    }
    state.counters["stored"] = result.recordsStored;
}
BENCHMARK(BM_ImportCsv)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ImportPreview(benchmark::State &state)
{
    const CsvFixture &f = fixture();
    std::size_t lines = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(lines = records::ReadPreviewLines(f.path, ';', 1).size());
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_ImportPreview)->Unit(benchmark::kMillisecond);

} // namespace
