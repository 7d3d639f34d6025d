#include "labels/project/BuiltinLayouts.h"

#include "labels/project/DataText.h"
#include "labels/project/ReportBarCode.h"

#include <cmath>
#include <vector>

namespace etibarix::labels {
namespace {

constexpr double mmToIn(double mm)
{
    return mm / 25.4;
}

// Geometry of one layout, in millimetres from the page's top-left corner.
struct Layout {
    const char *report;
    const char *page;
    bool a4;                       // else a custom page of 8.5 x 11 in
    int columns;
    int rows;
    double barHeight;
    bool readable;
    int textLines;                 // 1 or 2
    bool textAbove;                // the one text line sits above the bars
    int textSize;
    double barcodeWidth;           // with AutoSize off
    bool autoSize;
    std::vector<double> textWidth; // by column (one value: every column)
    // By row: the barcode's left edges and the text boxes' left edges by
    // column, the top of the bars, of text line 1 and of text line 2.
    std::vector<std::vector<double>> barLeft;
    std::vector<std::vector<double>> textLeft;
    std::vector<double> barTop;
    std::vector<double> line1;
    std::vector<double> line2;
};

// Repeats `lefts` for every row.
std::vector<std::vector<double>> same(int rows, std::vector<double> lefts)
{
    return std::vector<std::vector<double>>(rows, lefts);
}

std::vector<double> arithmetic(int count, double first, double step)
{
    std::vector<double> v;
    for (int i = 0; i < count; ++i)
        v.push_back(first + step * i);
    return v;
}

std::vector<double> plus(const std::vector<double> &base, double offset)
{
    std::vector<double> v = base;
    for (double &x : v)
        x += offset;
    return v;
}

std::vector<Layout> layouts()
{
    std::vector<Layout> all;
    const double tall = 16.764;
    const double bar = 6.35;
    const double wide = 50.8;

    { // 1
        Layout l{"etiquette1", "Page1", false, 3, 4, tall, true, 2, false, 10, wide, true, {55}, {}, {}, {}, {}, {}};
        l.barLeft = same(4, {16, 76, 135});
        l.textLeft = {{16, 75, 135}, {16, 75, 135}, {15, 75, 135}, {15, 75, 135}};
        l.barTop = {5, 55, 105.35, 155.7};
        l.line1 = {35, 85, 135, 185};
        l.line2 = {40, 90, 140, 190};
        all.push_back(l);
    }
    { // 2
        Layout l{"etiquette2", "page1", false, 3, 8, bar, true, 2, false, 10, wide, true, {35}, {}, {}, {}, {}, {}};
        l.barLeft = l.textLeft = same(8, {10, 76, 145});
        l.barTop = arithmetic(8, 15, 35);
        l.line1 = plus(l.barTop, 8);
        l.line2 = plus(l.barTop, 12);
        l.line2[0] = l.barTop[0] + 12.35;
        all.push_back(l);
    }
    { // 3
        Layout l{"etiquette3", "Page1", false, 3, 7, bar, true, 2, false, 10, wide, true, {55}, {}, {}, {}, {}, {}};
        l.barLeft = l.textLeft = same(7, {20, 80, 150});
        l.barTop = {10, 55, 95, 135, 169.98, 209.98, 244.98};
        l.line1 = {27, 73, 112.98, 151.98, 188, 228, 262};
        l.line2 = {32, 78, 117.98, 156.98, 193, 233, 267};
        all.push_back(l);
    }
    { // 4
        Layout l{"etiquette4", "Page1", false, 3, 6, bar, true, 2, false, 10, wide, true, {59.4}, {}, {}, {}, {}, {}};
        l.barLeft = l.textLeft = same(6, {10, 75, 145});
        l.barTop = {15, 60, 105, 155, 200, 250};
        l.line1 = plus(l.barTop, 17);
        l.line2 = plus(l.barTop, 22);
        all.push_back(l);
    }
    { // 5
        Layout l{"Etiquette5", "Page1", true, 3, 8, bar, true, 2, false, 10, wide, true, {55}, {}, {}, {}, {}, {}};
        l.barLeft = same(8, {9.76, 75, 145});
        l.textLeft = same(8, {10, 75, 145});
        l.barTop = {5, 44, 80, 117, 154.98, 189.98, 226.98, 262.71};
        l.line1 = {22, 62, 97.98, 133.98, 173, 208, 244, 279.73};
        l.line2 = {27, 67, 102.98, 138.98, 178, 213, 249, 284.73};
        all.push_back(l);
    }
    { // 6
        Layout l{"etiquette6", "Page1", true, 3, 7, bar, true, 2, false, 10, wide, true, {55}, {}, {}, {}, {}, {}};
        l.barLeft = same(7, {9.76, 75, 145});
        l.textLeft = same(7, {10, 75, 145});
        l.barTop = {11, 50, 90.16, 131.73, 175.05, 216.65, 257.97};
        l.line1 = {26.83, 69.62, 108.14, 148.72, 193.07, 234.67, 274.99};
        l.line2 = {31.83, 74.62, 113.14, 153.72, 198.07, 239.67, 279.99};
        all.push_back(l);
    }
    { // 7
        Layout l{"etiquette7", "Page1", true, 3, 6, bar, true, 2, false, 10, wide, true, {59.32, 62.87, 59.06}, {}, {}, {}, {}, {}};
        l.barLeft = same(6, {9.76, 75, 145});
        l.textLeft = same(6, {9, 74, 145});
        l.barTop = {9.83, 60, 110.16, 159.73, 210.05, 254.65};
        l.line1 = {30.11, 82.79, 130.95, 181.05, 230.86, 275.21};
        l.line2 = {35.11, 87.29, 135.7, 185.54, 235.35, 280.21};
        all.push_back(l);
    }
    { // 8
        Layout l{"etiquette8", "Page1", true, 3, 5, bar, true, 2, false, 10, wide, true, {55}, {}, {}, {}, {}, {}};
        l.barLeft = same(5, {9.76, 75, 145});
        l.textLeft = same(5, {9, 74, 145});
        l.barTop = {9.83, 70, 130.16, 189.73, 250.05};
        l.line1 = {24.79, 86.19, 144.84, 204.95, 265.02};
        l.line2 = {29.79, 91.19, 149.84, 209.95, 270.02};
        all.push_back(l);
    }
    { // 9
        Layout l{"Etiquette9", "Page1", true, 4, 11, bar, true, 1, true, 10, wide, true, {43.4, 43.4, 43.4, 44.4}, {}, {}, {}, {}, {}};
        l.barLeft = same(11, {9.67, 59.67, 109.67, 160.67});
        l.textLeft = same(11, {9.76, 59.76, 109.76, 160.76});
        l.barTop = {16.52, 42, 68.24, 92, 117, 142, 167, 192, 217, 242, 267};
        l.line1 = {11.89, 37, 62, 87, 112, 136, 162, 187, 212, 237, 262};
        all.push_back(l);
    }
    { // 10
        Layout l{"Etiquette10", "Page1", true, 4, 10, bar, true, 2, false, 8, wide, true, {41}, {}, {}, {}, {}, {}};
        l.barLeft = l.textLeft = same(10, arithmetic(4, 13, 48));
        l.barTop = arithmetic(10, 24, 25.4);
        l.line1 = {34, 60, 85, 111, 136, 161, 187, 212, 238, 263};
        l.line2 = {39, 65, 90, 116, 141, 167, 192, 217, 243, 268};
        all.push_back(l);
    }
    { // 11
        Layout l{"Etiquette11", "Page1", true, 3, 7, bar, true, 2, false, 10, wide, true, {55, 51, 55}, {}, {}, {}, {}, {}};
        l.barLeft = same(7, {17, 84, 145});
        l.textLeft = same(7, {15.22, 84, 145});
        l.barTop = arithmetic(7, 22, 38);
        l.line1 = plus(l.barTop, 19);
        l.line2 = plus(l.barTop, 23);
        l.line2[0] = l.barTop[0] + 23.64;
        l.line2[1] = l.barTop[1] + 24;
        all.push_back(l);
    }
    { // 12
        Layout l{"Etiquette12", "Page1", true, 5, 13, bar, true, 2, false, 10, 35, false, {40}, {}, {}, {}, {}, {}};
        for (int r = 0; r < 13; ++r) {
            l.barLeft.push_back(r < 7 ? std::vector<double>{5, 45.6, 86.2, 126.8, 167.5}
                                      : std::vector<double>{6, 46.6, 87.2, 127.8, 167.5});
        }
        l.textLeft = same(13, {5.22, 45.6, 86.2, 126.8, 167.5});
        l.barTop = arithmetic(13, 12, 21.2);
        l.line1 = plus(l.barTop, 10);
        l.line1[6] = l.barTop[6] + 9.8;
        l.line1[11] = l.barTop[11] + 9.8;
        l.line2 = {26, 47, 68, 90, 111, 132, 153, 174, 196, 217, 237, 259, 280};
        all.push_back(l);
    }
    { // 13
        Layout l{"Etiquette13", "Page1", true, 4, 20, bar, false, 1, false, 8, wide, true, {41}, {}, {}, {}, {}, {}};
        l.barLeft = l.textLeft = same(20, arithmetic(4, 12, 52));
        l.barTop = {15, 28, 41, 54, 66, 79, 91, 104, 117, 130, 142, 155, 168, 180, 193, 206, 218, 231, 244, 257};
        l.line1 = plus(l.barTop, 7);
        all.push_back(l);
    }
    return all;
}

std::unique_ptr<ReportPage> a4Page(const QByteArray &name)
{
    auto page = std::make_unique<ReportPage>(name);
    page->setPaperSize(ReportPage::PaperA4);
    page->setPageSize(mmToIn(210), mmToIn(297));
    return page;
}

std::unique_ptr<DataText> textBox(int k, const QByteArray &field, double left, double top,
                                  double width, int size)
{
    auto t = std::make_unique<DataText>();
    t->setName(QByteArray("DataText" + QByteArray::number(k)));
    t->setLeft(mmToIn(left));
    t->setTop(mmToIn(top));
    t->setWidth(mmToIn(width));
    t->setHeight(size * 1.2 / 72.0); // one line of the font
    t->font().name = QByteArrayLiteral("Arial");
    t->font().size = size;
    t->font().color = 0;
    t->setFontJustify(PrintJustify::pjLeft);
    t->setTruncate(true);
    t->setDataField(field);
    return t;
}

std::unique_ptr<Report> buildReport(const Layout &l)
{
    auto report = std::make_unique<Report>(l.report);
    report->setLastActivePage(l.page);
    std::unique_ptr<ReportPage> page;
    if (l.a4) {
        page = a4Page(l.page);
    } else {
        page = std::make_unique<ReportPage>(l.page);
        page->setPaperSize(ReportPage::PaperCustom);
        page->setPageSize(8.5, 11);
    }
    const int n = l.columns * l.rows;
    std::vector<std::unique_ptr<DataText>> texts;
    for (int r = 0; r < l.rows; ++r) {
        for (int c = 0; c < l.columns; ++c) {
            const int i = r * l.columns + c + 1;
            auto b = std::make_unique<ReportBarCode>();
            b->setName(QByteArray("Code128BarCode" + QByteArray::number(i)));
            b->setLeft(mmToIn(l.barLeft[r][c]));
            b->setTop(mmToIn(l.barTop[r]));
            b->setWidth(mmToIn(l.barcodeWidth));
            b->setHeight(mmToIn(l.barHeight));
            b->barHeight = mmToIn(l.barHeight);
            b->barTop = b->top();
            b->barWidth = 0.01;
            b->font.name = QByteArrayLiteral("Arial");
            b->font.size = 8;
            b->font.color = LayoutFont::WindowText;
            b->codePage = CodePage128::cpCodeA;
            b->optimize = true;
            b->useChecksum = true;
            b->printReadable = l.readable;
            b->autoSize = l.autoSize;
            b->dataField = "param.cb" + QByteArray::number(i);
            page->addComponent(std::move(b));

            const double width = l.textWidth.size() == 1 ? l.textWidth[0] : l.textWidth[c];
            const double left = l.textLeft[r][c];
            if (l.textLines == 1) {
                texts.push_back(textBox(i, QByteArray("param.cbliba" + QByteArray::number(i)), left, l.line1[r],
                                        width, l.textSize));
            } else {
                texts.push_back(textBox(2 * i - 1, QByteArray("param.cbliba" + QByteArray::number(i)), left,
                                        l.line1[r], width, l.textSize));
                texts.push_back(textBox(2 * i, QByteArray("param.cblibb" + QByteArray::number(i)), left,
                                        l.line2[r], width, l.textSize));
            }
        }
    }
    Q_ASSERT(int(texts.size()) == n * l.textLines);
    for (auto &t : texts)
        page->addComponent(std::move(t));
    report->addPage(std::move(page));
    return report;
}

} // namespace

QDateTime BuiltinLayouts::fromDays(double days)
{
    const double whole = std::floor(days);
    // A wall-clock time of day: no daylight-saving shift may enter.
    qint64 ms = std::llround((days - whole) * 86400000.0);
    QDate date = QDate(1899, 12, 30).addDays(qint64(whole));
    if (ms >= 86400000) {
        ms -= 86400000;
        date = date.addDays(1);
    }
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(int(ms)));
}

QDateTime BuiltinLayouts::saveTime()
{
    return fromDays(SaveTimeDays);
}

ReportProject BuiltinLayouts::create()
{
    ReportProject project;
    project.setName(QByteArrayLiteral("RaveProject"));
    project.setLastActiveReport(QByteArrayLiteral("Etiquette13"));
    project.addGlobalPage(a4Page(QByteArrayLiteral("GlobalPage1")));
    for (const Layout &l : layouts())
        project.addReport(buildReport(l));
    return project;
}

} // namespace etibarix::labels
