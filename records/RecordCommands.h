#pragma once
// Running the statements that change the table, and the question that
// creating a record asks first: the next record number.

#include "store/Query.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>

namespace etibarix::records {

// Executes one insert, update or delete on the command query. Every error is
// caught and dropped: nothing is raised. (Callers that must not lose an
// entry check it first: RefuseDoubleQuote.) The result says whether the
// statement ran, and reason, when given, receives the error's text, so that
// a caller counting what it stored can tell the user what was not.
bool RunCommand(store::Query &commandQuery, const QByteArray &statement, QString *reason = nullptr);
// The same for an insert already parsed.
bool RunInsert(store::Query &commandQuery, const store::sql::InsertStatement &statement, QString *reason = nullptr);

// The largest num of the live records plus 1, or 1 when there is none.
// Errors (a table that cannot be opened) reach the caller.
std::int32_t NextRecordNum(store::Query &commandQuery);

// Holds the article table's append region from the next number to the
// insert, so that no other program using the table gives out the same
// number meanwhile. Throws base::Error "Lock failed [Insert]" when another
// program keeps the region for more than a few seconds.
class NumberingLock {
public:
    explicit NumberingLock(store::Query &commandQuery);
    ~NumberingLock();
    NumberingLock(const NumberingLock &) = delete;
    NumberingLock &operator=(const NumberingLock &) = delete;

private:
    store::Table &m_table;
};

} // namespace etibarix::records
