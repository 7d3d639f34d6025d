#include "records/RecordCommands.h"

#include <algorithm>
#include <exception>
#include <limits>

namespace etibarix::records {

void RunCommand(store::Query &commandQuery, const QByteArray &statement)
{
    try {
        commandQuery.close();
        commandQuery.setSql(statement);
        commandQuery.execSql();
    } catch (const std::exception &) {
        // Dropped on purpose: a command that fails changes nothing and says nothing.
    }
}

std::int32_t NextRecordNum(store::Query &commandQuery)
{
    commandQuery.close();
    commandQuery.setSql("select max(num) as nb from article");
    commandQuery.open();
    std::int64_t n = 1;
    if (commandQuery.recordCount() > 0)
        n = std::int64_t(commandQuery.integer("nb")) + 1;
    commandQuery.close();
    return static_cast<std::int32_t>(std::min<std::int64_t>(n, std::numeric_limits<std::int32_t>::max()));
}

} // namespace etibarix::records
