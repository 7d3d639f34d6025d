#pragma once
// Low-level helpers of the table file: error texts of the engine and the
// field encodings. Shared by Table and its tests.

#include "store/TableDefinition.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace etibarix::store {

// Engine error codes used for the table and its index.
enum DbfErrorCode {
    kErrFileNotFound = 2,
    kErrAccessDenied = 5,
    kErrSharingViolation = 32,
    kErrDiskFull = 101,
    kErrNotDbf = 210,
    kErrBadFieldType = 211,
    kErrBeyondRange = 212,
    kErrUnexpectedEof = 213,
    kErrCorruptIndex = 222,
    kErrIndexVersion = 223,
};

class TableFormat {
public:
    // "Dataset error: Error # <code> (<text>)\r\n<context>"
    static QString errorText(int code, const QString &context);
    [[noreturn]] static void raise(int code, const QString &context);
    // Engine error code for an errno of a failed open/read/write.
    static int codeForErrno(int err);

    // Encodes a value into a field of `width` bytes at `out`.
    static void encode(const FieldDef &field, const FieldValue &value, char *out);
    // Trailing blanks and control characters removed.
    static QByteArrayView trimmedText(const char *data, int width);
    // Blanks trimmed on both sides; blanks or asterisks read as 0.
    static std::int32_t parseInteger(const char *data, int width);
};

} // namespace etibarix::store
