#include "store/sql/Parser.h"

#include "base/Cp1252.h"
#include "base/Error.h"
#include "store/sql/Lexer.h"

namespace etibarix::store::sql {
namespace {

class Reader {
public:
    explicit Reader(std::vector<Token> tokens) : m_tokens(std::move(tokens)) {}

    Statement statement()
    {
        Statement s = [this]() -> Statement {
            if (peek().is("select"))
                return select();
            if (peek().is("insert"))
                return insert();
            if (peek().is("update"))
                return update();
            if (peek().is("delete"))
                return remove();
            fail();
        }();
        if (peek().kind != TokenKind::End)
            fail();
        return s;
    }

private:
    const Token &peek() const { return m_tokens[m_pos]; }
    const Token &take() { return m_tokens[m_pos < m_tokens.size() - 1 ? m_pos++ : m_pos]; }

    [[noreturn]] void fail() const
    {
        const Token &t = peek();
        throw base::Error(QStringLiteral(" %1 at line : %2, Column: %3, token: %4")
                             .arg(QStringLiteral("syntax error"))
                             .arg(t.line)
                             .arg(t.column)
                             .arg(base::fromCp1252(t.text)));
    }

    void keyword(const char *word)
    {
        if (!peek().is(word))
            fail();
        take();
    }

    void expect(TokenKind kind)
    {
        if (peek().kind != kind)
            fail();
        take();
    }

    Name name()
    {
        if (peek().kind != TokenKind::Identifier || isReserved(peek()))
            fail();
        const Token &t = take();
        return Name{t.text, t.line, t.column};
    }

    static bool isReserved(const Token &t)
    {
        static const char *const words[] = {"select", "from", "where", "and", "like", "order", "by",
            "desc", "max", "as", "insert", "into", "values", "update", "set", "delete", "length"};
        for (const char *w : words)
            if (t.is(w))
                return true;
        return false;
    }

    QByteArray string()
    {
        if (peek().kind != TokenKind::String)
            fail();
        return take().value;
    }

    std::int32_t integer()
    {
        bool negative = false;
        if (peek().kind == TokenKind::Minus) {
            take();
            negative = true;
        }
        const Token &t = peek();
        if (t.kind != TokenKind::Integer || t.overflow || (!negative && t.number > 0x7FFFFFFFLL))
            fail();
        take();
        return static_cast<std::int32_t>(negative ? -t.number : t.number);
    }

    Literal value()
    {
        if (peek().kind == TokenKind::String)
            return string();
        return integer();
    }

    Statement select()
    {
        keyword("select");
        if (peek().is("max")) {
            take();
            SelectMaxStatement s;
            expect(TokenKind::LeftParen);
            s.column = name();
            expect(TokenKind::RightParen);
            keyword("as");
            s.alias = name();
            keyword("from");
            s.table = name();
            return s;
        }
        SelectStatement s;
        expect(TokenKind::Star);
        keyword("from");
        s.table = name();
        if (peek().is("where")) {
            take();
            s.where = condition();
        }
        if (peek().is("order")) {
            take();
            keyword("by");
            for (;;) {
                SortKey key;
                key.column = name();
                if (peek().is("desc")) {
                    take();
                    key.descending = true;
                }
                s.orderBy.push_back(std::move(key));
                if (peek().kind != TokenKind::Comma)
                    break;
                take();
            }
        }
        return s;
    }

    Statement insert()
    {
        keyword("insert");
        keyword("into");
        InsertStatement s;
        s.table = name();
        expect(TokenKind::LeftParen);
        for (;;) {
            s.columns.push_back(name());
            if (peek().kind != TokenKind::Comma)
                break;
            take();
        }
        expect(TokenKind::RightParen);
        keyword("values");
        expect(TokenKind::LeftParen);
        for (;;) {
            // A list longer than the column list is refused at its first extra value.
            if (s.values.size() == s.columns.size())
                fail();
            s.values.push_back(value());
            if (peek().kind != TokenKind::Comma)
                break;
            take();
        }
        if (s.values.size() != s.columns.size())
            fail();
        expect(TokenKind::RightParen);
        return s;
    }

    Statement update()
    {
        keyword("update");
        UpdateStatement s;
        s.table = name();
        keyword("set");
        for (;;) {
            Assignment a;
            a.column = name();
            expect(TokenKind::Equals);
            a.value = value();
            s.assignments.push_back(std::move(a));
            if (peek().kind != TokenKind::Comma)
                break;
            take();
        }
        keyword("where");
        s.where = condition();
        return s;
    }

    Statement remove()
    {
        keyword("delete");
        keyword("from");
        DeleteStatement s;
        s.table = name();
        keyword("where");
        s.where = condition();
        return s;
    }

    Condition condition()
    {
        Condition c;
        for (;;) {
            c.push_back(predicate());
            if (!peek().is("and"))
                return c;
            take();
        }
    }

    Predicate predicate()
    {
        Predicate p;
        if (peek().is("length")) {
            take();
            p.length = true;
            expect(TokenKind::LeftParen);
            p.column = name();
            expect(TokenKind::RightParen);
            if (peek().kind == TokenKind::Greater)
                p.op = Predicate::Op::Greater;
            else if (peek().kind == TokenKind::Equals)
                p.op = Predicate::Op::Equal;
            else
                fail();
            take();
            p.value = integer();
            return p;
        }
        p.column = name();
        if (peek().is("like")) {
            take();
            p.op = Predicate::Op::Like;
            p.value = string();
        } else if (peek().kind == TokenKind::Equals) {
            take();
            p.op = Predicate::Op::Equal;
            p.value = value();
        } else if (peek().kind == TokenKind::Greater) {
            take();
            p.op = Predicate::Op::Greater;
            p.value = integer();
        } else {
            fail();
        }
        return p;
    }

    std::vector<Token> m_tokens;
    std::size_t m_pos = 0;
};

} // namespace

Statement Parser::parse(QByteArrayView text)
{
    std::vector<Token> tokens = Lexer(text).tokenize();
    if (tokens.size() == 1)   // only End: nothing but blanks
        throw base::Error(QStringLiteral("SQL statement cannot be empty"));
    return Reader(std::move(tokens)).statement();
}

} // namespace etibarix::store::sql
