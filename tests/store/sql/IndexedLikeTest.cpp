// A LIKE with a fixed beginning on the indexed field reads only the records
// the index names: the rows and their order must be exactly those of the
// walk. The walk here is the same table opened without an index.

#include "store/Query.h"
#include "store/Table.h"
#include "store/TableFiles.h"
#include "tests/store/StoreTestSupport.h"

#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace etibarix;
using namespace etibarix::test;

namespace {

// Few letters and short texts: many shared beginnings, equal keys, keys that
// are the beginning of others, leading and trailing blanks.
QByteArray randomText(QRandomGenerator &rng, int maxLength)
{
    static const char letters[] = "AB b";
    QByteArray t;
    const int n = int(rng.bounded(maxLength + 1));
    for (int i = 0; i < n; ++i)
        t += letters[rng.bounded(4)];
    return t;
}

std::vector<QByteArray> rows(store::Query &q, const QByteArray &statement)
{
    q.setSql(statement);
    q.open();
    std::vector<QByteArray> out;
    for (int r = 0; r < q.recordCount(); ++r)
        out.push_back(q.result().text(r, 0) + '|' + q.result().text(r, 1) + '|' + q.result().text(r, 4));
    q.close();
    return out;
}

TEST(IndexedLike, GivesTheRowsOfTheWalkInTheSameOrder)
{
    DataDir dir;
    QRandomGenerator rng(20261209);
    store::Table indexed{store::ArticleDefinition()};
    indexed.setFileName(dir.file(QStringLiteral("article.dbf")));
    indexed.open();
    store::Query query;
    query.addDataSet("article", indexed);
    // Sorts with many ties (quantite takes four values), so that the tie
    // order, which follows the input order, shows.
    for (int i = 1; i <= 3000; ++i)
        appendArticle(indexed, {i, randomText(rng, 6), "", "", std::int32_t(rng.bounded(4)), "O"});
    for (int i = 0; i < 150; ++i) {
        const int num = int(rng.bounded(3000)) + 1;
        const QByteArray statement = rng.bounded(2) ? QByteArray("delete from article where num=" + QByteArray::number(num))
                                                    : QByteArray("update article set cb=\"" + randomText(rng, 6)
                                                                 + "\" where num=" + QByteArray::number(num));
        query.setSql(statement);
        query.execSql();
    }

    store::TableDefinition withoutIndex = store::ArticleDefinition();
    withoutIndex.index = {};
    store::Table walked(withoutIndex);
    walked.setFileName(dir.file(QStringLiteral("article.dbf")));
    walked.open();
    store::Query walk;
    walk.addDataSet("article", walked);

    const char *orders[] = {"", " order by quantite desc, cb", " order by quantite", " order by cb desc"};
    int nonEmpty = 0;
    for (int i = 0; i < 200; ++i) {
        QByteArray pattern = randomText(rng, 4);
        if (pattern.isEmpty())
            pattern = "A";
        switch (rng.bounded(4)) {
        case 0: pattern += '%'; break;
        case 1: pattern += "_%"; break;
        case 2: pattern += "%b"; break;
        default: break;   // the whole text
        }
        const QByteArray statement = "select * from article where cb like \"" + pattern + "\"" + orders[i % 4];
        const std::vector<QByteArray> expected = rows(walk, statement);
        EXPECT_EQ(rows(query, statement), expected) << statement.constData();
        nonEmpty += expected.empty() ? 0 : 1;
    }
    EXPECT_GT(nonEmpty, 100);   // the patterns do find records
}

} // namespace
