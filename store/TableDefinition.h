#pragma once
// What the table engine is told about a table rather than knows: its fields
// (for creating a missing file; an existing file brings its own) and the tag
// of its production index.

#include <QByteArray>

#include <cstdint>
#include <variant>
#include <vector>

namespace etibarix::store {

struct FieldDef {
    QByteArray name;   // upper case, as stored ("NUM", "CB", ...)
    char type = 'C';   // 'C' or 'N' (others may be read, never created)
    int width = 0;
    int decimals = 0;
    int offset = 0;    // byte offset inside the record (deletion flag is byte 0)
};

// A value given to append/update: text for C fields, integer for N fields.
// The table converts a value of the other kind to the field's type.
using FieldValue = std::variant<QByteArray, std::int32_t>;

// The single tag of the production index: ascending, not unique, no filter,
// keyed on one character field.
struct IndexTag {
    QByteArray name;            // as stored in the index file, at most 10 characters
    QByteArray keyExpression;   // the key field's name
};

struct TableDefinition {
    // One line per field: "name, type, width, decimals".
    std::vector<QByteArray> fieldLines;
    // An empty tag name: the table is kept without an index.
    IndexTag index;

    // The descriptors of a new file made from fieldLines. Throws
    // base::Error "Invalid dBASE field definition [CreateDBF]" for a line
    // that is not a field.
    std::vector<FieldDef> newFields() const;
};

} // namespace etibarix::store
