// Several programs importing into one table at once, against one program
// importing the same lines alone (whole etibarix-cli processes, each line
// numbered and stored under the table's append lock):
//   BM_ImportAlone    one import of 100,000 lines into an empty table
//   BM_ImportShared   four imports of 25,000 lines each, started together on
//                     one directory (≤ 1.5 × BM_ImportAlone)

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr int kLines = 100000;
constexpr int kShares = 4;

QByteArray csvLines(int first, int count)
{
    QByteArray bytes;
    bytes.reserve(count * 48);
    for (int i = first; i < first + count; ++i)
        bytes += "3" + QByteArray::number(100000000000LL + i) + ";Article " + QByteArray::number(i % 5000)
            + ";Rayon " + char('A' + i % 26) + ";" + QByteArray::number(i % 20) + "\r\n";
    return bytes;
}

struct Files {
    QTemporaryDir dir;
    QString whole = dir.filePath(QStringLiteral("all.csv"));
    std::vector<QString> parts;

    Files()
    {
        auto write = [](const QString &path, const QByteArray &bytes) {
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                std::abort();
        };
        write(whole, csvLines(0, kLines));
        for (int i = 0; i < kShares; ++i) {
            parts.push_back(dir.filePath(QStringLiteral("part%1.csv").arg(i)));
            write(parts.back(), csvLines(i * (kLines / kShares), kLines / kShares));
        }
    }
};

Files &files()
{
    static Files f;
    return f;
}

// Runs one import per file at once into a fresh directory; aborts the run
// when one fails, since its time would mean nothing.
void importAtOnce(benchmark::State &state, const std::vector<QString> &csvFiles)
{
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir data;
        std::vector<std::unique_ptr<QProcess>> running;
        state.ResumeTiming();
        for (const QString &csv : csvFiles) {
            running.push_back(std::make_unique<QProcess>());
            running.back()->start(QStringLiteral(ETIBARIX_BIN_DIR "/etibarix-cli"),
                                  {QStringLiteral("--dir"), data.path(), QStringLiteral("import"), csv,
                                   QStringLiteral("--sep"), QStringLiteral(";"), QStringLiteral("--qty"),
                                   QStringLiteral("4")});
        }
        for (auto &p : running) {
            if (!p->waitForFinished(600000) || p->exitStatus() != QProcess::NormalExit || p->exitCode() != 0) {
                state.SkipWithError("an import failed");
                return;
            }
        }
    }
}

void BM_ImportAlone(benchmark::State &state)
{
    importAtOnce(state, {files().whole});
}
BENCHMARK(BM_ImportAlone)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

void BM_ImportShared(benchmark::State &state)
{
    importAtOnce(state, files().parts);
}
BENCHMARK(BM_ImportShared)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

} // namespace
