#include "i18n/LanguageFile.h"

#include "base/Cp1252.h"
#include "i18n/TextFile.h"

#include <QFileInfo>
#include <QStringEncoder>

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

// The code page of a Windows font character-set number; nullptr for the sets
// that are Windows-1252 here (ANSI, default, symbol) and for unknown ones.
const char *LanguageFile::CodePageOfCharSet(int charSet)
{
    switch (charSet) {
    case 77: return "macintosh";
    case 128: return "Shift_JIS";
    case 129: return "windows-949";
    case 134: return "GBK";
    case 136: return "Big5";
    case 161: return "windows-1253";
    case 162: return "windows-1254";
    case 163: return "windows-1258";
    case 177: return "windows-1255";
    case 178: return "windows-1256";
    case 186: return "windows-1257";
    case 204: return "windows-1251";
    case 222: return "windows-874";
    case 238: return "windows-1250";
    case 255: return "IBM850";
    default: return nullptr;
    }
}

// A UTF-8 file comes out of the reader as UTF-8 bytes: every text goes to
// the code page of the file's character set, as a file written in that code
// page would hold it.
void LanguageFile::convertFromUtf8()
{
    std::optional<QStringEncoder> encoder;
    if (const char *codePage = CodePageOfCharSet(m_charSet))
        encoder.emplace(codePage);
    for (QByteArray &slot : m_slots) {
        const QString text = QString::fromUtf8(slot);
        slot = encoder && encoder->isValid() ? QByteArray(encoder->encode(text)) : base::toCp1252Lossy(text);
    }
}

bool LanguageFile::Load()
{
    m_loaded = false;
    if (m_fileName.isEmpty() || !QFileInfo::exists(m_fileName))
        return false;
    TextFile reader;
    reader.SetSeparator(';');
    reader.KeepUtf8();
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
    if (reader.Encoding() == TextEncoding::Utf8)
        convertFromUtf8();
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
