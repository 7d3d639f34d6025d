#include "records/RecordCommands.h"

#include "base/Error.h"

#include <algorithm>
#include <exception>
#include <limits>

namespace etibarix::records {

namespace {

template <typename Run>
bool caught(Run run, QString *reason)
{
    try {
        run();
        return true;
    } catch (const base::Error &error) {
        // Dropped on purpose: a command that fails changes nothing and raises nothing.
        if (reason)
            *reason = error.text();
    } catch (const std::exception &error) {
        if (reason)
            *reason = QString::fromLocal8Bit(error.what());
    }
    return false;
}

} // namespace

bool RunCommand(store::Query &commandQuery, const QByteArray &statement, QString *reason)
{
    return caught(
        [&] {
            commandQuery.close();
            commandQuery.setSql(statement);
            commandQuery.execSql();
        },
        reason);
}

bool RunInsert(store::Query &commandQuery, const store::sql::InsertStatement &statement, QString *reason)
{
    return caught([&] { commandQuery.execInsert(statement); }, reason);
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

NumberingLock::NumberingLock(store::Query &commandQuery) : m_table(commandQuery.dataSet("article"))
{
    m_table.holdAppends();
}

NumberingLock::~NumberingLock()
{
    m_table.releaseAppends();
}

} // namespace etibarix::records
