// etibarix-cli layouts, end to end.

#include "labels/project/BuiltinLayouts.h"
#include "labels/project/LayoutTree.h"
#include "tests/support/TestSupport.h"
#include "tests/labels/project/ProjectStreamWriter.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace etibarix;
using namespace etibarix::labels;

namespace {

void setTime(const QString &path, const QDateTime &time)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(time, QFileDevice::FileModificationTime));
}

QByteArray smallProject(const QByteArray &reportName)
{
    ReportProject p;
    auto r = std::make_unique<Report>(reportName);
    r->setPrinter("Office");
    auto page = std::make_unique<ReportPage>("Page1");
    page->setPaperSize(ReportPage::PaperA4);
    page->setPageSize(210 / 25.4, 297 / 25.4);
    auto b = std::make_unique<ReportBarCode>();
    b->setName("Code128BarCode1");
    b->setLeft(0.5);
    b->setTop(1);
    b->setWidth(2);
    b->setHeight(0.25);
    b->dataField = "param.cb1";
    page->addComponent(std::move(b));
    r->addPage(std::move(page));
    p.addReport(std::move(r));
    return test::projectStream(p);
}

} // namespace

TEST(CmdLayouts, Builtin)
{
    const test::CliResult r = test::runCli({QStringLiteral("layouts"), QStringLiteral("--builtin")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(QString::fromUtf8(r.out), LayoutTree::describe(BuiltinLayouts::create()));
    const QList<QByteArray> lines = r.out.split('\n');
    EXPECT_EQ(lines[0], QByteArray("project RaveProject"));
    EXPECT_EQ(lines[1], QByteArray("  report etiquette1 Printer="));
    EXPECT_EQ(lines[2], QByteArray("    page Page1 PaperSize=-1 Width=215.90 Height=279.40"));
    EXPECT_EQ(lines[3], QByteArray("      TRaveCode128BarCode Code128BarCode1 Left=16.00 Top=5.00 Width=50.80 "
                                   "Height=16.76 BarHeight=16.764 BarWidth=0.254 Font=Arial,8 DataField=param.cb1 "
                                   "PrintReadable=True AutoSize=True"));
    EXPECT_TRUE(r.out.contains("      TRaveDataText DataText1 Left=16.00 Top=35.00 Width=55.00 Height=4.23 "
                               "Font=Arial,10 DataField=param.cbliba1\n"));
    EXPECT_TRUE(r.out.contains("  globalpage GlobalPage1 PaperSize=9 Width=210.00 Height=297.00\n"));
}

TEST(CmdLayouts, FileAndDefaultChoice)
{
    test::DataDir dir;
    const QString path = dir.file(QStringLiteral("etbdoc.rav"));
    ASSERT_TRUE(test::writeFile(path, smallProject("Disk")));

    test::CliResult r = test::runCli({QStringLiteral("layouts"), QStringLiteral("--file"), path});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(r.out, QByteArray("project RaveProject\n"
                                "  report Disk Printer=Office\n"
                                "    page Page1 PaperSize=9 Width=210.00 Height=297.00\n"
                                "      TRaveCode128BarCode Code128BarCode1 Left=12.70 Top=25.40 Width=50.80 Height=6.35 "
                                "BarHeight=6.350 BarWidth=0.254 Font=Arial,8 DataField=param.cb1 PrintReadable=True "
                                "AutoSize=True\n"));

    // Without an option: the file when it is newer than the built-in copy.
    r = test::runCli({QStringLiteral("--dir"), dir.path(), QStringLiteral("layouts")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_TRUE(r.out.startsWith("project RaveProject\n  report Disk "));
    setTime(path, QDateTime(QDate(2003, 1, 1), QTime(0, 0)));
    r = test::runCli({QStringLiteral("--dir"), dir.path(), QStringLiteral("layouts")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_TRUE(r.out.startsWith("project RaveProject\n  report etiquette1 "));
}

TEST(CmdLayouts, Errors)
{
    test::DataDir dir;
    const QString path = dir.file(QStringLiteral("bad.rav"));
    ASSERT_TRUE(test::writeFile(path, "RAX\x1A and more"));
    test::CliResult r = test::runCli({QStringLiteral("layouts"), QStringLiteral("--file"), path});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.trimmed().endsWith("etibarix-cli: Invalid Project Format")) << r.err.constData();
    EXPECT_TRUE(r.out.isEmpty());

    const QString missing = dir.file(QStringLiteral("none.rav"));
    r = test::runCli({QStringLiteral("layouts"), QStringLiteral("--file"), missing});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.trimmed().endsWith(QByteArray("etibarix-cli: The following reporting project does not exist: \""
                                                    + missing.toUtf8() + '"')))
        << r.err.constData();

    // An unknown class is reported on stderr and the tree still printed.
    test::StreamWriter w;
    w.raw(test::header());
    test::Record rec{"TRaveMystery", "M", {}, {}};
    w.byte(3).string("GlobalPage1").block(test::recordBytes(test::Record{"TRavePage", "GlobalPage1", {}, {rec}}));
    ASSERT_TRUE(test::writeFile(path, w.bytes));
    r = test::runCli({QStringLiteral("layouts"), QStringLiteral("--file"), path});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains("Unknown class \"TRaveMystery\" found."));
    EXPECT_TRUE(r.out.contains("globalpage GlobalPage1"));

    r = test::runCli({QStringLiteral("layouts"), QStringLiteral("--builtin"), QStringLiteral("--file"), path});
    EXPECT_EQ(r.exitCode, 2);
    r = test::runCli({QStringLiteral("layouts"), QStringLiteral("extra")});
    EXPECT_EQ(r.exitCode, 2);
}
