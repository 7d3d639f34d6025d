// The record grid over the list: its columns and cells, the criteria, the
// sort by title clicks and the refresh.

#include "tests/records/ui/RecordHost.h"
#include "tests/support/UiTestSupport.h"

#include "records/ui/RecordGridModel.h"
#include "store/Query.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace etibarix;

TEST(RecordGrid, EmptyListHasTitledColumnsAndBlankCells)
{
    test::RecordHost host;
    QTableView *s = host.grid();
    const QAbstractItemModel *model = s->model();
    EXPECT_EQ(model->rowCount(), 0);
    EXPECT_EQ(model->columnCount(), 6);
    EXPECT_TRUE(model->index(0, 1).data().toString().isEmpty());
    const QStringList titles = {QString(), QStringLiteral("Code Barre"), QStringLiteral("Texte 1"),
        QStringLiteral("Texte 2"), QStringLiteral("Qtite"), QStringLiteral("Top")};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(model->headerData(c, Qt::Horizontal).toString(), titles[c]) << c;
    EXPECT_TRUE(s->isColumnHidden(0));
    // The text columns share the width beyond the designed columns.
    EXPECT_EQ(s->columnWidth(1), 144);
    const int extra1 = s->columnWidth(2) - 188, extra2 = s->columnWidth(3) - 182;
    EXPECT_GE(extra1, 0);
    EXPECT_LE(std::abs(extra1 - extra2), 1);
    EXPECT_EQ(s->columnWidth(5), 47);
    EXPECT_EQ(host.currentRow(), -1);
}

TEST(RecordGrid, CellsShowTheFieldsAndTheFlagAsXOrBlank)
{
    test::RecordHost host;
    host.insert(1, "111", "A", "a", 3, "O");
    host.insert(2, "222", "B", "b", 0, "N");
    host.insert(3, "333", "C", "c", 12, "");
    host.insert(4, "444", "D", "d", 5, "Z");
    host.find<QToolButton>("SpeedButton1")->click();
    EXPECT_EQ(host.gridRows(), (QStringList{QStringLiteral("111|A|a|3|X"), QStringLiteral("222|B|b|0| "),
                                   QStringLiteral("333|C|c|12|"), QStringLiteral("444|D|d|5|Z")}));
    const QAbstractItemModel *model = host.grid()->model();
    const QRgb colours[] = {0xF0FBFF, 0xC0DCC0, 0xF0CAA6, 0xFF80C0, 0xD5D5FF};
    for (int c = 1; c <= 5; ++c) {
        const QModelIndex cell = model->index(0, c);
        EXPECT_EQ(cell.data(Qt::BackgroundRole).value<QColor>().rgb() & 0xFFFFFF, colours[c - 1]) << c;
        EXPECT_FALSE(model->flags(cell).testFlag(Qt::ItemIsEditable));
    }
    EXPECT_EQ(host.currentRow(), 0);
}

TEST(RecordGrid, CriteriaApplyOnRefreshOrEnterOnly)
{
    test::RecordHost host;
    host.insert(1, "123", "Apple", "x", 1, "O");
    host.insert(2, "12", "apricot", "y", 1, "N");
    host.insert(3, "312", "Banana", "x", 1, "O");
    host.insert(4, "ABC", "Apple pie", "z", 1, "N");
    auto *refresh = host.find<QToolButton>("SpeedButton1");
    auto *texCb = host.find<QLineEdit>("TexCb");
    auto *text1 = host.find<QLineEdit>("text1");
    auto *text2 = host.find<QLineEdit>("text2");
    auto cbs = [&host] {
        QStringList codes;
        for (const QString &row : host.gridRows())
            codes << row.section(u'|', 0, 0);
        return codes;
    };
    refresh->click();
    ASSERT_EQ(cbs().size(), 4);

    struct Case {
        const char *cb, *lib1, *lib2, *radio;
        QStringList shown;
    } cases[] = {
        {"12", "", "", "Ratoutes", {QStringLiteral("123"), QStringLiteral("12")}},     // prefix, not 312
        {"%12", "", "", "Ratoutes", {QStringLiteral("123"), QStringLiteral("12"), QStringLiteral("312")}},
        {"abc", "", "", "Ratoutes", {}},                                            // case-sensitive
        {"", "Apple", "", "Ratoutes", {QStringLiteral("123"), QStringLiteral("ABC")}},
        {"", "", "x", "Ratop", {QStringLiteral("123"), QStringLiteral("312")}},
        {"", "Ap", "", "ranontop", {QStringLiteral("ABC")}},
        {"1", "", "", "ranontop", {QStringLiteral("12")}},
    };
    for (const Case &c : cases) {
        texCb->setText(QString::fromLatin1(c.cb));
        text1->setText(QString::fromLatin1(c.lib1));
        text2->setText(QString::fromLatin1(c.lib2));
        host.find<QRadioButton>(c.radio)->setChecked(true);
        refresh->click();
        EXPECT_EQ(cbs(), c.shown) << c.cb << "/" << c.lib1 << "/" << c.lib2 << "/" << c.radio;
    }

    // Changing the criteria alone leaves the list as it is; Enter in any of
    // the three edits runs it.
    host.find<QRadioButton>("Ratoutes")->setChecked(true);
    texCb->clear();
    text1->clear();
    text2->setText(QStringLiteral("z"));
    EXPECT_EQ(cbs(), QStringList{QStringLiteral("12")});
    for (QLineEdit *edit : {texCb, text1, text2}) {
        host.list().listQuery().close();
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(cbs(), QStringList{QStringLiteral("ABC")}) << edit->objectName().toStdString();
    }
    EXPECT_EQ(texCb->maxLength(), 13);
    EXPECT_EQ(text1->maxLength(), 100);
}

TEST(RecordGrid, TitleClicksCycleTheSortAndMakeTheFirstRowCurrent)
{
    test::RecordHost host;
    host.insert(1, "B", "x", "x", 5, "O");
    host.insert(2, "A", "y", "x", 5, "O");
    host.insert(3, "C", "z", "x", 1, "N");
    host.find<QToolButton>("SpeedButton1")->click();
    host.selectRow(2);
    ASSERT_EQ(host.currentRow(), 2);

    auto cbs = [&host] {
        QString codes;
        for (const QString &row : host.gridRows())
            codes += row.section(u'|', 0, 0);
        return codes;
    };
    struct Click {
        int column;
        const char *order;
        const char *sql;
    } clicks[] = {
        {1, "ABC", "select * from article  order by cb "},
        {1, "CBA", "select * from article  order by cb desc"},
        {1, "ABC", "select * from article  order by cb "},
        {4, "CAB", "select * from article  order by quantite  , cb"},   // another column starts ascending
        {4, "ABC", "select * from article  order by quantite desc , cb"},
        {5, "CAB", "select * from article  order by topp  , cb "},
        {2, "BAC", "select * from article  order by lib1 "},
    };
    for (const Click &c : clicks) {
        host.clickTitle(c.column);
        EXPECT_EQ(cbs(), QString::fromLatin1(c.order)) << c.column;
        EXPECT_EQ(host.list().listQuery().sql(), QByteArray(c.sql));
        EXPECT_EQ(host.currentRow(), 0);
        EXPECT_EQ(host.grid()->currentIndex().row(), 0);
    }
    // The sort stays for the refresh button.
    host.find<QToolButton>("SpeedButton1")->click();
    EXPECT_EQ(cbs(), QStringLiteral("BAC"));
}

TEST(RecordGrid, RefusedCriterionGoesToTheErrorBoxAndKeepsTheGrid)
{
    test::RecordHost host;
    host.insert(1, "A");
    host.find<QToolButton>("SpeedButton1")->click();
    ASSERT_EQ(host.gridRows().size(), 1);
    host.find<QLineEdit>("TexCb")->setText(QStringLiteral("A\"B"));
    test::ModalAnswer answer([](QWidget *modal) { test::pressButton(modal, QMessageBox::Ok); });
    host.find<QToolButton>("SpeedButton1")->click();
    EXPECT_EQ(answer.count(), 1);
    EXPECT_EQ(answer.lastTitle(), QStringLiteral("Etibarix"));
    EXPECT_FALSE(answer.lastText().isEmpty());
    EXPECT_EQ(host.grid()->model()->rowCount(), 1);
    EXPECT_EQ(host.currentRow(), 0);
}

TEST(RecordGrid, SelectionFollowsTheListAndStaysVisibleWithoutFocus)
{
    test::RecordHost host;
    for (int i = 1; i <= 5; ++i)
        host.insert(i, QByteArray::number(i * 11));
    host.find<QToolButton>("SpeedButton1")->click();
    host.selectRow(3);
    EXPECT_EQ(host.currentRow(), 3);
    EXPECT_EQ(host.list().listQuery().text("cb"), QByteArray("44"));
    const auto *model = static_cast<records::RecordGridModel *>(host.grid()->model());
    EXPECT_EQ(model->CurrentRow(), 3);
    EXPECT_FALSE(model->headerData(3, Qt::Vertical, Qt::DecorationRole).isNull());
    EXPECT_TRUE(model->headerData(2, Qt::Vertical, Qt::DecorationRole).isNull());
    const QPalette palette = host.grid()->palette();
    EXPECT_EQ(palette.color(QPalette::Inactive, QPalette::Highlight), palette.color(QPalette::Active, QPalette::Highlight));
    EXPECT_EQ(host.grid()->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(host.grid()->editTriggers(), QAbstractItemView::NoEditTriggers);
}

// A double quote in a criterion is refused before any statement: the message
// names the criterion as its label does and the list stays as it was.
TEST(RecordGrid, DoubleQuoteInACriterionIsRefused)
{
    test::RecordHost host;
    host.insert(1, "123", "Apple", "x", 1, "O");
    host.insert(2, "456", "Pear", "y", 1, "O");
    host.find<QLineEdit>("TexCb")->setText(QStringLiteral("1"));
    auto *refresh = host.find<QToolButton>("SpeedButton1");
    refresh->click();
    ASSERT_EQ(host.gridRows().size(), 1);
    const struct {
        const char *edit;
        const char *message;
    } cases[] = {
        {"TexCb", "Code Barre : un crit\u00e8re ne peut pas contenir de guillemet (\")."},
        {"text1", "Texte 1 : un crit\u00e8re ne peut pas contenir de guillemet (\")."},
        {"text2", "Texte 2 : un crit\u00e8re ne peut pas contenir de guillemet (\")."},
    };
    for (const auto &c : cases) {
        auto *edit = host.find<QLineEdit>(c.edit);
        const QString kept = edit->text();
        edit->setText(QStringLiteral("a\"b"));
        test::AnswerInTurn answers({[](QWidget *modal) { test::pressButton(modal, QMessageBox::Ok); }});
        refresh->click();
        ASSERT_EQ(answers.seen().size(), 1) << c.edit;
        EXPECT_TRUE(answers.seen().first().endsWith(QString::fromUtf8(c.message))) << answers.seen().first().toStdString();
        EXPECT_EQ(host.gridRows(), QStringList{QStringLiteral("123|Apple|x|1|X")});
        edit->setText(kept);
    }
}
