#pragma once
// Running the statements that change the table, and the question that
// creating a record asks first: the next record number.

#include "store/Query.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

namespace etibarix::records {

// Executes one insert, update or delete on the command query. Every error is
// caught and dropped: the caller is not told. (Callers that must not lose an
// entry check it first: RefuseDoubleQuote.)
void RunCommand(store::Query &commandQuery, const QByteArray &statement);

// The largest num of the live records plus 1, or 1 when there is none.
// Errors (a table that cannot be opened) reach the caller.
std::int32_t NextRecordNum(store::Query &commandQuery);

} // namespace etibarix::records
