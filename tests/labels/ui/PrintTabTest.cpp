// The print tab on a stand-in window: PDF export, preview, the
// question about a newer layout file, the criteria, Cancel in the status
// window, the button texts.

#include "tests/support/MainWindowHost.h"
#include "tests/support/UiTestSupport.h"

#include "base/Parameters.h"
#include "labels/print/LabelReport.h"
#include "labels/ui/PrintTab.h"
#include "labels/ui/ReportStatusWindow.h"
#include "labels/ui/SheetControls.h"

#include <QApplication>
#include <QBoxLayout>
#include <QKeyEvent>
#include <QDateTime>
#include <QCheckBox>
#include <QLabel>
#include <QSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace etibarix;

namespace {

// The number of pages of a PDF (pdfinfo), -1 when unreadable.
int pdfPages(const QString &pdf)
{
    const test::CliResult r = test::runTool(QStringLiteral("pdfinfo"), {pdf});
    const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
    const auto m = pages.match(QString::fromUtf8(r.out));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QString pdfText(const QString &pdf)
{
    return QString::fromUtf8(test::runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}).out);
}

// Answers the message boxes of a job; the status window (application modal
// while sheets print) is left alone. Counts and keeps what the boxes said.
struct Boxes {
    explicit Boxes(QMessageBox::StandardButton button)
        : answer([this, button](QWidget *modal) {
              auto *box = qobject_cast<QMessageBox *>(modal);
              if (!box)
                  return;
              texts << box->text();
              titles << box->windowTitle();
              icons << box->icon();
              test::pressButton(box, button);
          })
    {
    }
    QStringList texts;
    QStringList titles;
    QList<QMessageBox::Icon> icons;
    test::ModalAnswer answer;
};

class PrintTabTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = std::make_unique<test::Host>(2, [this] { return list; });
        commands = &host->printTab();
        // Layout 8: 15 labels a sheet. 20 + 3 labels, two records print nothing.
        host->insert(1, "AAA111", "alpha", "one", 20);
        host->insert(2, "ZERO", "none", "x", 0);
        host->insert(3, "", "blank", "x", 4);
        host->insert(4, "BBB222", "beta", "two", 3, "N");
        host->selectFormat(8);
        commands->setPdfFileChooser([this](QWidget *, const QString &title, const QString &) {
            chooserTitle = title;
            ++chooserCalls;
            return pdfPath;
        });
        pdfPath = host->dir().file(QStringLiteral("out.pdf"));
        QObject::connect(&commands->statusWindow(), &labels::ReportStatusWindow::pageShown, &commands->statusWindow(),
                         [this](int page) {
                             statusPages << page;
                             statusTitle = commands->statusWindow().windowTitle();
                             statusTexts << commands->statusWindow().findChild<QLabel *>(QStringLiteral("labStatus"))->text();
                             EXPECT_TRUE(commands->statusWindow().isVisible());
                         });
    }
    void TearDown() override
    {
        commands = nullptr;
        host.reset();
    }

    // A layout file dated after the built-in copy.
    void writeNewerLayoutFile(const QByteArray &bytes)
    {
        const QString path = host->dir().file(QStringLiteral("etbdoc.rav"));
        ASSERT_TRUE(test::writeFile(path, bytes));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime(), QFileDevice::FileModificationTime));
    }

    test::Watchdog watchdog{30};
    std::unique_ptr<test::Host> host;
    labels::PrintTab *commands = nullptr;
    records::ListState list;
    QString pdfPath;
    QString chooserTitle;
    int chooserCalls = 0;
    QList<int> statusPages;
    QStringList statusTexts;
    QString statusTitle;
};

TEST_F(PrintTabTest, ExportWritesEverySheetOfAllRecordsWithTheStatusWindow)
{
    Boxes boxes(QMessageBox::Ok);
    commands->exportButton()->click();
    EXPECT_TRUE(boxes.texts.isEmpty()) << boxes.texts.join(u'|').toStdString();
    EXPECT_EQ(chooserTitle, QStringLiteral("Save the labels as PDF"));
    ASSERT_TRUE(QFileInfo::exists(pdfPath));
    EXPECT_EQ(pdfPages(pdfPath), 2);
    EXPECT_EQ(commands->lastResult().sheets, 2);
    EXPECT_EQ(commands->lastResult().labels, 23);
    EXPECT_EQ(statusPages, (QList<int>{1, 2}));
    EXPECT_EQ(statusTitle, QStringLiteral("Report Status"));
    EXPECT_EQ(statusTexts, (QStringList{QStringLiteral("Printing page 1"), QStringLiteral("Printing page 2")}));
    EXPECT_EQ(commands->statusWindow().cancelButton()->text(), QStringLiteral("Cancel"));
    EXPECT_FALSE(commands->statusWindow().isVisible());
    const QString text = pdfText(pdfPath);
    EXPECT_TRUE(text.contains(QStringLiteral("alpha"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("beta")));
    EXPECT_FALSE(text.contains(QStringLiteral("none")));
    EXPECT_FALSE(text.contains(QStringLiteral("blank")));
}

TEST_F(PrintTabTest, ExportFollowsTheTextFlagsAndTheCriteriaInTheListOrder)
{
    host->find<QRadioButton>("Rafichem")->setChecked(true);
    host->find<QCheckBox>("topimpTexte2")->setChecked(false);
    host->insert(5, "AAA000", "gamma", "three", 1);
    list.criteriaCb = "AAA";
    list.SortColumn = 1;           // by barcode, descending
    list.SortDescending = true;
    Boxes boxes(QMessageBox::Ok);
    commands->exportButton()->click();
    EXPECT_TRUE(boxes.texts.isEmpty());
    ASSERT_TRUE(QFileInfo::exists(pdfPath));
    EXPECT_EQ(commands->lastResult().labels, 21);   // BBB222 does not match
    const QString text = pdfText(pdfPath);
    EXPECT_FALSE(text.contains(QStringLiteral("beta")));
    EXPECT_FALSE(text.contains(QStringLiteral("one"))) << "text 2 printed although not ticked";
    // AAA111 sorts before AAA000 in descending order: its 20 labels fill the
    // first sheet and 5 slots of the second, then comes "gamma".
    const qsizetype page2 = text.indexOf(u'\f');
    ASSERT_GT(page2, 0);
    EXPECT_FALSE(text.left(page2).contains(QStringLiteral("gamma")));
    EXPECT_TRUE(text.mid(page2).contains(QStringLiteral("gamma")));

    const labels::PrintJobSettings settings = commands->CurrentSettings();
    EXPECT_FALSE(settings.allRecords);
    EXPECT_FALSE(settings.text2);
    EXPECT_EQ(settings.list.criteriaCb, QByteArray("AAA"));
}

TEST_F(PrintTabTest, CancelInTheStatusWindowStopsTheJobAndWritesNoFile)
{
    host->insert(6, "CCC", "more", "x", 40);   // 63 labels: five sheets
    QObject::connect(&commands->statusWindow(), &labels::ReportStatusWindow::pageShown, &commands->statusWindow(),
                     [this, once = true](int page) mutable {
                         if (page == 2 && once) {
                             once = false;
                             commands->statusWindow().cancelButton()->click();
                         }
                     });
    Boxes boxes(QMessageBox::Ok);
    commands->exportButton()->click();
    EXPECT_TRUE(boxes.texts.isEmpty());
    EXPECT_TRUE(commands->lastResult().cancelled);
    EXPECT_EQ(commands->lastResult().sheets, 1);
    EXPECT_EQ(statusPages, (QList<int>{1, 2}));
    EXPECT_FALSE(QFileInfo::exists(pdfPath));
    EXPECT_FALSE(commands->statusWindow().isVisible());

    // The next job starts afresh.
    statusPages.clear();
    commands->exportButton()->click();
    EXPECT_FALSE(commands->lastResult().cancelled);
    EXPECT_EQ(commands->lastResult().sheets, 5);
    EXPECT_EQ(pdfPages(pdfPath), 5);
}

TEST_F(PrintTabTest, NothingSelectedOrChosenDoesNothing)
{
    Boxes boxes(QMessageBox::Ok);
    pdfPath.clear();                       // the dialog cancelled
    commands->exportButton()->click();
    EXPECT_EQ(chooserCalls, 1);
    EXPECT_TRUE(statusPages.isEmpty());

    pdfPath = host->dir().file(QStringLiteral("x.pdf"));
    host->find<QComboBox>("CombListeEtiquette")->setCurrentIndex(-1);
    host->find<QRadioButton>("RCodeC")->setChecked(true);
    commands->exportButton()->click();
    commands->previewButton()->click();
    host->find<QAbstractButton>("btimprime")->click();
    EXPECT_EQ(chooserCalls, 1);
    EXPECT_FALSE(QFileInfo::exists(pdfPath));
    EXPECT_TRUE(boxes.texts.isEmpty());
    EXPECT_EQ(base::Parameters.CodeSet, 3) << "the print button stores the code set first";

    // Records that all print nothing: no file, no box.
    host->selectFormat(1);
    host->find<QRadioButton>("Rafichem")->setChecked(true);
    list.criteriaCb = "ZERO";
    commands->exportButton()->click();
    EXPECT_FALSE(QFileInfo::exists(pdfPath));
    EXPECT_EQ(commands->lastResult().sheets, 0);
    EXPECT_TRUE(boxes.texts.isEmpty());
}

TEST_F(PrintTabTest, NewerLayoutFileIsAskedAboutAndNoUsesTheBuiltInLayouts)
{
    writeNewerLayoutFile("not a layout project");
    Boxes no(QMessageBox::No);
    commands->exportButton()->click();
    ASSERT_EQ(no.texts.size(), 1);
    const QString full = labels::LabelReport::fullPath(host->dir().file(QStringLiteral("etbdoc.rav")));
    EXPECT_EQ(no.texts.first(), QStringLiteral("The report project stored in the executable is older than the disk file\n\"")
                                    + full + QStringLiteral("\"\nDo you want to use the file on disk?"));
    EXPECT_EQ(no.icons.first(), QMessageBox::Warning);
    EXPECT_EQ(pdfPages(pdfPath), 2);
}

TEST_F(PrintTabTest, NewerLayoutFileChosenButUnreadableShowsTheReadingErrorAndPrintsNothing)
{
    writeNewerLayoutFile("not a layout project");
    Boxes yes(QMessageBox::Yes);
    commands->exportButton()->click();
    ASSERT_EQ(yes.texts.size(), 2);
    EXPECT_TRUE(yes.texts[0].startsWith(QStringLiteral("The report project stored in the executable")));
    EXPECT_EQ(yes.titles[1], QStringLiteral("Etibarix"));
    EXPECT_EQ(yes.icons[1], QMessageBox::Critical);
    EXPECT_FALSE(yes.texts[1].isEmpty());
    EXPECT_FALSE(QFileInfo::exists(pdfPath));
    EXPECT_TRUE(statusPages.isEmpty());
    EXPECT_FALSE(commands->report().isOpen());
}

TEST_F(PrintTabTest, PreviewShowsTheSheetsAndAsksAboutTheLayoutFileOnce)
{
    writeNewerLayoutFile("not a layout project");
    int previewPages = -1;
    int paints = 0;
    QObject::connect(commands, &labels::PrintTab::previewPainted, commands, [&](int pages) {
        previewPages = pages;
        ++paints;
    });
    int questions = 0;
    QString previewTitle;
    int widgetPages = -1;
    test::ModalAnswer answer([&](QWidget *modal) {
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            ++questions;
            test::pressButton(box, QMessageBox::No);
        } else if (auto *preview = qobject_cast<QPrintPreviewDialog *>(modal)) {
            previewTitle = preview->windowTitle();
            auto *widget = preview->findChild<QPrintPreviewWidget *>();
            widgetPages = widget ? widget->pageCount() : -2;
            if (widget)
                widget->updatePreview();   // a redraw runs the job again
            test::saveShot(preview, QStringLiteral("preview-en"));
            preview->close();
        }
    });
    commands->previewButton()->click();
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(previewTitle, QStringLiteral("Label preview"));
    EXPECT_EQ(widgetPages, 2);
    EXPECT_EQ(previewPages, 2);
    EXPECT_GE(paints, 2);
    EXPECT_TRUE(statusPages.isEmpty()) << "the preview uses no paper and shows no status window";
    EXPECT_FALSE(commands->report().isOpen());
}

TEST_F(PrintTabTest, ButtonsSitBesideThePrintButtonInTheLanguageOfTheTexts)
{
    auto *print = host->find<QAbstractButton>("btimprime");
    auto *layout = qobject_cast<QBoxLayout *>(host->find<QGroupBox>("gbpcodbar")->layout());
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(layout->indexOf(commands->previewButton()), layout->indexOf(print) + 1);
    EXPECT_EQ(layout->indexOf(commands->exportButton()), layout->indexOf(print) + 2);
    EXPECT_EQ(commands->previewButton()->objectName(), QStringLiteral("btapercu"));
    EXPECT_EQ(commands->exportButton()->objectName(), QStringLiteral("btexportpdf"));
    const QStringList expected[] = {
        {QStringLiteral("Aperçu avant impression"), QStringLiteral("Exporter en PDF")},
        {QStringLiteral("Print preview"), QStringLiteral("Export to PDF")},
        {QStringLiteral("Pré-visualizar"), QStringLiteral("Exportar para PDF")},
    };
    for (int language : {1, 3, 2}) {
        base::Parameters.Language = language;
        commands->retranslate();
        EXPECT_EQ(commands->previewButton()->text(), expected[language - 1][0]);
        EXPECT_EQ(commands->exportButton()->text(), expected[language - 1][1]);
    }
}

} // namespace

TEST(ReportStatusWindow, ButtonCloseBoxAndEscapeAllCancelAndKeepTheWindowUntilTheJobEnds)
{
    const std::function<void(labels::ReportStatusWindow &)> ways[] = {
        [](labels::ReportStatusWindow &w) { w.cancelButton()->click(); },
        [](labels::ReportStatusWindow &w) { w.close(); },
        [](labels::ReportStatusWindow &w) {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(&w, &escape);
        },
    };
    for (const auto &cancel : ways) {
        labels::ReportStatusWindow window;
        window.Start();
        EXPECT_TRUE(window.BeginPage(1));
        window.EndPage();
        cancel(window);
        EXPECT_TRUE(window.isVisible()) << "the window stays while the job winds down";
        EXPECT_FALSE(window.BeginPage(2));
        window.Finish();
        EXPECT_FALSE(window.isVisible());
        window.Start();
        EXPECT_TRUE(window.BeginPage(1)) << "a new job forgets the Cancel";
        window.Finish();
    }
}

TEST_F(PrintTabTest, SheetControlsGoIntoTheJobAndAGoodJobStartsAtOneAgain)
{
    labels::SheetControls &sheet = commands->sheetControls();
    ASSERT_EQ(sheet.startBox()->maximum(), 15);
    EXPECT_EQ(sheet.startBox()->parentWidget()->objectName(), QStringLiteral("gpImp"));
    sheet.startBox()->setValue(14);
    sheet.fitBox()->setChecked(true);
    const labels::PrintJobSettings settings = commands->CurrentSettings();
    EXPECT_EQ(settings.startSlot, 14);
    EXPECT_TRUE(settings.shrinkToFit);
    EXPECT_FALSE(settings.customFormat.has_value());

    Boxes boxes(QMessageBox::Ok);
    commands->exportButton()->click();
    // 23 labels from slot 14: 2 + 15 + 6.
    EXPECT_EQ(pdfPages(pdfPath), 3);
    EXPECT_EQ(commands->lastResult().labels, 23);
    EXPECT_EQ(sheet.startSlot(), 1);
}

TEST_F(PrintTabTest, BarcodesThatWillNotPrintAsHeldAreAskedAboutAndNoStartsNoJob)
{
    const QByteArray fifty = QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXY").repeated(2);
    host->insert(5, "CAF\xC9", "accent", "x", 1);
    host->insert(6, fifty, "wide", "x", 1);
    {
        Boxes no(QMessageBox::No);
        commands->exportButton()->click();
        ASSERT_EQ(no.texts.size(), 1);
        EXPECT_EQ(no.icons.first(), QMessageBox::Warning);
        const QString &text = no.texts.first();
        EXPECT_TRUE(text.contains(QStringLiteral("Record 5: \u201CCAF\u00C9\u201D loses \u201C\u00C9\u201D"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Record 6: \u201C") + QString::fromLatin1(fifty)
                                  + QStringLiteral("\u201D is 148.6 mm wide, the label ")));
        EXPECT_TRUE(text.endsWith(QStringLiteral("Print anyway?")));
        EXPECT_TRUE(commands->lastResult().declined);
        EXPECT_FALSE(QFileInfo::exists(pdfPath));
        EXPECT_TRUE(statusPages.isEmpty());
    }
    Boxes yes(QMessageBox::Yes);
    commands->exportButton()->click();
    ASSERT_EQ(yes.texts.size(), 1);
    EXPECT_EQ(commands->lastResult().labels, 25);
    EXPECT_EQ(pdfPages(pdfPath), 2);

    // Five records of a kind are named, the rest counted; French decimals.
    labels::PrintFindings many;
    for (int num = 1; num <= 7; ++num)
        many.push_back({labels::PrintFinding::TooWide, num, "AB", {}, 40.26, 38.1});
    const QString french = labels::PrintTab::FindingsQuestion(many, QStringLiteral("Planche"), 1);
    EXPECT_EQ(french.count(QStringLiteral(" mesure 40,3 mm, l'étiquette 38,1 mm")), 5) << french.toStdString();
    EXPECT_TRUE(french.contains(QStringLiteral("« Planche »")));
    EXPECT_TRUE(french.contains(QStringLiteral("Fiche 5 :")));
    EXPECT_FALSE(french.contains(QStringLiteral("Fiche 6 :")));
    EXPECT_TRUE(french.contains(QStringLiteral("… et 2 autres fiches.")));
}
