#include "records/RecordList.h"

#include "records/ListStatements.h"

namespace etibarix::records {

QByteArray RecordList::CriteriaClause() const
{
    return records::CriteriaClause(m_state);
}

void RecordList::RefreshRecordList()
{
    // Refused before anything is run: the list stays as it was.
    RefuseQuotedCriteria(m_state);
    m_query.close();
    m_query.setSql(ListStatement(m_state));
    m_query.open();
}

void RecordList::sortByColumnTitle(QByteArrayView fieldName)
{
    ApplyTitleClick(m_state, fieldName);
    RefreshRecordList();
}

} // namespace etibarix::records
