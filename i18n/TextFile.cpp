#include "i18n/TextFile.h"

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
} // namespace

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
    m_file.setFileName(name);
    if (!m_file.open(QIODevice::ReadOnly)) {
        m_open = false;
        throw TextFileError(QStringLiteral("Could not open the file ") + quoted(name) + QStringLiteral(" for reading"));
    }
    m_open = true;
    NextLine();
}

bool TextFile::NextLine()
{
    if (!m_open)
        throw TextFileError(QStringLiteral("No valid file selected"));
    m_line.clear();
    QByteArray physical;
    while (IsBlank(m_line)) {
        if (!readPhysicalLine(physical)) {
            m_line.clear();
            return false;
        }
        m_line.swap(physical);
    }
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
    throw TextFileError(QStringLiteral("Read error while reading file ") + quoted(name) + QStringLiteral(": ") + reason);
}

} // namespace etibarix::i18n
