#pragma once
// The backup archive component: writes a set of files into one compressed
// archive, optionally split into volumes, and extracts such an archive into a
// directory.
//
// Archive layout (integers are 4-byte little-endian signed):
//   header      title length T, title, total size, file count
//   records     N = 0 ends the archive; "NEXT:DISK" + 3 digits ends the volume;
//               any other N: path (N bytes), MS-DOS last-write time, data section
//   data section  "EC2\0", blocks (L, abs(L) bytes), L = 0
// A block holds one 16384-byte chunk: a zlib stream when L > 0, the chunk
// unchanged when L < 0. Volume k of "name.ext" is "name.00k"; it starts with
// the data section continuing the file interrupted at the end of volume k-1.
//
// Errors with a code (1 "Cannot read file", 4 "Cannot write to archive",
// 6 "Compression error") are shown through the showError callback; a header
// that cannot be read, a damaged record or a missing marker where no file is
// being restored are thrown as base::Error and reach the caller.

#include "backup/BackupCallbacks.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

class QFile;

namespace etibarix::backup {

class BlockDecoder;
class BlockEncoder;
class VolumeReader;

enum TCompressionLevel { clFastest, clNone, clDefault, clMax };
enum TBackupMode { bmAll };      // every listed file is saved
enum TRestoreMode { rmAll };     // every entry is restored, replacing an existing file

class BackupArchive {
public:
    static constexpr int ChunkSize = 16384;
    // A volume ends once its position reaches MaxSize minus this reserve.
    static constexpr int VolumeReserve = ChunkSize + 100;

    BackupArchive();
    ~BackupArchive();
    BackupArchive(const BackupArchive &) = delete;
    BackupArchive &operator=(const BackupArchive &) = delete;

    // Settings.
    TCompressionLevel compressionLevel() const { return m_compressionLevel; }
    void setCompressionLevel(TCompressionLevel level) { m_compressionLevel = level; }
    std::int32_t maxSize() const { return m_maxSize; }
    // 0: no limit. A limit must leave room for one block in a fresh volume
    // (above VolumeReserve + 4), otherwise Backup fails with code 4.
    void setMaxSize(std::int32_t bytes) { m_maxSize = bytes; }
    QByteArray backupTitle() const { return m_backupTitle; }
    void setBackupTitle(const QByteArray &title) { m_backupTitle = title; }
    TBackupMode backupMode() const { return bmAll; }
    TRestoreMode restoreMode() const { return rmAll; }
    void setCallbacks(BackupCallbacks callbacks) { m_callbacks = std::move(callbacks); }

    // Run state.
    int errorCode() const { return m_errorCode; }
    bool canContinue() const { return m_continue; }
    // Stops the run after the current block (from a processEvents callback).
    void cancel() { m_continue = false; }
    bool busy() const { return m_busy; }
    std::int32_t totalSize() const { return m_totalSize; }
    std::int32_t fileCount() const { return m_fileCount; }
    std::int64_t bytesDone() const { return m_bytesDone; }
    int diskNumber() const { return m_diskNumber; }
    QString currentFile() const { return m_currentFile; }
    // Volumes written by the last Backup, first volume first.
    QStringList volumes() const { return m_volumes; }
    // Files written by the last Restore, in archive order (a name may repeat).
    QStringList restoredFiles() const { return m_restoredFiles; }

    // Saves every file matching the patterns (last component may hold * and ?,
    // matched without regard to case) into archive. True when the end record
    // was written. A listed file that cannot be opened while the sizes are
    // counted throws base::Error before the archive is created.
    bool Backup(const QStringList &patterns, const QString &archive);

    // Extracts archive into targetDir, each file under the last component of
    // its stored path. False (nothing shown) when archive does not exist;
    // false after an error with a code (shown) or a Cancel.
    bool Restore(const QString &archive, const QString &targetDir);

    void ShowError(int code);
    static QString errorText(int code);

    // The path of volume disk (2, 3, ...) following volumePath.
    static QString volumePath(const QString &volumePath, int disk);
    // The text of the disk prompt for disk.
    static QString diskPromptText(int disk);

private:
    struct Output;
    enum class SectionResult { Done, BadMarker, Damaged, WriteFailed, InflateFailed, Stopped };

    bool writeFileData(Output &out, BlockEncoder &encoder);
    SectionResult readFileData(VolumeReader &in, QFile *target);
    void failWith(int code);
    void processEvents();
    bool askDisk(int disk, const QString &path, bool restoring);
    QString targetPathFor(const QByteArray &storedPath, const QString &targetDir) const;

    TCompressionLevel m_compressionLevel = clFastest;
    std::int32_t m_maxSize = 0;
    QByteArray m_backupTitle;
    BackupCallbacks m_callbacks;

    int m_errorCode = 0;
    bool m_continue = true;
    bool m_busy = false;
    std::int32_t m_totalSize = 0;
    std::int32_t m_fileCount = 0;
    std::int64_t m_bytesDone = 0;
    int m_diskNumber = 1;
    QString m_currentFile;
    QStringList m_volumes;
    QStringList m_restoredFiles;

    // Restore's block buffers and inflate streams, kept across sections.
    std::unique_ptr<BlockDecoder> m_decoder;
};

} // namespace etibarix::backup
