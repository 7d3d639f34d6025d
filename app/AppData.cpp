#include "app/AppData.h"

#include "app/AppDir.h"

namespace etibarix::app {

AppData::AppData()
{
    m_tarticle.setFileName(AppDir() + QStringLiteral("article.dbf"));
    m_xQuery1.addDataSet("article", m_tarticle);
    m_xqueryfonction.addDataSet("article", m_tarticle);
}

} // namespace etibarix::app
