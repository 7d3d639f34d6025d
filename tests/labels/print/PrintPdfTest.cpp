// What users get: a known table printed through etibarix-cli into a PDF,
// every page rendered at 300 dpi, every slot's barcode cut out at its place in
// the layout and decoded, the empty slots of the last sheet checked blank, and
// the text lines read back from the PDF.

#include "tests/support/TestSupport.h"
#include "tests/support/PdfScan.h"

#include <QImage>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace etibarix;
using namespace etibarix::test;

namespace {

struct Geometry {
    int entry;
    int columns;
    std::vector<double> lefts;   // barcode left edge by column, mm
    std::vector<double> tops;    // bar top by row, mm
    double barHeight;
    bool twoLines;
    bool readable;
};

// Barcode places of the layouts as they ship.
const Geometry Layouts[] = {
    {1, 3, {16, 76, 135}, {5, 55, 105.35, 155.7}, 16.764, true, true},
    {8, 3, {9.76, 75, 145}, {9.83, 70, 130.16, 189.73, 250.05}, 6.35, true, true},
    {9, 4, {9.67, 59.67, 109.67, 160.67}, {16.52, 42, 68.24, 92, 117, 142, 167, 192, 217, 242, 267}, 6.35, false, true},
    {13, 4, {12, 64, 116, 168},
     {15, 28, 41, 54, 66, 79, 91, 104, 117, 130, 142, 155, 168, 180, 193, 206, 218, 231, 244, 257}, 6.35, false, false},
};

// The expected labels in print order: quantity 0 and the blank barcode print nothing.
QList<QByteArray> expectedLabels()
{
    QList<QByteArray> labels;
    for (int i = 0; i < 5; ++i)
        labels << "AB123";
    for (int i = 0; i < 40; ++i)
        labels << "9876543210";
    for (int i = 0; i < 40; ++i)
        labels << "X-Y_7";
    return labels;
}

int occurrences(const QString &text, const QString &word)
{
    return int(text.count(word));
}

} // namespace

class PrintPdf : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        insertRecord(dir, 1, "AB123", "Alpha", "Lower", 5);
        insertRecord(dir, 2, "ZERO1", "Zero", "zero", 0);
        insertRecord(dir, 3, "", "Blank", "blank", 3);
        insertRecord(dir, 4, "9876543210", "Beta", "second", 40);
        insertRecord(dir, 5, "X-Y_7", "Gamma", "third", 40);
    }
    DataDir dir;
};

TEST_F(PrintPdf, EverySlotCarriesItsLabelInOrder)
{
    const QList<QByteArray> labels = expectedLabels();
    for (const Geometry &g : Layouts) {
        SCOPED_TRACE(g.entry);
        const int perPage = g.columns * int(g.tops.size());
        const QString pdf = dir.file(QStringLiteral("layout%1.pdf").arg(g.entry));
        const CliResult r = runCli({QStringLiteral("--dir"), dir.path(), QStringLiteral("print"), QStringLiteral("--pdf"),
                                    pdf, QStringLiteral("--format"), QString::number(g.entry)});
        ASSERT_EQ(r.exitCode, 0) << r.err.constData();
        const int sheets = (int(labels.size()) + perPage - 1) / perPage;
        EXPECT_TRUE(r.out.startsWith(QByteArray(QByteArray::number(sheets) + " sheets, 85 labels\n"))) << r.out.constData();

        for (int page = 0; page < sheets; ++page) {
            SCOPED_TRACE(page + 1);
            const QImage image = renderPage(pdf, page + 1, 300, dir.path());
            ASSERT_FALSE(image.isNull());
            std::vector<QRectF> filled;
            QList<QByteArray> expected;
            for (int slot = 0; slot < perPage; ++slot) {
                const int label = page * perPage + slot;
                const QRectF bars(g.lefts[slot % g.columns], g.tops[slot / g.columns], 42, g.barHeight);
                if (label < labels.size()) {
                    filled.push_back(bars);
                    expected << labels[label];
                } else {
                    EXPECT_EQ(darkPixels(image, bars.adjusted(-1, -0.5, 0, 0.5), 300), 0)
                        << "empty slot " << slot + 1 << " is not blank";
                }
            }
            EXPECT_EQ(decodeRegions(image, filled, 300, dir.path()), expected);
        }

        const QString text = pdfText(pdf);
        EXPECT_EQ(occurrences(text, QStringLiteral("Alpha")), 5);
        EXPECT_EQ(occurrences(text, QStringLiteral("Gamma")), 40);
        EXPECT_EQ(occurrences(text, QStringLiteral("Lower")), g.twoLines ? 5 : 0);
        EXPECT_EQ(occurrences(text, QStringLiteral("AB123")), g.readable ? 5 : 0);
        for (const char *absent : {"ZERO1", "Zero", "zero", "Blank", "blank"})
            EXPECT_EQ(occurrences(text, QString::fromLatin1(absent)), 0) << absent;
    }
}

TEST_F(PrintPdf, TextFlagsAndMatchingRecords)
{
    const QString pdf = dir.file(QStringLiteral("flags.pdf"));
    CliResult r = runCli({QStringLiteral("--dir"), dir.path(), QStringLiteral("print"), QStringLiteral("--pdf"), pdf,
                          QStringLiteral("--no-text1"), QStringLiteral("--codeset"), QStringLiteral("C")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    // The default format is the first of the sorted list: 15 labels a sheet.
    EXPECT_TRUE(r.out.startsWith("6 sheets, 85 labels\n")) << r.out.constData();
    const QString text = pdfText(pdf);
    EXPECT_EQ(occurrences(text, QStringLiteral("Alpha")), 0);
    EXPECT_EQ(occurrences(text, QStringLiteral("Lower")), 5);
    // Code C chosen: the barcodes still read (the symbols do not depend on it).
    const QImage image = renderPage(pdf, 1, 300, dir.path());
    EXPECT_EQ(decodeRegions(image, {QRectF(9.76, 9.83, 42, 6.35)}, 300, dir.path()), QList<QByteArray>{"AB123"});

    r = runCli({QStringLiteral("--dir"), dir.path(), QStringLiteral("print"), QStringLiteral("--pdf"), pdf,
                QStringLiteral("--matching"), QStringLiteral("--cb"), QStringLiteral("X"), QStringLiteral("--format"),
                QStringLiteral("1")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_TRUE(r.out.startsWith("4 sheets, 40 labels\n")) << r.out.constData();

    // Sorted by quantity, descending, then barcode: 9876543210 before X-Y_7.
    r = runCli({QStringLiteral("--dir"), dir.path(), QStringLiteral("print"), QStringLiteral("--pdf"), pdf,
                QStringLiteral("--matching"), QStringLiteral("--sort"), QStringLiteral("quantite"), QStringLiteral("--desc"),
                QStringLiteral("--format"), QStringLiteral("13")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QImage first = renderPage(pdf, 1, 300, dir.path());
    // Slot 1 and slot 41 (row 11, column 1) of the first sheet.
    EXPECT_EQ(decodeRegions(first, {QRectF(12, 15, 42, 6.35), QRectF(12, 142, 42, 6.35)}, 300, dir.path()),
              (QList<QByteArray>{"9876543210", "X-Y_7"}));
}

TEST_F(PrintPdf, NothingToPrintWritesNoFile)
{
    const QString pdf = dir.file(QStringLiteral("none.pdf"));
    const CliResult r = runCli({QStringLiteral("--dir"), dir.path(), QStringLiteral("print"), QStringLiteral("--pdf"),
                                pdf, QStringLiteral("--matching"), QStringLiteral("--cb"), QStringLiteral("NOPE")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_TRUE(r.out.startsWith("0 sheets, 0 labels\n")) << r.out.constData();
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(PrintPdf, UsageAndStatementErrors)
{
    const auto run = [&](QStringList args) {
        args.prepend(QStringLiteral("print"));
        args.prepend(dir.path());
        args.prepend(QStringLiteral("--dir"));
        return runCli(args);
    };
    const QString pdf = dir.file(QStringLiteral("x.pdf"));
    EXPECT_EQ(run({}).exitCode, 2);
    EXPECT_EQ(run({QStringLiteral("--pdf"), pdf, QStringLiteral("--printer"), QStringLiteral("p")}).exitCode, 2);
    EXPECT_EQ(run({QStringLiteral("--pdf"), pdf, QStringLiteral("--format"), QStringLiteral("14")}).exitCode, 2);
    EXPECT_EQ(run({QStringLiteral("--pdf"), pdf, QStringLiteral("--codeset"), QStringLiteral("D")}).exitCode, 2);
    EXPECT_EQ(run({QStringLiteral("--pdf"), pdf, QStringLiteral("--cb"), QStringLiteral("A")}).exitCode, 2);
    EXPECT_EQ(run({QStringLiteral("--pdf"), pdf, QStringLiteral("--matching"), QStringLiteral("--sort"),
                   QStringLiteral("price")}).exitCode, 2);
    // A double quote typed into a criterion is refused before any statement: nothing written.
    const CliResult r = run({QStringLiteral("--pdf"), pdf, QStringLiteral("--matching"), QStringLiteral("--cb"),
                             QStringLiteral("A\"B")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_FALSE(r.err.contains("syntax error")) << r.err.constData();
    EXPECT_FALSE(QFile::exists(pdf));
}
