// Record grid speed on a list of 100,000 records (the window must stay
// responsive however long the list is):
//   BM_GridRefresh       the refresh button's work: list statement, model
//                        reset, the view taking the new result (≤ 200 ms)
//   BM_GridModelReset    the model reset alone, with the view attached (≤ 5 ms)
//   BM_GridScreenful     every cell of a screenful (30 rows) as the view
//                        paints it: text and colour (≤ 1 ms)
//   BM_GridScrollToEnd   jumping to the last row and painting it (≤ 50 ms)

#include "BenchSupport.h"

#include "records/RecordDatabase.h"
#include "base/DataDir.h"
#include "store/TableFiles.h"
#include "records/RecordList.h"
#include "records/ui/RecordGridModel.h"
#include "records/ui/RecordsTab.h"
#include "records/ui/RecordDialog.h"

#include <QRandomGenerator>
#include <QTableView>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <benchmark/benchmark.h>

#include <memory>

using namespace etibarix;

namespace {

constexpr int kRecords = 100000;

// A window with the grid over a table of kRecords records, built once.
struct GridFixture {
    QTemporaryDir dir;
    std::unique_ptr<records::RecordDatabase> data;
    std::unique_ptr<records::RecordList> list;
    std::unique_ptr<records::RecordsTab> tab;
    QTableView *grid = nullptr;

    GridFixture()
    {
        base::setDataDirOverride(dir.path());
        data = std::make_unique<records::RecordDatabase>();
        store::OpenArticleTable(data->table());
        bench::AppendSampleRecords(data->table(), kRecords);
        list = std::make_unique<records::RecordList>(data->listQuery());
        tab = std::make_unique<records::RecordsTab>(*data, *list);
        grid = tab->grid();
        tab->resize(762, 611);
        tab->show();
        tab->RefreshGrid();
    }
};

GridFixture &fixture()
{
    static GridFixture *f = nullptr;
    if (f == nullptr) {
        f = new GridFixture;
        // The window goes while the application object still exists.
        bench::AtBenchmarksEnd([] {
            delete f;
            f = nullptr;
        });
    }
    return *f;
}

void BM_GridRefresh(benchmark::State &state)
{
    GridFixture &f = fixture();
    for (auto _ : state) {
        f.tab->RefreshGrid();
        benchmark::DoNotOptimize(f.grid->model()->rowCount());
    }
    state.counters["rows"] = f.grid->model()->rowCount();
}
BENCHMARK(BM_GridRefresh)->Unit(benchmark::kMillisecond);

void BM_GridModelReset(benchmark::State &state)
{
    GridFixture &f = fixture();
    records::RecordGridModel *model = f.tab->model();
    for (auto _ : state) {
        model->BeginRefresh();
        model->EndRefresh();
        benchmark::DoNotOptimize(model->rowCount());
    }
}
BENCHMARK(BM_GridModelReset)->Unit(benchmark::kMicrosecond);

void BM_GridScreenful(benchmark::State &state)
{
    GridFixture &f = fixture();
    const QAbstractItemModel *model = f.grid->model();
    const int first = model->rowCount() / 2;
    for (auto _ : state) {
        for (int r = first; r < first + 30; ++r) {
            for (int c = 1; c < model->columnCount(); ++c) {
                const QModelIndex cell = model->index(r, c);
                benchmark::DoNotOptimize(cell.data(Qt::DisplayRole));
                benchmark::DoNotOptimize(cell.data(Qt::BackgroundRole));
                benchmark::DoNotOptimize(cell.data(Qt::ForegroundRole));
            }
        }
    }
}
BENCHMARK(BM_GridScreenful)->Unit(benchmark::kMicrosecond);

void BM_GridScrollToEnd(benchmark::State &state)
{
    GridFixture &f = fixture();
    for (auto _ : state) {
        f.grid->scrollToTop();
        f.grid->viewport()->grab();
        f.grid->scrollToBottom();
        benchmark::DoNotOptimize(f.grid->viewport()->grab());
    }
    state.counters["lastVisible"] = f.grid->rowAt(f.grid->viewport()->height() - 1) + 1;
}
BENCHMARK(BM_GridScrollToEnd)->Unit(benchmark::kMillisecond);

} // namespace
