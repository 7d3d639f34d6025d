#include "tests/backup/ArchiveBuilder.h"

#include "tests/support/TestSupport.h"

#include <zlib.h>

namespace etibarix::test {

ArchiveBuilder &ArchiveBuilder::int32(std::int32_t value)
{
    const auto v = std::uint32_t(value);
    const char bytes[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
    current().append(bytes, 4);
    return *this;
}

ArchiveBuilder &ArchiveBuilder::raw(const QByteArray &bytes)
{
    current().append(bytes);
    return *this;
}

ArchiveBuilder &ArchiveBuilder::header(std::int32_t totalSize, std::int32_t fileCount, const QByteArray &title)
{
    return int32(std::int32_t(title.size())).raw(title).int32(totalSize).int32(fileCount);
}

ArchiveBuilder &ArchiveBuilder::entry(const QByteArray &path, std::uint32_t time)
{
    return int32(std::int32_t(path.size())).raw(path).int32(std::int32_t(time));
}

ArchiveBuilder &ArchiveBuilder::marker()
{
    return raw(QByteArray("EC2\0", 4));
}

ArchiveBuilder &ArchiveBuilder::block(const QByteArray &chunk, int level)
{
    QByteArray out(Chunk, '\0');
    uLongf outLen = Chunk;
    const int rc = compress2(reinterpret_cast<Bytef *>(out.data()), &outLen,
                             reinterpret_cast<const Bytef *>(chunk.constData()), uLong(chunk.size()), level);
    if (rc == Z_OK)
        return int32(std::int32_t(outLen)).raw(out.left(qsizetype(outLen)));
    return int32(-std::int32_t(chunk.size())).raw(chunk);
}

ArchiveBuilder &ArchiveBuilder::section(const QByteArray &data, int level)
{
    marker();
    qsizetype pos = 0;
    while (pos < data.size()) {
        if (m_maxSize != 0 && current().size() >= m_maxSize - (Chunk + 100)) {
            int32(0);
            nextDisk();
            marker();
            continue;
        }
        block(data.mid(pos, Chunk), level);
        pos += Chunk;
    }
    return int32(0);
}

ArchiveBuilder &ArchiveBuilder::nextDisk()
{
    const int disk = int(m_volumes.size()) + 1;
    raw(QByteArray("\x0c\0\0\0", 4)).raw("NEXT:DISK" + QByteArray::number(disk).rightJustified(3, '0'));
    m_volumes.append(QByteArray());
    return *this;
}

QString ArchiveBuilder::volumePath(const QString &first, int disk)
{
    const qsizetype dot = first.lastIndexOf(u'.');
    const qsizetype slash = first.lastIndexOf(u'/');
    const QString base = dot > slash ? first.left(dot) : first;
    return base + QStringLiteral(".%1").arg(disk, 3, 10, QLatin1Char('0'));
}

bool ArchiveBuilder::save(const QString &path) const
{
    for (qsizetype i = 0; i < m_volumes.size(); ++i) {
        if (!writeFile(i == 0 ? path : volumePath(path, int(i) + 1), m_volumes[i]))
            return false;
    }
    return true;
}

std::uint32_t dosTime(int year, int month, int day, int hour, int minute, int second)
{
    const std::uint32_t date = std::uint32_t((year - 1980) << 9 | month << 5 | day);
    const std::uint32_t time = std::uint32_t(hour << 11 | minute << 5 | second / 2);
    return date << 16 | time;
}

} // namespace etibarix::test
