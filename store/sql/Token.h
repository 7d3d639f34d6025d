#pragma once
// One token of a statement, as the lexer cuts it out of the text.

#include <QByteArray>

#include <cstdint>

namespace etibarix::store::sql {

enum class TokenKind {
    Identifier,   // keywords, table and column names (case-insensitive)
    String,       // "..." or '...'; value() holds the text between the quotes
    Integer,      // a run of digits
    Star,
    LeftParen,
    RightParen,
    Comma,
    Equals,
    Greater,
    Minus,
    Invalid,      // a character the dialect does not know, or an unclosed literal
    End,
};

struct Token {
    TokenKind kind = TokenKind::End;
    QByteArray text;          // the characters as written in the statement
    QByteArray value;         // String: the literal's value
    std::int64_t number = 0;  // Integer: its value (saturated, see overflow)
    bool overflow = false;    // Integer: more digits than any 32-bit number has
    int line = 1;             // 1-based
    int column = 1;           // 1-based, of the token's first character

    // Keyword test without regard to ASCII letter case.
    bool is(const char *keyword) const;
};

} // namespace etibarix::store::sql
