#pragma once
// The statements that change one record, composed exactly as the record
// dialog and the record commands issue them. Texts go between double quotes
// as typed, without escaping: the dialect has no escape, so a text holding a
// double quote would break the statement (and the command runner drops the
// failure silently). QuoteRule::Refuse, the default, raises a clear error for
// such a text instead, before anything is run.

#include "store/sql/Ast.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

namespace etibarix::records {

struct RecordEntry {
    QByteArray cb;        // Windows-1252, placed untrimmed
    QByteArray lib1;
    QByteArray lib2;
    std::int32_t quantite = 1;
    QByteArray topp = "O";   // "O" flagged, "N" not flagged
};

enum class QuoteRule {
    Refuse,   // base::Error naming the text that holds a double quote
    Keep,     // the text goes in as it is, whatever becomes of the statement
};

// Throws base::Error when one of the entry's texts holds a double quote.
void RefuseDoubleQuote(const RecordEntry &entry);

QByteArray InsertStatement(std::int32_t num, const RecordEntry &entry, QuoteRule rule = QuoteRule::Refuse);
QByteArray UpdateStatement(std::int32_t num, const RecordEntry &entry, QuoteRule rule = QuoteRule::Refuse);
QByteArray DeleteStatement(std::int32_t num);
// The insert of InsertStatement() as parsed, for a caller that inserts many
// records: the text is parsed once, and each record's values go into that
// shape. For texts without a double quote this is what parsing the record's
// own statement gives.
class PreparedInsert {
public:
    PreparedInsert();
    const store::sql::InsertStatement &bind(std::int32_t num, const RecordEntry &entry);

private:
    store::sql::InsertStatement m_statement;
};

// newFlag is ToggledFlag() of the current flag.
QByteArray ToggleStatement(std::int32_t num, QByteArrayView newFlag);
// "N" for a flagged record ("O"), "O" for any other value.
QByteArray ToggledFlag(QByteArrayView current);

} // namespace etibarix::records
