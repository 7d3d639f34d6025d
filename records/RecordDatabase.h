#pragma once
// The data objects the whole program shares for its run: the record table
// and the two query components over it. The main window owns one RecordDatabase;
// the record list, the record commands, the print job and the import reach
// the table only through its queries.

#include "store/Table.h"
#include "store/TableFiles.h"
#include "store/Query.h"

namespace etibarix::records {

class RecordDatabase {
public:
    // The table is named DataDir() + "article.dbf" (not opened).
    RecordDatabase();
    RecordDatabase(const RecordDatabase &) = delete;
    RecordDatabase &operator=(const RecordDatabase &) = delete;

    store::Table &table() { return m_table; }
    // The list query: its result feeds the record grid.
    store::Query &listQuery() { return m_xQuery1; }
    // The command query: statements that change the table, single-value questions.
    store::Query &commandQuery() { return m_xqueryfonction; }

private:
    store::Table m_table{store::ArticleDefinition()};
    store::Query m_xQuery1;
    store::Query m_xqueryfonction;
};

} // namespace etibarix::records
