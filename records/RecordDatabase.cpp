#include "records/RecordDatabase.h"

#include "base/DataDir.h"

namespace etibarix::records {

RecordDatabase::RecordDatabase()
{
    m_table.setFileName(base::DataDir() + QStringLiteral("article.dbf"));
    m_xQuery1.addDataSet("article", m_table);
    m_xqueryfonction.addDataSet("article", m_table);
}

} // namespace etibarix::records
