#pragma once
// Runs parsed statements against a table: every statement walks the live
// records in record order (no index narrows the walk); a select copies the
// matching rows into a ResultSet and sorts that copy.
//
// The largest value of an integer column is remembered together with a mark
// of the table: asking for the next record number before every insert (as
// creating records does) then costs no walk, and an insert through this
// executor keeps the remembered value up to date. Records appended by other
// programs are read alone; any other change of the table — an update, a
// delete — makes the next question walk the table again.

#include "store/Table.h"
#include "store/sql/Ast.h"
#include "store/sql/ResultSet.h"

#include <optional>

namespace etibarix::store::sql {

class Executor {
public:
    ResultSet select(const SelectStatement &statement, Table &table);
    ResultSet selectMax(const SelectMaxStatement &statement, Table &table);
    void insert(const InsertStatement &statement, Table &table);
    void update(const UpdateStatement &statement, Table &table);
    void remove(const DeleteStatement &statement, Table &table);

private:
    struct MaxCache {
        const Table *table = nullptr;
        int field = -1;
        Table::Mark mark;
        std::optional<std::int32_t> max;   // nullopt: no live record
    };
    std::optional<MaxCache> m_max;
    // Size of the last select, to reserve room for the next one (the list
    // is refreshed again and again with results of similar size).
    int m_lastRows = 0;
    qsizetype m_lastTextBytes = 0;
};

} // namespace etibarix::store::sql
