#pragma once
// The parsed form of a statement: plain data, names still unresolved (the
// executor binds them to the table's fields).

#include <QByteArray>

#include <cstdint>
#include <variant>
#include <vector>

namespace etibarix::store::sql {

// A name as written, with its place for error texts.
struct Name {
    QByteArray text;
    int line = 1;
    int column = 1;
};

using Literal = std::variant<QByteArray, std::int32_t>;

struct Predicate {
    enum class Op { Like, Equal, Greater };
    Name column;
    bool length = false;   // length(column) instead of the column's value
    Op op = Op::Equal;
    Literal value;
};

// Predicates joined by "and".
using Condition = std::vector<Predicate>;

struct SortKey {
    Name column;
    bool descending = false;
};

struct SelectStatement {
    Name table;
    Condition where;                 // empty: every live record
    std::vector<SortKey> orderBy;    // empty: record order
};

struct SelectMaxStatement {
    Name column;
    Name alias;
    Name table;
};

struct InsertStatement {
    Name table;
    std::vector<Name> columns;
    std::vector<Literal> values;     // matched to columns by position
};

struct Assignment {
    Name column;
    Literal value;
};

struct UpdateStatement {
    Name table;
    std::vector<Assignment> assignments;
    Condition where;
};

struct DeleteStatement {
    Name table;
    Condition where;
};

using Statement = std::variant<SelectStatement, SelectMaxStatement, InsertStatement,
    UpdateStatement, DeleteStatement>;

inline bool isSelect(const Statement &s)
{
    return std::holds_alternative<SelectStatement>(s) || std::holds_alternative<SelectMaxStatement>(s);
}

} // namespace etibarix::store::sql
