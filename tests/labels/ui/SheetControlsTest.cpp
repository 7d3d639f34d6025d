// The print tab's sheet controls and their dialogs: the start label follows
// the format, formats are created, edited and deleted through the format
// dialog, whose checks and drawing follow every change, and the calibration
// dialog stores a printer's offsets and prints its test sheet.

#include "base/DataDir.h"
#include "base/Parameters.h"
#include "labels/formats/CustomFormats.h"
#include "labels/formats/LabelFormats.h"
#include "labels/print/Calibration.h"
#include "labels/ui/CalibrationDialog.h"
#include "labels/ui/FormatDialog.h"
#include "labels/ui/LabelFormatCombo.h"
#include "labels/ui/SheetControls.h"
#include "labels/ui/SheetPreview.h"
#include "tests/support/TestSupport.h"
#include "tests/support/UiTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <gtest/gtest.h>

using namespace etibarix;
using namespace etibarix::labels;
using etibarix::test::DataDir;
using etibarix::test::ModalAnswer;

namespace {

class SheetControlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        base::setDataDirOverride(dir.path());
        base::Parameters.Language = 2;
        controls = std::make_unique<SheetControls>(&window, formats, formatCombo, printerCombo);
        FillLabelFormatCombo(formatCombo, formats);
        printerCombo.addItems({QStringLiteral("Office"), QStringLiteral("Shelf printer")});
        printerCombo.setCurrentIndex(1);
    }
    void TearDown() override
    {
        base::setDataDirOverride({});
        base::Parameters.Language = 1;
    }
    void select(int entry)
    {
        for (int i = 0; i < formatCombo.count(); ++i) {
            if (LabelFormats::EntryNumberOfItem(formatCombo.itemText(i)) == entry)
                formatCombo.setCurrentIndex(i);
        }
        ASSERT_EQ(SelectedLabelFormat(formatCombo), entry);
    }
    // Fills the open format dialog with a 2 x 3 format named `name` and presses OK.
    static void fillShelf(QWidget *modal, const QString &name)
    {
        auto *dialog = qobject_cast<FormatDialog *>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->nameEdit()->setText(name);
        dialog->pageCombo()->setCurrentIndex(2);
        dialog->pageWidthBox()->setValue(150);
        dialog->pageHeightBox()->setValue(120);
        dialog->columnsBox()->setValue(2);
        dialog->rowsBox()->setValue(3);
        dialog->leftBox()->setValue(5);
        dialog->topBox()->setValue(6);
        dialog->labelWidthBox()->setValue(68);
        dialog->labelHeightBox()->setValue(35);
        dialog->pitchXBox()->setValue(72);
        dialog->pitchYBox()->setValue(37);
        EXPECT_EQ(dialog->problemText(), QString());
        dialog->buttons()->button(QDialogButtonBox::Ok)->click();
    }

    DataDir dir;
    QWidget window;
    QComboBox formatCombo;
    QComboBox printerCombo;
    LabelFormats formats;
    std::unique_ptr<SheetControls> controls;
};

} // namespace

TEST_F(SheetControlsTest, StartLabelFollowsTheFormatAndResetsAfterAGoodJob)
{
    select(12);
    EXPECT_EQ(controls->startBox()->maximum(), 65);
    controls->startBox()->setValue(40);
    EXPECT_EQ(controls->startSlot(), 40);
    controls->jobFinished(false);
    EXPECT_EQ(controls->startSlot(), 40);
    select(1);
    EXPECT_EQ(controls->startBox()->maximum(), 12);
    EXPECT_EQ(controls->startSlot(), 12);
    controls->jobFinished(true);
    EXPECT_EQ(controls->startSlot(), 1);
    EXPECT_FALSE(controls->fitBox()->isChecked());
    EXPECT_FALSE(controls->editButton()->isEnabled());
    EXPECT_FALSE(controls->deleteButton()->isEnabled());
    EXPECT_EQ(controls->startCaption()->text(), QStringLiteral("Start at label"));
    base::Parameters.Language = 3;
    controls->retranslate();
    EXPECT_EQ(controls->startCaption()->text(), QStringLiteral("Começar na etiqueta"));
    EXPECT_EQ(controls->fitBox()->text(), QStringLiteral("Reduzir os códigos demasiado largos"));
    base::Parameters.Language = 1;
    controls->retranslate();
    EXPECT_EQ(controls->calibrateButton()->text(), QStringLiteral("Calibrer l'imprimante…"));
}

TEST_F(SheetControlsTest, FormatsAreCreatedEditedAndDeleted)
{
    {
        ModalAnswer answer([](QWidget *modal) { fillShelf(modal, QStringLiteral("Shelf")); });
        controls->newFormatClick();
        EXPECT_EQ(answer.count(), 1);
    }
    // Saved, listed after the thirteen, selected, with its slot count.
    EXPECT_EQ(formatCombo.count(), 14);
    EXPECT_EQ(formatCombo.currentIndex(), 13);
    EXPECT_EQ(SelectedLabelFormat(formatCombo), 14);
    EXPECT_EQ(controls->startBox()->maximum(), 6);
    EXPECT_TRUE(controls->editButton()->isEnabled());
    CustomFormatsLoad load = CustomFormats::Load(CustomFormats::DefaultPath());
    ASSERT_EQ(load.formats.size(), 1u);
    EXPECT_EQ(load.formats[0].name, QStringLiteral("Shelf"));
    EXPECT_EQ(load.formats[0].slotCount(), 6);

    {
        ModalAnswer answer([](QWidget *modal) {
            auto *dialog = qobject_cast<FormatDialog *>(modal);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->nameEdit()->text(), QStringLiteral("Shelf"));
            dialog->rowsBox()->setValue(2);
            dialog->buttons()->button(QDialogButtonBox::Ok)->click();
        });
        controls->editFormatClick();
    }
    EXPECT_EQ(controls->startBox()->maximum(), 4);
    EXPECT_EQ(CustomFormats::Load(CustomFormats::DefaultPath()).formats.at(0).rows, 2);

    // A second format may not take the first one's name.
    {
        ModalAnswer answer([](QWidget *modal) {
            auto *dialog = qobject_cast<FormatDialog *>(modal);
            ASSERT_NE(dialog, nullptr);
            dialog->nameEdit()->setText(QStringLiteral("SHELF"));
            EXPECT_EQ(dialog->problemLabel()->text(), QStringLiteral("Another format already has this name."));
            EXPECT_FALSE(dialog->buttons()->button(QDialogButtonBox::Ok)->isEnabled());
            dialog->reject();
        });
        controls->newFormatClick();
    }
    EXPECT_EQ(formatCombo.count(), 14);

    int asked = 0;
    controls->setQuestion([&](const QString &text) {
        ++asked;
        EXPECT_EQ(text, QStringLiteral("Delete the format \"Shelf\"?"));
        return asked > 1;
    });
    controls->deleteFormatClick();
    EXPECT_EQ(formatCombo.count(), 14);
    controls->deleteFormatClick();
    EXPECT_EQ(formatCombo.count(), 13);
    EXPECT_TRUE(CustomFormats::Load(CustomFormats::DefaultPath()).formats.empty());
}

TEST(FormatDialog, ChecksAndDrawingFollowEveryChange)
{
    base::Parameters.Language = 1;
    FormatDialog dialog;
    dialog.nameEdit()->setText(QStringLiteral("Essai"));
    EXPECT_EQ(dialog.problemText(), QString());
    EXPECT_EQ(dialog.problemLabel()->text(), QStringLiteral("24 étiquettes par feuille."));
    dialog.leftBox()->setValue(20);
    EXPECT_EQ(dialog.problemText(), QStringLiteral("La dernière colonne dépasse le bord droit de la page."));
    EXPECT_FALSE(dialog.buttons()->button(QDialogButtonBox::Ok)->isEnabled());
    EXPECT_DOUBLE_EQ(dialog.preview()->format().leftMm, 20);
    // Letter is narrower in height: the eighth row no longer fits.
    dialog.leftBox()->setValue(7);
    dialog.pageCombo()->setCurrentIndex(1);
    EXPECT_DOUBLE_EQ(dialog.format().pageHeightMm, 279.4);
    EXPECT_FALSE(dialog.pageWidthBox()->isEnabled());
    EXPECT_EQ(dialog.problemText(), QStringLiteral("La dernière rangée dépasse le bas de la page."));
    dialog.rowsBox()->setValue(7);
    EXPECT_TRUE(dialog.buttons()->button(QDialogButtonBox::Ok)->isEnabled());
    dialog.resize(dialog.sizeHint());
    test::saveShot(&dialog, QStringLiteral("format-dialog"));
    dialog.columnsBox()->setValue(100);
    dialog.rowsBox()->setValue(100);
    EXPECT_EQ(dialog.problemText(), QStringLiteral("Une feuille compte de 1 à 500 étiquettes."));
    // The drawing paints whatever the fields say, even a format that fails.
    dialog.preview()->resize(200, 280);
    EXPECT_FALSE(dialog.preview()->grab().isNull());
    base::Parameters.Language = 2;
    dialog.retranslate();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Label format"));
    EXPECT_EQ(dialog.problemText(), QStringLiteral("A sheet holds 1 to 500 labels."));
    base::Parameters.Language = 1;
}

TEST_F(SheetControlsTest, CalibrationIsStoredPerPrinterAndPrintsTheTestSheet)
{
    select(12);
    std::vector<std::tuple<int, QString, PrinterOffset>> printed;
    controls->setTestSheetPrinter(
        [&](int entry, const QString &printer, PrinterOffset offset) { printed.emplace_back(entry, printer, offset); });
    {
        ModalAnswer answer([](QWidget *modal) {
            auto *dialog = qobject_cast<CalibrationDialog *>(modal);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Calibrate printer"));
            dialog->offsetXBox()->setValue(1.5);
            dialog->offsetYBox()->setValue(-2.04);
            dialog->testSheetButton()->click();
            dialog->offsetXBox()->setValue(25);   // held at the limit
            dialog->buttons()->button(QDialogButtonBox::Ok)->click();
        });
        controls->calibrateClick();
    }
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0], std::make_tuple(12, QStringLiteral("Shelf printer"), PrinterOffset{1.5, -2.0}));
    EXPECT_EQ(Calibration().offset(QStringLiteral("Shelf printer")), (PrinterOffset{20.0, -2.0}));
    EXPECT_EQ(Calibration().offset(QStringLiteral("Office")), PrinterOffset{});
    // Cancel keeps what was stored.
    {
        ModalAnswer answer([](QWidget *modal) {
            auto *dialog = qobject_cast<CalibrationDialog *>(modal);
            ASSERT_NE(dialog, nullptr);
            EXPECT_DOUBLE_EQ(dialog->offsetXBox()->value(), 20.0);
            dialog->offsetXBox()->setValue(3);
            dialog->reject();
        });
        controls->calibrateClick();
    }
    EXPECT_EQ(Calibration().offset(QStringLiteral("Shelf printer")).x, 20.0);
}
