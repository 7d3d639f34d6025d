#pragma once
// The tests' own archive writer, written from the format description alone
// and independent of the program's writer: every chunk goes through zlib's
// one-shot compress2(), volumes are split by the position rule, and every
// field can be set by hand to build damaged archives.

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

namespace etibarix::test {

class ArchiveBuilder {
public:
    static constexpr int Chunk = 16384;

    // maxSize 0: one volume.
    explicit ArchiveBuilder(std::int32_t maxSize = 0) : m_maxSize(maxSize) { m_volumes.append(QByteArray()); }

    ArchiveBuilder &int32(std::int32_t value);
    ArchiveBuilder &raw(const QByteArray &bytes);
    ArchiveBuilder &header(std::int32_t totalSize, std::int32_t fileCount, const QByteArray &title = {});
    ArchiveBuilder &entry(const QByteArray &path, std::uint32_t dosTime);
    ArchiveBuilder &marker();
    // One block exactly as the format stores the chunk (compressed or raw).
    ArchiveBuilder &block(const QByteArray &chunk, int level = 9);
    // The whole data section of a file, switching volumes when maxSize says so.
    ArchiveBuilder &section(const QByteArray &data, int level = 9);
    ArchiveBuilder &endRecord() { return int32(0); }
    // Ends the current volume with its change record and starts the next.
    ArchiveBuilder &nextDisk();
    // An entry and its data section, the way the program writes a file.
    ArchiveBuilder &file(const QByteArray &path, std::uint32_t dosTime, const QByteArray &data, int level = 9)
    {
        return entry(path, dosTime).section(data, level);
    }

    const QList<QByteArray> &volumes() const { return m_volumes; }
    // Writes volume 1 to path and the others next to it (.002, .003, ...).
    bool save(const QString &path) const;
    static QString volumePath(const QString &first, int disk);

private:
    QByteArray &current() { return m_volumes.last(); }
    std::int32_t m_maxSize;
    QList<QByteArray> m_volumes;
};

// The MS-DOS form of a local date and time, computed by hand.
std::uint32_t dosTime(int year, int month, int day, int hour, int minute, int second);

} // namespace etibarix::test
