// The project as the print job drives it: lookups, parameters, component
// removal, and the choice between the disk file and the built-in copy.

#include "base/Error.h"
#include "labels/project/BuiltinLayouts.h"
#include "labels/print/LabelReport.h"
#include "labels/project/LayoutTree.h"
#include "tests/support/TestSupport.h"
#include "tests/labels/project/ProjectStreamWriter.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace etibarix;
using namespace etibarix::labels;

namespace {

// A project file that differs from the built-in copy: one report only.
QByteArray fileProject()
{
    ReportProject p;
    p.setLastActiveReport("FromFile");
    auto r = std::make_unique<Report>("FromFile");
    r->addPage(std::make_unique<ReportPage>("Page1"));
    p.addReport(std::move(r));
    return test::projectStream(p);
}

void setTime(const QString &path, const QDateTime &time)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(time, QFileDevice::FileModificationTime));
}

struct Opened {
    QStringList questions;
    bool fromFile = false;
    QString error;
    QByteArray firstReport;
};

Opened open(const QString &path, bool answer)
{
    Opened o;
    LabelReport layouts;
    layouts.setQuestionHandler([&](const QString &q) {
        o.questions << q;
        return answer;
    });
    layouts.SetLayoutFile(path);
    try {
        layouts.OpenLayouts();
        o.fromFile = layouts.openedFromFile();
        o.firstReport = layouts.project().reports().front()->name();
    } catch (const base::Error &e) {
        o.error = e.text();
        EXPECT_FALSE(layouts.isOpen());
    }
    return o;
}

} // namespace

TEST(LabelReport, LookupsIgnoreCase)
{
    LabelReport layouts;
    EXPECT_EQ(layouts.FindLayoutComponent("etiquette5.page1"), nullptr); // not open yet
    layouts.OpenLayouts();
    const ReportProject &p = layouts.project();
    EXPECT_EQ(p.findReport("etiquette5"), p.findReport("Etiquette5"));
    ASSERT_TRUE(p.findReport("ETIQUETTE5"));
    EXPECT_EQ(p.findReport("etiquette14"), nullptr);

    auto *page2 = dynamic_cast<ReportPage *>(layouts.FindLayoutComponent("etiquette2.page1"));
    ASSERT_TRUE(page2);
    EXPECT_EQ(page2->name(), QByteArray("page1"));
    auto *page5 = dynamic_cast<ReportPage *>(layouts.FindLayoutComponent("Etiquette5.page1"));
    ASSERT_TRUE(page5);
    EXPECT_EQ(page5->name(), QByteArray("Page1"));
    EXPECT_EQ(layouts.FindLayoutComponent("etiquette5.PAGE1"), page5);
    EXPECT_EQ(layouts.FindLayoutComponent("etiquette5.page2"), nullptr);
    EXPECT_EQ(layouts.FindLayoutComponent("nosuch.page1"), nullptr);

    ReportComponent *bar = layouts.FindLayoutComponent("code128barcode24", page5);
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->name(), QByteArray("Code128BarCode24"));
    EXPECT_EQ(layouts.FindLayoutComponent("Code128BarCode25", page5), nullptr);
    EXPECT_EQ(layouts.FindLayoutComponent("Code128BarCode1"), nullptr); // no page given
}

TEST(LabelReport, ParametersAndPrinter)
{
    LabelReport layouts;
    layouts.OpenLayouts();
    layouts.SetLayoutParam("cb1", "12345");
    layouts.SetLayoutParam("CBLIBA1", "text");
    EXPECT_EQ(layouts.layoutParam("CB1"), QByteArray("12345"));
    EXPECT_EQ(layouts.layoutParam("cbliba1"), QByteArray("text"));
    EXPECT_EQ(layouts.layoutParam("cb2"), QByteArray());
    layouts.SetLayoutParam("Cb1", "678");
    EXPECT_EQ(layouts.project().parameters().size(), 2u);
    EXPECT_EQ(layouts.project().fieldValue("param.cb1"), QByteArray("678"));
    EXPECT_EQ(layouts.project().fieldValue("PARAM.CB1"), QByteArray("678"));
    EXPECT_EQ(layouts.project().fieldValue("cb1"), QByteArray());
    layouts.SetLayoutParam("cb1", "");
    EXPECT_EQ(layouts.layoutParam("cb1"), QByteArray());
    EXPECT_EQ(layouts.project().parameters().size(), 1u);

    Report *r = layouts.project().findReport("etiquette8");
    EXPECT_EQ(r->printer(), QByteArray());
    r->setPrinter("PDF");
    EXPECT_EQ(layouts.project().findReport("ETIQUETTE8")->printer(), QByteArray("PDF"));

    // Closing discards changes, parameters included; reopening starts afresh.
    layouts.CloseLayouts();
    EXPECT_FALSE(layouts.isOpen());
    layouts.CloseLayouts();
    layouts.OpenLayouts();
    EXPECT_EQ(layouts.project().findReport("etiquette8")->printer(), QByteArray());
    EXPECT_EQ(layouts.layoutParam("cbliba1"), QByteArray());
}

TEST(LabelReport, ComponentDestruction)
{
    LabelReport layouts;
    layouts.OpenLayouts();
    ReportPage *page = layouts.findLayoutPage("etiquette8.page1");
    ASSERT_TRUE(page);
    const size_t before = page->components().size();
    EXPECT_TRUE(page->removeComponent("code128barcode15"));
    EXPECT_FALSE(page->removeComponent("Code128BarCode15"));
    EXPECT_EQ(page->components().size(), before - 1);
    EXPECT_EQ(layouts.FindLayoutComponent("Code128BarCode15", page), nullptr);
    EXPECT_TRUE(layouts.FindLayoutComponent("Code128BarCode14", page));
    // Opening again while open keeps the change.
    layouts.OpenLayouts();
    EXPECT_EQ(layouts.FindLayoutComponent("Code128BarCode15", page), nullptr);
}

TEST(LabelReport, SetLayoutFileAddsTheExtension)
{
    LabelReport layouts;
    layouts.SetLayoutFile(QStringLiteral("/data/etbdoc"));
    EXPECT_EQ(layouts.layoutFile(), QStringLiteral("/data/etbdoc.rav"));
    layouts.SetLayoutFile(QStringLiteral("/data/etbdoc.bin"));
    EXPECT_EQ(layouts.layoutFile(), QStringLiteral("/data/etbdoc.bin"));
    layouts.SetLayoutFile(QStringLiteral("/data//etbdoc.rav"));
    EXPECT_EQ(layouts.layoutFile(), QStringLiteral("/data//etbdoc.rav"));
}

TEST(LabelReport, BuiltinSaveTime)
{
    const QDateTime t = BuiltinLayouts::saveTime();
    EXPECT_EQ(t.date(), QDate(2004, 6, 2));
    EXPECT_EQ(t.time().toString(QStringLiteral("HH:mm:ss.zzz")), QStringLiteral("23:07:02.949"));
    EXPECT_EQ(t.timeSpec(), Qt::LocalTime);
}

TEST(LabelReport, ChoiceBetweenFileAndBuiltinCopy)
{
    test::DataDir dir;
    const QString path = dir.path() + QStringLiteral("/etbdoc.rav"); // doubled separator, as the print job passes it
    const QString shown = dir.path() + QStringLiteral("etbdoc.rav");

    // Missing file: the built-in copy, no question.
    Opened o = open(path, true);
    EXPECT_TRUE(o.questions.isEmpty());
    EXPECT_FALSE(o.fromFile);
    EXPECT_EQ(o.firstReport, QByteArray("etiquette1"));

    ASSERT_TRUE(test::writeFile(path, fileProject()));
    // Older than the built-in copy (and exactly as old): no question.
    for (const QDateTime &t : {QDateTime(QDate(2001, 1, 1), QTime(12, 0)), BuiltinLayouts::saveTime()}) {
        setTime(path, t);
        o = open(path, true);
        EXPECT_TRUE(o.questions.isEmpty());
        EXPECT_FALSE(o.fromFile);
    }

    // Newer: the question, with its exact text; Yes reads the file.
    setTime(path, QDateTime(QDate(2004, 6, 3), QTime(0, 0)));
    o = open(path, true);
    ASSERT_EQ(o.questions.size(), 1);
    EXPECT_EQ(o.questions[0], QStringLiteral("The report project stored in the executable is older than the disk "
                                             "file\r\"") + shown + QStringLiteral("\"\rDo you want to use the file on disk?"));
    EXPECT_TRUE(o.fromFile);
    EXPECT_EQ(o.firstReport, QByteArray("FromFile"));
    // No keeps the built-in copy.
    o = open(path, false);
    EXPECT_EQ(o.questions.size(), 1);
    EXPECT_FALSE(o.fromFile);
    EXPECT_EQ(o.firstReport, QByteArray("etiquette1"));
    // Without a handler nobody says yes.
    LabelReport silent;
    silent.SetLayoutFile(path);
    silent.OpenLayouts();
    EXPECT_FALSE(silent.openedFromFile());

    // A damaged newer file: the reading error, the project stays closed.
    ASSERT_TRUE(test::writeFile(path, QByteArray::fromHex("5241561a459c000005")));
    setTime(path, QDateTime(QDate(2020, 1, 1), QTime(0, 0)));
    o = open(path, true);
    EXPECT_EQ(o.error, QStringLiteral("Invalid Project Header Code"));
    // ... unless No chooses the built-in copy.
    o = open(path, false);
    EXPECT_TRUE(o.error.isEmpty());
}
