// The statement dialect: which texts parse, into what, and the exact error
// texts (with line, column and token) of those that do not.

#include "base/Error.h"
#include "store/sql/Lexer.h"
#include "store/sql/Parser.h"

#include <gtest/gtest.h>

using namespace etibarix;
using namespace etibarix::store::sql;

namespace {

QString parseError(const QByteArray &text)
{
    try {
        Parser::parse(text);
    } catch (const base::Error &e) {
        return e.text();
    }
    return QStringLiteral("<parsed>");
}

QString syntaxError(int column, const QString &token)
{
    return QStringLiteral(" syntax error at line : 1, Column: %1, token: %2").arg(column).arg(token);
}

} // namespace

TEST(Parser, AcceptsEveryFormTheProgramIssues)
{
    const char *accepted[] = {
        "select * from article order by num",
        "select * from article  where  cb like \"12%\"order by num",
        "select * from article  where  cb like \"12%\" and  lib1 like \"AB%\" and  topp=\"O\" order by quantite desc , cb",
        "select * from article  where  topp=\"N\" order by topp desc , cb ",
        "select * from article order by lib2 ",
        "select * from article where  quantite>0 and length(cb)>0 ",
        "select * from article where quantite > 0 and length(cb)>0  order by quantite  desc , cb",
        "select max(num) as nb from article",
        "INSERT INTO article (num,cb,lib1,lib2,quantite,topp) VALUES (7,\"ABC\",\"L1\", \"L2\", 5, \"O\" )",
        "INSERT INTO article (num,cb,lib1,lib2,quantite,topp) VALUES (12,\"ABC\",\"L1\", \"\", -3, \"O\" )",
        "UPDATE article  SET cb=\"ABC\", lib1=\"L1\", lib2=\"L2\", quantite=5,  topp=\"O\" WHERE num=7",
        "UPDATE article  SET topp=\"N\" WHERE num=7",
        "delete from article where num=7",
        // Letter case, line breaks, single quotes, no blanks around operators.
        "SeLeCt * FrOm ArTiClE WhErE CB LIKE 'x%' OrDeR By NUM DESC,cb",
        "select\n*\nfrom article where num=-2147483648",
        "select * from article where num>2147483647",
        "select * from article where length(lib1)=0",
    };
    for (const char *text : accepted)
        EXPECT_EQ(parseError(text), QStringLiteral("<parsed>")) << text;
}

TEST(Parser, BuildsTheStatementItRead)
{
    const Statement s = Parser::parse(
        "select * from Article  where  cb like \"12%\" and  lib1 like \"AB%\" and  topp=\"O\" order by quantite desc , cb");
    const auto &sel = std::get<SelectStatement>(s);
    EXPECT_EQ(sel.table.text, QByteArray("Article"));
    ASSERT_EQ(sel.where.size(), 3u);
    EXPECT_EQ(sel.where[0].column.text, QByteArray("cb"));
    EXPECT_EQ(sel.where[0].op, Predicate::Op::Like);
    EXPECT_EQ(std::get<QByteArray>(sel.where[0].value), QByteArray("12%"));
    EXPECT_EQ(sel.where[2].op, Predicate::Op::Equal);
    ASSERT_EQ(sel.orderBy.size(), 2u);
    EXPECT_TRUE(sel.orderBy[0].descending);
    EXPECT_EQ(sel.orderBy[1].column.text, QByteArray("cb"));
    EXPECT_FALSE(sel.orderBy[1].descending);

    const auto ins = std::get<InsertStatement>(
        Parser::parse("insert into article (num,quantite,cb) values (-5, 2147483647,'a\"b')"));
    ASSERT_EQ(ins.values.size(), 3u);
    EXPECT_EQ(std::get<std::int32_t>(ins.values[0]), -5);
    EXPECT_EQ(std::get<std::int32_t>(ins.values[1]), 2147483647);
    EXPECT_EQ(std::get<QByteArray>(ins.values[2]), QByteArray("a\"b"));

    const auto max = std::get<SelectMaxStatement>(Parser::parse("SELECT MAX( num ) AS nb FROM article"));
    EXPECT_EQ(max.column.text, QByteArray("num"));
    EXPECT_EQ(max.alias.text, QByteArray("nb"));

    const auto len = std::get<DeleteStatement>(Parser::parse("delete from article where length(cb)>0 and num=3"));
    ASSERT_EQ(len.where.size(), 2u);
    EXPECT_TRUE(len.where[0].length);
    EXPECT_EQ(len.where[0].op, Predicate::Op::Greater);
}

TEST(Parser, DoubledQuoteContinuesTheLiteralAndKeepsBothQuotes)
{
    const auto upd = std::get<UpdateStatement>(Parser::parse("update article set cb=\"AB\"\"C\" where num=1"));
    EXPECT_EQ(std::get<QByteArray>(upd.assignments[0].value), QByteArray("AB\"\"C"));
    const auto tokens = Lexer("'it''s'x\"\"").tokenize();
    ASSERT_EQ(tokens.size(), 4u);
    EXPECT_EQ(tokens[0].value, QByteArray("it''s"));
    EXPECT_EQ(tokens[1].text, QByteArray("x"));
    EXPECT_EQ(tokens[2].kind, TokenKind::String);
    EXPECT_EQ(tokens[2].value, QByteArray());
}

TEST(Parser, EmptyStatement)
{
    EXPECT_EQ(parseError(""), QStringLiteral("SQL statement cannot be empty"));
    EXPECT_EQ(parseError("  \n "), QStringLiteral("SQL statement cannot be empty"));
}

TEST(Parser, RefusedFormsNameTheOffendingToken)
{
    struct Case {
        const char *text;
        int column;
        const char *token;
    } cases[] = {
        // A double quote typed into a criterion ends the literal early.
        {"select * from article where cb like \"A\"B\"", 40, "B"},
        {"select * from article order by", 31, ""},
        {"select max(num) nb from article", 17, "nb"},
        {"select num from article", 8, "num"},
        {"update article set topp=\"N\"", 28, ""},
        {"delete from article", 20, ""},
        {"select * from article;", 22, ";"},
        {"select * from article where cb like 12", 37, "12"},
        {"select * from article where quantite > \"1\"", 40, "\"1\""},
        {"select * from article where cb like \"a\" or num=1", 41, "or"},
        {"select * from article where num=2147483648", 33, "2147483648"},
        {"select * from article where num=-2147483649", 34, "2147483649"},
        {"insert into article (num,cb) values (1)", 39, ")"},
        {"insert into article (num,cb) values (1,\"a\",\"b\")", 44, "\"b\""},
        {"select * from article where cb like \"abc", 37, "\"abc"},
        {"select * from article where select=1", 29, "select"},
        {"create table article (num int)", 1, "create"},
        {"select * from article where cb < \"x\"", 32, "<"},
        {"select * from article order by cb asc", 35, "asc"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(parseError(c.text), syntaxError(c.column, QString::fromLatin1(c.token))) << c.text;
}

TEST(Parser, ErrorPositionOfATypedDoubleQuoteInAnInsert)
{
    const QByteArray text =
        "INSERT INTO article (num,cb,lib1,lib2,quantite,topp) VALUES (7,\"AB\"C\",\"L1\", \"L2\", 5, \"O\" )";
    EXPECT_EQ(parseError(text), syntaxError(static_cast<int>(text.indexOf("C\",\"L1")) + 1, QStringLiteral("C")));
}

TEST(Parser, ColumnsCountFromTheStartOfTheLineAndLinesAreCounted)
{
    EXPECT_EQ(parseError("select *\n  from article\n where num = x"),
        QStringLiteral(" syntax error at line : 3, Column: 14, token: x"));
    // Token texts are Windows-1252 and come out as such.
    EXPECT_EQ(parseError("select * from article where cb=\xE9t\xE9"),
        syntaxError(32, QString::fromUtf8("\xC3\xA9")));
}

TEST(Parser, DamagedStatementsFailCleanly)
{
    // Cut and mutated forms of real statements: each either parses or raises
    // the engine's error, never anything else.
    const QByteArray seeds[] = {
        "select * from article  where  cb like \"12%\" and  lib1 like \"AB%\" and  topp=\"O\" order by quantite desc , cb",
        "INSERT INTO article (num,cb,lib1,lib2,quantite,topp) VALUES (7,\"ABC\",\"L1\", \"L2\", 5, \"O\" )",
        "UPDATE article  SET cb=\"ABC\", lib1=\"L1\", lib2=\"L2\", quantite=5,  topp=\"O\" WHERE num=7",
        "select max(num) as nb from article",
    };
    const char noise[] = {'"', '\'', '(', ')', ',', '-', '=', '>', '%', '\0', '\n', '\xFF', ' ', '9'};
    quint32 state = 12345;
    auto rnd = [&state](quint32 bound) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % bound;
    };
    int parsed = 0;
    for (int round = 0; round < 20000; ++round) {
        QByteArray text = seeds[rnd(4)];
        const int edits = 1 + static_cast<int>(rnd(3));
        for (int e = 0; e < edits && !text.isEmpty(); ++e) {
            const auto pos = static_cast<qsizetype>(rnd(static_cast<quint32>(text.size())));
            switch (rnd(3)) {
            case 0: text[pos] = noise[rnd(sizeof noise)]; break;
            case 1: text.remove(pos, 1 + rnd(5)); break;
            default: text.truncate(pos); break;
            }
        }
        try {
            Parser::parse(text);
            ++parsed;
        } catch (const base::Error &e) {
            ASSERT_TRUE(e.text().startsWith(QStringLiteral(" syntax error at line : "))
                || e.text() == QStringLiteral("SQL statement cannot be empty"))
                << e.text().toStdString();
        }
    }
    EXPECT_GT(parsed, 0);
}
