// The desktop program's start on a table of 100,000 records: from creating
// its windows, shown and activated as the message loop does at start, to the
// first paint of the record grid holding its rows (offscreen; the process's
// own start, loading the libraries, comes on top):
//   BM_StartToPaintedGrid   (≤ 300 ms)

#include "BenchSupport.h"

#include "app/ui/MainWindow.h"
#include "app/ui/ProgramWindows.h"
#include "base/DataDir.h"
#include "base/Parameters.h"
#include "records/RecordDatabase.h"
#include "records/ui/RecordsTab.h"
#include "store/TableFiles.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace etibarix;

namespace {

constexpr int kRecords = 100000;

// Notes the first paint of the grid's viewport once the grid holds rows.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QTableView *grid) : m_grid(grid) { grid->viewport()->installEventFilter(this); }
    bool painted = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && m_grid->model() && m_grid->model()->rowCount() > 0)
            painted = true;
        return QObject::eventFilter(watched, event);
    }

private:
    QTableView *m_grid;
};

void BM_StartToPaintedGrid(benchmark::State &state)
{
    QTemporaryDir dir;
    base::setDataDirOverride(dir.path());
    {
        records::RecordDatabase data;
        store::OpenArticleTable(data.table());
        bench::AppendSampleRecords(data.table(), kRecords);
        data.table().close();
    }
    // A saved parameter file: the first start's language question stays away.
    base::Parameters.Language = 2;
    base::SaveParameters(-1, QString());
    int rows = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        auto windows = std::make_unique<app::ProgramWindows>();
        app::MainWindow &window = windows->Fprincip();
        QTableView *grid = window.recordsTab()->grid();
        FirstPaint watcher(grid);
        window.show();
        window.activateWindow();
        while (!watcher.painted && timer.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
        if (!watcher.painted)
            state.SkipWithError("the grid was never painted with its rows");
        rows = grid->model()->rowCount();
        windows.reset();
        QCoreApplication::processEvents();
    }
    state.counters["rows"] = rows;
    base::setDataDirOverride({});
}
BENCHMARK(BM_StartToPaintedGrid)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
