// Report project benchmarks: reading a project stream of about 100 KB with
// LZW blocks (target 20 ms), and printing one full sheet of layout 13
// (80 labels) onto a PDF page (target 20 ms).

#include "labels/project/BuiltinLayouts.h"
#include "labels/print/LabelReport.h"
#include "labels/print/PainterSurface.h"
#include "labels/project/ProjectFile.h"
#include "tests/labels/project/ProjectStreamWriter.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace etibarix;
using namespace etibarix::labels;

void BM_ProjectRead100KB(benchmark::State &state)
{
    // The thirteen layouts, written as a writer of the format stores them,
    // with every report and page block compressed, and one layout again
    // under another name to pass 100 KB.
    const ReportProject builtin = BuiltinLayouts::create();
    test::StreamWriter w;
    w.raw(test::projectStream(builtin));
    w.byte(4).string("Etiquette12Copy").block(test::reportData(*builtin.findReport("Etiquette12")));
    const QByteArray stream = w.bytes;
    for (auto _ : state) {
        ReportProject project = ProjectFile::read(stream);
        benchmark::DoNotOptimize(project.reports().size());
    }
    state.counters["stream_bytes"] = double(stream.size());
    state.SetBytesProcessed(state.iterations() * stream.size());
}
BENCHMARK(BM_ProjectRead100KB)->Unit(benchmark::kMillisecond);

// One sheet into a PDF in memory.
class PdfSheet : public SheetSink {
public:
    explicit PdfSheet(QIODevice *device) : m_writer(device) {}

protected:
    int nextPageNumber() const override { return 1; }
    PageSurface &doBegin(const SheetSetup &setup) override
    {
        m_writer.setPageSize(QPageSize(setup.sizeMm, QPageSize::Millimeter));
        m_writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        m_painter.begin(&m_writer);
        m_surface = std::make_unique<PainterSurface>(m_painter);
        return *m_surface;
    }
    void doEnd() override
    {
        m_surface.reset();
        m_painter.end();
    }
    void doCancel() override { doEnd(); }

private:
    QPdfWriter m_writer;
    QPainter m_painter;
    std::unique_ptr<PainterSurface> m_surface;
};

void BM_ProjectSheetLayout13OnPdf(benchmark::State &state)
{
    LabelReport layouts;
    layouts.OpenLayouts();
    for (int i = 1; i <= 80; ++i) {
        layouts.SetLayoutParam(QByteArray("cb" + QByteArray::number(i)), QByteArray::number(3760000000000LL + i * 7919LL));
        layouts.SetLayoutParam(QByteArray("cbliba" + QByteArray::number(i)), "Article " + QByteArray::number(i) + " - a label text");
    }
    for (auto _ : state) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        PdfSheet sheet(&out);
        layouts.RunLabelReport("Etiquette13", sheet);
        benchmark::DoNotOptimize(out.data().size());
    }
}
BENCHMARK(BM_ProjectSheetLayout13OnPdf)->Unit(benchmark::kMillisecond);

} // namespace
