// Printing reports: what RunLabelReport draws (on a recording surface),
// text boxes cut to their width, and a sheet of layout 8 rendered to a PDF
// whose barcodes are decoded from a 300 dpi image.

#include "labels/project/BuiltinLayouts.h"
#include "labels/project/DataText.h"
#include "labels/print/LabelReport.h"
#include "labels/print/PainterSurface.h"
#include "labels/print/PdfSink.h"
#include "tests/support/PdfScan.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <memory>

using namespace etibarix;
using namespace etibarix::labels;

namespace {

// Records what is drawn; every character is 2 mm wide, lines 4 mm high.
class RecordingSurface : public PageSurface {
public:
    struct Text {
        double x, top;
        QString text;
        PageFont font;
    };
    std::vector<QRectF> rects;
    std::vector<Text> texts;

    void fillRect(const QRectF &rect, const QColor &) override { rects.push_back(rect); }
    void drawText(double x, double top, PrintJustify, const QString &text, const PageFont &font) override
    {
        texts.push_back({x, top, text, font});
    }
    TextExtent measureText(const QString &text, const PageFont &) const override
    {
        return {2.0 * text.size(), 3, 1, 4};
    }
    void save() override {}
    void restore() override {}
    void rotate(double, QPointF) override {}
    double pixelSize() const override { return 0.01; }
};

// Keeps every sheet's set-up and drawing.
class RecordingTarget : public SheetSink {
public:
    std::vector<SheetSetup> setups;
    std::vector<std::unique_ptr<RecordingSurface>> sheets;
    int open = 0;

protected:
    int nextPageNumber() const override { return int(sheets.size()) + 1; }
    PageSurface &doBegin(const SheetSetup &setup) override
    {
        ++open;
        setups.push_back(setup);
        sheets.push_back(std::make_unique<RecordingSurface>());
        return *sheets.back();
    }
    void doEnd() override { --open; }
    void doCancel() override { --open; }
};

QByteArray slotText(int i)
{
    // Digits, letters and mixed texts, so the code sets vary across the sheet.
    switch (i % 3) {
    case 0: return "37601234567" + QByteArray::number(10 + i);
    case 1: return "LOT-" + QByteArray::number(i) + "-abc";
    default: return "Slot" + QByteArray::number(i);
    }
}

} // namespace

TEST(LabelPrint, RunLabelReportDrawsThePage)
{
    LabelReport layouts;
    RecordingTarget target;
    layouts.RunLabelReport("etiquette8", target); // not open: nothing
    EXPECT_TRUE(target.setups.empty());

    layouts.OpenLayouts();
    layouts.RunLabelReport("nosuch", target);
    EXPECT_TRUE(target.setups.empty());

    layouts.project().findReport("etiquette8")->setPrinter("Labels");
    layouts.SetLayoutParam("cb1", "ABC");
    layouts.SetLayoutParam("cbliba1", "first line");
    layouts.SetLayoutParam("cblibb15", "last line");
    layouts.RunLabelReport("ETIQUETTE8", target);
    ASSERT_EQ(target.setups.size(), 1u);
    EXPECT_EQ(target.open, 0);
    const SheetSetup &s = target.setups[0];
    EXPECT_EQ(s.printer, QByteArray("Labels"));
    EXPECT_EQ(s.paperSize, 9);
    EXPECT_NEAR(s.sizeMm.width(), 210, 1e-9);
    EXPECT_NEAR(s.sizeMm.height(), 297, 1e-9);
    EXPECT_EQ(s.orientation, QByteArray("poDefault"));

    const RecordingSurface &sheet = *target.sheets[0];
    // Slot 1 "ABC": start A, 3 values, check, stop = 3 + 9 + 3 + 4 bars;
    // the 14 empty slots still draw start, check and stop (3 + 3 + 4 bars).
    EXPECT_EQ(sheet.rects.size(), 19u + 14u * 10u);
    const auto first = std::min_element(sheet.rects.begin(), sheet.rects.end(), [](const QRectF &a, const QRectF &b) {
        return a.top() < b.top() || (a.top() == b.top() && a.left() < b.left());
    });
    EXPECT_NEAR(first->left(), 9.76, 1e-9);
    EXPECT_NEAR(first->top(), 9.83, 1e-9);
    EXPECT_NEAR(first->height(), 6.35, 1e-9);

    // Readable lines under the bars, and the two text lines that are set.
    std::vector<QString> texts;
    for (const auto &t : sheet.texts)
        texts.push_back(t.text);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), QStringLiteral("ABC")), 1);
    const auto line1 = std::find_if(sheet.texts.begin(), sheet.texts.end(),
                                    [](const auto &t) { return t.text == QStringLiteral("first line"); });
    ASSERT_NE(line1, sheet.texts.end());
    EXPECT_NEAR(line1->x, 9, 1e-9);
    EXPECT_NEAR(line1->top, 24.79, 1e-9);
    EXPECT_EQ(line1->font.Name, QStringLiteral("Arial"));
    EXPECT_EQ(line1->font.Size, 10);
    const auto line2 = std::find_if(sheet.texts.begin(), sheet.texts.end(),
                                    [](const auto &t) { return t.text == QStringLiteral("last line"); });
    ASSERT_NE(line2, sheet.texts.end());
    EXPECT_NEAR(line2->top, 270.02, 1e-9);

    // A removed barcode prints nothing at all.
    ReportPage *page = layouts.findLayoutPage("etiquette8.page1");
    for (int i = 2; i <= 15; ++i)
        page->removeComponent(QByteArray("Code128BarCode" + QByteArray::number(i)));
    layouts.RunLabelReport("etiquette8", target);
    EXPECT_EQ(target.sheets[1]->rects.size(), 19u);
}

TEST(LabelPrint, ReadableLineAndTextPlacementByLayout)
{
    LabelReport layouts;
    layouts.OpenLayouts();
    layouts.SetLayoutParam("cb1", "12345678");
    layouts.SetLayoutParam("cbliba1", "above");
    RecordingTarget target;
    layouts.RunLabelReport("Etiquette13", target);
    layouts.RunLabelReport("Etiquette9", target);
    // Layout 13: no readable line, only the text box.
    ASSERT_EQ(target.sheets[0]->texts.size(), 1u);
    EXPECT_EQ(target.sheets[0]->texts[0].text, QStringLiteral("above"));
    // Layout 9: the text line above the bars, the readable line below.
    const RecordingSurface &nine = *target.sheets[1];
    double textTop = -1, readableTop = -1;
    for (const auto &t : nine.texts) {
        if (t.text == QStringLiteral("above"))
            textTop = t.top;
        if (t.text == QStringLiteral("12345678"))
            readableTop = t.top;
    }
    EXPECT_NEAR(textTop, 11.89, 1e-9);
    EXPECT_NEAR(readableTop, 16.52 + 6.35, 1e-9);
}

TEST(LabelPrint, TextIsCutCharacterByCharacterToTheBox)
{
    DataText box;
    box.setWidth(20 / 25.4); // 20 mm: 10 characters of the recording surface
    RecordingSurface fake;
    EXPECT_EQ(box.fittedText(fake, "short"), QStringLiteral("short"));
    EXPECT_EQ(box.fittedText(fake, "exactly 10"), QStringLiteral("exactly 10"));
    EXPECT_EQ(box.fittedText(fake, "much too long for the box"), QStringLiteral("much too l"));
    EXPECT_EQ(box.fittedText(fake, ""), QString());
    EXPECT_EQ(box.fittedText(fake, "caf\xE9 cr\xE8me br\xFBl\xE9" "e"), QStringLiteral("café crème"));
    box.setTruncate(false);
    EXPECT_EQ(box.fittedText(fake, "much too long for the box"), QStringLiteral("much too long for the box"));

    // With real font metrics: the cut text fits, one more character would not.
    QImage image(800, 400, QImage::Format_RGB32);
    QPainter painter(&image);
    PainterSurface surface(painter);
    box.setTruncate(true);
    box.setWidth(30 / 25.4);
    const QByteArray value = "A label text far wider than thirty millimetres";
    const QString cut = box.fittedText(surface, value);
    ASSERT_FALSE(cut.isEmpty());
    ASSERT_LT(cut.size(), value.size());
    EXPECT_TRUE(QString::fromLatin1(value).startsWith(cut));
    const PageFont font = box.font().pageFont();
    EXPECT_LE(surface.measureText(cut, font).width, 30.0);
    EXPECT_GT(surface.measureText(QString::fromLatin1(value.left(cut.size() + 1)), font).width, 30.0);
}

TEST(LabelPrint, Layout8SheetDecodesInSlotOrder)
{
    test::DataDir dir;
    const QString pdf = dir.file(QStringLiteral("sheet.pdf"));
    LabelReport layouts;
    layouts.OpenLayouts();
    for (int i = 1; i <= 15; ++i) {
        layouts.SetLayoutParam(QByteArray("cb" + QByteArray::number(i)), slotText(i));
        layouts.SetLayoutParam(QByteArray("cbliba" + QByteArray::number(i)), QByteArray("Text 1 of slot " + QByteArray::number(i)));
        layouts.SetLayoutParam(QByteArray("cblibb" + QByteArray::number(i)), QByteArray("Text 2 of slot " + QByteArray::number(i)));
    }
    {
        PdfSink sink(pdf);
        EXPECT_TRUE(layouts.RunLabelReport("etiquette8", sink));
        EXPECT_TRUE(sink.finish());
    }
    const QImage sheet = test::renderPage(pdf, 1, 300, dir.path());
    ASSERT_FALSE(sheet.isNull());
    EXPECT_EQ(test::decodePage(sheet, dir.path()).size(), 15);

    // Slot by slot: the region of each slot's barcode holds its text.
    const double lefts[] = {9.76, 75, 145};
    const double tops[] = {9.83, 70, 130.16, 189.73, 250.05};
    std::vector<QRectF> regions;
    for (int i = 1; i <= 15; ++i)
        regions.emplace_back(lefts[(i - 1) % 3] - 4, tops[(i - 1) / 3] - 4, 62, 16);
    const QList<QByteArray> decoded = test::decodeRegions(sheet, regions, 300, dir.path());
    for (int i = 1; i <= 15; ++i)
        EXPECT_EQ(decoded[i - 1], slotText(i)) << "slot " << i;
}
