#include "base/DataDir.h"
#include "base/Parameters.h"
#include "i18n/LanguageTable.h"
#include "labels/formats/LabelFormats.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using namespace etibarix;
using labels::LabelFormats;

namespace {

class LabelFormatList : public ::testing::Test {
protected:
    void SetUp() override
    {
        base::setDataDirOverride(m_dir.path());
        base::Parameters.Clear();
    }
    void TearDown() override
    {
        i18n::ClearLanguageTable();
        base::setDataDirOverride(QString());
        base::Parameters.Clear();
    }
    test::DataDir m_dir;
};

std::vector<int> entryOrder(const LabelFormats &formats)
{
    std::vector<int> order;
    for (const QString &item : formats.Items())
        order.push_back(LabelFormats::EntryNumberOfItem(item));
    return order;
}

const std::vector<int> ExpectedOrder = {8, 7, 6, 5, 9, 13, 2, 3, 4, 12, 10, 1, 11};

} // namespace

TEST_F(LabelFormatList, SortedTheSameWayInEveryLanguageAndLocale)
{
    const char *const first[] = {"", "15 etiquettes (3X5) sans espacement", "15 labels (3X5) without space",
                                 "15 etiquetas (3X5) sem espa\xC3\xA7os"};
    for (int language : {1, 2, 3}) {
        base::Parameters.Language = language;
        for (const QLocale &locale : {QLocale::system(), QLocale(QLocale::French, QLocale::France),
                                      QLocale(QLocale::English, QLocale::UnitedStates),
                                      QLocale(QLocale::Portuguese, QLocale::Portugal), QLocale::c()}) {
            LabelFormats formats(locale);
            formats.BuildLabelFormats();
            EXPECT_EQ(entryOrder(formats), ExpectedOrder) << language << ' ' << locale.name().toStdString();
            EXPECT_EQ(formats.SelectedPosition(), 0);
            EXPECT_EQ(formats.SelectedLabelFormat(), 8);
            EXPECT_EQ(LabelFormats::DisplayPartOfItem(formats.Items().at(0)), QString::fromUtf8(first[language]));
        }
    }
}

TEST_F(LabelFormatList, EntriesAndItems)
{
    base::Parameters.Language = 1;
    LabelFormats formats;
    formats.BuildLabelFormats();
    ASSERT_EQ(formats.ItemCount(), 13);
    EXPECT_EQ(formats.Entry(1)->displayText, "Page 12 Etiquettes");
    EXPECT_EQ(formats.Entry(1)->reportName, "etiquette1");
    EXPECT_EQ(formats.Entry(1)->labelsPerPage, 12);
    EXPECT_EQ(formats.Entry(10)->displayText, "L7654 40 etiquettes (4X10) - 4,57cm X 2.54 cm / avec marges");
    EXPECT_EQ(formats.Entry(13)->reportName, "etiquette13");
    EXPECT_EQ(formats.Entry(13)->labelsPerPage, 80);
    EXPECT_EQ(formats.Entry(0), nullptr);
    EXPECT_EQ(formats.Entry(14), nullptr);
    const int perPage[] = {12, 24, 21, 18, 24, 21, 18, 15, 44, 40, 21, 65, 80};
    for (int n = 1; n <= 13; ++n) {
        EXPECT_EQ(formats.Entry(n)->labelsPerPage, perPage[n - 1]) << n;
        EXPECT_EQ(LabelFormats::LabelsPerPage(n), perPage[n - 1]) << n;
        EXPECT_EQ(LabelFormats::ReportName(n), QByteArray("etiquette" + QByteArray::number(n)));
    }
    EXPECT_EQ(LabelFormats::ReportName(14), "");
    EXPECT_EQ(LabelFormats::LabelsPerPage(0), 0);

    // Item layout: display text, exactly 200 spaces, the number.
    const QString page12 = formats.Items().at(11);
    EXPECT_EQ(page12, QStringLiteral("Page 12 Etiquettes") + QString(200, u' ') + QStringLiteral("1"));
    formats.SetSelectedPosition(11);
    EXPECT_EQ(formats.SelectedLabelFormat(), 1);
    formats.SetSelectedPosition(5);
    EXPECT_EQ(formats.SelectedLabelFormat(), 13);
    formats.SetSelectedPosition(13);
    EXPECT_EQ(formats.SelectedPosition(), -1);
    EXPECT_EQ(formats.SelectedLabelFormat(), -1);

    base::Parameters.Language = 2;
    formats.SetSelectedPosition(3);
    formats.BuildLabelFormats();
    EXPECT_EQ(formats.SelectedPosition(), 0);
    EXPECT_EQ(formats.Entry(2)->displayText, "L7159 (24 Labels : 3X8)");
}

TEST_F(LabelFormatList, ForeignItemsAndTheLastThreeCharacters)
{
    struct Case {
        QString item;
        int expected;
    };
    const Case cases[] = {
        {QStringLiteral("x  7"), 7}, {QStringLiteral("x 13"), 13}, {QStringLiteral("x123"), 123},
        {QStringLiteral("abc"), -1}, {QStringLiteral("   "), -1}, {QStringLiteral("7"), -1},
        {QStringLiteral("x 1 "), -1}, {QStringLiteral("x-12"), -1}, {QString(), -1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(LabelFormats::EntryNumberOfItem(c.item), c.expected) << c.item.toStdString();

    LabelFormats formats;
    formats.AddItem(QStringLiteral("b"));
    formats.AddItem(QStringLiteral("A"));
    formats.SetSelectedPosition(1);   // "b"
    EXPECT_EQ(formats.AddItem(QStringLiteral("a")), 1);   // after the equal one
    EXPECT_EQ(formats.Items(), (QStringList{QStringLiteral("A"), QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(formats.SelectedPosition(), 2);   // still on "b"
    EXPECT_EQ(formats.SelectedLabelFormat(), -1);
}

TEST_F(LabelFormatList, LongTextsFromALanguageFileAreCut)
{
    QByteArray file = "h;\nh;\nh;\nh\nh\nh\nh\nh\nh\nh\n";
    for (int n = 1; n <= 136; ++n) {
        if (n == 127)
            file += "x;" + QByteArray(150, 'Z') + "\n";
        else if (n == 123)
            file += "x;" + QByteArray(95, 'E') + "\n";
        else
            file += "x;T" + QByteArray::number(n) + "\n";
    }
    test::writeFile(i18n::LanguageFilePath(), file);
    ASSERT_TRUE(i18n::LoadLanguageTable().Loaded());
    LabelFormats formats;
    formats.BuildLabelFormats();
    EXPECT_EQ(formats.Entry(8)->displayText, QByteArray(100, 'Z'));
    // Prefix + 95 + suffix is cut to 100: the suffix is lost.
    EXPECT_EQ(formats.Entry(2)->displayText, "L7159 (24 " + QByteArray(90, 'E'));
    for (int position = 0; position < formats.ItemCount(); ++position) {
        formats.SetSelectedPosition(position);
        const int n = formats.SelectedLabelFormat();
        ASSERT_GE(n, 1);
        EXPECT_EQ(LabelFormats::DisplayPartOfItem(formats.Items().at(position)),
                  QString::fromLatin1(formats.Entry(n)->displayText));
    }
}

TEST_F(LabelFormatList, DisplayPartKeepsTrailingBlanks)
{
    const QString item = QStringLiteral("Texte 1 ") + QString(200, u' ') + QStringLiteral("8");
    EXPECT_EQ(LabelFormats::DisplayPartOfItem(item), QStringLiteral("Texte 1 "));
    EXPECT_EQ(LabelFormats::DisplayPartOfItem(QStringLiteral("plain")), QStringLiteral("plain"));
}

// --- etibarix-cli formats ---------------------------------------------------

namespace {

QStringList lines(const QByteArray &out)
{
    QStringList result = QString::fromUtf8(out).split(u'\n');
    if (!result.isEmpty() && result.last().isEmpty())
        result.removeLast();
    return result;
}

} // namespace

TEST(CliFormats, EachLanguage)
{
    test::DataDir dir;
    const char *const last[] = {"", "VIKING LABELS LA21-100 - 21 etiquettes (3X7) - 6,3cm X 3,8cm",
                                "VIKING LABELS LA21-100 -21 labels (3X7) - 6,3cmX3.8cm",
                                "VIKING LABELS LA21-100 - 21 etiquetas (3X7) - 6,3cm X 3,8cm"};
    for (int language : {1, 2, 3}) {
        const auto r = test::runCli({QStringLiteral("--dir"), dir.path(), QStringLiteral("formats"),
                                     QStringLiteral("--lang"), QString::number(language)});
        ASSERT_EQ(r.exitCode, 0) << r.err.constData();
        const QStringList got = lines(r.out);
        ASSERT_EQ(got.size(), 13);
        for (int position = 0; position < 13; ++position) {
            const QStringList parts = got.at(position).split(u'\t');
            ASSERT_EQ(parts.size(), 3);
            EXPECT_EQ(parts.at(0).toInt(), position);
            EXPECT_EQ(parts.at(1).toInt(), ExpectedOrder[position]);
        }
        EXPECT_EQ(got.last().section(u'\t', 2), QString::fromUtf8(last[language]));
    }
    const auto pt = test::runCli({QStringLiteral("--dir"), dir.path(), QStringLiteral("formats"),
                                  QStringLiteral("--lang"), QStringLiteral("3")});
    EXPECT_EQ(lines(pt.out).first(), QStringLiteral("0\t8\t15 etiquetas (3X5) sem espa\u00e7os"));
}

TEST(CliFormats, ParameterFileAndLanguageFile)
{
    test::DataDir dir;
    auto run = [&dir] {
        return test::runCli({QStringLiteral("--dir"), dir.path(), QStringLiteral("formats")});
    };
    // No files: French.
    auto r = run();
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(lines(r.out).at(11), QStringLiteral("11\t1\tPage 12 Etiquettes"));

    // The parameter file says English.
    QByteArray par(120, '\0');
    par[0] = 3;
    par[4] = 2;
    test::writeFile(dir.file(QStringLiteral("ETIBARIX.PAR")), par);
    r = run();
    EXPECT_EQ(lines(r.out).at(11), QStringLiteral("11\t1\tPage 12 Labels"));

    // A language file wins over the language number.
    QByteArray lg = "h;\nh;Arial\nh;0\nh\nh\nh\nh\nh\nh\nh\n";
    for (int n = 1; n <= 137; ++n)
        lg += "x;" + (n == 123 ? QByteArray("Etiketten") : QByteArray("T") + QByteArray::number(n)) + "\r\n";
    test::writeFile(dir.file(QStringLiteral("etibarix.lg")), lg);
    r = run();
    EXPECT_TRUE(lines(r.out).contains(QStringLiteral("4\t1\tPage 12 Etiketten"))) << r.out.constData();

    // An explicit language ignores the file.
    r = test::runCli({QStringLiteral("--dir"), dir.path(), QStringLiteral("formats"), QStringLiteral("--lang"),
                      QStringLiteral("1")});
    EXPECT_EQ(lines(r.out).at(11), QStringLiteral("11\t1\tPage 12 Etiquettes"));

    // A damaged parameter file is only looked at, never deleted, by the CLI.
    test::writeFile(dir.file(QStringLiteral("ETIBARIX.PAR")), QByteArray(50, 'x'));
    EXPECT_EQ(run().exitCode, 0);
    EXPECT_EQ(test::readFile(dir.file(QStringLiteral("ETIBARIX.PAR"))).size(), 50);
}

TEST(CliFormats, UsageErrors)
{
    for (const QStringList &args : {QStringList{QStringLiteral("--lang"), QStringLiteral("4")},
                                    QStringList{QStringLiteral("--lang"), QStringLiteral("x")},
                                    QStringList{QStringLiteral("--lang")}, QStringList{QStringLiteral("extra")}}) {
        const auto r = test::runCli(QStringList{QStringLiteral("formats")} + args);
        EXPECT_EQ(r.exitCode, 2) << args.join(u' ').toStdString();
    }
}
