// Whole project streams: round trips of the built-in layouts through the
// test writer, the header and item rules, unknown classes and properties,
// and every reading error.

#include "base/Error.h"
#include "labels/project/BuiltinLayouts.h"
#include "labels/project/LayoutTree.h"
#include "labels/project/ProjectFile.h"
#include "tests/labels/project/ProjectStreamWriter.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

using namespace etibarix;
using namespace etibarix::labels;
using test::Record;
using test::StreamWriter;
using test::prop;

namespace {

QString errorOf(const QByteArray &stream)
{
    try {
        ProjectFile::read(stream);
    } catch (const base::Error &e) {
        return e.text();
    }
    return QStringLiteral("no error");
}

QByteArray item(int kind, const QByteArray &name, const QByteArray &data, int method = 2)
{
    StreamWriter w;
    w.byte(kind).string(name);
    if (kind == 6)
        w.string("TRaveSimpleConnection");
    w.block(data, method);
    return w.bytes;
}

// A report item with one page holding `children`.
QByteArray oneReport(const QByteArray &name, std::vector<Record> children, int pageByte = 0)
{
    StreamWriter w;
    w.string("Page1").cint(1).byte(pageByte).string("Page1").cint(0);
    test::writeRecord(w, Record{"TRaveReport", name, {prop("Printer", ProjectValue::string("Lab"))}, {}});
    Record page{"TRavePage", "Page1", {prop("PaperSize", ProjectValue::integerValue(9))}, std::move(children)};
    w.block(test::recordBytes(page));
    return item(4, name, w.bytes);
}

} // namespace

TEST(ProjectFile, BuiltinLayoutsRoundTrip)
{
    const ReportProject builtin = BuiltinLayouts::create();
    const QString expected = LayoutTree::describe(builtin);
    struct Case {
        const char *what;
        int method;
        test::LzwOptions options;
    };
    const std::vector<Case> cases = {
        {"stored blocks", 0, {}},
        {"compressed blocks", 2, {}},
        {"compressed, frequent clears", 2, {400, 1, false}},
        {"compressed, clears in a row", 2, {1000, 4, false}},
    };
    for (const Case &c : cases) {
        const QByteArray stream = test::projectStream(builtin, c.method, c.options);
        QStringList messages;
        const ReportProject read = ProjectFile::read(stream, [&](const QString &m) { messages << m; });
        EXPECT_EQ(LayoutTree::describe(read), expected) << c.what;
        EXPECT_TRUE(messages.isEmpty()) << c.what;
        EXPECT_EQ(read.currentReport()->name(), QByteArray("Etiquette13"));
    }
    // What the tree does not show survives too.
    const ReportProject read = ProjectFile::read(test::projectStream(builtin));
    const auto *b = dynamic_cast<const ReportBarCode *>(read.findPage("etiquette8.page1")->findComponent("code128barcode7"));
    ASSERT_TRUE(b);
    EXPECT_TRUE(b->useChecksum);
    EXPECT_EQ(b->font.color, LayoutFont::WindowText);
    EXPECT_EQ(b->barTop, b->top());
    EXPECT_EQ(b->text, QByteArray("123456789012"));
}

TEST(ProjectFile, MinimalProjectHasNoReports)
{
    const QByteArray stream = test::header(40005, "");
    // The first bytes as the format fixes them.
    EXPECT_TRUE(stream.startsWith(QByteArray(QByteArray::fromHex("5241561a459c000000000000") + "\x13TRaveProjectManager")));
    const ReportProject p = ProjectFile::read(stream);
    EXPECT_TRUE(p.reports().empty());
    EXPECT_TRUE(p.globalPages().empty());
    EXPECT_EQ(p.currentReport(), nullptr);
    EXPECT_EQ(p.name(), QByteArray("RaveProject"));
}

TEST(ProjectFile, HeaderErrors)
{
    QByteArray badHeader = test::header();
    badHeader[8] = 1;
    struct Case {
        const char *what;
        QByteArray stream;
        QString error;
    };
    const std::vector<Case> cases = {
        {"wrong signature", "RAV\x1B" + test::header().mid(4), QStringLiteral("Invalid Project Format")},
        {"too short", "RA", QStringLiteral("Invalid Project Format")},
        {"header code", badHeader, QStringLiteral("Invalid Project Header Code")},
        {"compression method",
         test::header() + StreamWriter().byte(4).string("etiquette1").byte(7).int32(1).byte(0).bytes,
         QStringLiteral("Unknown compression method 7")},
        {"page entry byte", test::header() + oneReport("etiquette1", {}, 1),
         QStringLiteral("TRaveProjectItem class not found")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(errorOf(c.stream), c.error) << c.what;
}

TEST(ProjectFile, EveryTruncationFailsCleanly)
{
    const ReportProject builtin = BuiltinLayouts::create();
    // Two reports, so that cut points fall into headers, items and blocks.
    ReportProject small;
    for (const char *name : {"etiquette2", "Etiquette13"}) {
        auto r = std::make_unique<Report>(name);
        const ReportPage *src = builtin.findReport(name)->pages().front().get();
        auto page = std::make_unique<ReportPage>(src->name());
        for (int i = 1; i <= 3; ++i) {
            auto b = std::make_unique<ReportBarCode>();
            b->setName(QByteArray("Code128BarCode" + QByteArray::number(i)));
            page->addComponent(std::move(b));
        }
        r->addPage(std::move(page));
        small.addReport(std::move(r));
    }
    for (int method : {0, 2}) {
        const QByteArray stream = test::projectStream(small, method);
        const qsizetype headerSize = test::header().size();
        for (qsizetype n = 0; n < stream.size(); ++n) {
            const QString e = errorOf(stream.left(n));
            // A cut exactly between two items leaves a shorter valid project.
            if (e == QStringLiteral("no error"))
                continue;
            EXPECT_TRUE(e == QStringLiteral("Stream read error") || (n < 4 && e == QStringLiteral("Invalid Project Format")))
                << "cut at " << n << ": " << e.toStdString();
        }
        EXPECT_EQ(errorOf(stream.left(headerSize - 1)), QStringLiteral("Stream read error"));
    }
}

TEST(ProjectFile, UnknownClassIsReportedAndReadingGoesOn)
{
    Record unknown{"TRaveRectangle", "Rectangle1", {prop("Left", ProjectValue::extended(1))},
                   {Record{"TRaveDataText", "Inside", {}, {}}}};
    Record text{"TRaveDataText", "DataText1", {prop("DataField", ProjectValue::string("param.cbliba1"))}, {}};
    Record bar{"TRaveCode128BarCode", "Code128BarCode1", {}, {text}};
    const QByteArray stream = test::header() + oneReport("etiquette1", {unknown, bar});
    QStringList messages;
    const ReportProject p = ProjectFile::read(stream, [&](const QString &m) { messages << m; });
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("Unknown class \"TRaveRectangle\" found.  You will need to include the "
                                          "unit containing this component to your uses clause."));
    const ReportPage *page = p.findPage("etiquette1.Page1");
    ASSERT_TRUE(page);
    // The unknown record and its child are dropped; a known child follows its parent.
    ASSERT_EQ(page->components().size(), 2u);
    EXPECT_EQ(page->components()[0]->name(), QByteArray("Code128BarCode1"));
    EXPECT_EQ(page->components()[1]->name(), QByteArray("DataText1"));
    EXPECT_EQ(p.findReport("ETIQUETTE1")->printer(), QByteArray("Lab"));
    EXPECT_EQ(page->paperSize(), 9);
}

TEST(ProjectFile, UnknownPropertiesAreReadPastAndAbsentOnesKeepDefaults)
{
    ProjectValue set;
    set.type = ProjectValue::Type::Set;
    set.names = {"a", "b"};
    ProjectValue list;
    list.type = ProjectValue::Type::List;
    list.list.push_back(prop("Deep", ProjectValue::extended(3)));
    ProjectValue names;
    names.type = ProjectValue::Type::Names;
    names.names = {"X"};
    ProjectValue objects;
    objects.type = ProjectValue::Type::Objects;
    objects.objects.push_back({"TThing", {prop("Q", ProjectValue::integerValue(1))}});
    ProjectValue ch;
    ch.type = ProjectValue::Type::Char;
    ch.text = "c";
    Record bar{"TRaveCode128BarCode", "Code128BarCode1",
               {prop("Mystery0", ProjectValue::identifier("Whatever")), prop("Mystery1", ProjectValue::integerValue(5)),
                prop("Mystery2", ProjectValue::integerValue(-5)), prop("Mystery3", ProjectValue::integerValue(1 << 30)),
                prop("Mystery4", ch), prop("Mystery5", ProjectValue::extended(1.5)),
                prop("Mystery6", ProjectValue::string("s")), prop("Mystery7", set), prop("Mystery8", list),
                prop("Mystery9", names), prop("Mystery10", objects),
                prop("left", ProjectValue::extended(0.5)), prop("PRINTREADABLE", ProjectValue::boolean(false))},
               {}};
    const ReportProject p = ProjectFile::read(QByteArray(test::header() + oneReport("r", {bar})));
    const auto *b = dynamic_cast<const ReportBarCode *>(p.findPage("r.page1")->findComponent("Code128BarCode1"));
    ASSERT_TRUE(b);
    EXPECT_EQ(b->left(), 0.5);
    EXPECT_FALSE(b->printReadable);
    // Untouched: what a new barcode has.
    const ReportBarCode fresh;
    EXPECT_EQ(b->barWidth, fresh.barWidth);
    EXPECT_EQ(b->barHeight, 0.25);
    EXPECT_TRUE(b->autoSize);
    EXPECT_TRUE(b->optimize);
    EXPECT_FALSE(b->useChecksum);
    EXPECT_EQ(b->codePage, CodePage128::cpCodeA);
    EXPECT_EQ(b->font, fresh.font);
}

TEST(ProjectFile, ItemsOfEveryKind)
{
    Record global{"TRavePage", "GlobalPage1", {prop("PaperSize", ProjectValue::integerValue(9))}, {}};
    const QByteArray stream = test::header(40005, "second") + item(2, "DataView1", "anything", 0)
        + item(6, "Connection1", "anything", 0) + item(3, "GlobalPage1", test::recordBytes(global))
        + item(4, "", "not even a report", 0) + oneReport("first", {}) + oneReport("Second", {});
    QStringList messages;
    const ReportProject p = ProjectFile::read(stream, [&](const QString &m) { messages << m; });
    ASSERT_EQ(p.reports().size(), 2u);
    EXPECT_EQ(p.reports()[0]->name(), QByteArray("first"));
    EXPECT_EQ(p.currentReport()->name(), QByteArray("Second"));
    ASSERT_EQ(p.globalPages().size(), 1u);
    EXPECT_EQ(p.findPage("globalpage1")->paperSize(), 9);
    EXPECT_EQ(messages.size(), 1); // the data object's class is unknown
}

TEST(ProjectFile, OlderVersionsHaveNoModulesOrLastActivePage)
{
    ReportProject project = BuiltinLayouts::create();
    project.setVersion(30003);
    const QByteArray stream = test::projectStream(project);
    const ReportProject read = ProjectFile::read(stream);
    EXPECT_EQ(LayoutTree::describe(read), LayoutTree::describe(BuiltinLayouts::create()));
    // With modules: a name and a block each, read past.
    StreamWriter w;
    w.raw("RAV\x1A").int32(40005).byte(0).cint(2).string("Module1").block("code", 0).string("Module2").block("more");
    w.string("");
    test::writeRecord(w, test::projectRecord());
    EXPECT_TRUE(ProjectFile::read(w.bytes).reports().empty());
}

TEST(ProjectFile, DeepNestingOfComponentRecords)
{
    Record leaf{"TRaveDataText", "Leaf", {}, {}};
    Record nested = leaf;
    for (int i = 0; i < 300; ++i) {
        Record parent{"TRaveDataText", QByteArray("Level" + QByteArray::number(i)), {}, {}};
        parent.children.push_back(std::move(nested));
        nested = std::move(parent);
    }
    StreamWriter page;
    page.byte(0).string("TRavePage").string("Page1").byte(8).byte(0).cint(1);
    test::writeRecord(page, nested);
    StreamWriter w;
    w.string("Page1").cint(1).byte(0).string("Page1").cint(0);
    test::writeRecord(w, Record{"TRaveReport", "r", {}, {}});
    w.block(page.bytes, 0);
    EXPECT_EQ(errorOf(test::header() + item(4, "r", w.bytes, 0)), QStringLiteral("Stream read error"));

    // Within the limit, children of children all land on the page.
    Record shallow = leaf;
    for (int i = 0; i < 10; ++i)
        shallow = Record{"TRaveDataText", QByteArray("Level" + QByteArray::number(i)), {}, {shallow}};
    const ReportProject p = ProjectFile::read(QByteArray(test::header() + oneReport("r", {shallow})));
    EXPECT_EQ(p.findPage("r.Page1")->components().size(), 11u);
}

TEST(ProjectFile, MutatedStreamsNeverCrash)
{
    // Random damage to a small project, stored and compressed: each read
    // either succeeds or fails with an error text.
    ReportProject small;
    auto r = std::make_unique<Report>("etiquette1");
    auto page = std::make_unique<ReportPage>("Page1");
    auto b = std::make_unique<ReportBarCode>();
    b->setName("Code128BarCode1");
    b->dataField = "param.cb1";
    page->addComponent(std::move(b));
    auto t = std::make_unique<DataText>();
    t->setName("DataText1");
    page->addComponent(std::move(t));
    r->addPage(std::move(page));
    small.addReport(std::move(r));
    QRandomGenerator rng(42);
    int read = 0, refused = 0;
    for (int method : {0, 2}) {
        const QByteArray stream = test::projectStream(small, method);
        for (int n = 0; n < 3000; ++n) {
            QByteArray damaged = stream;
            const int changes = 1 + int(rng.bounded(4));
            for (int c = 0; c < changes; ++c)
                damaged[qsizetype(rng.bounded(quint32(damaged.size())))] = char(rng.bounded(256));
            try {
                ProjectFile::read(damaged, [](const QString &) {});
                ++read;
            } catch (const base::Error &e) {
                EXPECT_FALSE(e.text().isEmpty());
                ++refused;
            }
        }
    }
    // Some damage hits only values and some breaks the stream: both ends met.
    EXPECT_GT(read, 0);
    EXPECT_GT(refused, 0);
}
