// The printer path against a real spooler: a cups-pdf queue of its own, two
// sheets printed through `etibarix-cli print --printer`, each arriving as a
// job of its own whose PDF carries the expected barcodes.

#include "tests/support/TestSupport.h"
#include "tests/support/CupsQueue.h"
#include "tests/support/PdfScan.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace etibarix;
using namespace etibarix::test;

namespace {

// Layout 8: three barcodes a row, bars 6.35 mm high.
const double Lefts[] = {9.76, 75, 145};
const double Tops[] = {9.83, 70, 130.16, 189.73, 250.05};

std::vector<QRectF> slotsOfLayout8(int count)
{
    std::vector<QRectF> rects;
    for (int i = 0; i < count; ++i)
        rects.emplace_back(Lefts[i % 3], Tops[i / 3], 42, 6.35);
    return rects;
}

QString pageSize(const QString &pdf)
{
    const CliResult r = runTool(QStringLiteral("pdfinfo"), {pdf});
    static const QRegularExpression re(QStringLiteral("Page size: +([\\d.]+) x ([\\d.]+) pts"));
    const auto m = re.match(QString::fromUtf8(r.out));
    return m.hasMatch() ? QStringLiteral("%1x%2").arg(qRound(m.captured(1).toDouble())).arg(qRound(m.captured(2).toDouble()))
                        : QString();
}

} // namespace

TEST(CupsPrint, TwoSheetsAreTwoJobsOnTheNamedQueue)
{
    DataDir dir;
    ASSERT_TRUE(dir.isValid());
    insertRecord(dir, 1, "CUPS20", "Spooled", "labels", 20);   // 15 + 5 labels on layout 8

    const QString out = dir.file(QStringLiteral("spool"));
    ASSERT_TRUE(QDir().mkpath(out));
    QFile::setPermissions(out, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                   | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther);
    const QString name = QStringLiteral("etibarix_test_%1").arg(QCoreApplication::applicationPid());
    CupsQueue queue(name, out);
    if (!queue.skipReason().isEmpty())
        GTEST_SKIP() << "no print spooler here: " << queue.skipReason().toStdString();

    CliResult r = runCli({QStringLiteral("--dir"), dir.path(), QStringLiteral("printers")});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_TRUE(QString::fromUtf8(r.out).split(u'\n').filter(QRegularExpression(u"^"_qs + name + u"(\t|$)"_qs)).size() == 1)
        << r.out.constData();

    r = runCli({QStringLiteral("--dir"), dir.path(), QStringLiteral("print"), QStringLiteral("--printer"), name,
                QStringLiteral("--format"), QStringLiteral("8")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_TRUE(r.out.startsWith("2 sheets, 20 labels\n")) << r.out.constData();

    const QStringList pdfs = queue.waitForPdfs(2, 60000);
    ASSERT_EQ(pdfs.size(), 2) << "the spooler delivered " << pdfs.size() << " of 2 jobs";
    const int counts[] = {15, 5};
    for (int k = 0; k < 2; ++k) {
        SCOPED_TRACE(pdfs[k].toStdString());
        // Each sheet is a job of one page titled as the print engine titles it.
        EXPECT_TRUE(pdfs[k].contains(QStringLiteral("ReportPrinter_Report"))) << pdfs[k].toStdString();
        EXPECT_EQ(pageSize(pdfs[k]), QStringLiteral("595x842"));
        const QImage image = renderPage(pdfs[k], 1, 300, dir.path());
        ASSERT_FALSE(image.isNull());
        const QList<QByteArray> decoded = decodeRegions(image, slotsOfLayout8(15), 300, dir.path());
        for (int i = 0; i < 15; ++i)
            EXPECT_EQ(decoded[i], i < counts[k] ? QByteArray("CUPS20") : QByteArray("<none>")) << "slot " << i + 1;
    }

    if (queue.isDefault()) {
        // A name that matches no printer goes to the default printer.
        r = runCli({QStringLiteral("--dir"), dir.path(), QStringLiteral("print"), QStringLiteral("--printer"),
                    QStringLiteral("no such printer"), QStringLiteral("--format"), QStringLiteral("13")});
        ASSERT_EQ(r.exitCode, 0) << r.err.constData();
        EXPECT_EQ(queue.waitForPdfs(3, 60000).size(), 3);
    }
}
