// The statement texts the record list, the print job, the record dialog and
// the record commands compose: compared byte for byte, blanks included.

#include "app/Error.h"
#include "records/ListStatements.h"
#include "records/RecordRules.h"
#include "records/RecordStatements.h"

#include <gtest/gtest.h>

#include <QList>

using namespace etibarix;
using namespace etibarix::records;

TEST(ListStatements, ExamplesOfTheRecordList)
{
    ListState s;
    EXPECT_EQ(CriteriaClause(s), QByteArray());
    EXPECT_EQ(ListStatement(s), QByteArray("select * from article order by num"));

    s.criteriaCb = "12";
    EXPECT_EQ(ListStatement(s), QByteArray("select * from article  where  cb like \"12%\"order by num"));

    s.criteriaText1 = "AB";
    s.top = TopChoice::Flagged;
    s.SortColumn = 4;
    s.SortDescending = true;
    EXPECT_EQ(CriteriaClause(s), QByteArray(" cb like \"12%\" and  lib1 like \"AB%\" and  topp=\"O\""));
    EXPECT_EQ(ListStatement(s),
        QByteArray("select * from article  where  cb like \"12%\" and  lib1 like \"AB%\" and  topp=\"O\" order by "
                   "quantite desc , cb"));
}

TEST(ListStatements, EveryCriterionAndSortCombination)
{
    const QByteArray listOrders[6][2] = {
        {"order by num", "order by num"},
        {" order by cb ", " order by cb desc"},
        {" order by lib1 ", " order by lib1 desc"},
        {" order by lib2 ", " order by lib2 desc"},
        {" order by quantite  , cb", " order by quantite desc , cb"},
        {" order by topp  , cb ", " order by topp desc , cb "},
    };
    const QByteArray printOrders[6][2] = {
        {"order by num", "order by num"},
        {" order by cb ", " order by cb  desc"},
        {" order by lib1 ", " order by lib1  desc"},
        {" order by lib2 ", " order by lib2  desc"},
        {" order by quantite  , cb", " order by quantite  desc , cb"},
        {" order by topp  , cb ", " order by topp  desc , cb "},
    };
    for (int mask = 0; mask < 8; ++mask) {
        for (TopChoice top : {TopChoice::All, TopChoice::Flagged, TopChoice::Unflagged}) {
            ListState s;
            s.criteriaCb = (mask & 1) ? "1 " : "";   // untrimmed
            s.criteriaText1 = (mask & 2) ? "a%b" : "";
            s.criteriaText2 = (mask & 4) ? "_" : "";
            s.top = top;
            QList<QByteArray> items;
            if (mask & 1)
                items << " cb like \"1 %\"";
            if (mask & 2)
                items << " lib1 like \"a%b%\"";
            if (mask & 4)
                items << " lib2 like \"_%\"";
            if (top == TopChoice::Flagged)
                items << " topp=\"O\"";
            if (top == TopChoice::Unflagged)
                items << " topp=\"N\"";
            const QByteArray c = items.join(" and ");
            ASSERT_EQ(CriteriaClause(s), c);
            for (int col = 0; col < 6; ++col) {
                for (int desc = 0; desc < 2; ++desc) {
                    s.SortColumn = col;
                    s.SortDescending = desc;
                    const QByteArray w = c.isEmpty() ? QByteArray() : " where " + c;
                    EXPECT_EQ(ListStatement(s), "select * from article " + w + listOrders[col][desc]);
                    EXPECT_EQ(PrintStatement(s, PrintSelection::AllRecords),
                        QByteArray("select * from article where  quantite>0 and length(cb)>0 "));
                    const QByteArray pw = c.isEmpty() ? QByteArray(" where quantite > 0 and length(cb)>0 ")
                                                      : " where " + c + " and quantite>0 and length(cb)>0 ";
                    EXPECT_EQ(PrintStatement(s, PrintSelection::MatchingRecords),
                        "select * from article" + pw + " " + printOrders[col][desc]);
                }
            }
        }
    }
}

TEST(ListStatements, TitleClicksCycleTheSort)
{
    ListState s;
    ApplyTitleClick(s, "cb");
    EXPECT_EQ(s.SortColumn, 1);
    EXPECT_FALSE(s.SortDescending);
    ApplyTitleClick(s, " CB ");
    EXPECT_TRUE(s.SortDescending);
    ApplyTitleClick(s, "cb");
    EXPECT_FALSE(s.SortDescending);
    ApplyTitleClick(s, "cb");
    ApplyTitleClick(s, "quantite");   // another column starts ascending
    EXPECT_EQ(s.SortColumn, 4);
    EXPECT_FALSE(s.SortDescending);
    ApplyTitleClick(s, "Topp");
    EXPECT_EQ(s.SortColumn, 5);
    ApplyTitleClick(s, "lib2");
    EXPECT_EQ(s.SortColumn, 3);
    ApplyTitleClick(s, "lib1");
    EXPECT_EQ(s.SortColumn, 2);
    // A name that is no sort column keeps the column, so it counts as a
    // second click on it.
    ApplyTitleClick(s, "num");
    EXPECT_EQ(s.SortColumn, 2);
    EXPECT_TRUE(s.SortDescending);
}

TEST(RecordStatements, ExactTexts)
{
    RecordEntry e{"ABC", "L1", "L2", 5, "O"};
    EXPECT_EQ(InsertStatement(7, e),
        QByteArray("INSERT INTO article (num,cb,lib1,lib2,quantite,topp) VALUES (7,\"ABC\",\"L1\", \"L2\", 5, \"O\" )"));
    EXPECT_EQ(UpdateStatement(7, e),
        QByteArray("UPDATE article  SET cb=\"ABC\", lib1=\"L1\", lib2=\"L2\", quantite=5,  topp=\"O\" WHERE num=7"));
    EXPECT_EQ(DeleteStatement(7), QByteArray("delete from article where num=7"));
    EXPECT_EQ(ToggleStatement(7, ToggledFlag("O")), QByteArray("UPDATE article  SET topp=\"N\" WHERE num=7"));
    RecordEntry imported{" A B ", "", "", -3, "O"};
    EXPECT_EQ(InsertStatement(12, imported),
        QByteArray("INSERT INTO article (num,cb,lib1,lib2,quantite,topp) VALUES (12,\" A B \",\"\", \"\", -3, \"O\" )"));
}

TEST(RecordStatements, ToggledFlag)
{
    EXPECT_EQ(ToggledFlag("O"), QByteArray("N"));
    EXPECT_EQ(ToggledFlag("N"), QByteArray("O"));
    EXPECT_EQ(ToggledFlag(""), QByteArray("O"));
    EXPECT_EQ(ToggledFlag("X"), QByteArray("O"));
    EXPECT_EQ(ToggledFlag(ToggledFlag("N")), QByteArray("N"));
}

TEST(RecordStatements, DoubleQuoteIsRefusedUnlessKeptOnPurpose)
{
    RecordEntry e{"AB", "say \"hi\"", "", 1, "O"};
    try {
        InsertStatement(1, e);
        FAIL() << "accepted a double quote";
    } catch (const app::Error &err) {
        EXPECT_TRUE(err.text().contains(QStringLiteral("text 1"))) << err.text().toStdString();
    }
    EXPECT_THROW(UpdateStatement(1, RecordEntry{"A\"", "", "", 1, "N"}), app::Error);
    EXPECT_EQ(InsertStatement(1, e, QuoteRule::Keep),
        QByteArray("INSERT INTO article (num,cb,lib1,lib2,quantite,topp) VALUES (1,\"AB\",\"say \"hi\"\", \"\", 1, \"O\" )"));
    EXPECT_NO_THROW(RefuseDoubleQuote(RecordEntry{"it's", "", "", 1, "O"}));
}

TEST(RecordRules, IsInteger)
{
    struct Case {
        const char *text;
        bool ok;
        int value;
    } cases[] = {
        {"7", true, 7}, {"  7", true, 7}, {"-3", true, -3}, {"+12", true, 12}, {"007", true, 7},
        {"2147483647", true, 2147483647}, {"-2147483648", true, -2147483647 - 1},
        {"", false, 0}, {" ", false, 0}, {"-", false, 0}, {"7 ", false, 0}, {"1.5", false, 0},
        {"abc", false, 0}, {"2147483648", false, 0}, {"-2147483649", false, 0}, {"\"3\"", false, 0},
        {"$10", false, 0}, {"99999999999999999999", false, 0},
    };
    for (const Case &c : cases) {
        std::int32_t v = -99;
        EXPECT_EQ(IsInteger(c.text, &v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

TEST(RecordRules, ToCapitals)
{
    EXPECT_EQ(ToCapitals("abc 12-x"), QByteArray("ABC 12-X"));
    EXPECT_EQ(ToCapitals("\xE9t\xE9"), QByteArray("\xC9T\xC9"));          // é -> É
    EXPECT_EQ(ToCapitals("\xDF\xB5\xFF"), QByteArray("\xDF\xB5\x9F"));   // ß, µ stay; ÿ -> Ÿ
}
