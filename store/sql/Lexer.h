#pragma once
// Cuts a statement into tokens. Blanks (and other white space) separate
// words; none is needed around literals, operators or parentheses, so
// `"12%"order by num` is a literal followed by the word "order".

#include "store/sql/Token.h"

#include <QByteArrayView>

#include <vector>

namespace etibarix::store::sql {

class Lexer {
public:
    explicit Lexer(QByteArrayView text) : m_text(text) {}

    // Every token of the text, ending with one End token. Never throws: a
    // character outside the dialect becomes an Invalid token for the parser
    // to report with its position.
    std::vector<Token> tokenize();

private:
    Token next();
    void skipBlanks();

    QByteArrayView m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
    qsizetype m_lineStart = 0;
};

} // namespace etibarix::store::sql
