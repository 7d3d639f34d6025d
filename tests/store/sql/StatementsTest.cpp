// The statement texts the record list, the print job, the record dialog and
// the record commands compose: compared byte for byte, blanks included.

#include "base/Error.h"
#include "base/Parameters.h"
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

TEST(ListStatements, CriteriaAndSortGiveTheseTexts)
{
    // criteria: bit 1 barcode "1 " (untrimmed), bit 2 text 1 "a%b", bit 4 text 2 "_"
    struct Case {
        int criteria;
        TopChoice top;
        int sortColumn;
        bool descending;
        const char *list;
        const char *print;
    } cases[] = {
        {0, TopChoice::All, 0, false,
         "select * from article order by num",
         "select * from article where quantite > 0 and length(cb)>0  order by num"},
        {1, TopChoice::All, 1, true,
         "select * from article  where  cb like \"1 %\" order by cb desc",
         "select * from article where  cb like \"1 %\" and quantite>0 and length(cb)>0   order by cb  desc"},
        {2, TopChoice::Flagged, 2, false,
         "select * from article  where  lib1 like \"a%b%\" and  topp=\"O\" order by lib1 ",
         "select * from article where  lib1 like \"a%b%\" and  topp=\"O\" and quantite>0 and length(cb)>0   order by lib1 "},
        {4, TopChoice::Unflagged, 3, true,
         "select * from article  where  lib2 like \"_%\" and  topp=\"N\" order by lib2 desc",
         "select * from article where  lib2 like \"_%\" and  topp=\"N\" and quantite>0 and length(cb)>0   order by lib2  desc"},
        {3, TopChoice::All, 4, true,
         "select * from article  where  cb like \"1 %\" and  lib1 like \"a%b%\" order by quantite desc , cb",
         "select * from article where  cb like \"1 %\" and  lib1 like \"a%b%\" and quantite>0 and length(cb)>0   order by quantite  desc , cb"},
        {7, TopChoice::Unflagged, 5, false,
         "select * from article  where  cb like \"1 %\" and  lib1 like \"a%b%\" and  lib2 like \"_%\" and  topp=\"N\" order by topp  , cb ",
         "select * from article where  cb like \"1 %\" and  lib1 like \"a%b%\" and  lib2 like \"_%\" and  topp=\"N\" and quantite>0 and length(cb)>0   order by topp  , cb "},
        {5, TopChoice::Flagged, 4, false,
         "select * from article  where  cb like \"1 %\" and  lib2 like \"_%\" and  topp=\"O\" order by quantite  , cb",
         "select * from article where  cb like \"1 %\" and  lib2 like \"_%\" and  topp=\"O\" and quantite>0 and length(cb)>0   order by quantite  , cb"},
        {0, TopChoice::Flagged, 5, true,
         "select * from article  where  topp=\"O\" order by topp desc , cb ",
         "select * from article where  topp=\"O\" and quantite>0 and length(cb)>0   order by topp  desc , cb "},
    };
    for (const Case &c : cases) {
        ListState s;
        s.criteriaCb = (c.criteria & 1) ? "1 " : "";
        s.criteriaText1 = (c.criteria & 2) ? "a%b" : "";
        s.criteriaText2 = (c.criteria & 4) ? "_" : "";
        s.top = c.top;
        s.SortColumn = c.sortColumn;
        s.SortDescending = c.descending;
        EXPECT_EQ(ListStatement(s), QByteArray(c.list)) << c.criteria << ' ' << c.sortColumn;
        EXPECT_EQ(PrintStatement(s, PrintSelection::MatchingRecords), QByteArray(c.print)) << c.criteria << ' ' << c.sortColumn;
        // All records: criteria and sort do not count.
        EXPECT_EQ(PrintStatement(s, PrintSelection::AllRecords),
                  QByteArray("select * from article where  quantite>0 and length(cb)>0 "));
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
    base::Parameters.Language = 2;
    try {
        InsertStatement(1, e);
        FAIL() << "accepted a double quote";
    } catch (const base::Error &err) {
        // Named as the record dialog's label names the field.
        EXPECT_TRUE(err.text().startsWith(QStringLiteral("Text 1:"))) << err.text().toStdString();
    }
    base::Parameters.Language = 1;
    EXPECT_THROW(UpdateStatement(1, RecordEntry{"A\"", "", "", 1, "N"}), base::Error);
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
