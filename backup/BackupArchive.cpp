#include "backup/BackupArchive.h"

#include "base/Cp1252.h"
#include "base/Error.h"
#include "backup/BlockDecoder.h"
#include "backup/BlockEncoder.h"
#include "backup/DosTime.h"
#include "backup/VolumeReader.h"
#include "base/Wildcard.h"
#include "i18n/LanguageTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QtEndian>

#include <zlib.h>

#include <cstdlib>
#include <vector>

namespace etibarix::backup {
namespace {

constexpr char Marker[4] = {'E', 'C', '2', '\0'};
constexpr QByteArrayView NextDisk("NEXT:DISK");
constexpr QByteArrayView FileList("FILE:LIST");
// Longest entry name accepted when reading; far above any real path, far
// below what would hurt to hold in memory.
constexpr std::int32_t MaxNameLength = 32768;
constexpr int MaxDisk = 999;

QString cannotReadArchive()
{
    return i18n::LangString(i18n::Text::ArchiveCannotRead);
}

QString invalidArchiveType()
{
    return i18n::LangString(i18n::Text::ArchiveInvalidType);
}

int zlibLevel(TCompressionLevel level)
{
    switch (level) {
    case clFastest: return 1;
    case clNone: return 0;
    case clDefault: return Z_DEFAULT_COMPRESSION;
    case clMax: return 9;
    }
    return Z_DEFAULT_COMPRESSION;
}

// Busy is true for exactly the duration of a run, also when an error leaves it.
class BusyScope {
public:
    explicit BusyScope(bool &busy) : m_busy(busy) { m_busy = true; }
    ~BusyScope() { m_busy = false; }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    bool &m_busy;
};

QByteArray int32Bytes(std::int32_t value)
{
    QByteArray bytes(4, Qt::Uninitialized);
    qToLittleEndian(value, bytes.data());
    return bytes;
}

struct ListedFile {
    QString path;     // as found on disk (opened with this)
    QString stored;   // full path in lower case, as the archive holds it
};

// Every file matching the patterns, in pattern order, each once, never the
// archive itself (letter case ignored, as on the systems archives come from).
std::vector<ListedFile> collectFiles(const QStringList &patterns, const QString &archive)
{
    std::vector<ListedFile> list;
    QSet<QString> seen;
    const QString archiveLower = QFileInfo(archive).absoluteFilePath().toLower();
    for (const QString &pattern : patterns) {
        const QFileInfo info(pattern);
        const QString mask = info.fileName();
        const QDir dir(info.path());
        // Hidden and read-only files count; devices, pipes and sockets never do.
        const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
        for (const QFileInfo &entry : entries) {
            // "*" any run, "?" one character, letters without regard to case.
            const QString name = entry.fileName();
            if (!base::matchesWildcard(QStringView(mask), QStringView(name), QChar(u'*'), QChar(u'?'),
                                       [](QChar a, QChar b) { return a.toCaseFolded() == b.toCaseFolded(); }))
                continue;
            const QString full = entry.absoluteFilePath();
            const QString lower = full.toLower();
            if (lower == archiveLower || seen.contains(lower))
                continue;
            seen.insert(lower);
            list.push_back({full, lower});
        }
    }
    return list;
}

// The sum of the sizes of the files that exist; one that cannot be opened
// ends the save before anything is written.
std::int32_t countSizes(const std::vector<ListedFile> &files)
{
    std::uint32_t total = 0;
    for (const ListedFile &f : files) {
        QFile file(f.path);
        if (!file.exists())
            continue;
        if (!file.open(QIODevice::ReadOnly))
            throw base::Error(i18n::LangString(i18n::Text::CannotOpenFile).arg(f.path));
        // The header field is 32 bits; larger sums wrap as they always have.
        total += std::uint32_t(file.size());
    }
    return std::int32_t(total);
}

} // namespace

struct BackupArchive::Output {
    QFile file;
    QString path;
};

BackupArchive::BackupArchive() = default;
BackupArchive::~BackupArchive() = default;

QString BackupArchive::errorText(int code)
{
    switch (code) {
    case 1: return i18n::LangString(i18n::Text::ArchiveCannotReadFile);
    case 4: return i18n::LangString(i18n::Text::ArchiveCannotWrite);
    case 6: return i18n::LangString(i18n::Text::ArchiveCompressionError);
    }
    return QStringLiteral("Error %1").arg(code);
}

void BackupArchive::ShowError(int code)
{
    if (m_callbacks.showError)
        m_callbacks.showError(errorText(code));
}

QString BackupArchive::diskPromptText(int disk)
{
    return i18n::LangString(i18n::Text::ArchiveInsertDisk).arg(disk);
}

QString BackupArchive::volumePath(const QString &path, int disk)
{
    // The extension is whatever follows the last dot of the file name.
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    const qsizetype dot = path.lastIndexOf(u'.');
    const QString base = dot > slash ? path.left(dot) : path;
    return base + u'.' + QStringLiteral("%1").arg(disk, 3, 10, QLatin1Char('0'));
}

void BackupArchive::failWith(int code)
{
    m_errorCode = code;
    m_continue = false;
}

void BackupArchive::processEvents()
{
    if (m_callbacks.processEvents)
        m_callbacks.processEvents();
}

bool BackupArchive::askDisk(int disk, const QString &path, bool restoring)
{
    if (!m_callbacks.askDisk)
        return true;
    return m_callbacks.askDisk(DiskPrompt{diskPromptText(disk), disk, path, restoring});
}

// ---------------------------------------------------------------- saving ---

bool BackupArchive::Backup(const QStringList &patterns, const QString &archive)
{
    m_errorCode = 0;
    BusyScope busy(m_busy);
    m_volumes.clear();
    m_currentFile.clear();
    const std::vector<ListedFile> files = collectFiles(patterns, archive);
    m_continue = true;
    m_diskNumber = 1;
    m_totalSize = 0;
    m_bytesDone = 0;
    m_fileCount = std::int32_t(files.size());
    m_totalSize = countSizes(files);

    Output out;
    out.path = archive;
    out.file.setFileName(archive);
    auto write = [&](QByteArrayView bytes) {
        if (m_continue && out.file.write(bytes.data(), bytes.size()) != bytes.size())
            failWith(4);
        return m_continue;
    };

    // A limit that cannot hold one block in a fresh volume would chain
    // volumes without end.
    const bool limitUsable = m_maxSize == 0 || m_maxSize > VolumeReserve + 4;
    if (!limitUsable || !out.file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        failWith(4);
    } else {
        m_volumes << archive;
        write(int32Bytes(std::int32_t(m_backupTitle.size())));
        write(m_backupTitle);
        write(int32Bytes(m_totalSize));
        write(int32Bytes(m_fileCount));
    }

    BlockEncoder encoder(zlibLevel(m_compressionLevel));
    for (std::size_t i = 0; i < files.size() && m_continue; ++i) {
        QFile file(files[i].path);
        if (!file.exists())
            continue;
        m_currentFile = files[i].stored.trimmed();
        const QByteArray stored = base::toCp1252Lossy(m_currentFile);
        if (!write(int32Bytes(std::int32_t(stored.size()))) || !write(stored))
            break;
        if (!file.open(QIODevice::ReadOnly)) {
            failWith(1);
            break;
        }
        const std::uint32_t time = toDosTime(QFileInfo(file).lastModified());
        if (out.file.write(int32Bytes(std::int32_t(time))) != 4) {
            failWith(1);
            break;
        }
        encoder.start(&file);
        do {
            writeFileData(out, encoder);
        } while (m_continue && encoder.bytesRemain());
        file.close();
    }

    bool result = false;
    if (m_continue) {
        write(int32Bytes(0));
        result = m_continue;
    }
    if (out.file.isOpen()) {
        out.file.close();
        if (out.file.error() != QFileDevice::NoError && m_errorCode == 0) {
            failWith(4);
            result = false;
        }
    }
    if (m_errorCode != 0)
        ShowError(m_errorCode);
    return result;
}

bool BackupArchive::writeFileData(Output &out, BlockEncoder &encoder)
{
    auto write = [&](QByteArrayView bytes) {
        if (m_continue && out.file.write(bytes.data(), bytes.size()) != bytes.size())
            failWith(4);
        return m_continue;
    };
    if (!write(QByteArrayView(Marker, 4)))
        return false;
    const qint64 limit = qint64(m_maxSize) - VolumeReserve;
    while (m_continue && encoder.bytesRemain() && (m_maxSize == 0 || out.file.pos() < limit)) {
        BlockEncoder::Block block;
        const BlockEncoder::Status status = encoder.next(block);
        if (status == BlockEncoder::Status::End)
            break;
        if (status == BlockEncoder::Status::ReadError) {
            failWith(4);
            break;
        }
        m_bytesDone += block.chunkSize;
        if (status == BlockEncoder::Status::CompressError) {
            failWith(6);
            break;
        }
        if (!write(int32Bytes(block.length)) || !write(QByteArrayView(block.bytes, std::abs(block.length))))
            break;
        processEvents();
    }
    if (!m_continue || !write(int32Bytes(0)))
        return false;
    if (!encoder.bytesRemain())
        return true;

    // The volume is full: close it and go on in the next one.
    if (++m_diskNumber > MaxDisk) {
        failWith(4);
        return false;
    }
    const QString next = volumePath(out.path, m_diskNumber);
    const QByteArray record = NextDisk.toByteArray() + QByteArray::number(m_diskNumber).rightJustified(3, '0');
    if (!write(int32Bytes(std::int32_t(record.size()))) || !write(record))
        return false;
    out.file.close();
    if (out.file.error() != QFileDevice::NoError) {
        failWith(4);
        return false;
    }
    if (!askDisk(m_diskNumber, next, false)) {
        m_continue = false;
        return false;
    }
    out.path = next;
    out.file.setFileName(next);
    if (!out.file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        failWith(4);
        return false;
    }
    m_volumes << next;
    return true;
}

// ------------------------------------------------------------- restoring ---

QString BackupArchive::targetPathFor(const QByteArray &storedPath, const QString &targetDir) const
{
    // Archives hold the writer's full path; only its last component is used,
    // whichever separator the writing system had.
    const QString path = base::fromCp1252(storedPath);
    const qsizetype cut = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    const QString name = path.mid(cut + 1);
    if (name.isEmpty() || name == u"." || name == u".." || name.contains(QChar(u'\0')))
        throw base::Error(cannotReadArchive());
    return targetDir + name;
}

BackupArchive::SectionResult BackupArchive::readFileData(VolumeReader &in, QFile *target)
{
    char marker[4];
    if (!in.read(marker, 4))
        return SectionResult::Damaged;
    if (QByteArrayView(marker, qstrnlen(marker, 4)) != QByteArrayView("EC2"))
        return SectionResult::BadMarker;
    if (!target) {
        while (m_continue) {
            std::int32_t length = 0;
            if (!in.readInt32(length))
                return SectionResult::Damaged;
            if (length == 0)
                return SectionResult::Done;
            const std::int64_t size = length < 0 ? -std::int64_t(length) : std::int64_t(length);
            if (size > ChunkSize || !in.skip(size))
                return SectionResult::Damaged;
            processEvents();
        }
        return SectionResult::Stopped;
    }

    if (!m_decoder)
        m_decoder = std::make_unique<BlockDecoder>();
    BlockDecoder &decoder = *m_decoder;
    while (m_continue) {
        // Read a batch of blocks ahead, up to the end of the section or the
        // first damage, whose outcome comes after the blocks before it.
        int count = 0;
        SectionResult end = SectionResult::Stopped;
        while (count < BlockDecoder::BatchBlocks) {
            std::int32_t length = 0;
            if (!in.readInt32(length)) {
                end = SectionResult::Damaged;
                break;
            }
            if (length == 0) {
                end = SectionResult::Done;
                break;
            }
            // Valid archives never hold a block above the chunk size.
            const std::int64_t size = length < 0 ? -std::int64_t(length) : std::int64_t(length);
            if (size > ChunkSize || !in.read(decoder.input(count), size)) {
                end = SectionResult::Damaged;
                break;
            }
            decoder.setLength(count++, length);
        }
        decoder.decode(count);
        for (int i = 0; i < count; ++i) {
            const BlockDecoder::Result block = decoder.result(i);
            // Whatever came out is kept, also when the stream then failed.
            if (target->write(block.bytes, block.size) != block.size)
                return SectionResult::WriteFailed;
            m_bytesDone += block.size;
            if (!block.ok)
                return SectionResult::InflateFailed;
            processEvents();
            if (!m_continue)
                return SectionResult::Stopped;
        }
        if (end != SectionResult::Stopped)
            return end;
    }
    return SectionResult::Stopped;
}

namespace {

// A file being restored: created fresh (an existing file or link of that name
// is removed first, so nothing is written through a link).
bool createTarget(QFile &file, const QString &path)
{
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink())
        QFile::remove(path);
    file.setFileName(path);
    return file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
}

void finishTarget(QFile &file, std::uint32_t dosTime)
{
    // Flushed first, so closing writes nothing that would move the time again.
    file.flush();
    const QDateTime time = fromDosTime(dosTime);
    if (time.isValid())
        file.setFileTime(time, QFileDevice::FileModificationTime);
    file.close();
}

} // namespace

bool BackupArchive::Restore(const QString &archive, const QString &targetDir)
{
    QString target = targetDir.isEmpty() ? QStringLiteral("./") : targetDir;
    if (!target.endsWith(u'/'))
        target += u'/';
    m_errorCode = 0;
    m_continue = true;
    m_restoredFiles.clear();
    m_currentFile.clear();
    m_bytesDone = 0;
    if (!QFileInfo(archive).isFile())
        return false;

    VolumeReader in;
    if (!in.open(archive))
        throw base::Error(cannotReadArchive());
    BusyScope busy(m_busy);
    std::int32_t titleLength = 0;
    if (!in.readInt32(titleLength) || !in.skip(titleLength) || !in.readInt32(m_totalSize)
        || !in.readInt32(m_fileCount))
        throw base::Error(cannotReadArchive());
    m_diskNumber = 1;

    // The entry a volume change interrupts, continued in the next volume.
    struct Entry {
        QString path;
        std::uint32_t time = 0;
        bool restoring = false;
    } last;

    // Maps a section outcome to the run's state; throws for the errors that
    // reach the caller.
    auto settle = [&](SectionResult result, bool restoring, bool continued) {
        switch (result) {
        case SectionResult::Done:
        case SectionResult::Stopped:
            return;
        case SectionResult::BadMarker:
            if (!restoring || continued)
                throw base::Error(invalidArchiveType());
            failWith(1);
            return;
        case SectionResult::Damaged:
            if (!restoring)
                throw base::Error(cannotReadArchive());
            failWith(1);
            return;
        case SectionResult::WriteFailed:
            failWith(1);
            return;
        case SectionResult::InflateFailed:
            failWith(6);
            return;
        }
    };

    std::int32_t length = -1;
    while (length != 0 && m_continue) {
        if (!in.readInt32(length))
            throw base::Error(cannotReadArchive());
        if (length <= 0)
            continue;
        if (length > MaxNameLength || length > in.remaining())
            throw base::Error(cannotReadArchive());
        QByteArray name(length, Qt::Uninitialized);
        if (!in.read(name.data(), length))
            throw base::Error(cannotReadArchive());

        if (name.startsWith(NextDisk)) {
            in.close();
            const QByteArray digits = name.mid(NextDisk.size());
            bool isNumber = digits.size() == 3;
            for (char c : digits)
                isNumber = isNumber && c >= '0' && c <= '9';
            if (!isNumber)
                throw base::Error(cannotReadArchive());
            // Volumes only go forward; anything else would read in circles.
            const int disk = digits.toInt();
            if (disk <= m_diskNumber)
                throw base::Error(cannotReadArchive());
            const QString next = volumePath(archive, disk);
            bool found = false;
            while (!found) {
                // Without anyone to ask, a missing volume ends the run.
                if (!askDisk(disk, next, true) || (!m_callbacks.askDisk && !QFileInfo(next).isFile())) {
                    m_continue = false;
                    break;
                }
                found = QFileInfo(next).isFile();
            }
            if (!m_continue)
                break;
            if (!in.open(next))
                throw base::Error(cannotReadArchive());
            m_diskNumber = disk;
            if (last.restoring) {
                QFile file(last.path);
                m_currentFile = last.path;
                if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
                    failWith(1);
                    break;
                }
                const SectionResult result = readFileData(in, &file);
                finishTarget(file, last.time);
                settle(result, true, true);
            } else {
                settle(readFileData(in, nullptr), false, true);
            }
            continue;
        }

        std::int32_t time = 0;
        if (!in.readInt32(time))
            throw base::Error(cannotReadArchive());
        if (QByteArrayView(name) == FileList) {
            last = Entry{};
            settle(readFileData(in, nullptr), false, false);
            continue;
        }
        const QString path = targetPathFor(name, target);
        m_currentFile = path;
        last = Entry{path, std::uint32_t(time), true};
        QFile file;
        if (!QDir().mkpath(target) || !createTarget(file, path)) {
            failWith(1);
            break;
        }
        m_restoredFiles << path;
        const SectionResult result = readFileData(in, &file);
        finishTarget(file, std::uint32_t(time));
        settle(result, true, false);
    }
    in.close();
    if (m_errorCode != 0)
        ShowError(m_errorCode);
    return m_errorCode == 0 && m_continue;
}

} // namespace etibarix::backup
