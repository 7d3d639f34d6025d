// The help button's opener: the help file when the desktop takes it, the
// HTML pages otherwise, a message naming the place when neither opens.

#include "tests/support/TestSupport.h"
#include "tests/support/UiTestSupport.h"

#include "app/ui/HelpOpener.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>

#include <gtest/gtest.h>

using namespace etibarix;
using app::HelpOpener;

namespace {

class HelpOpenerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(m_second.path() + QStringLiteral("help")));
        ASSERT_TRUE(test::writeFile(m_second.file(QStringLiteral("ebk.chm")), "ITSF"));
        ASSERT_TRUE(test::writeFile(m_second.file(QStringLiteral("help/index.html")), "<html></html>"));
    }
    QString chm() const { return m_second.file(QStringLiteral("ebk.chm")); }
    QString index() const { return m_second.file(QStringLiteral("help/index.html")); }

    // An opener over an empty first folder and the second one, whose stub
    // takes the URLs whose file name is in accepted.
    HelpOpener opener(QStringList accepted)
    {
        return HelpOpener({m_first.path(), m_second.path()}, [this, accepted](const QUrl &url) {
            m_asked.append(url.toLocalFile());
            return accepted.contains(url.fileName());
        });
    }

    test::DataDir m_first, m_second;
    QStringList m_asked;
};

TEST_F(HelpOpenerTest, TriesTheHelpFileThenThePages)
{
    const struct {
        QStringList accepted;
        HelpOpener::Outcome outcome;
        int asked;
    } cases[] = {
        {{QStringLiteral("ebk.chm"), QStringLiteral("index.html")}, HelpOpener::Outcome::HelpFile, 1},
        {{QStringLiteral("index.html")}, HelpOpener::Outcome::HtmlPages, 2},
        {{}, HelpOpener::Outcome::NotOpened, 2},
    };
    for (const auto &c : cases) {
        m_asked.clear();
        EXPECT_EQ(opener(c.accepted).tryOpen(), c.outcome) << c.accepted.join(u' ').toStdString();
        const QStringList expected = QStringList{chm(), index()}.mid(0, c.asked);
        EXPECT_EQ(m_asked, expected);
    }
    // Without a help file only the pages are offered.
    ASSERT_TRUE(QFile::remove(chm()));
    m_asked.clear();
    EXPECT_EQ(opener({QStringLiteral("index.html")}).tryOpen(), HelpOpener::Outcome::HtmlPages);
    EXPECT_EQ(m_asked, QStringList{index()});
}

TEST_F(HelpOpenerTest, SaysWhereTheHelpIsInTheUsersLanguage)
{
    const struct {
        int language;
        const char16_t *title, *start;
    } cases[] = {
        {1, u"Aide", u"L'aide n'a pas pu être ouverte"},
        {2, u"Help", u"The help could not be opened"},
        {3, u"Ajuda", u"Não foi possível abrir a ajuda"},
    };
    for (const auto &c : cases) {
        test::ModalAnswer answer([](QWidget *modal) { test::pressButton(modal, QMessageBox::Ok); });
        EXPECT_EQ(opener({}).open(nullptr, c.language), HelpOpener::Outcome::NotOpened);
        ASSERT_EQ(answer.count(), 1);
        EXPECT_EQ(answer.lastTitle(), QString::fromUtf16(c.title));
        EXPECT_TRUE(answer.lastText().startsWith(QString::fromUtf16(c.start))) << answer.lastText().toStdString();
        EXPECT_TRUE(answer.lastText().contains(index()));
        EXPECT_TRUE(answer.lastText().contains(chm()));
    }
    // Nothing to open at all: the box names the folders looked in.
    ASSERT_TRUE(QFile::remove(chm()));
    ASSERT_TRUE(QFile::remove(index()));
    const QString text = opener({QStringLiteral("ebk.chm"), QStringLiteral("index.html")}).notOpenedText(2);
    EXPECT_TRUE(text.startsWith(QStringLiteral("The help was not found"))) << text.toStdString();
    EXPECT_TRUE(text.contains(m_first.path()) && text.contains(m_second.path()));
    // With nothing there, nothing goes to the desktop and the box tells so.
    test::ModalAnswer answer([](QWidget *modal) { test::pressButton(modal, QMessageBox::Ok); });
    m_asked.clear();
    EXPECT_EQ(opener({QStringLiteral("index.html")}).open(nullptr, 2), HelpOpener::Outcome::NotOpened);
    EXPECT_EQ(answer.count(), 1);
    EXPECT_TRUE(m_asked.isEmpty());
}

} // namespace
