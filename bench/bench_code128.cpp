// Code 128 encoding speed: one run encodes 1,000,000 barcode texts of 13
// digits (filter, choice of the start set among A, B and C, check value), as
// a print job of many labels does. Target: at most 1 s per run.
// Also the barcodes of one full sheet of 80 labels drawn onto a PDF page
// (the symbols' share of the 20 ms a sheet may take).

#include "labels/code128/Code128BarCode.h"
#include "labels/code128/Code128Symbol.h"
#include "labels/print/PainterSurface.h"

#include <QBuffer>
#include <QByteArray>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <benchmark/benchmark.h>

#include <vector>

using namespace etibarix::labels;

namespace {

std::vector<QByteArray> thirteenDigitTexts(int count)
{
    std::vector<QByteArray> texts;
    texts.reserve(static_cast<std::size_t>(count));
    std::uint64_t x = 3760000000000ULL;
    for (int i = 0; i < count; ++i) {
        x = (x * 6364136223846793005ULL + 1442695040888963407ULL);
        texts.push_back(QByteArray::number((x >> 11) % 9000000000000ULL + 1000000000000ULL));
    }
    return texts;
}

void BM_Code128Encode1M13Digits(benchmark::State &state)
{
    const std::vector<QByteArray> texts = thirteenDigitTexts(1000);
    Code128Symbol symbol;
    for (auto _ : state) {
        int checksum = 0;
        for (int i = 0; i < 1000000; ++i) {
            symbol.FilterBarText(texts[static_cast<std::size_t>(i % 1000)]);
            const Code128Encoding e = symbol.EncodeSymbol();
            checksum += e.checkValue + static_cast<int>(e.values.size());
        }
        benchmark::DoNotOptimize(checksum);
    }
    state.SetItemsProcessed(state.iterations() * 1000000);
}
BENCHMARK(BM_Code128Encode1M13Digits)->Unit(benchmark::kMillisecond);

// 4 columns x 20 rows of 13-digit symbols on A4, with or without readable line.
void BM_Code128Sheet80OnPdf(benchmark::State &state)
{
    const bool readable = state.range(0) != 0;
    const std::vector<QByteArray> texts = thirteenDigitTexts(80);
    for (auto _ : state) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QPdfWriter writer(&out);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&writer);
        PainterSurface surface(painter);
        Code128BarCode barcode;
        barcode.PrintReadable = readable;
        for (int slot = 0; slot < 80; ++slot) {
            barcode.Left = 12 + 52 * (slot % 4);
            barcode.Top = barcode.BarTop = 15 + 12.7 * (slot / 4);
            barcode.Text = texts[static_cast<std::size_t>(slot)];
            barcode.Print(surface, {});
        }
        painter.end();
        benchmark::DoNotOptimize(out.data().size());
    }
}
BENCHMARK(BM_Code128Sheet80OnPdf)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
