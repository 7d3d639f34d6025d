// Reading speed of the delimited text reader (language file, CSV import).

#include "i18n/TextFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using etibarix::i18n::TextFile;

namespace {

// A CSV of about 8 MB: 100 000 lines of five fields, CR LF.
const QString &csvFile()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString p = dir.path() + QStringLiteral("/bench.csv");
        QFile f(p);
        if (f.open(QIODevice::WriteOnly)) {
            for (int i = 0; i < 100000; ++i)
                f.write("3760012345" + QByteArray::number(100000 + i) + ";Article num\xE9ro " + QByteArray::number(i)
                        + ";Rayon " + QByteArray::number(i % 40) + ";" + QByteArray::number(i % 9 + 1) + ";O\r\n");
        }
        return p;
    }();
    return path;
}

void BM_TextFileReadFields(benchmark::State &state)
{
    const QString &path = csvFile();
    const qint64 size = QFile(path).size();
    for (auto _ : state) {
        TextFile reader;
        reader.SetSeparator(';');
        reader.Open(path);
        qsizetype total = 0;
        while (!reader.AtEnd()) {
            for (int k = 1; k <= 5; ++k)
                total += reader.Field(k).size();
            reader.NextLine();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_TextFileReadFields)->Unit(benchmark::kMillisecond);

} // namespace
