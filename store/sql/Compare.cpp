#include "store/sql/Compare.h"

namespace etibarix::store::sql {

std::int32_t textToInteger(QByteArrayView text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? v : 0;
}

} // namespace etibarix::store::sql
