// Sheet geometry, its checks, the built-in sheets, formats.json as users and
// editors leave it, and the calibration store.

#include "base/DataDir.h"
#include "base/Parameters.h"
#include "labels/formats/CustomFormats.h"
#include "labels/formats/LabelFormats.h"
#include "labels/formats/SheetFormat.h"
#include "labels/print/Calibration.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QSettings>

#include <gtest/gtest.h>

#include <functional>

using namespace etibarix;
using namespace etibarix::labels;
using etibarix::test::DataDir;
using etibarix::test::readFile;
using etibarix::test::writeFile;

namespace {

SheetFormat twoByThree()
{
    SheetFormat f;
    f.name = QStringLiteral("Shelf 2x3");
    f.pageWidthMm = 150;
    f.pageHeightMm = 120;
    f.columns = 2;
    f.rows = 3;
    f.leftMm = 5;
    f.topMm = 6;
    f.labelWidthMm = 68;
    f.labelHeightMm = 35;
    f.pitchXMm = 72;
    f.pitchYMm = 37;
    f.barHeightMm = 12;
    return f;
}

// Texts in English for the messages compared below.
struct English {
    English() { base::Parameters.Language = 2; }
    ~English() { base::Parameters.Language = 1; }
};

} // namespace

TEST(SheetFormat, SlotsFillRowByRow)
{
    const SheetFormat f = twoByThree();
    EXPECT_EQ(f.slotCount(), 6);
    EXPECT_EQ(f.labelRect(1), QRectF(5, 6, 68, 35));
    EXPECT_EQ(f.labelRect(2), QRectF(77, 6, 68, 35));
    EXPECT_EQ(f.labelRect(3), QRectF(5, 43, 68, 35));
    EXPECT_EQ(f.labelRect(6), QRectF(77, 80, 68, 35));
    EXPECT_TRUE(f.labelRect(0).isNull());
    EXPECT_TRUE(f.labelRect(7).isNull());
}

TEST(SheetFormat, EachRuleHasItsProblem)
{
    const struct {
        const char *what;
        std::function<void(SheetFormat &)> change;
        std::optional<SheetProblem> expected;
    } cases[] = {
        {"valid", [](SheetFormat &) {}, std::nullopt},
        {"labels exactly at the edges", [](SheetFormat &f) { f.leftMm = 10; f.topMm = 9; }, std::nullopt},
        {"blank name", [](SheetFormat &f) { f.name = QStringLiteral("  "); }, SheetProblem::NameMissing},
        {"long name", [](SheetFormat &f) { f.name = QString(61, u'x'); }, SheetProblem::NameTooLong},
        {"number name", [](SheetFormat &f) { f.name = QStringLiteral(" 12 "); }, SheetProblem::NameIsNumber},
        {"taken name", [](SheetFormat &f) { f.name = QStringLiteral("OTHER"); }, SheetProblem::NameTaken},
        {"tiny page", [](SheetFormat &f) { f.pageHeightMm = 10; }, SheetProblem::PageSize},
        {"NaN page", [](SheetFormat &f) { f.pageWidthMm = std::nan(""); }, SheetProblem::PageSize},
        {"no columns", [](SheetFormat &f) { f.columns = 0; }, SheetProblem::GridSize},
        {"10,000 labels", [](SheetFormat &f) { f.columns = 100; f.rows = 100; }, SheetProblem::LabelCount},
        {"negative margin", [](SheetFormat &f) { f.leftMm = -1; }, SheetProblem::Margins},
        {"negative label", [](SheetFormat &f) { f.labelWidthMm = -68; }, SheetProblem::LabelSize},
        {"pitch below width", [](SheetFormat &f) { f.pitchXMm = 60; }, SheetProblem::PitchX},
        {"pitch below height", [](SheetFormat &f) { f.pitchYMm = 30; }, SheetProblem::PitchY},
        {"off the right edge", [](SheetFormat &f) { f.leftMm = 10.1; }, SheetProblem::OffPageX},
        {"off the bottom", [](SheetFormat &f) { f.rows = 4; }, SheetProblem::OffPageY},
        {"bars taller than the label", [](SheetFormat &f) { f.barHeightMm = 36; }, SheetProblem::BarHeight},
        {"three text lines", [](SheetFormat &f) { f.textLines = 3; }, SheetProblem::TextLines},
        {"huge font", [](SheetFormat &f) { f.fontSizePt = 72; }, SheetProblem::FontSize},
    };
    for (const auto &c : cases) {
        SheetFormat f = twoByThree();
        c.change(f);
        EXPECT_EQ(CheckSheetFormat(f, {QStringLiteral("other")}), c.expected) << c.what;
    }
}

TEST(SheetFormat, BuiltinSheetsMatchTheirLayouts)
{
    for (int entry = 1; entry <= LabelFormats::Count; ++entry) {
        SCOPED_TRACE(entry);
        const std::optional<SheetFormat> sheet = BuiltinSheet(entry);
        ASSERT_TRUE(sheet.has_value());
        EXPECT_EQ(sheet->slotCount(), LabelFormats::LabelsPerPage(entry));
        EXPECT_EQ(CheckSheetFormat(*sheet), std::nullopt);
    }
    EXPECT_FALSE(BuiltinSheet(0).has_value());
    EXPECT_FALSE(BuiltinSheet(14).has_value());
    // The 65-label sheet: 38.1 mm labels, 40.6 mm apart, whose first barcode
    // (5 mm from the page edge) starts inside the first label.
    const SheetFormat sheet = *BuiltinSheet(12);
    EXPECT_DOUBLE_EQ(sheet.labelWidthMm, 38.1);
    EXPECT_TRUE(sheet.labelRect(1).contains(QPointF(5, 12)));
    EXPECT_TRUE(sheet.labelRect(65).contains(QPointF(167.5 + 30, 12 + 12 * 21.2 + 6)));
}

TEST(CustomFormats, SavedFormatsReadBackInOrder)
{
    DataDir dir;
    const QString path = dir.file(QStringLiteral("formats.json"));
    SheetFormat second = twoByThree();
    second.name = QStringLiteral("Étagère « B »");
    second.readableLine = false;
    second.textLines = 0;
    second.fontSizePt = 7.5;
    const std::vector<SheetFormat> formats{twoByThree(), second};
    CustomFormats::Save(path, formats);
    const CustomFormatsLoad load = CustomFormats::Load(path);
    EXPECT_EQ(load.error, QString());
    EXPECT_EQ(load.formats, formats);
    // The keys as the file documents them.
    const QByteArray json = readFile(path);
    for (const char *key : {"\"page_width_mm\"", "\"pitch_x_mm\"", "\"readable_line\"", "\"font_size_pt\""})
        EXPECT_TRUE(json.contains(key)) << key;
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".damaged")));

    EXPECT_EQ(CustomFormats::Load(dir.file(QStringLiteral("absent.json"))).error, QString());
}

TEST(CustomFormats, DamagedFilesAreNamedExplainedAndLeftAlone)
{
    const English english;
    const QByteArray good = CustomFormats::ToJson({twoByThree()});
    const auto replaced = [&](const char *from, const char *to) {
        QByteArray json = good;
        return json.replace(from, to);
    };
    const struct {
        const char *what;
        QByteArray json;
        const char *message;
    } cases[] = {
        {"not JSON", "{\"formats\":[{\"name\":", "it is not valid JSON"},
        {"an array", "[1,2]", "it has no \"formats\" list"},
        {"no list", "{\"formats\":{}}", "it has no \"formats\" list"},
        {"an entry not an object", "{\"formats\":[3]}", "format no. 1 is not an object"},
        {"missing field", replaced("\"rows\"", "\"rowz\""), "format no. 1 lacks the field \"rows\""},
        {"text for a number", replaced("\"columns\": 2", "\"columns\": \"2\""),
         "the field \"columns\" of format no. 1 has a value of the wrong type"},
        {"fractional columns", replaced("\"columns\": 2", "\"columns\": 2.5"),
         "the field \"columns\" of format no. 1 has a value of the wrong type"},
        {"negative size", replaced("\"label_width_mm\": 68", "\"label_width_mm\": -68"),
         "format no. 1 \"Shelf 2x3\": A label must be at least"},
        {"off the page", replaced("\"left_mm\": 5", "\"left_mm\": 50"),
         "format no. 1 \"Shelf 2x3\": The last column runs past the right edge of the page."},
        {"10,000 labels", replaced("\"rows\": 3", "\"rows\": 5000"), "A sheet holds 1 to 500 labels."},
        {"same name twice", CustomFormats::ToJson({twoByThree(), twoByThree()}),
         "format no. 2 \"Shelf 2x3\": Another format already has this name."},
    };
    DataDir dir;
    const QString path = dir.file(QStringLiteral("formats.json"));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(writeFile(path, c.json));
        const CustomFormatsLoad load = CustomFormats::Load(path);
        EXPECT_TRUE(load.formats.empty());
        EXPECT_TRUE(load.error.startsWith(QStringLiteral("The custom formats of the file \"%1\" are not used: ").arg(path)))
            << load.error.toStdString();
        EXPECT_TRUE(load.error.contains(QString::fromUtf8(c.message))) << load.error.toStdString();
        EXPECT_EQ(readFile(path), c.json);
    }
    // Saving over a damaged file keeps the damaged one aside first.
    CustomFormats::Save(path, {twoByThree()});
    EXPECT_EQ(readFile(path + QStringLiteral(".damaged")), cases[std::size(cases) - 1].json);
    EXPECT_EQ(CustomFormats::Load(path).formats.size(), 1u);
}

TEST(Calibration, OffsetsPerPrinterRoundedAndKeptInRange)
{
    DataDir dir;
    const QString ini = dir.file(QStringLiteral("etibarix.ini"));
    {
        Calibration calibration(ini);
        EXPECT_EQ(calibration.offset(QStringLiteral("Office")), PrinterOffset{});
        calibration.setOffset(QStringLiteral("Office"), {1.54, -2.0});
        calibration.setOffset(QStringLiteral("ipp://host/printers/a b"), {-25, 20});
    }
    const Calibration calibration(ini);
    EXPECT_EQ(calibration.offset(QStringLiteral("Office")), (PrinterOffset{1.5, -2.0}));
    EXPECT_EQ(calibration.offset(QStringLiteral("ipp://host/printers/a b")), (PrinterOffset{-20, 20}));
    EXPECT_EQ(calibration.offset(QStringLiteral("office")), PrinterOffset{});
    // A hand-edited value out of range reads back clamped.
    QSettings(ini, QSettings::IniFormat).setValue(QStringLiteral("calibration/Office/x"), 99);
    EXPECT_EQ(Calibration(ini).offset(QStringLiteral("Office")).x, 20);
}
