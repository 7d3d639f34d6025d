#pragma once
// Reading one archive volume with every length checked against what the file
// still holds, so a damaged length never makes the reader reserve memory or
// seek past the end.

#include <QFile>

#include <cstdint>

namespace etibarix::backup {

class VolumeReader {
public:
    bool open(const QString &path);
    void close();
    bool isOpen() const { return m_file.isOpen(); }

    std::int64_t remaining() const;
    // False (nothing consumed beyond the end) when fewer than n bytes remain.
    bool read(char *buffer, std::int64_t n);
    bool readInt32(std::int32_t &value);
    bool skip(std::int64_t n);

private:
    QFile m_file;
    std::int64_t m_size = 0;
};

} // namespace etibarix::backup
