// The PDF target: one page per sheet with the sheet's own paper size, the
// status hook, and files that are only replaced by a complete job.

#include "base/Error.h"
#include "labels/print/PageSurface.h"
#include "labels/print/PdfSink.h"
#include "labels/printer/PrinterList.h"
#include "labels/printer/PrinterSink.h"
#include "tests/support/CupsQueue.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace etibarix;

namespace {
// A layout page of Windows paper code 9 (A4), and a custom page of 8.5 x 11 in.
labels::SheetSetup sheet(int paperSize, QSizeF sizeMm)
{
    labels::SheetSetup setup;
    setup.paperSize = paperSize;
    setup.sizeMm = sizeMm;
    return setup;
}
const labels::SheetSetup A4 = sheet(9, QSizeF(210, 297));
const labels::SheetSetup Letter = sheet(-1, QSizeF(215.9, 279.4));

// "Page N size: W x H pts" lines of pdfinfo, as "WxH".
QStringList pageSizes(const QString &pdf)
{
    const auto r = test::runTool(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"),
                                                             QStringLiteral("-l"), QStringLiteral("99"), pdf});
    QStringList sizes;
    static const QRegularExpression re(QStringLiteral("Page +\\d+ size: +([\\d.]+) x ([\\d.]+) pts"));
    for (auto it = re.globalMatch(QString::fromUtf8(r.out)); it.hasNext();) {
        const auto m = it.next();
        sizes << QStringLiteral("%1x%2").arg(qRound(m.captured(1).toDouble())).arg(qRound(m.captured(2).toDouble()));
    }
    return sizes;
}
} // namespace

TEST(PdfSink, EverySheetIsOnePageOfItsOwnSize)
{
    test::DataDir dir;
    const QString path = dir.file(QStringLiteral("out.pdf"));
    labels::PdfSink sink(path);
    QList<int> pages;
    int ended = 0;
    sink.setStatus({[&](int page) { pages << page; return true; }, [&] { ++ended; }});
    for (const labels::SheetSetup &size : {A4, Letter, A4}) {
        labels::PageSurface *surface = sink.beginSheet(size);
        ASSERT_NE(surface, nullptr);
        // The origin is the paper's corner: a square at 10 mm, 10 mm.
        surface->fillRect(QRectF(10, 10, 5, 5));
        sink.endSheet();
    }
    EXPECT_FALSE(QFile::exists(path)) << "written before the job ends";
    EXPECT_TRUE(sink.finish());
    EXPECT_EQ(pages, (QList<int>{1, 2, 3}));
    EXPECT_EQ(ended, 3);
    EXPECT_EQ(pageSizes(path), (QStringList{u"595x842"_qs, u"612x792"_qs, u"595x842"_qs}));
}

TEST(PdfSink, CancelledSheetIsNotPrintedAndNoSheetsWriteNothing)
{
    test::DataDir dir;
    const QString path = dir.file(QStringLiteral("old.pdf"));
    ASSERT_TRUE(test::writeFile(path, "old"));
    {
        labels::PdfSink sink(path);
        sink.setStatus({[](int) { return false; }, {}});
        EXPECT_EQ(sink.beginSheet(A4), nullptr);
        EXPECT_FALSE(sink.finish());
        EXPECT_EQ(sink.sheetsDone(), 0);
    }
    EXPECT_EQ(test::readFile(path), "old");
    {
        // A job that fails half-way leaves the old file as it was.
        labels::PdfSink sink(path);
        ASSERT_NE(sink.beginSheet(A4), nullptr);
        sink.endSheet();
        ASSERT_NE(sink.beginSheet(A4), nullptr);
        sink.cancel();
        EXPECT_THROW(sink.finish(), base::Error);
    }
    EXPECT_EQ(test::readFile(path), "old");
}

TEST(PdfSink, UnwritableFolderIsAnError)
{
    labels::PdfSink sink(QStringLiteral("/nonexistent-folder/x/out.pdf"));
    EXPECT_THROW(sink.beginSheet(A4), base::Error);
}

TEST(PrinterSink, NameResolution)
{
    // A queue of the test's own, so that there is at least one installed printer.
    test::DataDir dir;
    test::CupsQueue queue(QStringLiteral("EtibarixResolve"), dir.path());
    if (!queue.skipReason().isEmpty())
        GTEST_SKIP() << queue.skipReason().toStdString();
    const auto list = labels::FillPrinterList();
    ASSERT_TRUE(list.names.contains(queue.name()));
    ASSERT_FALSE(list.defaultName.isEmpty());
    EXPECT_TRUE(list.names.contains(list.defaultName));
    // Unknown and empty names go to the default printer; an installed one is kept.
    EXPECT_EQ(labels::PrinterSink::resolvePrinter(QStringLiteral("no such printer \x01")), list.defaultName);
    EXPECT_EQ(labels::PrinterSink::resolvePrinter({}), list.defaultName);
    EXPECT_EQ(labels::PrinterSink::resolvePrinter(queue.name()), queue.name());
}

TEST(SheetStatus, PageNumberInTheText)
{
    EXPECT_EQ(labels::reportStatusText(3), QStringLiteral("Printing page 3"));
    EXPECT_EQ(labels::reportStatusText(12), QStringLiteral("Printing page 12"));
}
