#pragma once
// The data objects the whole program shares for its run: the record table
// and the two query components over it. The main window owns one AppData;
// the record list, the record commands, the print job and the import reach
// the table only through its queries.

#include "store/DbfTable.h"
#include "store/Query.h"

namespace etibarix::app {

class AppData {
public:
    // The table is named AppDir() + "article.dbf" (not opened).
    AppData();
    AppData(const AppData &) = delete;
    AppData &operator=(const AppData &) = delete;

    store::DbfTable &tarticle() { return m_tarticle; }
    // The list query: its result feeds the record grid.
    store::Query &xQuery1() { return m_xQuery1; }
    // The command query: statements that change the table, single-value questions.
    store::Query &xqueryfonction() { return m_xqueryfonction; }

private:
    store::DbfTable m_tarticle;
    store::Query m_xQuery1;
    store::Query m_xqueryfonction;
};

} // namespace etibarix::app
