// The print job against a recording target: the select statements, how the
// labels fill the slots across sheets, and the failure paths.

#include "labels/print/PrintJob.h"
#include "labels/formats/SheetFormat.h"
#include "tests/labels/print/FakeTarget.h"

#include <gtest/gtest.h>

using namespace etibarix;
using labels::PrintJobSettings;
using labels::PrintRecord;
using test::FakeTarget;

namespace {

PrintJobSettings settingsFor(int entry)
{
    PrintJobSettings s;
    s.formatEntry = entry;
    s.printerName = QStringLiteral("Labels");
    s.menuFontName = QStringLiteral("Menu Font");
    s.layoutFile = QStringLiteral("/data/etbdoc.rav");
    return s;
}

} // namespace

TEST(PrintLabels, SelectionStatements)
{
    using records::TopChoice;
    struct Case {
        bool all;
        QByteArray cb, t1;
        TopChoice top;
        int column;
        bool desc;
        const char *expected;
    } cases[] = {
        // All records: no order clause, whatever the criteria and the list's sort state.
        {true, {}, {}, TopChoice::All, 0, false, "select * from article where  quantite>0 and length(cb)>0 "},
        {true, "12", {}, TopChoice::Flagged, 3, true, "select * from article where  quantite>0 and length(cb)>0 "},
        // Matching, no criterion.
        {false, {}, {}, TopChoice::All, 3, true,
         "select * from article where quantite > 0 and length(cb)>0   order by lib2  desc"},
        {false, {}, {}, TopChoice::All, 0, true, "select * from article where quantite > 0 and length(cb)>0  order by num"},
        {false, {}, {}, TopChoice::All, 0, false, "select * from article where quantite > 0 and length(cb)>0  order by num"},
        {false, {}, {}, TopChoice::All, 1, false, "select * from article where quantite > 0 and length(cb)>0   order by cb "},
        {false, {}, {}, TopChoice::All, 2, true,
         "select * from article where quantite > 0 and length(cb)>0   order by lib1  desc"},
        {false, {}, {}, TopChoice::All, 4, false,
         "select * from article where quantite > 0 and length(cb)>0   order by quantite  , cb"},
        {false, {}, {}, TopChoice::All, 4, true,
         "select * from article where quantite > 0 and length(cb)>0   order by quantite  desc , cb"},
        {false, {}, {}, TopChoice::All, 5, true,
         "select * from article where quantite > 0 and length(cb)>0   order by topp  desc , cb "},
        // Matching with criteria.
        {false, "12", {}, TopChoice::All, 0, false,
         "select * from article where  cb like \"12%\" and quantite>0 and length(cb)>0  order by num"},
        {false, "12", "AB", TopChoice::Flagged, 4, true,
         "select * from article where  cb like \"12%\" and  lib1 like \"AB%\" and  topp=\"O\" and quantite>0 and "
         "length(cb)>0   order by quantite  desc , cb"},
        {false, {}, {}, TopChoice::Unflagged, 1, true,
         "select * from article where  topp=\"N\" and quantite>0 and length(cb)>0   order by cb  desc"},
    };
    for (const Case &c : cases) {
        PrintJobSettings s = settingsFor(8);
        s.allRecords = c.all;
        s.list.criteriaCb = c.cb;
        s.list.criteriaText1 = c.t1;
        s.list.top = c.top;
        s.list.SortColumn = c.column;
        s.list.SortDescending = c.desc;
        FakeTarget t;
        labels::PrintLabels(s, t);
        EXPECT_EQ(t.statement, QByteArray(c.expected)) << c.expected;
    }
}

TEST(PrintLabels, CopiesRunOnAcrossSheetsAndTheLastSheetLosesEmptyBarcodes)
{
    // Layout 1, 12 slots: 5 + 0 + 8 labels = one full sheet and one label.
    FakeTarget t;
    t.labelsPerPage = 12;
    t.rows = {{"AAA", "a1", "a2", 5}, {"ZERO", "z1", "z2", 0}, {"CCC", "c1", "c2", 8}, {"NEG", "n", "n", -3}};
    PrintJobSettings s = settingsFor(1);
    s.codeSet = 3;
    const auto r = labels::PrintLabels(s, t);

    EXPECT_EQ(r.sheets, 2);
    EXPECT_EQ(r.labels, 13);
    EXPECT_FALSE(r.cancelled);
    ASSERT_EQ(t.sheets.size(), 2u);
    for (int i = 0; i < 12; ++i) {
        const auto &slot = t.sheets[0].slots[i];
        const bool first = i < 5;
        EXPECT_EQ(slot.cb, first ? "AAA" : "CCC");
        EXPECT_EQ(slot.lib1, first ? "a1" : "c1");
        EXPECT_EQ(slot.lib2, first ? "a2" : "c2");
        EXPECT_TRUE(slot.hasBarcode);
        EXPECT_EQ(slot.codeSet, 3);
    }
    EXPECT_EQ(t.sheets[1].slots[0].cb, "CCC");
    EXPECT_TRUE(t.sheets[1].slots[0].hasBarcode);
    for (int i = 1; i < 12; ++i) {
        const auto &slot = t.sheets[1].slots[i];
        EXPECT_TRUE(slot.cb.isEmpty() && slot.lib1.isEmpty() && slot.lib2.isEmpty()) << i;
        EXPECT_FALSE(slot.hasBarcode) << i;
    }
    EXPECT_EQ(t.sheets[1].printer, QStringLiteral("Labels"));
    EXPECT_EQ(t.sheets[1].fontName, QStringLiteral("Menu Font"));
    EXPECT_EQ(t.calls,
              (QStringList{u"setLayoutFile"_qs, u"openLayouts"_qs, u"openQuery"_qs, u"setTextFonts etiquette1 12"_qs,
                           u"runLabelReport etiquette1"_qs, u"setTextFonts etiquette1 12"_qs,
                           u"removeEmptySlotBarcodes 2 12"_qs, u"runLabelReport etiquette1"_qs, u"closeQuery"_qs,
                           u"closeLayouts"_qs}));
    EXPECT_EQ(t.layoutFile, QStringLiteral("/data/etbdoc.rav"));
    EXPECT_FALSE(t.projectOpen);
    EXPECT_FALSE(t.queryOpen);
}

TEST(PrintLabels, SheetSizes)
{
    struct Case {
        int entry;
        int perPage;
        std::vector<int> quantities;
        std::vector<int> labelsPerSheet;
    } cases[] = {
        {8, 15, {20}, {15, 5}},             // one record over two sheets
        {8, 15, {10, 5}, {15}},             // ends exactly on the last slot: no further sheet
        {1, 12, {12}, {12}},
        {1, 12, {12, 1}, {12, 1}},
        {13, 80, {1}, {1}},
        {13, 80, {79, 2, 80}, {80, 80, 1}},
        {9, 44, {3, 3, 3}, {9}},
    };
    for (const auto &c : cases) {
        FakeTarget t;
        t.labelsPerPage = c.perPage;
        int total = 0;
        for (std::size_t i = 0; i < c.quantities.size(); ++i) {
            t.rows.push_back({"R" + QByteArray::number(int(i)), "x", "y", c.quantities[i]});
            total += c.quantities[i];
        }
        const auto r = labels::PrintLabels(settingsFor(c.entry), t);
        ASSERT_EQ(t.sheets.size(), c.labelsPerSheet.size()) << c.entry;
        EXPECT_EQ(r.sheets, int(c.labelsPerSheet.size()));
        EXPECT_EQ(r.labels, total);
        for (std::size_t k = 0; k < t.sheets.size(); ++k) {
            int filled = 0;
            for (const auto &slot : t.sheets[k].slots)
                filled += slot.cb.isEmpty() ? 0 : 1;
            EXPECT_EQ(filled, c.labelsPerSheet[k]) << "entry " << c.entry << " sheet " << k;
        }
        const bool partial = c.labelsPerSheet.back() < c.perPage;
        EXPECT_EQ(t.calls.filter(u"removeEmptySlotBarcodes"_qs).size(), partial ? 1 : 0) << c.entry;
    }
}

TEST(PrintLabels, TextFlagsBlankTheirLines)
{
    for (const bool text1 : {true, false}) {
        for (const bool text2 : {true, false}) {
            FakeTarget t;
            t.labelsPerPage = 15;
            t.rows = {{"123", "first", "second", 2}};
            PrintJobSettings s = settingsFor(8);
            s.text1 = text1;
            s.text2 = text2;
            labels::PrintLabels(s, t);
            ASSERT_EQ(t.sheets.size(), 1u);
            for (int i = 0; i < 2; ++i) {
                EXPECT_EQ(t.sheets[0].slots[i].cb, "123");
                EXPECT_EQ(t.sheets[0].slots[i].lib1, text1 ? "first" : "");
                EXPECT_EQ(t.sheets[0].slots[i].lib2, text2 ? "second" : "");
            }
        }
    }
}

TEST(PrintLabels, NothingSelectedOpensAndClosesTheProject)
{
    FakeTarget t;
    const auto r = labels::PrintLabels(settingsFor(8), t);
    EXPECT_EQ(r.sheets, 0);
    EXPECT_EQ(t.calls, (QStringList{u"setLayoutFile"_qs, u"openLayouts"_qs, u"openQuery"_qs, u"closeQuery"_qs,
                                    u"closeLayouts"_qs}));
}

TEST(PrintLabels, NoFormatDoesNothing)
{
    for (const int entry : {-1, 0, 14}) {
        FakeTarget t;
        t.rows = {{"1", "", "", 1}};
        const auto r = labels::PrintLabels(settingsFor(entry), t);
        EXPECT_EQ(r.sheets, 0);
        EXPECT_TRUE(t.calls.isEmpty());
    }
}

TEST(PrintLabels, ProjectReadErrorStopsBeforeTheQuery)
{
    FakeTarget t;
    t.failOpen = true;
    t.rows = {{"1", "", "", 1}};
    EXPECT_THROW(labels::PrintLabels(settingsFor(8), t), base::Error);
    EXPECT_EQ(t.calls, (QStringList{u"setLayoutFile"_qs, u"openLayouts"_qs}));
    EXPECT_TRUE(t.sheets.empty());
}

TEST(PrintLabels, StatementErrorLeavesTheProjectOpen)
{
    FakeTarget t;
    t.failStatement = true;
    t.rows = {{"1", "", "", 1}};
    EXPECT_THROW(labels::PrintLabels(settingsFor(8), t), base::Error);
    EXPECT_TRUE(t.projectOpen);
    EXPECT_FALSE(t.calls.contains(u"closeLayouts"_qs));
    EXPECT_TRUE(t.sheets.empty());
}

TEST(PrintLabels, CancelStopsTheJobAndCloses)
{
    FakeTarget t;
    t.labelsPerPage = 12;
    t.rows = {{"1", "", "", 40}};
    t.cancelAtSheet = 2;
    const auto r = labels::PrintLabels(settingsFor(1), t);
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(r.sheets, 1);
    EXPECT_EQ(r.labels, 12);
    EXPECT_EQ(t.calls.filter(u"runLabelReport"_qs).size(), 2);
    EXPECT_FALSE(t.projectOpen);
    EXPECT_FALSE(t.queryOpen);
}

namespace {
class FailingTarget : public FakeTarget {
public:
    bool runLabelReport(const QByteArray &) override { throw base::Error(QStringLiteral("printer gone")); }
};
} // namespace

TEST(PrintLabels, PrintFailureClosesQueryAndProject)
{
    FailingTarget t;
    t.rows = {{"1", "", "", 1}};
    EXPECT_THROW(labels::PrintLabels(settingsFor(8), t), base::Error);
    EXPECT_FALSE(t.projectOpen);
    EXPECT_FALSE(t.queryOpen);
}

TEST(PrintLabels, StartSlotLeavesTheFirstSlotsOfTheFirstSheetBlank)
{
    const struct {
        int start;          // asked
        int quantity;
        int firstFilled;    // first slot used on sheet 1
        int sheets;
    } cases[] = {
        {5, 20, 5, 2},      // 11 on the first sheet, 9 on the second
        {15, 1, 15, 1},     // the last slot only
        {5, 11, 5, 1},      // exactly fills the rest of the first sheet
        {0, 15, 1, 1},      // out of range: from slot 1
        {16, 15, 1, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.start);
        FakeTarget t;
        t.labelsPerPage = 15;
        t.rows = {{"AAA", "a1", "a2", c.quantity}};
        PrintJobSettings s = settingsFor(8);
        s.startSlot = c.start;
        const auto r = labels::PrintLabels(s, t);
        EXPECT_EQ(r.labels, c.quantity);
        ASSERT_EQ(int(t.sheets.size()), c.sheets);
        int label = 0;
        for (int sheet = 0; sheet < c.sheets; ++sheet) {
            for (int i = 0; i < 15; ++i) {
                const auto &slot = t.sheets[std::size_t(sheet)].slots[std::size_t(i)];
                const bool filled = (sheet > 0 || i + 1 >= c.firstFilled) && label < c.quantity;
                EXPECT_EQ(slot.cb, filled ? QByteArray("AAA") : QByteArray()) << sheet << ' ' << i;
                EXPECT_EQ(slot.hasBarcode, filled) << sheet << ' ' << i;
                label += filled ? 1 : 0;
            }
        }
        EXPECT_EQ(t.calls.count(u"blankSlotBarcodes 1 %1"_qs.arg(c.firstFilled - 1)), c.firstFilled > 1 ? 1 : 0);
    }
}

TEST(PrintLabels, ShrinkToFitAsksEveryFilledSlotToFitItsLabel)
{
    FakeTarget t;
    t.labelsPerPage = 65;
    t.rows = {{"AAA", "", "", 67}};
    PrintJobSettings s = settingsFor(12);
    s.startSlot = 64;
    s.shrinkToFit = true;
    labels::PrintLabels(s, t);
    const labels::SheetFormat sheet = *labels::BuiltinSheet(12);
    // Sheet 1: slots 64 and 65; sheet 2: the 65 slots.
    ASSERT_EQ(t.fitted.size(), 67u);
    EXPECT_EQ(t.fitted[0], std::make_tuple(1, 64, sheet.labelRect(64).right()));
    EXPECT_EQ(t.fitted[1], std::make_tuple(1, 65, sheet.labelRect(65).right()));
    EXPECT_EQ(t.fitted[2], std::make_tuple(2, 1, sheet.labelRect(1).right()));
    EXPECT_EQ(t.fitted[66], std::make_tuple(2, 65, sheet.labelRect(65).right()));

    FakeTarget plain;
    plain.labelsPerPage = 65;
    plain.rows = t.rows;
    s.shrinkToFit = false;
    labels::PrintLabels(s, plain);
    EXPECT_TRUE(plain.fitted.empty());
}

TEST(PrintChecks, EachRecordIsMeasuredOnTheSlotsItsLabelsTake)
{
    using labels::PrintFinding;
    using labels::SlotSymbol;
    // Four slots; only slot 2 is too narrow for "AB12", slot 4 prints no barcode.
    // "AB12": start B + 4 values + check + stop = 79 modules, 20.066 mm at 0.254.
    const labels::SlotSymbols slots = {SlotSymbol{0.254, true, 30, -1}, SlotSymbol{0.254, true, 20, -1},
                                       SlotSymbol{0.254, true, 30, -1}, std::nullopt};
    labels::PrintChecks checks(slots, 3, 1);
    const PrintRecord records[] = {
        {"AB12", "", "", 3, 1},              // slots 3, 4, 1: fits
        {"AB12", "", "", 1, 2},              // slot 2: too wide
        {"AB12", "", "", 2, 3},              // slots 3, 4
        {"AB12", "", "", 901, 4},            // every slot, from 1: too wide once
        {"CAF\xC9\xF1-\xC9\xFF", "", "", 1, 5},   // the escape byte prints, the others once each
    };
    for (const PrintRecord &r : records)
        checks.check(r);
    const auto &f = checks.findings();
    ASSERT_EQ(f.size(), 4u);
    EXPECT_EQ(f[0].kind, PrintFinding::TooWide);
    EXPECT_EQ(f[0].record, 2);
    EXPECT_NEAR(f[0].symbolMm, 79 * 0.254, 1e-9);
    EXPECT_EQ(f[0].labelMm, 20);
    EXPECT_EQ(f[1].record, 4);
    // Record 4 took 901 labels from slot 1: record 5 goes on slot 2.
    EXPECT_EQ(f[2].kind, PrintFinding::LostCharacters);
    EXPECT_EQ(f[2].record, 5);
    EXPECT_EQ(f[2].lost, QByteArray("\xC9\xFF"));
    EXPECT_EQ(f[3].kind, PrintFinding::TooWide);
    EXPECT_EQ(f[3].record, 5);

    // Shrinking: a symbol that fits once narrowed is no finding, one too
    // long for even the narrowest module is reported at its layout width.
    labels::PrintChecks shrunk({SlotSymbol{0.254, true, 20, 18}}, 1, 1);
    shrunk.check({"AB12", "", "", 1, 6});
    shrunk.check({QByteArray(50, 'A'), "", "", 1, 7});
    ASSERT_EQ(shrunk.findings().size(), 1u);
    EXPECT_EQ(shrunk.findings()[0].record, 7);
    EXPECT_NEAR(shrunk.findings()[0].symbolMm, 585 * 0.254, 1e-9);
}
