// Backup archive speed on a table of 100,000 records (26 MB): saving against
// `gzip -9` on the same file in the same run, and restoring.

#include "backup/DataBackup.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace etibarix;

namespace {

// A table file laid out as the program writes it, with varied but realistic
// records: sequential numbers, EAN-13 style codes, product texts.
QByteArray makeTable(int records)
{
    static const char *const nouns[] = {"Vis", "Ecrou", "Rondelle", "Boulon", "Cheville", "Charniere", "Equerre",
                                        "Tige filetee", "Clou", "Agrafe", "Crochet", "Piton", "Goupille", "Rivet"};
    static const char *const details[] = {"inox A2", "acier zingue", "laiton", "tete hexagonale", "tete fraisee",
                                          "cruciforme", "torx", "large", "auto-foreuse", "a bois", "a metaux"};
    static const char *const sizes[] = {"M3", "M4", "M5", "M6", "M8", "M10", "M12", "3x20", "4x30", "5x50", "6x80"};
    static const char *const packs[] = {"boite de 100", "sachet de 25", "lot de 10", "vrac", "boite de 200", ""};
    QRandomGenerator gen(2026);
    QByteArray file;
    file.reserve(225 + qsizetype(records) * 261 + 1);
    QByteArray header(225, '\0');
    header[0] = 3;
    header[8] = char(225);
    header[10] = char(261 & 0xFF);
    header[11] = char(261 >> 8);
    header[224] = 0x0D;
    file += header;
    for (int n = 1; n <= records; ++n) {
        QByteArray r(261, ' ');
        r.replace(1, 5, QByteArray::number(n % 100000).rightJustified(5, ' '));
        const QByteArray code = "3" + QByteArray::number(gen.bounded(100000000)).rightJustified(8, '0')
            + QByteArray::number(gen.bounded(10000)).rightJustified(4, '0');
        r.replace(6, code.size(), code);
        const QByteArray lib1 = QByteArray(nouns[gen.bounded(14)]) + ' ' + details[gen.bounded(11)] + ' '
            + sizes[gen.bounded(11)];
        r.replace(56, lib1.size(), lib1);
        const QByteArray lib2 = QByteArray(packs[gen.bounded(6)]) + " ref " + QByteArray::number(gen.bounded(900000) + 100000);
        r.replace(156, lib2.size(), lib2);
        r.replace(256, 3, QByteArray::number(gen.bounded(1, 60)).rightJustified(3, ' '));
        r.replace(259, 1, gen.bounded(4) == 0 ? "O" : "N");
        file += r;
    }
    file += char(0x1A);
    return file;
}

struct Setup {
    QTemporaryDir dir;
    QString data, store, target;
    Setup()
    {
        data = dir.path() + QStringLiteral("/data/");
        store = dir.path() + QStringLiteral("/store/");
        target = dir.path() + QStringLiteral("/target/");
        QDir().mkpath(data);
        QDir().mkpath(store);
        QDir().mkpath(target);
        QFile f(data + QStringLiteral("article.dbf"));
        if (f.open(QIODevice::WriteOnly))
            f.write(makeTable(100000));
    }
};

Setup &setup()
{
    static Setup s;
    return s;
}

double seconds(const QElapsedTimer &t)
{
    return double(t.nsecsElapsed()) / 1e9;
}

double gzipSeconds()
{
    Setup &s = setup();
    QProcess gzip;
    gzip.setStandardOutputFile(s.store + QStringLiteral("article.dbf.gz"));
    QElapsedTimer t;
    t.start();
    gzip.start(QStringLiteral("gzip"), {QStringLiteral("-9"), QStringLiteral("-c"), s.data + QStringLiteral("article.dbf")});
    gzip.waitForFinished(-1);
    return seconds(t);
}

// Each iteration times our save and gzip -9 on the same file, back to back.
void BM_BackupSaveVsGzip9(benchmark::State &state)
{
    Setup &s = setup();
    const QString archive = s.store + QStringLiteral("bench.ebk");
    double ours = 0, gzip = 0;
    qint64 archived = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        const backup::SaveResult r = backup::SaveData(s.data, archive, {});
        const double elapsed = seconds(t);
        if (r.outcome != backup::SaveResult::Saved)
            state.SkipWithError("save failed");
        state.SetIterationTime(elapsed);
        ours += elapsed;
        gzip += gzipSeconds();
        archived = 0;
        for (const QString &v : r.volumes)
            archived += QFileInfo(v).size();
    }
    state.counters["gzip9_s"] = gzip / double(state.iterations());
    state.counters["ratio_to_gzip9"] = ours / gzip;
    state.counters["archive_MB"] = double(archived) / 1e6;
    state.SetBytesProcessed(state.iterations() * QFileInfo(s.data + QStringLiteral("article.dbf")).size());
}
BENCHMARK(BM_BackupSaveVsGzip9)->UseManualTime()->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_BackupRestore(benchmark::State &state)
{
    Setup &s = setup();
    const QString archive = s.store + QStringLiteral("restore.ebk");
    if (backup::SaveData(s.data, archive, {}).outcome != backup::SaveResult::Saved) {
        state.SkipWithError("save failed");
        return;
    }
    for (auto _ : state) {
        const backup::RestoreResult r = backup::RestoreData(s.target, archive, {});
        if (r.outcome != backup::RestoreResult::Restored)
            state.SkipWithError("restore failed");
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(s.data + QStringLiteral("article.dbf")).size());
}
BENCHMARK(BM_BackupRestore)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(10);

} // namespace
