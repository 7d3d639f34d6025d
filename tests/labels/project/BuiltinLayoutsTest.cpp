// The built-in layouts against their geometry lists and summary table.

#include "labels/project/BuiltinLayouts.h"
#include "labels/project/DataText.h"
#include "labels/project/ReportBarCode.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace etibarix::labels;

namespace {

const ReportProject &project()
{
    static const ReportProject p = BuiltinLayouts::create();
    return p;
}

const ReportPage &page(const char *report)
{
    const Report *r = project().findReport(report);
    EXPECT_TRUE(r) << report;
    return *r->pages().front();
}

const ReportBarCode &bar(const char *report, int slot)
{
    const auto *b = dynamic_cast<const ReportBarCode *>(page(report).findComponent(QByteArray("Code128BarCode" + QByteArray::number(slot))));
    EXPECT_TRUE(b) << report << " " << slot;
    return *b;
}

// The text box bound to a slot's line (1 or 2).
const DataText &text(const char *report, int slot, int line)
{
    const QByteArray field = (line == 1 ? "param.cbliba" : "param.cblibb") + QByteArray::number(slot);
    for (const auto &c : page(report).components()) {
        if (const auto *t = dynamic_cast<const DataText *>(c.get()); t && t->dataField() == field)
            return *t;
    }
    ADD_FAILURE() << report << " has no box for " << field.constData();
    static const DataText none;
    return none;
}

double mm(double inches)
{
    return std::round(inches * 25.4 * 1000) / 1000;
}

} // namespace

TEST(BuiltinLayouts, Summary)
{
    struct Row {
        const char *report;
        const char *page;
        bool a4;
        int slots;
        double barHeight;
        bool readable;
        int lines;
        double size;
    };
    const Row rows[] = {
        {"etiquette1", "Page1", false, 12, 16.764, true, 2, 10}, {"etiquette2", "page1", false, 24, 6.35, true, 2, 10},
        {"etiquette3", "Page1", false, 21, 6.35, true, 2, 10},  {"etiquette4", "Page1", false, 18, 6.35, true, 2, 10},
        {"Etiquette5", "Page1", true, 24, 6.35, true, 2, 10},   {"etiquette6", "Page1", true, 21, 6.35, true, 2, 10},
        {"etiquette7", "Page1", true, 18, 6.35, true, 2, 10},   {"etiquette8", "Page1", true, 15, 6.35, true, 2, 10},
        {"Etiquette9", "Page1", true, 44, 6.35, true, 1, 10},   {"Etiquette10", "Page1", true, 40, 6.35, true, 2, 8},
        {"Etiquette11", "Page1", true, 21, 6.35, true, 2, 10},  {"Etiquette12", "Page1", true, 65, 6.35, true, 2, 10},
        {"Etiquette13", "Page1", true, 80, 6.35, false, 1, 8},
    };
    const ReportProject &p = project();
    ASSERT_EQ(p.reports().size(), 13u);
    ASSERT_EQ(p.globalPages().size(), 1u);
    EXPECT_EQ(p.globalPages()[0]->name(), QByteArray("GlobalPage1"));
    EXPECT_TRUE(p.globalPages()[0]->components().empty());
    EXPECT_EQ(p.currentReport()->name(), QByteArray("Etiquette13"));
    for (size_t n = 0; n < 13; ++n) {
        const Row &row = rows[n];
        const Report &r = *p.reports()[n];
        SCOPED_TRACE(row.report);
        EXPECT_EQ(r.name(), QByteArray(row.report));
        EXPECT_TRUE(r.printer().isEmpty());
        ASSERT_EQ(r.pages().size(), 1u);
        const ReportPage &pg = *r.pages()[0];
        EXPECT_EQ(pg.name(), QByteArray(row.page));
        EXPECT_EQ(pg.paperSize(), row.a4 ? 9 : -1);
        EXPECT_EQ(pg.orientation(), QByteArray("poDefault"));
        EXPECT_EQ(pg.bin(), -1);
        EXPECT_NEAR(pg.sizeMm().width(), row.a4 ? 210 : 215.9, 1e-9);
        EXPECT_NEAR(pg.sizeMm().height(), row.a4 ? 297 : 279.4, 1e-9);
        EXPECT_EQ(int(pg.components().size()), row.slots * (1 + row.lines));
        for (int i = 1; i <= row.slots; ++i) {
            const ReportBarCode &b = bar(row.report, i);
            EXPECT_EQ(b.dataField, QByteArray("param.cb" + QByteArray::number(i)));
            EXPECT_EQ(mm(b.barHeight), row.barHeight);
            EXPECT_EQ(b.height(), b.barHeight);
            EXPECT_EQ(b.barTop, b.top());
            EXPECT_EQ(mm(b.barWidth), 0.254);
            EXPECT_EQ(b.printReadable, row.readable);
            EXPECT_TRUE(b.optimize);
            EXPECT_TRUE(b.useChecksum);
            EXPECT_EQ(b.codePage, CodePage128::cpCodeA);
            EXPECT_EQ(b.font.name, QByteArray("Arial"));
            EXPECT_EQ(b.font.size, 8);
            for (int line = 1; line <= row.lines; ++line) {
                const DataText &t = text(row.report, i, line);
                EXPECT_EQ(t.font().size, row.size);
                EXPECT_EQ(t.font().name, QByteArray("Arial"));
                EXPECT_EQ(t.font().color, 0);
                EXPECT_TRUE(t.truncate());
                EXPECT_EQ(t.fontJustify(), PrintJustify::pjLeft);
            }
        }
        // The text boxes are numbered DataText1 upwards.
        for (int k = 1; k <= row.slots * row.lines; ++k)
            EXPECT_TRUE(dynamic_cast<const DataText *>(pg.findComponent(QByteArray("DataText" + QByteArray::number(k))))) << k;
        EXPECT_EQ(pg.findComponent(QByteArray("DataText" + QByteArray::number(row.slots * row.lines + 1))), nullptr);
    }
}

TEST(BuiltinLayouts, Geometry)
{
    struct Spot {
        const char *report;
        int slot;
        double barLeft, barTop, textLeft, line1, line2, width; // line2 < 0: no second line
    };
    const Spot spots[] = {
        {"etiquette1", 1, 16, 5, 16, 35, 40, 55},
        {"etiquette1", 12, 135, 155.7, 135, 185, 190, 55},
        {"etiquette1", 7, 16, 105.35, 15, 135, 140, 55},
        {"etiquette2", 1, 10, 15, 10, 23, 27.35, 35},
        {"etiquette2", 24, 145, 260, 145, 268, 272, 35},
        {"etiquette3", 20, 80, 244.98, 80, 262, 267, 55},
        {"etiquette4", 18, 145, 250, 145, 267, 272, 59.4},
        {"Etiquette5", 1, 9.76, 5, 10, 22, 27, 55},
        {"Etiquette5", 23, 75, 262.71, 75, 279.73, 284.73, 55},
        {"etiquette6", 10, 9.76, 131.73, 10, 148.72, 153.72, 55},
        {"etiquette7", 5, 75, 60, 74, 82.79, 87.29, 62.87},
        {"etiquette7", 18, 145, 254.65, 145, 275.21, 280.21, 59.06},
        {"etiquette8", 1, 9.76, 9.83, 9, 24.79, 29.79, 55},
        {"etiquette8", 15, 145, 250.05, 145, 265.02, 270.02, 55},
        {"Etiquette9", 1, 9.67, 16.52, 9.76, 11.89, -1, 43.4},
        {"Etiquette9", 44, 160.67, 267, 160.76, 262, -1, 44.4},
        {"Etiquette10", 40, 157, 252.6, 157, 263, 268, 41},
        {"Etiquette11", 1, 17, 22, 15.22, 41, 45.64, 55},
        {"Etiquette11", 5, 84, 60, 84, 79, 84, 51},
        {"Etiquette11", 21, 145, 250, 145, 269, 273, 55},
        {"Etiquette12", 31, 5, 139.2, 5.22, 149, 153, 40},
        {"Etiquette12", 36, 6, 160.4, 5.22, 170.4, 174, 40},
        {"Etiquette12", 60, 167.5, 245.2, 167.5, 255, 259, 40},
        {"Etiquette13", 80, 168, 257, 168, 264, -1, 41},
    };
    for (const Spot &s : spots) {
        SCOPED_TRACE(std::string(s.report) + " slot " + std::to_string(s.slot));
        const ReportBarCode &b = bar(s.report, s.slot);
        EXPECT_EQ(mm(b.left()), s.barLeft);
        EXPECT_EQ(mm(b.top()), s.barTop);
        const DataText &t1 = text(s.report, s.slot, 1);
        EXPECT_EQ(mm(t1.left()), s.textLeft);
        EXPECT_EQ(mm(t1.top()), s.line1);
        EXPECT_EQ(mm(t1.width()), s.width);
        if (s.line2 >= 0) {
            const DataText &t2 = text(s.report, s.slot, 2);
            EXPECT_EQ(mm(t2.left()), s.textLeft);
            EXPECT_EQ(mm(t2.top()), s.line2);
            EXPECT_EQ(mm(t2.width()), s.width);
        }
    }
}

TEST(BuiltinLayouts, Peculiarities)
{
    // Layout 9: the text line above the bars.
    for (int i = 1; i <= 44; ++i)
        EXPECT_LT(text("Etiquette9", i, 1).top(), bar("Etiquette9", i).top()) << i;
    // Layout 12: fixed width without auto-size; the others auto-size at 50.8 mm.
    for (const auto &r : project().reports()) {
        const bool twelve = r->name() == "Etiquette12";
        const auto &b = bar(r->name().constData(), 1);
        EXPECT_EQ(b.autoSize, !twelve) << r->name().constData();
        EXPECT_EQ(mm(b.width()), twelve ? 35 : 50.8) << r->name().constData();
    }
    // Layout 13: no readable line.
    EXPECT_FALSE(bar("Etiquette13", 1).printReadable);
    EXPECT_TRUE(bar("Etiquette12", 1).printReadable);
    // Slots are numbered row by row.
    EXPECT_EQ(mm(bar("etiquette8", 4).top()), 70);
    EXPECT_EQ(mm(bar("etiquette8", 4).left()), 9.76);
    EXPECT_EQ(mm(bar("etiquette8", 3).top()), 9.83);
}
