// Whole etibarix-cli processes on a table of 99,999 records (26 MB), side by
// side with sqlite3 doing the same work on the same records in the same run.
// Each benchmark alternates the two programs and reports the medians and
// their ratio (etibarix / sqlite3) as counters:
//   BM_ListLikePrefix   list --cb 3 --sort quantite --desc (a LIKE prefix
//                       on cb, order by quantite desc, cb) (ratio ≤ 0.6);
//                       also the list's peak RSS (≤ 30 MB)
//   BM_MaxNum           select max(num) (ratio ≤ 0.6); sqlite3 answers from
//                       its index on num, so the same query on a copy
//                       without that index (a table scan, as ours is) is
//                       reported beside it (ratio_scan)
//   BM_Import           import of the 99,999 CSV lines into an empty table
//                       against one sqlite3 transaction taking max(num) + 1
//                       for every insert, with an index on num (ratio ≤ 0.6)
//   BM_Help             --help alone (≤ 6 ms)
//   BM_EmptyTable       list on an empty table (≤ 6 ms)
// The last two alternate with a program that only creates a
// QCoreApplication (bare_qt_ms): start-up time depends on the machine far
// more than on the program, and that peer shows how much is the program's.

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <random>
#include <vector>

extern char **environ;

namespace {

constexpr int kRecords = 99999;
constexpr int kRounds = 7;
constexpr int kImportRounds = 3;

const QByteArray kCli = ETIBARIX_BIN_DIR "/etibarix-cli";
const QByteArray kBareQt = ETIBARIX_BIN_DIR "/etibarix_bare_qt";

struct Run {
    double ms = 0;
    bool ok = false;
};

// Runs a program to its end with stdout (and stdin when given) redirected,
// timing the whole process.
Run runProcess(const QList<QByteArray> &argv, const QByteArray &stdinPath = {})
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    if (!stdinPath.isEmpty())
        posix_spawn_file_actions_addopen(&actions, 0, stdinPath.constData(), O_RDONLY, 0);
    std::vector<char *> args;
    for (const QByteArray &a : argv)
        args.push_back(const_cast<char *>(a.constData()));
    args.push_back(nullptr);
    Run run;
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) == 0) {
        int status = 0;
        if (waitpid(pid, &status, 0) == pid) {
            run.ms = double(timer.nsecsElapsed()) / 1e6;
            run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

// Peak resident memory of a process in MB, as GNU time reports it (a child
// started from this large process would be charged with its memory); 0
// when time is missing.
double peakRssMb(const QList<QByteArray> &argv)
{
    const QByteArray time = QFile::encodeName(QStandardPaths::findExecutable(QStringLiteral("time"), {QStringLiteral("/usr/bin")}));
    QTemporaryDir dir;
    const QByteArray report = QFile::encodeName(dir.filePath(QStringLiteral("rss")));
    if (time.isEmpty() || !runProcess(QList<QByteArray>{time, "-f", "%M", "-o", report} + argv).ok)
        return 0;
    QFile f(QString::fromLocal8Bit(report));
    return f.open(QIODevice::ReadOnly) ? f.readAll().trimmed().toDouble() / 1024 : 0;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

QByteArray sqlite3()
{
    return QFile::encodeName(QStandardPaths::findExecutable(QStringLiteral("sqlite3")));
}

// The same records as CSV for etibarix-cli and as SQL for sqlite3; the first
// character of cb takes 13 values, so the prefix "3" picks about 7,700.
constexpr qint64 kRestMs = 6000;

struct Data {
    QTemporaryDir dir;
    QByteArray csv = QFile::encodeName(dir.filePath(QStringLiteral("stock.csv")));
    QByteArray importSql = QFile::encodeName(dir.filePath(QStringLiteral("import.sql")));
    QByteArray table = QFile::encodeName(dir.filePath(QStringLiteral("table")));
    QByteArray empty = QFile::encodeName(dir.filePath(QStringLiteral("empty")));
    QByteArray db = QFile::encodeName(dir.filePath(QStringLiteral("article.db")));
    QByteArray dbScan = QFile::encodeName(dir.filePath(QStringLiteral("scan.db")));
    bool ok = false;

    Data()
    {
        std::minstd_rand rng(11);
        const char firsts[] = "123456789ABCD";
        QByteArray csvText;
        QByteArray sql = "create table article (num integer, cb text, lib1 text, lib2 text, quantite integer, "
                         "topp text);\ncreate index article_num on article(num);\nbegin;\n";
        for (int i = 0; i < kRecords; ++i) {
            QByteArray cb(1, firsts[rng() % 13]);
            for (int k = 0; k < 12; ++k)
                cb += char('0' + rng() % 10);
            const QByteArray lib1 = "ARTICLE " + QByteArray::number(i % 5000);
            const QByteArray lib2 = "RAYON " + QByteArray(1, char('A' + i % 26));
            const QByteArray qty = QByteArray::number(i % 20);
            csvText += cb + ';' + lib1 + ';' + lib2 + ';' + qty + "\r\n";
            sql += "insert into article select coalesce(max(num),0)+1,'" + cb + "','" + lib1 + "','" + lib2 + "',"
                + qty + ",'O' from article;\n";
        }
        sql += "commit;\n";
        QFile c(QString::fromLocal8Bit(csv));
        QFile s(QString::fromLocal8Bit(importSql));
        if (!c.open(QIODevice::WriteOnly) || c.write(csvText) != csvText.size() || !s.open(QIODevice::WriteOnly)
            || s.write(sql) != sql.size())
            return;
        c.close();
        s.close();
        ok = QDir().mkpath(QString::fromLocal8Bit(table)) && QDir().mkpath(QString::fromLocal8Bit(empty))
            && runProcess({kCli, "--dir", table, "import", csv, "--sep", ";", "--qty", "4"}).ok
            && runProcess({kCli, "--dir", empty, "list"}).ok
            && runProcess({sqlite3(), db}, importSql).ok
            && QFile::copy(QString::fromLocal8Bit(db), QString::fromLocal8Bit(dbScan))
            && runProcess({sqlite3(), dbScan, "drop index article_num"}).ok;
        // A table at rest, as a user's usually is: its index was last
        // written some seconds ago, so that the first open remembers its
        // check and the measured ones find it remembered.
        const QFileInfo index(QString::fromLocal8Bit(table) + QStringLiteral("/article.MDX"));
        const qint64 age = index.lastModified().msecsTo(QDateTime::currentDateTime());
        if (ok && age < kRestMs)
            QThread::msleep(static_cast<unsigned long>(kRestMs - age));
        ok = ok && runProcess({kCli, "--dir", table, "list", "--cb", "0"}).ok;
    }
};

Data &data()
{
    static Data d;
    return d;
}

// Alternates the two programs kRounds times per iteration.
void versus(benchmark::State &state, const std::function<Run()> &ours, const std::function<Run()> &theirs,
            int rounds = kRounds)
{
    if (!data().ok || sqlite3().isEmpty()) {
        state.SkipWithError("no data or no sqlite3");
        return;
    }
    std::vector<double> a;
    std::vector<double> b;
    for (auto _ : state) {
        for (int i = 0; i < rounds; ++i) {
            const Run x = ours();
            const Run y = theirs();
            if (!x.ok || !y.ok) {
                state.SkipWithError("a process failed");
                return;
            }
            a.push_back(x.ms);
            b.push_back(y.ms);
        }
    }
    state.counters["etibarix_ms"] = median(a);
    state.counters["sqlite3_ms"] = median(b);
    state.counters["ratio"] = median(a) / median(b);
}

void BM_ListLikePrefix(benchmark::State &state)
{
    const QList<QByteArray> list{kCli, "--dir", data().table, "list", "--cb", "3", "--sort", "quantite", "--desc"};
    state.counters["etibarix_peak_MB"] = peakRssMb(list);
    versus(
        state, [&] { return runProcess(list); },
        [] {
            return runProcess(
                {sqlite3(), data().db, "select * from article where cb like '3%' order by quantite desc, cb"});
        });
}
BENCHMARK(BM_ListLikePrefix)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_MaxNum(benchmark::State &state)
{
    versus(
        state, [] { return runProcess({kCli, "--dir", data().table, "sql", "select max(num) as nb from article"}); },
        [] { return runProcess({sqlite3(), data().db, "select max(num) from article"}); });
    if (!state.counters.contains("etibarix_ms"))
        return;   // skipped with an error
    std::vector<double> scan;
    for (int i = 0; i < kRounds; ++i) {
        const Run r = runProcess({sqlite3(), data().dbScan, "select max(num) from article"});
        if (!r.ok)
            return;
        scan.push_back(r.ms);
    }
    if (!scan.empty()) {
        state.counters["sqlite3_scan_ms"] = median(scan);
        state.counters["ratio_scan"] = state.counters["etibarix_ms"] / median(scan);
    }
}
BENCHMARK(BM_MaxNum)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_Import(benchmark::State &state)
{
    QTemporaryDir scratch;
    const QByteArray dir = QFile::encodeName(scratch.path());
    const QByteArray db = dir + "/import.db";
    int round = 0;
    versus(
        state,
        [&] {
            const QByteArray target = dir + "/t" + QByteArray::number(round);
            QDir().mkpath(QString::fromLocal8Bit(target));
            return runProcess({kCli, "--dir", target, "import", data().csv, "--sep", ";", "--qty", "4"});
        },
        [&] { return runProcess({sqlite3(), db + QByteArray::number(round++)}, data().importSql); }, kImportRounds);
}
BENCHMARK(BM_Import)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// Alternates a command with the bare Qt program.
void againstBareQt(benchmark::State &state, const QList<QByteArray> &argv)
{
    std::vector<double> ours;
    std::vector<double> bare;
    for (auto _ : state) {
        const Run r = runProcess(argv);
        const Run b = runProcess({kBareQt});
        if (!r.ok || !b.ok) {
            state.SkipWithError("a process failed");
            return;
        }
        ours.push_back(r.ms);
        bare.push_back(b.ms);
    }
    state.counters["median_ms"] = median(ours);
    state.counters["bare_qt_ms"] = median(bare);
    state.counters["ratio"] = median(ours) / median(bare);
}

void BM_Help(benchmark::State &state)
{
    againstBareQt(state, {kCli, "--help"});
}
BENCHMARK(BM_Help)->Unit(benchmark::kMillisecond)->Iterations(21)->UseRealTime();

void BM_EmptyTable(benchmark::State &state)
{
    if (!data().ok) {
        state.SkipWithError("no data");
        return;
    }
    againstBareQt(state, {kCli, "--dir", data().empty, "list"});
}
BENCHMARK(BM_EmptyTable)->Unit(benchmark::kMillisecond)->Iterations(21)->UseRealTime();

} // namespace
