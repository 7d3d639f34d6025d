#include "store/Table.h"

#include "base/FileIo.h"
#include "base/LittleEndian.h"

#include "base/Cp1252.h"
#include "store/TableFormat.h"
#include "store/MdxIndex.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace etibarix::store {

namespace {

constexpr int kMaxKeyLength = 100;

constexpr int kFileHeaderSize = 32;
constexpr int kDescriptorSize = 32;
constexpr char kHeaderEnd = 0x0D;
constexpr char kEofMarker = 0x1A;
constexpr char kDeletedFlag = '*';
constexpr std::uint8_t kVersion = 0x03;
constexpr int kMaxFields = 255;
// Bytes read per disk access during a walk.
constexpr int kChunkBytes = 64 * 1024;
// Appends written together go to the file in pieces of about this size.
constexpr int kPendingBytes = 256 * 1024;

// Byte-range locks live far beyond any real table so that they never cover
// data that readers without locks look at: one byte for appends, one per
// record for updates and deletions.
constexpr off_t kLockBase = off_t(1) << 40;
constexpr off_t kAppendLock = kLockBase;
constexpr off_t kHeaderLock = kLockBase - 1;
// Shared by every user waiting for the append region, so that one holding
// it over many steps knows when to pass it on.
constexpr off_t kAppendWaitLock = kLockBase - 2;
// How long a user waits for another: the append region is held across the
// next number and its record, the opening of the index (which may rebuild
// it) and the header writing at close; a record only for one write.
constexpr int kAppendLockWaitMs = 5000;
constexpr int kHeaderLockWaitMs = 2000;
constexpr int kRecordLockWaitMs = 1000;
// How long a user passing the append region on waits for a waiting user to
// take it.
constexpr int kPassOnWaitMs = 100;

// The companion file: the number of users as text in its first bytes, then
// two counters that every user raises under the append lock, so that the
// others learn what changed while they were not looking: every change, and
// the changes other than appends (updates, deletions, a rebuilt index).
constexpr int kUsersBytes = 16;
constexpr off_t kCountersAt = 16;

enum class HeaderState { Unchanged, Changed, Appended };


void putDate(char *header)
{
    const QDate today = QDate::currentDate();
    header[1] = static_cast<char>((today.year() - 1900) & 0xFF);
    header[2] = static_cast<char>(today.month());
    header[3] = static_cast<char>(today.day());
}



QByteArray encodeName(const QString &path)
{
    return QFile::encodeName(path);
}

// The one-byte range at `start`, for a lock of `type` (or the question
// whether one could be taken).
struct flock oneByte(off_t start, short type)
{
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = start;
    fl.l_len = 1;
    return fl;
}

bool setLock(int fd, off_t start, short type)
{
    struct flock fl = oneByte(start, type);
    return ::fcntl(fd, F_OFD_SETLK, &fl) == 0;
}

// Takes a byte-range lock of `type` at `start`, waiting up to `budgetMs`
// for another user to let it go: users hold these locks only for the
// time of one step. The wait starts with short naps, so that a lock
// passed on between busy programs changes hands quickly.
// Only a lock held by someone else refuses: on a file system without
// byte-range locks the user goes ahead unlocked.
// While it waits, a user holds a shared lock on `waitingAt` (when given), which
// tells the holder that someone waits.
bool lockByte(int fd, off_t start, short type, int budgetMs, off_t waitingAt = -1)
{
    QElapsedTimer waited;
    long napUs = 50;
    struct Waiting {
        int fd;
        off_t at = -1;
        ~Waiting()
        {
            if (at >= 0)
                setLock(fd, at, F_UNLCK);
        }
    } waiting{fd};
    for (;;) {
        if (setLock(fd, start, type))
            return true;
        if (errno != EAGAIN && errno != EACCES && errno != EINTR)
            return true;
        if (!waited.isValid()) {
            waited.start();
            if (waitingAt >= 0 && setLock(fd, waitingAt, F_RDLCK))
                waiting.at = waitingAt;
        } else if (waited.elapsed() >= budgetMs) {
            return false;
        }
        const struct timespec nap {0, napUs * 1000};
        ::nanosleep(&nap, nullptr);
        napUs = std::min(napUs * 2, 2000L);
    }
}

void unlockByte(int fd, off_t start)
{
    setLock(fd, start, F_UNLCK);
}

// Lock held for one write; released when it goes out of scope.
class RangeLock {
public:
    RangeLock(int fd, off_t start) : m_fd(fd), m_start(start) {}
    ~RangeLock()
    {
        if (m_locked)
            unlockByte(m_fd, m_start);
    }
    RangeLock(const RangeLock &) = delete;
    RangeLock &operator=(const RangeLock &) = delete;

    bool acquire(short type = F_WRLCK, int budgetMs = kRecordLockWaitMs)
    {
        m_locked = lockByte(m_fd, m_start, type, budgetMs);
        return m_locked;
    }

private:
    int m_fd;
    off_t m_start;
    bool m_locked = false;
};

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

struct Table::Impl {
    explicit Impl(TableDefinition def) : definition(std::move(def)) {}

    const TableDefinition definition;
    QString fileName;
    TableCallbacks callbacks;

    int fd = -1;
    std::array<char, kFileHeaderSize> header{};
    int headerLen = 0;
    int recordLen = 0;
    std::vector<FieldDef> fields;
    std::int64_t count = 0;
    HeaderState state = HeaderState::Unchanged;

    // Walk cursor and the chunk of records read around it.
    std::int64_t rec = 0;
    bool atEof = true;
    std::vector<char> buf;
    std::int64_t bufFirst = 0;   // record number of buf's first record
    mutable std::int64_t bufCount = 0;
    const char *cur = nullptr;

    // What this object last knew of the file, to notice changes by others.
    mutable std::uint64_t version = 1;
    mutable off_t seenSize = -1;
    mutable std::int64_t seenMtime = -1;
    mutable bool ownWrite = false;
    off_t ownSize = 0;

    // Companion file that counts the users of the index while it is open.
    int companionFd = -1;
    QString companionPath;

    // The append region held across steps (holdAppends), and how deep.
    int holdDepth = 0;
    // Counts the openings: a mark of an earlier one says nothing of this one.
    std::uint64_t openings = 0;
    // The companion's counters as this object last read or wrote them.
    std::uint64_t sharedChanges = 0;
    std::uint64_t sharedRewrites = 0;
    bool countersKnown = false;
    // While the region is held: nobody else changed anything since this
    // object last held it (quiet); no other user has the table open (solo).
    bool quiet = false;
    bool solo = false;
    // While the region is held: the file's status was read since it was
    // taken, and only this object can have changed it since.
    bool seenInHold = false;
    // While the region is held: the file's length as last read or left by
    // this object's appends; -1 when not known.
    off_t lengthInHold = -1;
    // Appends written together (asked for by a long run of appends under
    // one hold): whole records from pendingFirst on, in neither the file nor
    // the index yet.
    bool writeTogether = false;
    QByteArray pending;
    std::int64_t pendingFirst = 0;
    off_t pendingOldLength = 0;   // the file's length before them
    QByteArray pendingTail;       // the bytes they cover (the end marker)
    // Updates and deletions made here, counted also while nobody else
    // would read the shared counters.
    std::uint64_t ownRewrites = 0;

    mutable MdxIndex index;
    int keyField = -1;

    QString context(const char *step) const
    {
        return QStringLiteral("File: %1 [%2]").arg(fileName, QString::fromLatin1(step));
    }

    void message(const QString &text) const
    {
        if (callbacks.message)
            callbacks.message(text);
    }

    void releaseFiles()
    {
        index.close();
        releaseCompanion();
        if (fd >= 0)
            ::close(fd);   // also lets go of any lock still held
        fd = -1;
        holdDepth = 0;
        countersKnown = false;
        buf.clear();
        buf.shrink_to_fit();
        bufCount = 0;
        cur = nullptr;
        atEof = true;
    }

    // --- file names --------------------------------------------------------
    QString dirPart() const
    {
        const qsizetype slash = fileName.lastIndexOf(u'/');
        return slash < 0 ? QString() : fileName.left(slash + 1);
    }
    QString baseName() const
    {
        const qsizetype slash = fileName.lastIndexOf(u'/');
        QString name = fileName.mid(slash + 1);
        const qsizetype dot = name.lastIndexOf(u'.');
        if (dot > 0)
            name.truncate(dot);
        return name;
    }

    // --- creation ----------------------------------------------------------
    // False when the file could not be made (the user has been told).
    bool create()
    {
        const std::vector<FieldDef> defs = definition.newFields();
        const int hl = kFileHeaderSize * static_cast<int>(defs.size()) + kFileHeaderSize + 1;
        QByteArray h(hl, '\0');
        h[0] = static_cast<char>(kVersion);
        base::put16(h.data() + 8, static_cast<std::uint16_t>(hl));
        base::put16(h.data() + 10, static_cast<std::uint16_t>(defs.back().offset + defs.back().width));
        for (std::size_t i = 0; i < defs.size(); ++i) {
            char *d = h.data() + kFileHeaderSize + kDescriptorSize * i;
            std::memcpy(d, defs[i].name.constData(), defs[i].name.size());
            d[11] = defs[i].type;
            d[16] = static_cast<char>(defs[i].width);
            d[17] = static_cast<char>(defs[i].decimals);
        }
        h[hl - 1] = kHeaderEnd;

        // Written under a temporary name and then linked into place whole, so
        // that another program opening the table at that moment never finds
        // it half-written. Where the file system has no links, it is written
        // in place.
        auto write = [&](const QByteArray &name) {
            const int f = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (f < 0)
                return errno == EEXIST ? EEXIST : -1;
            QByteArray bytes = h;
            bool ok = base::pwriteAll(f, bytes.constData(), bytes.size(), 0);
            putDate(bytes.data());
            base::put32(bytes.data() + 4, 0);
            ok = ok && base::pwriteAll(f, bytes.constData(), kFileHeaderSize, 0);
            ok = ok && base::pwriteAll(f, &kEofMarker, 1, hl);
            ::close(f);
            if (!ok)
                ::unlink(name.constData());
            return ok ? 0 : -1;
        };
        const QByteArray finalName = encodeName(fileName);
        const QByteArray tempName =
            encodeName(dirPart() + QStringLiteral(".%1-%2.new").arg(baseName()).arg(::getpid()));
        ::unlink(tempName.constData());   // left by a run that ended half-way
        int result = write(tempName);
        if (result == 0) {
            const int linked = ::link(tempName.constData(), finalName.constData()) == 0 ? 0 : errno;
            ::unlink(tempName.constData());
            if (linked == 0)
                return true;
            if (linked == EEXIST)
                return false;   // another program made it first
            result = write(finalName);
        } else {
            result = write(finalName);
        }
        if (result == EEXIST)
            return false;
        if (result != 0)
            message(QStringLiteral("Could not create \"%1\"").arg(fileName));
        return result == 0;
    }

    // --- header ------------------------------------------------------------
    void readHeader()
    {
        struct stat st {};
        if (::fstat(fd, &st) != 0)
            TableFormat::raise(TableFormat::codeForErrno(errno), context("Open"));
        if (!S_ISREG(st.st_mode))
            TableFormat::raise(kErrNotDbf, context("ReadHeader"));
        // A program closing the table holds the header while it writes it.
        RangeLock headerLock(fd, kHeaderLock);
        if (!headerLock.acquire(F_RDLCK, kHeaderLockWaitMs))
            TableFormat::raise(kErrSharingViolation, context("ReadHeader"));
        if (!base::preadAll(fd, header.data(), kFileHeaderSize, 0))
            TableFormat::raise(kErrNotDbf, context("ReadHeader"));
        if (static_cast<std::uint8_t>(header[0]) != kVersion)
            TableFormat::raise(kErrNotDbf, context("ReadHeader"));
        headerLen = base::u16(header.data() + 8);
        recordLen = base::u16(header.data() + 10);
        if (headerLen < kFileHeaderSize + kDescriptorSize + 1 || recordLen < 2)
            TableFormat::raise(kErrNotDbf, context("ReadHeader"));

        QByteArray h(headerLen, '\0');
        if (!base::preadAll(fd, h.data(), headerLen, 0))
            TableFormat::raise(kErrUnexpectedEof, context("ReadHeader"));
        fields.clear();
        int offset = 1;
        bool terminated = false;
        for (int pos = kFileHeaderSize; pos < headerLen; pos += kDescriptorSize) {
            const char *d = h.constData() + pos;
            if (*d == kHeaderEnd) {
                terminated = true;
                break;
            }
            if (pos + kDescriptorSize > headerLen || fields.size() >= kMaxFields)
                break;
            FieldDef f;
            f.name = QByteArray(d, static_cast<qsizetype>(strnlen(d, 11)));
            f.type = static_cast<char>(std::toupper(static_cast<unsigned char>(d[11])));
            f.width = static_cast<unsigned char>(d[16]);
            f.decimals = static_cast<unsigned char>(d[17]);
            f.offset = offset;
            if (f.name.isEmpty() || f.width == 0)
                TableFormat::raise(kErrNotDbf, context("ReadHeader"));
            if (std::strchr("CNFDL", f.type) == nullptr || f.type == '\0')
                TableFormat::raise(kErrBadFieldType, context("ReadHeader"));
            offset += f.width;
            fields.push_back(f);
        }
        if (!terminated || fields.empty() || offset != recordLen)
            TableFormat::raise(kErrNotDbf, context("ReadHeader"));

        count = base::u32(header.data() + 4);
        // The length is taken after the header: records are only ever added,
        // so the file then holds at least the records its header counts.
        if (::fstat(fd, &st) != 0)
            TableFormat::raise(TableFormat::codeForErrno(errno), context("Open"));
        const off_t size = st.st_size;
        if (headerLen > size)
            TableFormat::raise(kErrUnexpectedEof, context("ReadHeader"));
        const std::int64_t inFile = (size - headerLen) / recordLen;
        if (count > inFile)
            TableFormat::raise(kErrUnexpectedEof, context("ReadHeader"));
        // Records appended by a run that ended before writing its header are
        // behind the stored count; they belong to the table all the same, and
        // the next close writes the count and the end marker for them.
        char marker = 0;
        if (count != inFile || !base::preadAll(fd, &marker, 1, headerLen + inFile * recordLen) || marker != kEofMarker)
            state = HeaderState::Appended;
        count = inFile;
        rememberStat(st);
    }

    // The count is taken from the file length while no other program can
    // append, so the header tells the truth and the marker lands after the
    // last record in the file, never over one. When the region cannot be had
    // the header is left as it is: the next close writes it.
    void writeHeaderAtClose()
    {
        if (fd < 0 || state == HeaderState::Unchanged || !tryHold())
            return;
        refreshCount();
        RangeLock headerLock(fd, kHeaderLock);
        if (headerLock.acquire(F_WRLCK, kHeaderLockWaitMs)) {
            putDate(header.data());
            base::put32(header.data() + 4, static_cast<std::uint32_t>(count));
            base::pwriteAll(fd, header.data(), kFileHeaderSize, 0);
            if (state == HeaderState::Appended) {
                // Bytes after the last whole record are what a process killed
                // in the middle of an append left of its record: the marker
                // ends the file, they go.
                const off_t end = headerLen + count * recordLen + 1;
                if (base::pwriteAll(fd, &kEofMarker, 1, end - 1)) {
                    struct stat st {};
                    if (::fstat(fd, &st) == 0 && st.st_size > end && ::ftruncate(fd, end) != 0) {
                        // Left as they are: the next close that appends tries again.
                    }
                }
                lengthInHold = -1;
            }
        }
        release();
    }

    // --- the append region and what other users changed -------------------
    // Takes the append region (holds nest). On taking it, whatever another
    // user changed since this object last held it is taken in.
    bool tryHold()
    {
        if (fd < 0)
            return false;
        if (holdDepth > 0) {
            ++holdDepth;
            return true;
        }
        if (!lockByte(fd, kAppendLock, F_WRLCK, kAppendLockWaitMs, kAppendWaitLock))
            return false;
        holdDepth = 1;
        seenInHold = false;
        lengthInHold = -1;
        catchUp();
        // A user who comes later waits for the region and reads everything
        // afresh, so this holds until the region is let go.
        solo = alone();
        return true;
    }

    void hold(const char *operation)
    {
        requireOpen();
        if (!tryHold())
            lockFailed(operation);
    }

    // While other users have the table open, the index goes to disk before
    // the region is let go: nothing of it stays in memory for them to miss.
    // A single user writes it at the next walk (flushIndex) or at close; a
    // user who comes meanwhile finds fewer keys than records and builds the
    // index anew, and this one then takes up that new file.
    void release(bool flushIndex = false) noexcept
    {
        if (holdDepth == 0)
            return;
        if (holdDepth == 1 && index.isOpen() && index.hasPending() && (flushIndex || !solo)
            && !index.flush())
            repairIndex();
        if (--holdDepth == 0 && fd >= 0)
            unlockByte(fd, kAppendLock);
    }

    // Lets go of one hold on leaving the scope.
    struct Released {
        Impl &d;
        ~Released() { d.release(); }
    };

    struct Held {
        Impl &d;
        Held(Impl &impl, const char *operation) : d(impl) { d.hold(operation); }
        ~Held() { d.release(); }
        Held(const Held &) = delete;
        Held &operator=(const Held &) = delete;
    };

    // Another user holds a lock on that byte.
    bool lockedByOthers(off_t at) const
    {
        struct flock fl = oneByte(at, F_WRLCK);
        return fd >= 0 && ::fcntl(fd, F_OFD_GETLK, &fl) == 0 && fl.l_type != F_UNLCK;
    }

    // No other user holds a share of the companion file.
    bool alone() const
    {
        if (companionFd < 0)
            return false;
        struct flock fl = oneByte(0, F_WRLCK);
        return ::fcntl(companionFd, F_OFD_GETLK, &fl) == 0 && fl.l_type == F_UNLCK;
    }

    bool readCounters(std::uint64_t &changes, std::uint64_t &rewrites) const
    {
        if (companionFd < 0)
            return false;
        char b[16] = {};
        const ssize_t n = ::pread(companionFd, b, sizeof b, kCountersAt);
        if (n < 0)
            return false;
        // A companion without counters (left by a run that ended abnormally)
        // reads as both 0.
        changes = base::u32(b) | std::uint64_t(base::u32(b + 4)) << 32;
        rewrites = base::u32(b + 8) | std::uint64_t(base::u32(b + 12)) << 32;
        return true;
    }

    void catchUp()
    {
        std::uint64_t changes = 0;
        std::uint64_t rewrites = 0;
        const bool known = readCounters(changes, rewrites);
        const bool unchanged = known && countersKnown && changes == sharedChanges;
        sharedChanges = changes;
        sharedRewrites = rewrites;
        countersKnown = known;
        quiet = false;
        if (!unchanged)
            reattachIndex();
        quiet = unchanged;
    }

    // Called under the append region after each change this object made;
    // with nobody else to tell, the shared counters stay as they are.
    void publish(bool rewrite)
    {
        if (rewrite)
            ++ownRewrites;
        if (!countersKnown || solo)
            return;
        ++sharedChanges;
        if (rewrite)
            ++sharedRewrites;
        char b[16];
        base::put32(b, static_cast<std::uint32_t>(sharedChanges));
        base::put32(b + 4, static_cast<std::uint32_t>(sharedChanges >> 32));
        base::put32(b + 8, static_cast<std::uint32_t>(sharedRewrites));
        base::put32(b + 12, static_cast<std::uint32_t>(sharedRewrites >> 32));
        if (!base::pwriteAll(companionFd, b, sizeof b, kCountersAt))
            countersKnown = false;
    }

    // Another user may have changed the index: its blocks are read again,
    // and a file built anew by that user is opened under its name.
    void reattachIndex()
    {
        if (!index.isOpen())
            return;
        index.discardCache();
        if (!index.replacedOnDisk())
            return;
        refreshCount();
        const QStringList candidates = indexCandidates();
        const int keyLength = fields[static_cast<std::size_t>(keyField)].width;
        if (candidates.isEmpty() || !index.open(candidates.front(), definition.index, keyLength, count))
            repairIndex();
    }

    // --- record count and change detection ---------------------------------
    void rememberStat(const struct stat &st) const
    {
        seenSize = st.st_size;
        seenMtime = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    }

    // Compares the file with what this object last saw of it. Its own last
    // write is taken as seen when the length is the one it left; a change by
    // another user within the same clock tick and of the same length goes
    // unnoticed, which the single-user program can afford.
    void noticeChanges(const struct stat &st) const
    {
        const std::int64_t mtime = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
        if (ownWrite) {
            ownWrite = false;
            if (st.st_size == ownSize) {
                rememberStat(st);
                return;
            }
        }
        if (st.st_size != seenSize || mtime != seenMtime) {
            ++version;
            rememberStat(st);
            // Read the records again; cur stays valid until then.
            bufCount = 0;
        }
    }

    // Takes the record count from the file length. Not needed while the
    // append region is held and no other user changed anything since this
    // object last held it, nor once it was read under the region: the count
    // is then this object's own.
    void refreshCount()
    {
        if (holdDepth > 0 && (quiet || seenInHold))
            return;
        writePending();
        struct stat st {};
        if (::fstat(fd, &st) != 0)
            return;
        noticeChanges(st);
        count = st.st_size >= headerLen ? (st.st_size - headerLen) / recordLen : 0;
        seenInHold = holdDepth > 0;
        lengthInHold = holdDepth > 0 ? st.st_size : -1;
    }

    void afterOwnWrite(off_t end)
    {
        ++version;
        ownWrite = true;
        ownSize = std::max<off_t>(seenSize, end);
    }

    // The key of a record just appended goes into the index; false when the
    // index had to be built anew (and so holds every record in the file).
    bool indexAppended(const char *record, std::int64_t recNo)
    {
        if (keyField < 0 || !index.isOpen() || index.insert(keyOf(record), static_cast<std::uint32_t>(recNo)))
            return true;
        repairIndex();
        return false;
    }

    // --- appends written together ------------------------------------------
    // The file's length before an append at `at` and the bytes from `at` on
    // that the record will cover (the end marker), which a failed write puts
    // back.
    off_t lengthBeforeAppend(off_t at, QByteArray &tail)
    {
        off_t length = lengthInHold;
        if (length < 0) {
            struct stat st {};
            length = ::fstat(fd, &st) == 0 ? st.st_size : at;
        }
        tail = QByteArray(static_cast<qsizetype>(std::clamp<off_t>(length - at, 0, recordLen)), '\0');
        if (!tail.isEmpty() && !base::preadAll(fd, tail.data(), tail.size(), at))
            writeFailed(errno, "Append");
        return length;
    }

    // Gives the file back its length and covered bytes after a failed write.
    void takeBack(off_t length, off_t at, const QByteArray &tail)
    {
        if (::ftruncate(fd, std::max(length, at)) == 0 && !tail.isEmpty())
            base::pwriteAll(fd, tail.constData(), tail.size(), at);
    }

    // Writes the appends waiting in memory, then their keys. A write that
    // fails (a full disk) is taken back and the records are written one by
    // one, as single appends would have been: those that fit stay, the
    // others are gone and the error is raised. Returns how many are gone
    // (with the error in `why` instead when one is given).
    std::int64_t writePending(QString *why = nullptr)
    {
        if (pending.isEmpty())
            return 0;
        const QByteArray records = std::exchange(pending, QByteArray());
        const std::int64_t n = records.size() / recordLen;
        const off_t at = headerLen + (pendingFirst - 1) * recordLen;
        std::int64_t written = n;
        int err = 0;
        lengthInHold = -1;
        if (!base::pwriteAll(fd, records.constData(), records.size(), at)) {
            takeBack(pendingOldLength, at, pendingTail);
            for (written = 0; written < n; ++written) {
                const off_t pos = at + written * recordLen;
                if (!base::pwriteAll(fd, records.constData() + written * recordLen, recordLen, pos)) {
                    err = errno;
                    takeBack(written == 0 ? pendingOldLength : pos, pos, written == 0 ? pendingTail : QByteArray());
                    break;
                }
            }
        } else {
            lengthInHold = std::max<off_t>(pendingOldLength, at + records.size());
        }
        for (std::int64_t k = 0; k < written; ++k) {
            if (!indexAppended(records.constData() + k * recordLen, pendingFirst + k))
                break;   // rebuilt from the file, these records included
        }
        if (written > 0)
            publish(false);
        if (written == n)
            return 0;
        // The records counted and announced as appended are fewer.
        count = pendingFirst - 1 + written;
        ++version;
        bufCount = 0;
        ownWrite = false;
        if (why) {
            *why = TableFormat::errorText(TableFormat::codeForErrno(err), context("Append"));
            return n - written;
        }
        writeFailed(err, "Append");
    }

    // --- walk ----------------------------------------------------------------
    int chunkRecords() const { return std::max(1, kChunkBytes / recordLen); }

    // Points cur at record r, reading a chunk when r is not buffered.
    bool load(std::int64_t r)
    {
        if (r >= bufFirst && r < bufFirst + bufCount) {
            cur = buf.data() + (r - bufFirst) * recordLen;
            return true;
        }
        return loadRun(r, std::min<std::int64_t>(chunkRecords(), count - r + 1));
    }

    // Reads n records from r on (at most a chunk) and points cur at r.
    bool loadRun(std::int64_t r, std::int64_t n)
    {
        writePending();
        n = std::min<std::int64_t>(n, chunkRecords());
        if (n <= 0)
            return false;
        buf.resize(static_cast<std::size_t>(chunkRecords()) * recordLen);
        std::size_t want = static_cast<std::size_t>(n * recordLen);
        const off_t pos = headerLen + (r - 1) * recordLen;
        std::size_t got = 0;
        while (got < want) {
            const ssize_t k = ::pread(fd, buf.data() + got, want - got, pos + got);
            if (k < 0 && errno == EINTR)
                continue;
            if (k <= 0)
                break;
            got += static_cast<std::size_t>(k);
        }
        bufFirst = r;
        bufCount = static_cast<std::int64_t>(got / recordLen);
        if (bufCount == 0) {
            cur = nullptr;
            return false;
        }
        cur = buf.data();
        return true;
    }

    // Moves to the next live record after rec.
    void advance()
    {
        for (;;) {
            ++rec;
            if (rec > count) {
                refreshCount();
                if (rec > count) {
                    rec = count + 1;
                    atEof = true;
                    cur = nullptr;
                    return;
                }
            }
            if (!load(rec)) {
                // The file became shorter under us.
                refreshCount();
                rec = count + 1;
                atEof = true;
                cur = nullptr;
                return;
            }
            if (cur[0] != kDeletedFlag) {
                atEof = false;
                return;
            }
        }
    }

    // --- writes ------------------------------------------------------------
    void requireOpen() const
    {
        if (fd < 0)
            throw base::Error(QStringLiteral("Cannot perform this operation on a closed dataset"));
    }

    void requireCurrent(const char *step) const
    {
        requireOpen();
        if (atEof || cur == nullptr)
            TableFormat::raise(kErrBeyondRange, context(step));
    }

    void apply(std::span<const FieldAssignment> values, char *record) const
    {
        for (const FieldAssignment &a : values) {
            if (a.field < 0 || a.field >= static_cast<int>(fields.size()))
                throw base::Error(QStringLiteral("Field index out of range"));
            const FieldDef &f = fields[static_cast<std::size_t>(a.field)];
            TableFormat::encode(f, a.value, record + f.offset);
        }
    }

    [[noreturn]] void lockFailed(const char *operation) const
    {
        const QString text = QStringLiteral("Lock failed [%1]").arg(QString::fromLatin1(operation));
        message(text);
        throw base::Error(text);
    }

    [[noreturn]] void writeFailed(int err, const char *step) const
    {
        TableFormat::raise(TableFormat::codeForErrno(err), context(step));
    }

    QByteArrayView keyOf(const char *record) const
    {
        const FieldDef &f = fields[static_cast<std::size_t>(keyField)];
        return QByteArrayView(record + f.offset, f.width);
    }

    // --- index ---------------------------------------------------------------
    // Existing index files of this table, the preferred spelling first.
    QStringList indexCandidates() const
    {
        const QString dir = dirPart();
        const QString wanted = baseName() + QStringLiteral(".mdx");
        QStringList found;
        const QStringList names = QDir(dir.isEmpty() ? QStringLiteral(".") : dir)
                                      .entryList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QString &name : names) {
            if (name.compare(wanted, Qt::CaseInsensitive) != 0)
                continue;
            if (name == baseName() + QStringLiteral(".MDX"))
                found.prepend(dir + name);
            else
                found.append(dir + name);
        }
        return found;
    }

    QString newIndexPath() const { return dirPart() + baseName() + QStringLiteral(".MDX"); }

    void setupIndex()
    {
        keyField = -1;
        if (definition.index.name.isEmpty())
            return;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const FieldDef &f = fields[i];
            if (f.name.compare(definition.index.keyExpression, Qt::CaseInsensitive) == 0 && f.type == 'C'
                && f.width <= kMaxKeyLength)
                keyField = static_cast<int>(i);
        }
        if (keyField < 0)
            return;   // a table without the key field has no index to keep
        if (header[28] != 1) {
            header[28] = 1;
            state = std::max(state, HeaderState::Changed);
        }
        // Other users change the index only while they hold the append
        // region: it is read (or built) while no one does.
        if (!tryHold())
            TableFormat::raise(kErrSharingViolation, context("OpenIndex"));
        struct Release {
            Impl &d;
            ~Release() { d.release(); }
        } release{*this};
        refreshCount();
        const int keyLength = fields[static_cast<std::size_t>(keyField)].width;
        const QStringList candidates = indexCandidates();
        if (!candidates.isEmpty() && index.open(candidates.front(), definition.index, keyLength, count))
            return;
        rebuildIndex();
    }

    // Builds the index anew from every record, deleted ones included, and
    // reports progress in 100 steps.
    void rebuildIndex()
    {
        index.close();
        const QString path = newIndexPath();
        if (callbacks.indexBegin)
            callbacks.indexBegin(QStringLiteral("Indexing %1...").arg(path));
        // The progress window closes also when the build fails half-way.
        struct EndGuard {
            const TableCallbacks &callbacks;
            bool ended = false;
            ~EndGuard()
            {
                if (!ended && callbacks.indexEnd)
                    callbacks.indexEnd();
            }
        } endGuard{callbacks};
        const FieldDef &f = fields[static_cast<std::size_t>(keyField)];
        refreshCount();
        QByteArray keys(static_cast<qsizetype>(count) * f.width, ' ');
        std::vector<char> chunk(static_cast<std::size_t>(chunkRecords()) * recordLen);
        int step = 0;
        for (std::int64_t r = 1; r <= count; r += chunkRecords()) {
            const std::int64_t n = std::min<std::int64_t>(chunkRecords(), count - r + 1);
            if (!base::preadAll(fd, chunk.data(), static_cast<std::size_t>(n * recordLen),
                          headerLen + (r - 1) * recordLen))
                TableFormat::raise(kErrUnexpectedEof, context("BuildIndex"));
            for (std::int64_t i = 0; i < n; ++i)
                std::memcpy(keys.data() + (r - 1 + i) * f.width, chunk.data() + i * recordLen + f.offset,
                            f.width);
            const int reached = static_cast<int>((r - 1 + n) * 100 / count);
            while (step < reached && step < 99) {
                ++step;
                if (callbacks.indexStep)
                    callbacks.indexStep(step);
            }
        }
        for (const QString &old : indexCandidates())
            QFile::remove(old);
        const bool ok = index.create(path, definition.index, keys, f.width,
                                     base::toCp1252Lossy(baseName()).toUpper().left(16));
        publish(true);
        while (step < 100) {
            ++step;
            if (callbacks.indexStep)
                callbacks.indexStep(step);
        }
        endGuard.ended = true;
        if (callbacks.indexEnd)
            callbacks.indexEnd();
        if (!ok)
            TableFormat::raise(kErrAccessDenied, context("BuildIndex"));
    }

    // After a failed in-place change the file is rebuilt; if even that
    // fails the table stays usable and the next open builds it again.
    void repairIndex()
    {
        try {
            rebuildIndex();
        } catch (const base::Error &) {
            index.close();
        }
    }

    // --- companion file ------------------------------------------------------
    // Each user holds a shared lock on the file while the table is open; the
    // last one to close finds no other lock and removes the file.
    void acquireCompanion()
    {
        companionPath = dirPart() + baseName() + QStringLiteral(".@S@");
        const QByteArray name = encodeName(companionPath);
        for (int attempt = 0; attempt < 20; ++attempt) {
            companionFd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
            if (companionFd < 0)
                return;   // the count of users is a courtesy to other programs
            const bool alone = lockCompanion(F_WRLCK);
            const bool shared = alone || lockByte(companionFd, 0, F_RDLCK, kRecordLockWaitMs);
            // The last user of a moment ago may have removed the file between
            // its opening here and the lock: start again with a new one.
            struct stat named {};
            struct stat opened {};
            if (shared && ::stat(name.constData(), &named) == 0 && ::fstat(companionFd, &opened) == 0
                && sameFile(named, opened)) {
                int users = 1;
                if (!alone) {
                    char text[kUsersBytes] = {};
                    if (::pread(companionFd, text, sizeof text - 1, 0) > 0)
                        users = std::max(0, std::atoi(text)) + 1;
                }
                writeUsers(users);
                lockCompanion(F_RDLCK);
                return;
            }
            ::close(companionFd);
            companionFd = -1;
        }
    }

    void releaseCompanion()
    {
        if (companionFd < 0)
            return;
        char text[kUsersBytes] = {};
        int users = 1;
        if (::pread(companionFd, text, sizeof text - 1, 0) > 0)
            users = std::atoi(text);
        // Nobody else holds a share: the last user removes the file. Where
        // the file system has no locks, the count decides.
        const bool last = lockCompanion(F_WRLCK) || (errno != EAGAIN && errno != EACCES && users <= 1);
        if (last)
            ::unlink(encodeName(companionPath).constData());
        else
            writeUsers(std::max(1, users - 1));
        ::close(companionFd);
        companionFd = -1;
    }

    bool lockCompanion(short type) { return setLock(companionFd, 0, type); }

    // The count as text, padded with zero bytes up to the counters.
    void writeUsers(int users)
    {
        QByteArray text = QByteArray::number(users);
        text.resize(kUsersBytes, '\0');
        base::pwriteAll(companionFd, text.constData(), text.size(), 0);
    }
};

Table::Table(TableDefinition definition) : d(std::make_unique<Impl>(std::move(definition))) {}

const TableDefinition &Table::definition() const
{
    return d->definition;
}

Table::~Table()
{
    close();
}

void Table::setFileName(const QString &path)
{
    d->fileName = path;
}

QString Table::fileName() const
{
    return d->fileName;
}

void Table::setCallbacks(TableCallbacks callbacks)
{
    d->callbacks = std::move(callbacks);
}

void Table::open()
{
    if (d->fd >= 0)
        return;
    if (d->fileName.isEmpty())
        throw base::Error(QStringLiteral("Missing DbfFilename property"));
    ++d->openings;

    const QByteArray name = encodeName(d->fileName);
    d->state = HeaderState::Unchanged;
    struct stat st {};
    if (::stat(name.constData(), &st) != 0 && errno == ENOENT) {
        if (d->create())
            d->state = HeaderState::Appended;
    }
    d->fd = ::open(name.constData(), O_RDWR | O_CLOEXEC);
    if (d->fd < 0)
        TableFormat::raise(TableFormat::codeForErrno(errno), d->context("Open"));
    try {
        d->readHeader();
        // Counted among the users before the index is read, so that the
        // others keep theirs up to date from then on.
        d->acquireCompanion();
        d->setupIndex();
    } catch (...) {
        d->releaseFiles();
        ++d->version;
        throw;
    }
    ++d->version;
    first();
}

void Table::close()
{
    if (d->fd < 0)
        return;
    d->writePending();
    d->writeHeaderAtClose();
    d->releaseFiles();
    d->state = HeaderState::Unchanged;
    ++d->version;
}

bool Table::isOpen() const
{
    return d->fd >= 0;
}

const std::vector<FieldDef> &Table::fields() const
{
    return d->fields;
}

int Table::fieldIndex(QByteArrayView name) const
{
    for (std::size_t i = 0; i < d->fields.size(); ++i) {
        if (d->fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

void Table::first()
{
    if (d->fd < 0) {
        d->atEof = true;
        return;
    }
    firstFrom(1);
}

void Table::firstFrom(std::int64_t recNo)
{
    if (d->fd < 0) {
        d->atEof = true;
        return;
    }
    // A new walk is a new statement: the index catches up with the appends
    // of the last one, and the records are read afresh.
    if (d->index.isOpen() && d->index.hasPending() && d->tryHold())
        d->release(true);
    d->bufCount = 0;
    d->cur = nullptr;
    d->refreshCount();
    d->rec = std::max<std::int64_t>(recNo, 1) - 1;
    d->advance();
}

void Table::next()
{
    if (d->fd < 0 || d->atEof)
        return;
    d->advance();
}

bool Table::eof() const
{
    return d->atEof;
}

std::int64_t Table::recNo() const
{
    return d->rec;
}

QByteArrayView Table::text(int field) const
{
    if (d->cur == nullptr || field < 0 || field >= static_cast<int>(d->fields.size()))
        return {};
    const FieldDef &f = d->fields[static_cast<std::size_t>(field)];
    return TableFormat::trimmedText(d->cur + f.offset, f.width);
}

std::int32_t Table::integer(int field) const
{
    if (d->cur == nullptr || field < 0 || field >= static_cast<int>(d->fields.size()))
        return 0;
    const FieldDef &f = d->fields[static_cast<std::size_t>(field)];
    return TableFormat::parseInteger(d->cur + f.offset, f.width);
}

void Table::append(std::span<const FieldAssignment> values)
{
    d->requireOpen();
    QByteArray record(d->recordLen, ' ');
    for (const FieldDef &f : d->fields) {
        if (f.type == 'N' || f.type == 'F')
            TableFormat::encode(f, std::int32_t(0), record.data() + f.offset);
    }
    d->apply(values, record.data());

    Impl::Held held(*d, "Insert");
    d->refreshCount();
    const std::int64_t recNo = d->count + 1;
    if (recNo > 0xFFFFFFFFLL)
        TableFormat::raise(kErrBeyondRange, d->context("Append"));
    const off_t at = d->headerLen + d->count * d->recordLen;
    if (d->writeTogether && d->holdDepth > 1) {
        // Under a hold taken by holdAppends(): written with the next ones.
        if (d->pending.isEmpty()) {
            d->pendingOldLength = d->lengthBeforeAppend(at, d->pendingTail);
            d->pendingFirst = recNo;
        }
        d->pending.append(record);
        d->count = recNo;
        d->state = HeaderState::Appended;
        d->afterOwnWrite(d->headerLen + recNo * d->recordLen);
        if (d->pending.size() >= kPendingBytes)
            d->writePending();
        return;
    }
    // A write that fails part way (a full disk) is taken back: the file gets
    // its old length and bytes (the end marker, say) again, so that no half
    // record is left behind.
    QByteArray tail;
    const off_t oldSize = d->lengthBeforeAppend(at, tail);
    d->lengthInHold = -1;   // until this write is known whole
    if (!base::pwriteAll(d->fd, record.constData(), record.size(), at)) {
        const int err = errno;
        d->takeBack(oldSize, at, tail);
        d->writeFailed(err, "Append");
    }
    d->lengthInHold = std::max<off_t>(oldSize, at + d->recordLen);
    d->count = recNo;
    d->state = HeaderState::Appended;
    d->indexAppended(record.constData(), recNo);
    d->publish(false);
    d->afterOwnWrite(d->headerLen + recNo * d->recordLen);
}

void Table::updateCurrent(std::span<const FieldAssignment> values)
{
    d->requireCurrent("Post");
    {
        // A value the field cannot take is refused before anything is locked.
        QByteArray check(d->cur, d->recordLen);
        d->apply(values, check.data());
    }
    Impl::Held held(*d, "Post");
    d->writePending();
    RangeLock lock(d->fd, kLockBase + d->rec);
    if (!lock.acquire())
        d->lockFailed("Post");
    d->refreshCount();
    // The record as it is now: another user may have changed it since it was
    // read, and only the fields given here are this update's to change.
    const off_t at = d->headerLen + (d->rec - 1) * d->recordLen;
    QByteArray old(d->recordLen, '\0');
    if (!base::preadAll(d->fd, old.data(), old.size(), at))
        TableFormat::raise(kErrUnexpectedEof, d->context("Post"));
    QByteArray record = old;
    d->apply(values, record.data());
    if (!base::pwriteAll(d->fd, record.constData(), record.size(), at))
        d->writeFailed(errno, "Post");
    if (d->load(d->rec))
        std::memcpy(const_cast<char *>(d->cur), record.constData(), d->recordLen);
    d->state = std::max(d->state, HeaderState::Changed);
    if (d->keyField >= 0 && d->index.isOpen()) {
        const QByteArrayView oldKey = d->keyOf(old.constData());
        const QByteArrayView newKey = d->keyOf(record.constData());
        if (oldKey != newKey
            && !d->index.replace(oldKey, newKey, static_cast<std::uint32_t>(d->rec)))
            d->repairIndex();
    }
    d->publish(true);
    d->afterOwnWrite(d->headerLen + d->rec * d->recordLen);
}

void Table::deleteCurrent()
{
    d->requireCurrent("Delete");
    {
        Impl::Held held(*d, "Delete");
        d->writePending();
        RangeLock lock(d->fd, kLockBase + d->rec);
        if (!lock.acquire())
            d->lockFailed("Delete");
        if (!base::pwriteAll(d->fd, &kDeletedFlag, 1, d->headerLen + (d->rec - 1) * d->recordLen))
            d->writeFailed(errno, "Delete");
        d->publish(true);
    }
    if (d->cur)
        const_cast<char *>(d->cur)[0] = kDeletedFlag;
    d->state = std::max(d->state, HeaderState::Changed);
    d->afterOwnWrite(d->headerLen + d->rec * d->recordLen);
    d->advance();
}

std::optional<std::vector<std::uint32_t>> Table::recordsWithPrefix(int field, QByteArrayView prefix)
{
    if (d->fd < 0 || field != d->keyField || !d->index.isOpen())
        return std::nullopt;
    d->writePending();   // their keys are not in the index before
    // The index is read while no other user changes it.
    if (!d->tryHold())
        return std::nullopt;
    std::vector<std::uint32_t> recNos;
    const bool ok = d->index.recordsWithPrefix(prefix, recNos);
    d->release();
    if (!ok)
        return std::nullopt;
    std::sort(recNos.begin(), recNos.end());
    return recNos;
}

void Table::visitRecords(std::span<const std::uint32_t> recNos, const std::function<void()> &visit)
{
    if (d->fd < 0)
        return;
    d->bufCount = 0;
    d->refreshCount();
    const std::int64_t chunk = d->chunkRecords();
    for (std::size_t i = 0; i < recNos.size(); ++i) {
        const std::int64_t r = recNos[i];
        if (r < 1 || r > d->count)
            continue;
        if (!(r >= d->bufFirst && r < d->bufFirst + d->bufCount)) {
            // One read reaches the furthest wanted record within a chunk.
            std::size_t j = i;
            while (j + 1 < recNos.size() && recNos[j + 1] < r + chunk)
                ++j;
            if (!d->loadRun(r, std::min<std::int64_t>(recNos[j], d->count) - r + 1))
                break;
        }
        if (r >= d->bufFirst + d->bufCount)
            break;   // the file became shorter under us
        d->rec = r;
        d->cur = d->buf.data() + (r - d->bufFirst) * d->recordLen;
        if (d->cur[0] == kDeletedFlag)
            continue;
        d->atEof = false;
        visit();
    }
    d->cur = nullptr;
    d->atEof = true;
}

void Table::holdAppends()
{
    d->hold("Insert");
}

void Table::releaseAppends()
{
    // Let go also when the appends waiting in memory fail.
    const Impl::Released released{*d};
    if (d->holdDepth == 1)
        d->writePending();
}

void Table::passAppendsOn()
{
    releaseAppends();
    // Until one of the users waiting has taken it.
    if (d->holdDepth == 0 && d->lockedByOthers(kAppendWaitLock)) {
        QElapsedTimer waited;
        waited.start();
        while (d->lockedByOthers(kAppendWaitLock) && !d->lockedByOthers(kAppendLock)
               && waited.elapsed() < kPassOnWaitMs) {
            const struct timespec nap {0, 200 * 1000};
            ::nanosleep(&nap, nullptr);
        }
    }
    d->hold("Insert");
}

void Table::setAppendsWrittenTogether(bool on)
{
    if (!on)
        d->writePending();
    d->writeTogether = on;
}

std::int64_t Table::writeAppends(QString *why)
{
    return d->writePending(why);
}

std::int64_t Table::recordCount() const
{
    return d->count;
}

Table::Mark Table::mark() const
{
    Mark m;
    if (d->fd >= 0)
        d->refreshCount();
    m.version = d->version;
    m.opening = d->openings;
    m.records = d->count;
    m.ownRewrites = d->ownRewrites;
    if (d->holdDepth > 0) {
        m.shared = d->countersKnown;
        m.rewrites = d->sharedRewrites;
    } else {
        std::uint64_t changes = 0;
        m.shared = d->readCounters(changes, m.rewrites);
    }
    return m;
}

std::int64_t Table::appendedSince(const Mark &m) const
{
    if (d->fd < 0 || m.opening != d->openings || m.ownRewrites != d->ownRewrites)
        return 0;
    std::uint64_t changes = 0;
    std::uint64_t rewrites = d->sharedRewrites;
    if (m.shared && d->holdDepth > 0 && d->countersKnown)
        return rewrites == m.rewrites ? m.records + 1 : 0;
    if (m.shared && d->readCounters(changes, rewrites))
        return rewrites == m.rewrites ? m.records + 1 : 0;
    // Without the companion only a table seen unchanged is known.
    return version() == m.version ? m.records + 1 : 0;
}

std::uint64_t Table::version() const
{
    if (d->holdDepth > 0 && (d->quiet || d->seenInHold))
        return d->version;
    d->writePending();
    struct stat st {};
    if (d->fd >= 0 && ::fstat(d->fd, &st) == 0)
        d->noticeChanges(st);
    return d->version;
}

} // namespace etibarix::store
