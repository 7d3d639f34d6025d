// The print job end to end into one PDF file: the select, the slot filling,
// the drawing of every sheet of layout 13 (80 labels) and the PDF writing.
// Target: 10,000 labels in at most 2 s; memory must not grow with the sheets.
// The second argument turns on the barcode checks the program runs before
// every job (an extra pass over the records), to show what they cost.

#include "records/RecordDatabase.h"
#include "base/DataDir.h"
#include "labels/print/LabelReport.h"
#include "labels/print/PrintJob.h"
#include "labels/printer/PrintPipeline.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <unistd.h>

using namespace etibarix;

namespace {

long residentKb()
{
    long pages = 0, resident = 0;
    if (FILE *f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// labels = records x 10 copies.
void BM_PrintLabelsToPdf(benchmark::State &state)
{
    const int labels = int(state.range(0));
    QTemporaryDir dir;
    base::setDataDirOverride(dir.path());
    {
        records::RecordDatabase data;
        for (int i = 1; i <= labels / 10; ++i) {
            data.commandQuery().setSql("INSERT INTO article (num,cb,lib1,lib2,quantite,topp) VALUES ("
                                         + QByteArray::number(i) + ",\"" + QByteArray::number(400000000 + i)
                                         + "\",\"Text one " + QByteArray::number(i) + "\", \"Text two\", 10, \"O\" )");
            data.commandQuery().execSql();
        }
        data.table().close();
    }
    labels::PrintJobSettings settings;
    settings.formatEntry = 13;
    settings.menuFontName = QStringLiteral("DejaVu Sans");
    settings.layoutFile = dir.path() + QStringLiteral("/etbdoc.rav");
    const QString pdf = dir.path() + QStringLiteral("/out.pdf");

    long growth = 0;
    qint64 bytes = 0;
    for (auto _ : state) {
        const long before = residentKb();
        records::RecordDatabase data;
        labels::LabelReport report;
        labels::PrintPipeline pipeline(report, data.commandQuery());
        if (state.range(1))
            pipeline.setCheckHandler([](const labels::PrintFindings &) { return true; });
        const auto result = pipeline.run(settings, labels::PrintDestination::pdfFile(pdf)).job;
        growth = std::max(growth, residentKb() - before);
        if (result.labels != labels)
            state.SkipWithError("wrong label count");
        bytes = QFile(pdf).size();
    }
    state.counters["sheets"] = double((labels + 79) / 80);
    state.counters["rss_growth_kb"] = double(growth);
    state.counters["pdf_kb"] = double(bytes / 1024);
    base::setDataDirOverride({});
}

} // namespace

BENCHMARK(BM_PrintLabelsToPdf)
    ->Args({1000, 1})
    ->Args({10000, 0})
    ->Args({10000, 1})
    ->Args({40000, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
