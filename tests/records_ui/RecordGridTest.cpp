// The record grid over the list: its columns and cells, the criteria, the
// sort by title clicks and the refresh.

#include "RecordHost.h"
#include "UiTestSupport.h"

#include "records/ui/RecordGridModel.h"
#include "store/Query.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

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
    const int widths[] = {144, 188, 182};
    for (int c = 1; c <= 3; ++c)
        EXPECT_EQ(s->columnWidth(c), widths[c - 1]) << c;
    EXPECT_EQ(s->columnWidth(5), 47);
    EXPECT_EQ(host.currentRow(), -1);
}
