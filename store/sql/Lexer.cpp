#include "store/sql/Lexer.h"

#include <cstring>

namespace etibarix::store::sql {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

char lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool Token::is(const char *keyword) const
{
    if (kind != TokenKind::Identifier)
        return false;
    const auto len = static_cast<qsizetype>(std::strlen(keyword));
    if (text.size() != len)
        return false;
    for (qsizetype i = 0; i < len; ++i)
        if (lower(text.at(i)) != keyword[i])
            return false;
    return true;
}

std::vector<Token> Lexer::tokenize()
{
    std::vector<Token> tokens;
    for (;;) {
        tokens.push_back(next());
        if (tokens.back().kind == TokenKind::End)
            return tokens;
    }
}

void Lexer::skipBlanks()
{
    while (m_pos < m_text.size() && isBlank(m_text[m_pos])) {
        if (m_text[m_pos] == '\n') {
            ++m_line;
            m_lineStart = m_pos + 1;
        }
        ++m_pos;
    }
}

Token Lexer::next()
{
    skipBlanks();
    Token t;
    t.line = m_line;
    t.column = static_cast<int>(m_pos - m_lineStart + 1);
    const qsizetype start = m_pos;
    if (m_pos >= m_text.size()) {
        t.kind = TokenKind::End;
        return t;
    }
    const char c = m_text[m_pos];
    if (isLetter(c)) {
        while (m_pos < m_text.size() && (isLetter(m_text[m_pos]) || isDigit(m_text[m_pos])))
            ++m_pos;
        t.kind = TokenKind::Identifier;
    } else if (isDigit(c)) {
        std::int64_t n = 0;
        while (m_pos < m_text.size() && isDigit(m_text[m_pos])) {
            if (n <= 0x7FFFFFFFLL + 1)
                n = n * 10 + (m_text[m_pos] - '0');
            ++m_pos;
        }
        t.kind = TokenKind::Integer;
        t.number = n;
        t.overflow = n > 0x7FFFFFFFLL + 1;   // -2147483648 still fits with its sign
    } else if (c == '"' || c == '\'') {
        // No escape: a quote directly followed by another one does not close
        // the literal, and both quote characters stay in its value.
        qsizetype p = m_pos + 1;
        for (;;) {
            while (p < m_text.size() && m_text[p] != c) {
                if (m_text[p] == '\n') {
                    ++m_line;
                    m_lineStart = p + 1;
                }
                ++p;
            }
            if (p >= m_text.size()) {
                t.kind = TokenKind::Invalid;   // unclosed literal
                m_pos = p;
                break;
            }
            if (p + 1 < m_text.size() && m_text[p + 1] == c) {
                p += 2;
                continue;
            }
            t.kind = TokenKind::String;
            t.value = m_text.sliced(m_pos + 1, p - m_pos - 1).toByteArray();
            m_pos = p + 1;
            break;
        }
    } else {
        ++m_pos;
        switch (c) {
        case '*': t.kind = TokenKind::Star; break;
        case '(': t.kind = TokenKind::LeftParen; break;
        case ')': t.kind = TokenKind::RightParen; break;
        case ',': t.kind = TokenKind::Comma; break;
        case '=': t.kind = TokenKind::Equals; break;
        case '>': t.kind = TokenKind::Greater; break;
        case '-': t.kind = TokenKind::Minus; break;
        default: t.kind = TokenKind::Invalid; break;
        }
    }
    t.text = m_text.sliced(start, m_pos - start).toByteArray();
    return t;
}

} // namespace etibarix::store::sql
