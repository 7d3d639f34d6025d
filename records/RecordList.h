#pragma once
// The record list without its grid: the criteria and sort state, and the
// list query it fills. The grid shows listQuery()'s result.

#include "records/ListState.h"
#include "store/Query.h"

namespace etibarix::records {

class RecordList {
public:
    explicit RecordList(store::Query &listQuery) : m_query(listQuery) {}

    ListState &state() { return m_state; }
    const ListState &state() const { return m_state; }
    store::Query &listQuery() { return m_query; }

    QByteArray CriteriaClause() const;
    // Composes the list statement and opens the list query with it; the
    // first row becomes current. Errors are not caught here.
    void RefreshRecordList();
    // A title click: new sort state, then RefreshRecordList.
    void sortByColumnTitle(QByteArrayView fieldName);

private:
    store::Query &m_query;
    ListState m_state;
};

} // namespace etibarix::records
