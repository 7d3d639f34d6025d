#include "i18n/TextFile.h"

#include "base/Cp1252.h"
#include "i18n/LanguageTable.h"

#include <cstring>

namespace etibarix::i18n {
namespace {
constexpr qsizetype ChunkSize = 64 * 1024;
constexpr char CtrlZ = '\x1A';

// Anything but blanks, line ends and end-of-file marks.
bool hasText(QByteArrayView bytes)
{
    for (const char c : bytes)
        if (c != CtrlZ && c != ' ' && c != '\t' && c != '\r' && c != '\n')
            return true;
    return false;
}

QString quoted(const QString &name)
{
    return u'"' + name + u'"';
}

QString cannotOpen(const QString &name)
{
    return LangString(Text::FileCannotOpenForReading).arg(quoted(name));
}

QString readError(const QString &name, const QString &reason)
{
    return LangString(Text::FileReadError).arg(quoted(name), reason);
}

constexpr QByteArrayView Utf8Mark("\xEF\xBB\xBF");

// A streaming UTF-8 check: fed chunk by chunk, so that a sequence may be
// split between two reads.
class Utf8Check {
public:
    // False at the first byte that cannot be UTF-8.
    bool feed(QByteArrayView bytes)
    {
        const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
        const auto *const end = p + bytes.size();
        while (p < end) {
            const unsigned char b = *p++;
            if (m_pending == 0) {
                if (b < 0x80)
                    continue;
                m_multiByte = true;
                m_low = 0x80;
                m_high = 0xBF;
                if (b >= 0xC2 && b <= 0xDF) {
                    m_pending = 1;
                } else if (b >= 0xE0 && b <= 0xEF) {
                    m_pending = 2;
                    if (b == 0xE0)
                        m_low = 0xA0;   // overlong
                    else if (b == 0xED)
                        m_high = 0x9F;  // surrogates
                } else if (b >= 0xF0 && b <= 0xF4) {
                    m_pending = 3;
                    if (b == 0xF0)
                        m_low = 0x90;   // overlong
                    else if (b == 0xF4)
                        m_high = 0x8F;  // beyond U+10FFFF
                } else {
                    return false;
                }
                continue;
            }
            if (b < m_low || b > m_high)
                return false;
            m_low = 0x80;
            m_high = 0xBF;
            --m_pending;
        }
        return true;
    }
    bool complete() const { return m_pending == 0; }
    bool multiByte() const { return m_multiByte; }

private:
    int m_pending = 0;
    unsigned char m_low = 0x80;
    unsigned char m_high = 0xBF;
    bool m_multiByte = false;
};
} // namespace

TextEncoding DetectTextEncoding(const QString &name)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        throw TextFileError(cannotOpen(name));
    Utf8Check check;
    QByteArray chunk(ChunkSize, Qt::Uninitialized);
    bool first = true;
    for (;;) {
        const qint64 got = file.read(chunk.data(), ChunkSize);
        if (got < 0)
            throw TextFileError(readError(name, file.errorString()));
        if (got == 0)
            break;
        QByteArrayView bytes(chunk.constData(), got);
        if (first && bytes.startsWith(Utf8Mark))
            return TextEncoding::Utf8;
        first = false;
        // The reader stops at a Ctrl-Z, so the check does too.
        const qsizetype z = bytes.indexOf(CtrlZ);
        if (!check.feed(z < 0 ? bytes : bytes.first(z)))
            return TextEncoding::Windows1252;
        if (z >= 0)
            break;
    }
    return check.complete() && check.multiByte() ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}

TextFile::~TextFile()
{
    Close();
}

void TextFile::Open(const QString &name)
{
    if (name == m_fileName)
        return;
    Close();
    m_fileName = name;
    m_line.clear();
    if (name.isEmpty())
        return;
    m_encoding = m_wantedEncoding == TextEncoding::Automatic ? DetectTextEncoding(name) : m_wantedEncoding;
    m_atFileStart = true;
    m_file.setFileName(name);
    if (!m_file.open(QIODevice::ReadOnly)) {
        m_open = false;
        throw TextFileError(cannotOpen(name));
    }
    m_open = true;
    NextLine();
}

bool TextFile::NextLine()
{
    if (!m_open)
        throw TextFileError(QStringLiteral("No valid file selected"));
    m_line.clear();
    m_unstorable.clear();
    QByteArray physical;
    while (IsBlank(m_line)) {
        if (!readPhysicalLine(physical)) {
            m_line.clear();
            return false;
        }
        if (m_atFileStart) {
            m_atFileStart = false;
            if (m_encoding == TextEncoding::Utf8 && physical.startsWith(Utf8Mark))
                physical.remove(0, Utf8Mark.size());
        }
        m_line.swap(physical);
    }
    if (m_encoding == TextEncoding::Utf8 && !m_keepUtf8)
        convertFromUtf8(m_line);
    return true;
}

bool TextFile::AtEnd() const
{
    const bool noMoreLines = !m_open || (m_eof && m_pos >= m_buffer.size());
    return noMoreLines && IsBlank(m_line);
}

QByteArray TextFile::Field(int k) const
{
    return Field(m_line, m_separator, k);
}

QByteArray TextFile::Field(QByteArrayView line, char separator, int k)
{
    if (k < 1 || k > MaxField)
        return {};
    const qsizetype length = line.size();
    const char *data = line.data();
    int count = 0;
    qsizetype p = 0;
    qsizetype start = 0;
    qsizetype end = 0;
    while (p < length && count < k) {
        if (count > 0 && data[p] == separator)
            ++p;   // the separator that ended the previous field
        if (p >= length)
            break;
        ++count;
        start = p;
        while (p < length && data[p] != separator)
            ++p;
        end = p;
    }
    if (count == k && end > start)
        return line.sliced(start, end - start).toByteArray();
    return {};
}

void TextFile::Close()
{
    if (m_file.isOpen())
        m_file.close();
    m_open = false;
    m_buffer.clear();
    m_buffer.squeeze();
    m_pos = 0;
    m_eof = false;
    m_textAfterCtrlZ = false;
}

void TextFile::convertFromUtf8(QByteArray &line)
{
    bool ascii = true;
    for (const char c : std::as_const(line))
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii)
        return;
    const QString text = QString::fromUtf8(line);
    if (std::optional<QByteArray> bytes = base::toCp1252(text)) {
        line = std::move(*bytes);
        return;
    }
    // Reported by the first character that has no byte (a malformed
    // sequence in a file read as UTF-8 by choice shows as U+FFFD).
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        if (!base::toCp1252(QStringView(text).sliced(i, length))) {
            m_unstorable = text.sliced(i, length);
            break;
        }
        i += length - 1;
    }
    line = base::toCp1252Lossy(text);
}

bool TextFile::IsBlank(const QByteArray &line)
{
    for (const char c : line)
        if (c != ' ' && c != '\t')
            return false;
    return true;
}

// Refills the buffer with the next chunk; false when nothing more is to be had.
bool TextFile::fillBuffer()
{
    if (m_eof)
        return false;
    if (!m_file.isOpen())
        raiseReadError(QStringLiteral("File not open"));
    if (!m_file.isReadable())
        raiseReadError(QStringLiteral("File not open for input"));
    m_buffer.resize(ChunkSize);
    m_pos = 0;
    const qint64 got = m_file.read(m_buffer.data(), ChunkSize);
    if (got < 0) {
        m_buffer.clear();
        raiseReadError(QStringLiteral("Unknown error"));
    }
    m_buffer.resize(got);
    if (got == 0) {
        m_eof = true;
        return false;
    }
    // Nothing after a Ctrl-Z belongs to the file.
    if (const void *z = std::memchr(m_buffer.constData(), CtrlZ, static_cast<size_t>(got))) {
        const qsizetype at = static_cast<const char *>(z) - m_buffer.constData();
        m_textAfterCtrlZ = hasText(QByteArrayView(m_buffer).sliced(at));
        while (!m_textAfterCtrlZ) {
            const QByteArray rest = m_file.read(ChunkSize);
            if (rest.isEmpty())
                break;
            m_textAfterCtrlZ = hasText(rest);
        }
        m_buffer.resize(at);
        m_eof = true;
        m_file.close();
    }
    return true;
}

// One physical line without its end; false when the file holds no more lines.
bool TextFile::readPhysicalLine(QByteArray &line)
{
    line.clear();
    bool any = false;
    for (;;) {
        if (m_pos >= m_buffer.size() && !fillBuffer())
            return any;
        const char *begin = m_buffer.constData() + m_pos;
        const qsizetype available = m_buffer.size() - m_pos;
        const void *lf = std::memchr(begin, '\n', static_cast<size_t>(available));
        const qsizetype take = lf ? static_cast<const char *>(lf) - begin : available;
        // CR is dropped wherever it stands: before LF it is part of the line
        // end, elsewhere it is discarded.
        const char *segment = begin;
        const char *const stop = begin + take;
        while (segment < stop) {
            const void *cr = std::memchr(segment, '\r', static_cast<size_t>(stop - segment));
            const char *segmentEnd = cr ? static_cast<const char *>(cr) : stop;
            line.append(segment, segmentEnd - segment);
            segment = cr ? segmentEnd + 1 : stop;
        }
        any = true;
        m_pos += take;
        if (lf) {
            ++m_pos;
            return true;
        }
    }
}

void TextFile::raiseReadError(const QString &reason)
{
    const QString name = m_fileName;
    Close();
    throw TextFileError(readError(name, reason));
}

} // namespace etibarix::i18n
