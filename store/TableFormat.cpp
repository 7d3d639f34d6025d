#include "store/TableFormat.h"

#include "base/Cp1252.h"
#include "base/Error.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

namespace etibarix::store {

QString TableFormat::errorText(int code, const QString &context)
{
    const char *text = "Unknown error";
    switch (code) {
    case kErrFileNotFound: text = "File not found"; break;
    case kErrAccessDenied: text = "File access denied"; break;
    case kErrSharingViolation: text = "File sharing violation"; break;
    case kErrDiskFull: text = "Disk full"; break;
    case kErrNotDbf: text = "Not a dBASE data file"; break;
    case kErrBadFieldType: text = "Invalid database field type encountered"; break;
    case kErrBeyondRange: text = "Request beyond range"; break;
    case kErrUnexpectedEof: text = "End of file found unexpectedly"; break;
    case kErrCorruptIndex: text = "Corrupted index file"; break;
    case kErrIndexVersion: text = "Index version mismatch"; break;
    default: break;
    }
    return QStringLiteral("Dataset error: Error # %1 (%2)\r\n%3")
        .arg(code)
        .arg(QString::fromLatin1(text), context);
}

void TableFormat::raise(int code, const QString &context)
{
    throw base::Error(errorText(code, context));
}

int TableFormat::codeForErrno(int err)
{
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        return kErrFileNotFound;
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
        return kErrDiskFull;
    case EAGAIN:
    case EBUSY:
    case ETXTBSY:
        return kErrSharingViolation;
    default:
        return kErrAccessDenied;
    }
}

namespace {

bool isNumericType(char type)
{
    return type == 'N' || type == 'F';
}

// Integer value of a text given to a numeric field; throws when it is none.
std::int64_t integerFromText(const QByteArray &text)
{
    bool ok = false;
    const QByteArray t = text.trimmed();
    const qlonglong v = t.toLongLong(&ok);
    if (!ok)
        throw base::Error(QStringLiteral("'%1' is not a valid integer value").arg(base::fromCp1252(text)));
    return v;
}

} // namespace

void TableFormat::encode(const FieldDef &field, const FieldValue &value, char *out)
{
    const int width = field.width;
    if (isNumericType(field.type)) {
        std::int64_t v = 0;
        if (const auto *text = std::get_if<QByteArray>(&value)) {
            if (text->trimmed().isEmpty()) {
                std::memset(out, ' ', width);
                return;
            }
            v = integerFromText(*text);
        } else {
            v = std::get<std::int32_t>(value);
        }
        QByteArray digits = QByteArray::number(static_cast<qlonglong>(v));
        if (field.decimals > 0)
            digits += '.' + QByteArray(field.decimals, '0');
        if (digits.size() > width) {
            std::memset(out, '*', width);
            return;
        }
        const int pad = width - static_cast<int>(digits.size());
        std::memset(out, ' ', pad);
        std::memcpy(out + pad, digits.constData(), digits.size());
        return;
    }
    QByteArray text;
    if (const auto *t = std::get_if<QByteArray>(&value))
        text = *t;
    else
        text = QByteArray::number(std::get<std::int32_t>(value));
    const int n = std::min(width, static_cast<int>(text.size()));
    std::memcpy(out, text.constData(), n);
    std::memset(out + n, ' ', width - n);
}

QByteArrayView TableFormat::trimmedText(const char *data, int width)
{
    int n = width;
    while (n > 0 && static_cast<unsigned char>(data[n - 1]) <= 0x20)
        --n;
    return QByteArrayView(data, n);
}

std::int32_t TableFormat::parseInteger(const char *data, int width)
{
    int b = 0;
    int e = width;
    while (b < e && (data[b] == ' ' || data[b] == '\0'))
        ++b;
    while (e > b && (data[e - 1] == ' ' || data[e - 1] == '\0'))
        --e;
    bool negative = false;
    if (b < e && (data[b] == '-' || data[b] == '+')) {
        negative = data[b] == '-';
        ++b;
    }
    std::int64_t v = 0;
    for (; b < e && data[b] >= '0' && data[b] <= '9'; ++b) {
        v = v * 10 + (data[b] - '0');
        if (v > std::numeric_limits<std::int32_t>::max())
            return negative ? std::numeric_limits<std::int32_t>::min()
                            : std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(negative ? -v : v);
}

} // namespace etibarix::store
