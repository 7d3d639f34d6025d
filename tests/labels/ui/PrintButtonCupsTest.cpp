// "Lancer l'impression" on a real spooler: the printer chosen in the printer
// list gets one job per sheet while the status window counts the pages.

#include "tests/support/MainWindowHost.h"
#include "tests/support/UiTestSupport.h"

#include "base/Parameters.h"
#include "labels/ui/PrintTab.h"
#include "labels/ui/ReportStatusWindow.h"
#include "tests/support/CupsQueue.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace etibarix;

TEST(PrintButtonCups, EverySheetIsAJobOnThePrinterChosenInTheList)
{
    test::Watchdog watchdog(50);
    test::Host host(2);
    host.insert(1, "GUI20", "Spooled", "labels", 20);   // 15 + 5 labels on layout 8
    host.selectFormat(8);

    const QString out = host.dir().file(QStringLiteral("spool"));
    ASSERT_TRUE(QDir().mkpath(out));
    QFile::setPermissions(out, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                   | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther);
    const QString name = QStringLiteral("etibarix_gui_%1").arg(QCoreApplication::applicationPid());
    test::CupsQueue queue(name, out);
    if (!queue.skipReason().isEmpty())
        GTEST_SKIP() << "no print spooler here: " << queue.skipReason().toStdString();

    labels::PrintTab &commands = host.printTab();
    auto *printers = host.find<QComboBox>("CombImprimante");
    commands.FillPrinterCombo();
    EXPECT_EQ(printers->currentIndex(), -1) << "filling the list selects nothing";
    const int at = printers->findText(name);
    ASSERT_GE(at, 0);
    printers->setCurrentIndex(at);
    host.find<QRadioButton>("RCodeb")->setChecked(true);

    QList<int> pages;
    QObject::connect(&commands.statusWindow(), &labels::ReportStatusWindow::pageShown, &commands.statusWindow(),
                     [&](int page) { pages << page; });
    // No box is expected; one that comes is recorded and closed.
    test::ModalAnswer boxes([](QWidget *modal) {
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            ADD_FAILURE() << box->text().toStdString();
            test::pressButton(box, QMessageBox::Ok);
        }
    });
    host.find<QAbstractButton>("btimprime")->click();
    EXPECT_EQ(base::Parameters.CodeSet, 2);
    EXPECT_EQ(commands.lastResult().sheets, 2);
    // Every printer job holds one page: each sheet is page 1 of its own job.
    EXPECT_EQ(pages, (QList<int>{1, 1}));
    EXPECT_FALSE(commands.statusWindow().isVisible());

    const QStringList pdfs = queue.waitForPdfs(2, 40000);
    ASSERT_EQ(pdfs.size(), 2) << "the spooler delivered " << pdfs.size() << " of 2 jobs";
    for (const QString &pdf : pdfs)
        EXPECT_TRUE(pdf.contains(QStringLiteral("ReportPrinter_Report"))) << pdf.toStdString();
}
