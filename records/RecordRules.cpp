#include "records/RecordRules.h"

#include "base/Cp1252.h"
#include "base/Error.h"
#include "i18n/LanguageTable.h"

#include <limits>

namespace etibarix::records {

bool IsInteger(QByteArrayView text, std::int32_t *value)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size())
        return false;
    std::int64_t n = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return false;
        n = n * 10 + (c - '0');
        if (n > std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1)
            return false;
    }
    if (negative)
        n = -n;
    if (n > std::numeric_limits<std::int32_t>::max())
        return false;
    if (value)
        *value = static_cast<std::int32_t>(n);
    return true;
}

qsizetype FirstUnprintableBarcodeByte(QByteArrayView cb)
{
    for (qsizetype i = 0; i < cb.size(); ++i) {
        const auto byte = static_cast<unsigned char>(cb[i]);
        if (byte >= 0x80 && (byte < 0xF1 || byte > 0xF8))
            return i;
    }
    return -1;
}

void RefuseUnprintableBarcode(QByteArrayView cb)
{
    const qsizetype at = FirstUnprintableBarcodeByte(cb);
    if (at >= 0)
        throw base::Error(i18n::LangString(i18n::Text::BarcodeCharacterNotPrintable)
                              .arg(i18n::LangString(i18n::Text::Barcode).trimmed(), base::fromCp1252(cb.sliced(at, 1))));
}

QByteArray ToCapitals(QByteArrayView cp1252)
{
    QString text = base::fromCp1252(cp1252);
    for (QChar &c : text) {
        const QChar upper = c.toUpper();
        if (upper != c && base::toCp1252(QStringView(&upper, 1)))
            c = upper;
    }
    return base::toCp1252Lossy(text);
}

} // namespace etibarix::records
