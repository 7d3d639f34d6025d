#include "backup/VolumeReader.h"

#include <QtEndian>

namespace etibarix::backup {

bool VolumeReader::open(const QString &path)
{
    close();
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::ReadOnly))
        return false;
    m_size = m_file.size();
    return true;
}

void VolumeReader::close()
{
    if (m_file.isOpen())
        m_file.close();
    m_size = 0;
}

std::int64_t VolumeReader::remaining() const
{
    return m_file.isOpen() ? m_size - m_file.pos() : 0;
}

bool VolumeReader::read(char *buffer, std::int64_t n)
{
    if (n < 0 || n > remaining())
        return false;
    return n == 0 || m_file.read(buffer, n) == n;
}

bool VolumeReader::readInt32(std::int32_t &value)
{
    char bytes[4];
    if (!read(bytes, 4))
        return false;
    value = qFromLittleEndian<std::int32_t>(bytes);
    return true;
}

bool VolumeReader::skip(std::int64_t n)
{
    if (n < 0 || n > remaining())
        return false;
    return m_file.seek(m_file.pos() + n);
}

} // namespace etibarix::backup
