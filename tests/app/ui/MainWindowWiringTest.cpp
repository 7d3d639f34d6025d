// The print and archive commands the program's real main window wires: the
// extra buttons in its print group, a PDF of its label format choice, a
// restore that refreshes its grid, and pictures of its print tab in the
// three languages.

#include "i18n/AddedTexts.h"
#include "tests/support/MainWindowHost.h"
#include "tests/support/UiTestSupport.h"

#include "base/DataDir.h"
#include "store/TableFiles.h"
#include "base/Parameters.h"
#include "app/ui/ProgramWindows.h"
#include "app/ui/MainWindow.h"
#include "backup/ui/BackupCommands.h"
#include "i18n/LanguageTable.h"
#include "i18n/ui/QtTranslation.h"
#include "labels/formats/LabelFormats.h"
#include "labels/ui/PrintTab.h"

#include <QBoxLayout>
#include <QRadioButton>
#include <QEventLoop>
#include <QFileInfo>
#include <QTabWidget>
#include <QTableView>

#include <gtest/gtest.h>

using namespace etibarix;

namespace {

bool waitFor(const std::function<bool()> &condition, int timeoutMs = 5000)
{
    for (int waited = 0; !condition(); waited += 10) {
        if (waited >= timeoutMs)
            return false;
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

} // namespace

TEST(MainWindowWiring, PrintAndArchiveCommandsOnTheProgramsWindow)
{
    test::Watchdog watchdog(60);
    test::DataDir dir;
    QApplication::setQuitOnLastWindowClosed(false);
    base::setDataDirOverride(dir.path());
    base::Parameters.Clear();
    base::Parameters.Language = 2;
    base::Parameters.CodeSet = 1;
    ASSERT_TRUE(base::SaveParameters(0, QString()));   // no language question at start
    i18n::ClearLanguageTable();
    {
        app::ProgramWindows windows;
        app::MainWindow &window = windows.Fprincip();
        records::RecordDatabase &data = window.database();
        // The window wires its own commands.
        ASSERT_NE(window.backupCommands(), nullptr);
        labels::PrintTab &print = *window.printTab();
        QStringList jobEnds;
        print.setJobEndHandler([&jobEnds](const labels::PrintTab::JobEnd &end) { jobEnds << end.text; });
        backup::BackupCommands &archive = *window.backupCommands();
        EXPECT_EQ(window.findChildren<QPushButton *>(QStringLiteral("btapercu")).size(), 1);

        auto *group = window.findChild<QGroupBox *>(QStringLiteral("gbpcodbar"));
        auto *btimprime = window.findChild<QAbstractButton *>(QStringLiteral("btimprime"));
        auto *row = qobject_cast<QBoxLayout *>(group->layout());
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->indexOf(print.previewButton()), row->indexOf(btimprime) + 1);
        EXPECT_EQ(row->indexOf(print.exportButton()), row->indexOf(btimprime) + 2);

        window.show();
        ASSERT_TRUE(waitFor([&window] { return !window.FirstActivation(); }));
        // The first activation gave the print buttons the language of the parameters.
        EXPECT_EQ(print.exportButton()->text(), i18n::AddedText(i18n::Text::ExportPdf, 2));
        for (const char *const statement :
             {"INSERT INTO article (num,cb,lib1,lib2,quantite,topp) VALUES (1,\"WIRE1\",\"alpha\",\"one\",20,\"O\")",
              "INSERT INTO article (num,cb,lib1,lib2,quantite,topp) VALUES (2,\"WIRE2\",\"beta\",\"two\",5,\"N\")"}) {
            data.commandQuery().setSql(statement);
            data.commandQuery().execSql();
        }
        window.RefreshGrid();
        auto *grid = window.findChild<QTableView *>(QStringLiteral("s"));
        ASSERT_EQ(grid->model()->rowCount(), 2);

        // The PDF follows the label format the window's list selects.
        auto *formats = window.findChild<QComboBox *>(QStringLiteral("CombListeEtiquette"));
        formats->setCurrentIndex(formats->findText(QStringLiteral("  13"), Qt::MatchEndsWith));
        ASSERT_EQ(print.CurrentSettings().formatEntry, 13);   // 80 labels a sheet
        const QString pdf = dir.file(QStringLiteral("labels.pdf"));
        print.setPdfFileChooser([&pdf](QWidget *, const QString &, const QString &) { return pdf; });
        print.exportButton()->click();
        EXPECT_TRUE(QFileInfo::exists(pdf));
        EXPECT_EQ(print.lastResult().sheets, 1);
        EXPECT_EQ(print.lastResult().labels, 25);

        // Save, change, restore: the grid shows the saved records again.
        const QString ebk = dir.file(QStringLiteral("wire.ebk"));
        archive.setFileChooser([&ebk](QWidget *, const backup::FileDialogRequest &) { return ebk; });
        window.findChild<QAbstractButton *>(QStringLiteral("spSauve"))->click();
        ASSERT_TRUE(QFileInfo::exists(ebk));
        data.commandQuery().setSql("delete from article where num=2");
        data.commandQuery().execSql();
        window.RefreshGrid();
        ASSERT_EQ(grid->model()->rowCount(), 1);
        test::ModalAnswer boxes([](QWidget *modal) { test::pressButton(modal, QMessageBox::Ok); });
        window.findChild<QAbstractButton *>(QStringLiteral("spCharge"))->click();
        EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
        EXPECT_EQ(grid->model()->rowCount(), 2);

        // The print tab in each language, as the language button puts it.
        auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("PagePrincipal"));
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->widget(i)->isAncestorOf(group))
                tabs->setCurrentIndex(i);
        const char *const suffix[] = {"fr", "en", "pt"};
        for (int language = 1; language <= 3; ++language) {
            // The language button turns the print buttons' texts too.
            const char *const radio[] = {"lfrancais", "langlais", "lportugais"};
            window.findChild<QRadioButton *>(QString::fromLatin1(radio[language - 1]))->setChecked(true);
            window.findChild<QAbstractButton *>(QStringLiteral("btappliquer"))->click();
            waitFor([] { return false; }, 100);
            EXPECT_EQ(print.exportButton()->text(), i18n::AddedText(i18n::Text::ExportPdf, language));
            for (QPushButton *button : {print.previewButton(), print.exportButton()})
                EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
            test::saveShot(&window, QStringLiteral("mainwindow-print-") + QString::fromLatin1(suffix[language - 1]));
        }
        window.close();
    }
    base::setDataDirOverride({});
    base::Parameters.Clear();
    i18n::ClearLanguageTable();
    i18n::ApplyQtTranslation(2);
}
