// The sheet options end to end: etibarix-cli prints into a PDF, the pages are
// rendered at 300 dpi and every slot is cut out at its computed place and
// decoded. Start label, printer offsets, the test sheet, a custom format on a
// custom page, and shrink to fit.

#include "base/DataDir.h"
#include "labels/formats/CustomFormats.h"
#include "labels/formats/SheetFormat.h"
#include "labels/print/Calibration.h"
#include "labels/print/SheetDrawing.h"
#include "labels/printer/PrintPipeline.h"
#include "tests/support/PdfScan.h"
#include "tests/support/ShelfFormat.h"
#include "tests/support/TestSupport.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace etibarix;
using namespace etibarix::labels;
using namespace etibarix::test;

namespace {

constexpr int Dpi = 300;

// Where the shipped layouts put their barcodes (bars' left edge by column,
// bar top by row), as the layout tests check them.
struct LayoutPlaces {
    int entry;
    std::vector<double> lefts;
    std::vector<double> tops;
    double barHeight;
    int perPage() const { return int(lefts.size() * tops.size()); }
    QRectF bars(int slot) const   // slot 1-based
    {
        const int i = slot - 1;
        return QRectF(lefts[i % lefts.size()], tops[i / lefts.size()], 42, barHeight);
    }
};

const LayoutPlaces Layout8{8, {9.76, 75, 145}, {9.83, 70, 130.16, 189.73, 250.05}, 6.35};
const LayoutPlaces Layout13{13, {12, 64, 116, 168},
                            {15, 28, 41, 54, 66, 79, 91, 104, 117, 130, 142, 155, 168, 180, 193, 206, 218, 231, 244, 257},
                            6.35};

// The bounding box (pixels) of the dark pixels inside a rectangle in mm.
QRect darkBox(const QImage &image, const QRectF &mm)
{
    const double f = Dpi / 25.4;
    const QRect r = QRectF(mm.x() * f, mm.y() * f, mm.width() * f, mm.height() * f).toAlignedRect().intersected(image.rect());
    QRect box;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const uchar *line = image.constScanLine(y);
        for (int x = r.left(); x <= r.right(); ++x) {
            if (line[x] < 128)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

} // namespace

class SheetOptions : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    CliResult print(QStringList args)
    {
        args.prepend(QStringLiteral("print"));
        args.prepend(dir.path());
        args.prepend(QStringLiteral("--dir"));
        return runCli(args);
    }
    QString pdf(const char *name) const { return dir.file(QString::fromLatin1(name)); }

    DataDir dir;
};

TEST_F(SheetOptions, StartLabelLeavesTheFirstSlotsOfTheFirstSheetEmpty)
{
    insertRecord(dir, 1, "AB123", "Alpha", "one", 12);
    insertRecord(dir, 2, "9876543210", "Beta", "two", 8);
    const struct {
        LayoutPlaces layout;
        int start;
    } cases[] = {{Layout8, 5}, {Layout13, 75}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.layout.entry);
        const QString file = pdf("start.pdf");
        const CliResult r = print({QStringLiteral("--pdf"), file, QStringLiteral("--format"),
                                   QString::number(c.layout.entry), QStringLiteral("--start"), QString::number(c.start)});
        ASSERT_EQ(r.exitCode, 0) << r.err.constData();
        const int perPage = c.layout.perPage();
        const int onFirst = perPage - c.start + 1;
        const int sheets = 1 + (20 - onFirst + perPage - 1) / perPage;
        EXPECT_TRUE(r.out.startsWith(QByteArray(QByteArray::number(sheets) + " sheets, 20 labels\n"))) << r.out.constData();

        int label = 0;
        for (int page = 1; page <= sheets; ++page) {
            SCOPED_TRACE(page);
            const QImage image = renderPage(file, page, Dpi, dir.path());
            ASSERT_FALSE(image.isNull());
            std::vector<QRectF> filled;
            QList<QByteArray> expected;
            for (int slot = 1; slot <= perPage; ++slot) {
                const bool skipped = page == 1 && slot < c.start;
                if (skipped || label >= 20) {
                    EXPECT_EQ(darkPixels(image, c.layout.bars(slot).adjusted(-1, -0.5, 0, 3), Dpi), 0)
                        << "slot " << slot << " is not empty";
                    continue;
                }
                filled.push_back(c.layout.bars(slot));
                expected << QByteArray(label < 12 ? "AB123" : "9876543210");
                ++label;
            }
            EXPECT_EQ(decodeRegions(image, filled, Dpi, dir.path()), expected);
        }
        EXPECT_EQ(label, 20);
    }
    for (const char *start : {"0", "16", "x"}) {
        EXPECT_EQ(print({QStringLiteral("--pdf"), pdf("bad.pdf"), QStringLiteral("--format"), QStringLiteral("8"),
                         QStringLiteral("--start"), QString::fromLatin1(start)}).exitCode, 2) << start;
    }
}

TEST_F(SheetOptions, OffsetsMoveEverySymbol)
{
    insertRecord(dir, 1, "AB123", "Alpha", "one", 15);
    const QString plain = pdf("plain.pdf");
    const QString moved = pdf("moved.pdf");
    ASSERT_EQ(print({QStringLiteral("--pdf"), plain, QStringLiteral("--format"), QStringLiteral("8")}).exitCode, 0);
    const CliResult r = print({QStringLiteral("--pdf"), moved, QStringLiteral("--format"), QStringLiteral("8"),
                               QStringLiteral("--offset-x"), QStringLiteral("1.5"), QStringLiteral("--offset-y"),
                               QStringLiteral("-2.0")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QImage before = renderPage(plain, 1, Dpi, dir.path());
    const QImage after = renderPage(moved, 1, Dpi, dir.path());
    std::vector<QRectF> places;
    for (int slot = 1; slot <= 15; ++slot) {
        SCOPED_TRACE(slot);
        const QRectF bars = Layout8.bars(slot);
        places.push_back(bars.translated(1.5, -2.0));
        // The symbol's dark pixels, searched in a window around both places.
        const QRectF window = bars.adjusted(-4, -4, 4, 4);
        const QRect a = darkBox(before, window.adjusted(0, 0, 0, -6));
        const QRect b = darkBox(after, window.translated(1.5, -2.0).adjusted(0, 0, 0, -6));
        EXPECT_NEAR(b.left() - a.left(), 1.5 * Dpi / 25.4, 1.0);
        EXPECT_NEAR(b.top() - a.top(), -2.0 * Dpi / 25.4, 1.0);
    }
    EXPECT_EQ(decodeRegions(after, places, Dpi, dir.path()), QList<QByteArray>(15, "AB123"));
    for (const char *bad : {"20.1", "-21", "abc"})
        EXPECT_EQ(print({QStringLiteral("--pdf"), moved, QStringLiteral("--offset-x"), QString::fromLatin1(bad)}).exitCode, 2)
            << bad;
}

TEST_F(SheetOptions, TestSheetDrawsTheFormatsLabels)
{
    ASSERT_TRUE(writeFile(dir.file(QStringLiteral("formats.json")), CustomFormats::ToJson({ShelfFormat()})));
    for (const QString &format : {QStringLiteral("12"), QStringLiteral("Shelf 2x3")}) {
        SCOPED_TRACE(format.toStdString());
        const SheetFormat sheet = format == QStringLiteral("12") ? *BuiltinSheet(12) : ShelfFormat();
        const QString file = pdf("test.pdf");
        const CliResult r = print({QStringLiteral("--pdf"), file, QStringLiteral("--test-sheet"),
                                   QStringLiteral("--format"), format});
        ASSERT_EQ(r.exitCode, 0) << r.err.constData();
        const QImage image = renderPage(file, 1, Dpi, dir.path());
        ASSERT_FALSE(image.isNull());
        EXPECT_NEAR(image.width(), sheet.pageWidthMm * Dpi / 25.4, 1);
        for (int slot = 1; slot <= sheet.slotCount(); ++slot) {
            SCOPED_TRACE(slot);
            const QRectF r = sheet.labelRect(slot);
            const QPointF c = r.center();
            const double s = TestSheetStrokeMm;
            // Outline at every edge's middle, the cross at the centre, white
            // between them.
            EXPECT_GT(darkPixels(image, QRectF(c.x() - 0.5, r.top(), 1, s), Dpi), 0);
            EXPECT_GT(darkPixels(image, QRectF(c.x() - 0.5, r.bottom() - s, 1, s), Dpi), 0);
            EXPECT_GT(darkPixels(image, QRectF(r.left(), c.y() - 0.5, s, 1), Dpi), 0);
            EXPECT_GT(darkPixels(image, QRectF(r.right() - s, c.y() - 0.5, s, 1), Dpi), 0);
            EXPECT_GT(darkPixels(image, QRectF(c.x() - 0.1, c.y() - 0.1, 0.2, 0.2), Dpi), 0);
            EXPECT_EQ(darkPixels(image, QRectF(r.right() - 2.5, c.y() + 1.5, 1.5, 1), Dpi), 0);
        }
        // The rulers' numbers.
        const QString text = pdfText(file);
        EXPECT_TRUE(text.contains(QStringLiteral("100"))) << text.toStdString();
    }
}

TEST_F(SheetOptions, CustomFormatPrintsEverySlotAtItsPlace)
{
    ASSERT_TRUE(writeFile(dir.file(QStringLiteral("formats.json")), CustomFormats::ToJson({ShelfFormat()})));
    insertRecord(dir, 1, "SHELF-01", "Top", "shelf", 4);
    insertRecord(dir, 2, "20240611", "Low", "drawer", 4);
    CliResult r = runCli({QStringLiteral("--dir"), dir.path(), QStringLiteral("formats")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_TRUE(r.out.endsWith("13\tcustom\tShelf 2x3\n")) << r.out.constData();

    const QString file = pdf("custom.pdf");
    r = print({QStringLiteral("--pdf"), file, QStringLiteral("--format"), QStringLiteral("shelf 2X3")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_TRUE(r.out.startsWith("2 sheets, 8 labels\n")) << r.out.constData();
    const SheetFormat f = ShelfFormat();
    int label = 0;
    for (int page = 1; page <= 2; ++page) {
        const QImage image = renderPage(file, page, Dpi, dir.path());
        ASSERT_FALSE(image.isNull());
        EXPECT_NEAR(image.height(), 120 * Dpi / 25.4, 1);
        std::vector<QRectF> places;
        QList<QByteArray> expected;
        for (int slot = 1; slot <= 6 && label < 8; ++slot, ++label) {
            const QByteArray cb = label < 4 ? "SHELF-01" : "20240611";
            const SymbolFit fit = FitCustomSymbol(f, slot, cb, false);
            const QRectF bars(fit.left, f.labelRect(slot).top() + LabelTopMarginMm, fit.width, f.barHeightMm);
            places.push_back(bars);
            expected << cb;
            // Nothing dark left or right of the symbol inside its bar band.
            EXPECT_EQ(darkPixels(image, QRectF(bars.left() - 2, bars.top() + 1, 1.8, 8), Dpi), 0);
            EXPECT_EQ(darkPixels(image, QRectF(bars.right() + 0.2, bars.top() + 1, 1.8, 8), Dpi), 0);
        }
        EXPECT_EQ(decodeRegions(image, places, Dpi, dir.path()), expected);
    }
    const QString text = pdfText(file);
    EXPECT_EQ(text.count(QStringLiteral("drawer")), 4);
    EXPECT_EQ(text.count(QStringLiteral("SHELF-01")), 4);

    EXPECT_EQ(print({QStringLiteral("--pdf"), file, QStringLiteral("--format"), QStringLiteral("Nope")}).exitCode, 2);
}

TEST_F(SheetOptions, FitShrinksWhatCanFitAndLeavesTheRest)
{
    // 24 digits: 12 values, 167 modules, 42.4 mm at 0.254 mm on 38.1 mm labels.
    insertRecord(dir, 1, "123456789012345678901234", "Wide", "x", 3);
    const QString file = pdf("fit.pdf");
    CliResult r = print({QStringLiteral("--pdf"), file, QStringLiteral("--format"), QStringLiteral("12"),
                         QStringLiteral("--fit")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const SheetFormat sheet = *BuiltinSheet(12);
    // 400 dpi: 3.6 pixels a module (a whole A4 page at 600 dpi is more than
    // the image reader takes).
    constexpr int fine = 400;
    const QImage image = renderPage(file, 1, fine, dir.path());
    std::vector<QRectF> places;
    for (int slot = 1; slot <= 3; ++slot) {
        const QRectF label = sheet.labelRect(slot);
        places.push_back(QRectF(label.left(), 12, label.width(), 6.35));
        // The bars end inside their label.
        EXPECT_EQ(darkPixels(image, QRectF(label.right() + 0.05, 12.5, 2.3, 5), fine), 0) << slot;
    }
    EXPECT_EQ(decodeRegions(image, places, fine, dir.path()), QList<QByteArray>(3, "123456789012345678901234"));

    // 50 characters would need 0.065 mm modules on these labels: below the
    // floor, so that symbol keeps the layout's module and runs on across the
    // page, while the others still fit.
    const QByteArray fifty = QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXY").repeated(2);
    insertRecord(dir, 2, fifty, "Too", "wide", 1);
    r = print({QStringLiteral("--pdf"), file, QStringLiteral("--format"), QStringLiteral("12"), QStringLiteral("--fit")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QImage both = renderPage(file, 1, Dpi, dir.path());
    EXPECT_EQ(darkPixels(both, QRectF(sheet.labelRect(3).right() + 0.05, 12.5, 2.3, 5), Dpi), 0);
    EXPECT_GT(darkPixels(both, QRectF(190, 12.5, 15, 5), Dpi), 0);
}

TEST_F(SheetOptions, BarcodesThatWillNotPrintAsHeldAreWarnedAboutAndPrinted)
{
    ASSERT_TRUE(writeFile(dir.file(QStringLiteral("formats.json")), CustomFormats::ToJson({ShelfFormat()})));
    const QByteArray fifty = QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXY").repeated(2);   // 148.6 mm
    insertRecord(dir, 1, "CAF\xC9-123", "Accent", "x", 1);
    insertRecord(dir, 2, fifty, "Fifty", "x", 1);
    insertRecord(dir, 3, "AB123", "Clean", "x", 63);
    insertRecord(dir, 4, "123456789012345678901234", "Digits", "x", 1);   // 42.4 mm
    const QByteArray lost = "warning: record 1: barcode \"CAF\xC3\x89-123\" loses \"\xC3\x89\" in Code 128\n";
    const QByteArray wide = "warning: record 2: barcode " + fifty + " is 148.6 mm wide, the label ";
    const struct {
        QStringList options;
        QByteArray err;
        int sheets;
    } cases[] = {
        {{QStringLiteral("12")}, lost + wide + "38.1 mm\n"
             "warning: record 4: barcode 123456789012345678901234 is 42.4 mm wide, the label 38.1 mm\n", 2},
        // Shrinking leaves only what cannot fit even so.
        {{QStringLiteral("12"), QStringLiteral("--fit")}, lost + wide + "38.1 mm\n", 2},
        {{QStringLiteral("Shelf 2x3")}, lost + wide + "68.0 mm\n", 11},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.options.join(u' ').toStdString());
        const QString file = pdf("warned.pdf");
        const CliResult r = print(QStringList{QStringLiteral("--pdf"), file, QStringLiteral("--format")} + c.options);
        ASSERT_EQ(r.exitCode, 0) << r.err.constData();
        EXPECT_EQ(r.err, c.err);
        EXPECT_TRUE(r.out.startsWith(QByteArray(QByteArray::number(c.sheets) + " sheets, 66 labels\n"))) << r.out.constData();
        EXPECT_EQ(pdfText(file).count(u'\f'), c.sheets);
        const QImage last = renderPage(file, c.sheets, Dpi, dir.path());
        EXPECT_TRUE(decodePage(last, dir.path()).contains("123456789012345678901234"));
    }
}

TEST_F(SheetOptions, DamagedFormatsFileIsReportedAndKept)
{
    const QByteArray damaged = "{\"formats\":[{\"name\":\"Half\"}]}";
    const QString path = dir.file(QStringLiteral("formats.json"));
    ASSERT_TRUE(writeFile(path, damaged));
    insertRecord(dir, 1, "AB123", "Alpha", "one", 1);
    CliResult r = runCli({QStringLiteral("--dir"), dir.path(), QStringLiteral("formats"), QStringLiteral("--lang"),
                          QStringLiteral("2")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.count('\n'), 13);
    EXPECT_TRUE(r.err.contains("formats.json") && r.err.contains("lacks the field")) << r.err.constData();
    r = print({QStringLiteral("--pdf"), pdf("b.pdf"), QStringLiteral("--format"), QStringLiteral("5")});
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    r = print({QStringLiteral("--pdf"), pdf("h.pdf"), QStringLiteral("--format"), QStringLiteral("Half")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("formats.json")) << r.err.constData();
    EXPECT_EQ(readFile(path), damaged);
}

TEST(PrintOffsets, PrintersTakeTheirCalibrationFilesOnlyWhatIsAsked)
{
    DataDir dir;
    base::setDataDirOverride(dir.path());
    Calibration().setOffset(QStringLiteral("Office"), {1.5, -2.0});
    PrintJobSettings settings;
    using Kind = PrintDestination::Kind;
    EXPECT_EQ(PrintPipeline::OffsetFor(settings, Kind::Printer, QStringLiteral("Office")), QPointF(1.5, -2.0));
    EXPECT_EQ(PrintPipeline::OffsetFor(settings, Kind::Printer, QStringLiteral("Other")), QPointF());
    EXPECT_EQ(PrintPipeline::OffsetFor(settings, Kind::PdfFile, QStringLiteral("Office")), QPointF());
    EXPECT_EQ(PrintPipeline::OffsetFor(settings, Kind::Pages, QStringLiteral("Office")), QPointF());
    settings.offsetMm = QPointF(-0.5, 3);
    EXPECT_EQ(PrintPipeline::OffsetFor(settings, Kind::Printer, QStringLiteral("Office")), QPointF(-0.5, 3));
    EXPECT_EQ(PrintPipeline::OffsetFor(settings, Kind::PdfFile, QString()), QPointF(-0.5, 3));
    base::setDataDirOverride({});
}
