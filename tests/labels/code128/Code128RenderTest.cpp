// Drawing of the Code 128 component through PainterSurface: exact bar
// positions on an image, rotations, the readable line, the fonts, and a PDF
// whose symbols a real barcode reader must decode back to their texts.

#include "labels/code128/Code128BarCode.h"
#include "labels/code128/Code128Patterns.h"
#include "labels/print/PainterSurface.h"
#include "tests/support/PdfScan.h"
#include "tests/support/TestSupport.h"

#include <QFontInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <gtest/gtest.h>

#include <algorithm>

using namespace etibarix;
using namespace etibarix::labels;

namespace {

constexpr int kDpi = 300;                      // 0.254 mm = 3 px
constexpr double kPx = 25.4 / kDpi;            // mm per pixel
constexpr int kModulePx = 3;

QImage blankPage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int dotsPerMeter = qRound(kDpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

bool dark(const QImage &image, int x, int y)
{
    return image.valid(x, y) && qGray(image.pixel(x, y)) < 128;
}

// Walks from `from` in steps of `step` to the image's border and returns the
// position (index along the walk) of the first dark pixel and the lengths of
// the alternating dark/light runs up to the last dark pixel.
struct Runs {
    int first = -1;
    std::vector<int> lengths;
};

Runs runsAlong(const QImage &image, QPoint from, QPoint step)
{
    Runs r;
    std::vector<bool> line;
    for (QPoint p = from; image.valid(p); p += step)
        line.push_back(dark(image, p.x(), p.y()));
    const auto first = std::find(line.begin(), line.end(), true);
    if (first == line.end())
        return r;
    const auto last = std::find(line.rbegin(), line.rend(), true).base();
    r.first = static_cast<int>(first - line.begin());
    bool current = true;
    int length = 0;
    for (auto it = first; it != last; ++it) {
        if (*it != current) {
            r.lengths.push_back(length);
            current = *it;
            length = 0;
        }
        ++length;
    }
    r.lengths.push_back(length);
    return r;
}

// Element widths in pixels of the whole symbol of an encoding.
std::vector<int> expectedRuns(const Code128Encoding &e)
{
    std::vector<int> widths;
    const auto add = [&](int value) {
        for (const char d : Code128Patterns::pattern(value))
            widths.push_back((d - '0') * kModulePx);
    };
    add(startValue(e.startSet));
    for (const auto v : e.values)
        add(v);
    add(e.checkValue);
    add(kStop);
    return widths;
}

QRect inkBox(const QImage &image, const QRect &area);

Code128BarCode barcode(double left, double top, const QByteArray &text)
{
    Code128BarCode b;
    b.Left = left;
    b.Top = top;
    b.BarTop = top;
    b.BarHeight = 30 * kPx;
    b.Height = b.BarHeight;
    b.Text = text;
    return b;
}

TEST(Code128Render, UprightBarsSitOnTheirModules)
{
    QImage image = blankPage(600, 120);
    Code128BarCode b = barcode(30 * kPx, 30 * kPx, "Hello World");
    b.PrintReadable = false;
    Code128Encoding e;
    {
        QPainter painter(&image);
        PainterSurface surface(painter);
        e = b.Print(surface, {});
    }
    const Runs runs = runsAlong(image, {0, 45}, {1, 0});
    EXPECT_EQ(runs.first, 30);
    EXPECT_EQ(runs.lengths, expectedRuns(e));
    EXPECT_NEAR(b.Width, e.modules() * 0.254, 1e-9);   // AutoSize

    // Bars span exactly the bar height, nothing else is drawn.
    const Runs column = runsAlong(image, {30, 0}, {0, 1});
    EXPECT_EQ(column.first, 30);
    EXPECT_EQ(column.lengths, std::vector<int>{30});
    for (int x = 0; x < image.width(); ++x) {
        ASSERT_FALSE(dark(image, x, 29)) << x;
        ASSERT_FALSE(dark(image, x, 60)) << x;
    }
}

TEST(Code128Render, EmptyTextStillDrawsStartCheckAndStop)
{
    for (const QByteArray &text : {QByteArray(), QByteArray("\xE9\xE8\x80")}) {
        QImage image = blankPage(200, 80);
        Code128BarCode b = barcode(30 * kPx, 30 * kPx, text);
        QPainter painter(&image);
        PainterSurface surface(painter);
        const Code128Encoding e = b.Print(surface, {});
        painter.end();
        EXPECT_EQ(e.startSet, CodeSet::A);
        EXPECT_EQ(e.checkValue, 0);
        const Runs runs = runsAlong(image, {0, 45}, {1, 0});
        EXPECT_EQ(runs.first, 30);
        EXPECT_EQ(runs.lengths, expectedRuns(e));
        EXPECT_EQ(runs.lengths.size(), 6u + 6u + 7u);   // start, check, stop
        EXPECT_TRUE(inkBox(image, QRect(0, 60, 200, 20)).isEmpty());   // no readable line
    }
}

TEST(Code128Render, OffGridLeftKeepsEveryModuleWidth)
{
    QImage image = blankPage(600, 80);
    Code128BarCode b = barcode(9.76, 30 * kPx, "AB1234567");   // 115.27 px
    b.PrintReadable = false;
    QPainter painter(&image);
    PainterSurface surface(painter);
    const Code128Encoding e = b.Print(surface, {});
    painter.end();
    const Runs runs = runsAlong(image, {0, 45}, {1, 0});
    EXPECT_EQ(runs.first, 115);
    EXPECT_EQ(runs.lengths, expectedRuns(e));
}

TEST(Code128Render, BarCodeJustifyPlacesTheSymbolAgainstLeft)
{
    struct Row {
        PrintJustify justify;
        int firstPx;    // 30 mm = 354.33 px; ABC is 68 modules = 204 px
    } rows[] = {{PrintJustify::pjLeft, 354}, {PrintJustify::pjBlock, 354},
                {PrintJustify::pjCenter, 252}, {PrintJustify::pjRight, 150}};
    for (const Row &row : rows) {
        QImage image = blankPage(700, 80);
        Code128BarCode b = barcode(30, 30 * kPx, "ABC");
        b.PrintReadable = false;
        b.BarCodeJustify = row.justify;
        QPainter painter(&image);
        PainterSurface surface(painter);
        b.Print(surface, {});
        painter.end();
        const Runs runs = runsAlong(image, {0, 45}, {1, 0});
        EXPECT_EQ(runs.first, row.firstPx) << int(row.justify);
    }
}

TEST(Code128Render, RotationsTurnAboutTheBox)
{
    // Box: left 30 px, top 300 px, 204 x 30 px; centre (132, 315).
    struct Row {
        BarRotation rotation;
        QPoint from;
        QPoint step;
        int first;          // first dark pixel along the walk
        QRect textBand;     // where the readable line must land
    } rows[] = {
        {BarRotation::Rot90, {132, 499}, {0, -1}, 499 - 416, QRect(148, 213, 40, 204)},
        {BarRotation::Rot180, {399, 315}, {-1, 0}, 399 - 233, QRect(30, 260, 204, 40)},
        {BarRotation::Rot270, {132, 0}, {0, 1}, 213, QRect(76, 213, 40, 204)},
    };
    for (const Row &row : rows) {
        QImage image = blankPage(400, 500);
        Code128BarCode b = barcode(30 * kPx, 300 * kPx, "ABC");
        b.BarCodeRotation = row.rotation;
        QPainter painter(&image);
        PainterSurface surface(painter);
        const Code128Encoding e = b.Print(surface, {});
        painter.end();
        const Runs runs = runsAlong(image, row.from, row.step);
        EXPECT_EQ(runs.first, row.first) << int(row.rotation);
        EXPECT_EQ(runs.lengths, expectedRuns(e)) << int(row.rotation);
        int ink = 0;
        for (int y = row.textBand.top(); y <= row.textBand.bottom(); ++y)
            for (int x = row.textBand.left(); x <= row.textBand.right(); ++x)
                ink += dark(image, x, y) ? 1 : 0;
        EXPECT_GT(ink, 20) << "readable line missing beside the bars, rotation " << int(row.rotation);
    }
}

// Bounding box of the dark pixels inside `area`.
QRect inkBox(const QImage &image, const QRect &area)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (dark(image, x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}

TEST(Code128Render, ReadableLineBelowOrAboveTheBars)
{
    const PageFont font;   // Arial 8
    for (const bool top : {false, true}) {
        for (const PrintJustify justify : {PrintJustify::pjLeft, PrintJustify::pjCenter, PrintJustify::pjRight}) {
            QImage image = blankPage(600, 200);
            Code128BarCode b = barcode(30 * kPx, 30 * kPx, "ABC123abc");
            b.PrintTop = top;
            b.TextJustify = justify;
            QPainter painter(&image);
            PainterSurface surface(painter);
            const Code128Encoding e = b.Print(surface, {});
            const TextExtent extent = surface.measureText(QStringLiteral("ABC123abc"), font);
            painter.end();
            const int lineHeight = qRound(extent.height / kPx);
            const int symbolLeft = 30;
            const int symbolRight = 30 + e.modules() * kModulePx;
            const int barTop = top ? 30 + lineHeight : 30;
            // The bars, lowered by one line when the text is on top; walk
            // towards them from the side without text.
            if (top)
                EXPECT_EQ(runsAlong(image, {31, 199}, {0, -1}).first, 199 - (barTop + 29));
            else
                EXPECT_EQ(runsAlong(image, {31, 0}, {0, 1}).first, barTop);
            const QRect textArea = top ? QRect(0, 25, 600, barTop - 25)
                                       : QRect(0, barTop + 30, 600, lineHeight + 2);
            const QRect ink = inkBox(image, textArea);
            ASSERT_FALSE(ink.isEmpty()) << top << int(justify);
            const int textWidth = qRound(extent.width / kPx);
            EXPECT_NEAR(ink.width(), textWidth, 4);
            if (justify == PrintJustify::pjLeft)
                EXPECT_NEAR(ink.left(), symbolLeft, 3);
            else if (justify == PrintJustify::pjRight)
                EXPECT_NEAR(ink.right() + 1, symbolRight, 3);
            else
                EXPECT_NEAR((ink.left() + ink.right() + 1) / 2.0, (symbolLeft + symbolRight) / 2.0, 3);
        }
    }
}

TEST(Code128Render, NoReadableLineWhenSwitchedOff)
{
    QImage image = blankPage(300, 120);
    Code128BarCode b = barcode(30 * kPx, 30 * kPx, "ABC");
    b.PrintReadable = false;
    QPainter painter(&image);
    PainterSurface surface(painter);
    b.Print(surface, {});
    painter.end();
    EXPECT_TRUE(inkBox(image, QRect(0, 60, 300, 60)).isEmpty());
}

TEST(Code128Render, DataFieldValueIsPrintedInsteadOfText)
{
    QImage image = blankPage(300, 80);
    Code128BarCode b = barcode(30 * kPx, 30 * kPx, "design text");
    b.DataField = "param.cb1";
    QPainter painter(&image);
    PainterSurface surface(painter);
    const Code128Encoding e = b.Print(surface, "42");
    EXPECT_EQ(b.symbol().BarcodeText(), QByteArray("42"));
    EXPECT_EQ(e.values, std::vector<std::uint8_t>{42});
}

TEST(PainterSurface, FontsResolveToMetricCompatibleFaces)
{
    for (const QString &name : {QStringLiteral("Arial"), QStringLiteral("MS Sans Serif")}) {
        PageFont font;
        font.Name = name;
        EXPECT_EQ(QFontInfo(PainterSurface::toQFont(font)).family(), QStringLiteral("Liberation Sans"))
            << name.toStdString();
    }
    // Arial 8 pt: "ABC" advances 2.056 em, the line is 0.905 + 0.212 em.
    QImage image = blankPage(10, 10);
    QPainter painter(&image);
    PainterSurface surface(painter);
    const TextExtent e = surface.measureText(QStringLiteral("ABC"), PageFont{});
    const double em = 8 * 25.4 / 72;
    EXPECT_NEAR(e.width, 2.056 * em, 0.1);
    EXPECT_NEAR(e.ascent, 0.905 * em, 0.1);
    EXPECT_NEAR(e.descent, 0.212 * em, 0.1);
    EXPECT_DOUBLE_EQ(e.height, e.ascent + e.descent);
    EXPECT_NEAR(surface.pixelSize(), kPx, 1e-12);
}

TEST(PainterSurface, KeepsThePaintersOwnTransform)
{
    // A painter already moved by 10 px (a printer margin, say) places the
    // page there; the surface leaves the painter as it found it.
    QImage image = blankPage(100, 60);
    QPainter painter(&image);
    painter.translate(10, 5);
    {
        PainterSurface surface(painter);
        surface.save();
        surface.rotate(90, QPointF(1, 1));
        surface.restore();
        surface.fillRect(QRectF(0, 0, 3 * kPx, 3 * kPx));
    }
    EXPECT_EQ(painter.worldTransform(), QTransform::fromTranslate(10, 5));
    painter.end();
    EXPECT_EQ(inkBox(image, image.rect()), QRect(10, 5, 3, 3));
}

// --- a real reader ------------------------------------------------------------

struct Sample {
    QByteArray text;
    QByteArray decoded;     // what a reader returns
    bool optimize = true;
    CodePage128 page = CodePage128::cpCodeA;
    BarRotation rotation = BarRotation::Rot0;
};

TEST(Code128Render, PdfSymbolsDecodeToTheirTexts)
{
    const Sample samples[] = {
        {"ABC", "ABC"},
        {"abc", "abc"},
        {"123456", "123456"},
        {"12345", "12345"},
        {"12A3456", "12A3456"},
        {"AB1234567", "AB1234567"},
        {"Hello World", "Hello World"},
        {"3760123456789", "3760123456789"},
        {"Mixed-Case 0042/x", "Mixed-Case 0042/x"},
        {"\xC9x\xE9", "x"},
        {"ABCD", "ABCD", false, CodePage128::cpCodeC},
        {"AB\xF7" "1234", "AB1234", false, CodePage128::cpCodeA},
        {"\xF8" "aBC", "aBC", false, CodePage128::cpCodeA},
        {"Rotated 90", "Rotated 90", true, CodePage128::cpCodeA, BarRotation::Rot90},
        {"Rotated 180", "Rotated 180", true, CodePage128::cpCodeA, BarRotation::Rot180},
    };

    test::DataDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pdf = dir.file(QStringLiteral("symbols.pdf"));
    {
        QPdfWriter writer(pdf);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(1200);
        QPainter painter(&writer);
        PainterSurface surface(painter);
        double top = 10;
        for (const Sample &s : samples) {
            Code128BarCode b = barcode(20, top, s.text);
            b.BarHeight = b.Height = 6.35;
            b.Optimize = s.optimize;
            b.CodePage = s.page;
            b.BarCodeRotation = s.rotation;
            if (s.rotation == BarRotation::Rot90) {
                b.Left = 150;
                b.Top = b.BarTop = 60;
            } else {
                top += 15;
            }
            b.Print(surface, {});
        }
    }
    const QImage page = test::renderPage(pdf, 1, 300, dir.path());
    ASSERT_FALSE(page.isNull());
    QList<QByteArray> decoded = test::decodePage(page, dir.path());
    QList<QByteArray> expected;
    for (const Sample &s : samples)
        expected.append(s.decoded);
    std::sort(decoded.begin(), decoded.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(decoded, expected);
}

} // namespace

TEST(Code128Render, FitBarWidthShrinksDownToTheFloorOnly)
{
    const struct {
        int modules;
        double available;
        std::optional<double> module;
    } cases[] = {
        {68, 17.272, 0.254},          // exactly fits: unchanged
        {68, 50, 0.254},              // room to spare: never widened
        {167, 37.85, 37.85 / 167},    // 24 digits on a 38 mm label: 0.227 mm
        {200, 38, 0.19},              // right at the floor
        {310, 38.1, std::nullopt},    // 50 digits: 0.123 mm would be needed
        {0, 1, 0.254},
    };
    for (const auto &c : cases) {
        const std::optional<double> module = Code128Symbol::FitBarWidth(c.modules, 0.254, c.available);
        ASSERT_EQ(module.has_value(), c.module.has_value()) << c.modules;
        if (module) {
            EXPECT_NEAR(*module, *c.module, 1e-12) << c.modules;
        }
    }
}
