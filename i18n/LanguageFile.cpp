#include "i18n/LanguageFile.h"

#include "i18n/TextFile.h"

#include <QFileInfo>

#include <optional>

namespace etibarix::i18n {
namespace {

// A decimal integer: leading spaces, an optional sign, digits, nothing after.
std::optional<int> parseInt(const QByteArray &text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size())
        return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 2147483648LL)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > 2147483647LL)
        return std::nullopt;
    return static_cast<int>(value);
}

// Something other than spaces and control characters.
bool hasVisibleText(const QByteArray &text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) > ' ')
            return true;
    return false;
}

} // namespace

bool LanguageFile::Load()
{
    m_loaded = false;
    if (m_fileName.isEmpty() || !QFileInfo::exists(m_fileName))
        return false;
    TextFile reader;
    reader.SetSeparator(';');
    try {
        reader.Open(m_fileName);
    } catch (const TextFileError &) {
        return false;   // counts as no file
    }
    try {
        readHeader(reader);
        readEntries(reader);
        m_loaded = true;
    } catch (const TextFileError &) {
        // What was read before the error stays; the built-in texts apply.
    }
    return m_loaded;
}

void LanguageFile::readHeader(TextFile &reader)
{
    m_slots[HeaderSlot - 1] = reader.Field(2);
    reader.NextLine();
    m_slots[FontNameSlot - 1] = reader.Field(2);
    reader.NextLine();
    m_charSet = parseInt(reader.Field(2)).value_or(1);
    for (int i = 0; i < 8; ++i)
        reader.NextLine();
}

void LanguageFile::readEntries(TextFile &reader)
{
    int n = 0;
    while (!reader.AtEnd() && n < EntrySlots) {
        ++n;
        const QByteArray second = reader.Field(2);
        m_slots[n - 1] = hasVisibleText(second) ? second : reader.Field(1);
        reader.NextLine();
    }
}

QByteArray LanguageFile::GetText(int n) const
{
    if (n < 1 || n > SlotCount)
        return {};
    if (n == CharSetSlot)
        return QByteArray::number(m_charSet);
    return m_slots[n - 1];
}

} // namespace etibarix::i18n
