#include "store/Table.h"

#include "base/FileIo.h"
#include "base/LittleEndian.h"

#include "base/Cp1252.h"
#include "store/TableFormat.h"
#include "store/MdxIndex.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QThread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

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

// Byte-range locks live far beyond any real table so that they never cover
// data that readers without locks look at: one byte for appends, one per
// record for updates and deletions.
constexpr off_t kLockBase = off_t(1) << 40;
constexpr off_t kAppendLock = kLockBase;

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

// Byte-range lock held for one write; released when it goes out of scope.
class RangeLock {
public:
    RangeLock(int fd, off_t start) : m_fd(fd), m_start(start) {}
    ~RangeLock()
    {
        if (m_locked)
            set(F_UNLCK);
    }
    RangeLock(const RangeLock &) = delete;
    RangeLock &operator=(const RangeLock &) = delete;

    // A few tries over a short while: another user holds such a lock only
    // for the time of one write.
    // Only a lock held by someone else refuses the write: on a file system
    // without byte-range locks the single user goes ahead unlocked.
    bool acquire()
    {
        for (int attempt = 0; attempt < 10; ++attempt) {
            if (set(F_WRLCK)) {
                m_locked = true;
                return true;
            }
            if (errno != EAGAIN && errno != EACCES && errno != EINTR)
                return true;
            QThread::msleep(10);
        }
        return false;
    }

private:
    bool set(short type)
    {
        struct flock fl {};
        fl.l_type = type;
        fl.l_whence = SEEK_SET;
        fl.l_start = m_start;
        fl.l_len = 1;
        return ::fcntl(m_fd, F_OFD_SETLK, &fl) == 0;
    }

    int m_fd;
    off_t m_start;
    bool m_locked = false;
};

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
            ::close(fd);
        fd = -1;
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

        const int f = ::open(encodeName(fileName).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (f < 0) {
            if (errno != EEXIST)
                message(QStringLiteral("Could not create \"%1\"").arg(fileName));
            return false;
        }
        bool ok = base::pwriteAll(f, h.constData(), h.size(), 0);
        putDate(h.data());
        base::put32(h.data() + 4, 0);
        ok = ok && base::pwriteAll(f, h.constData(), kFileHeaderSize, 0);
        ok = ok && base::pwriteAll(f, &kEofMarker, 1, hl);
        ::close(f);
        if (!ok) {
            ::unlink(encodeName(fileName).constData());
            message(QStringLiteral("Could not create \"%1\"").arg(fileName));
        }
        return ok;
    }

    // --- header ------------------------------------------------------------
    void readHeader()
    {
        struct stat st {};
        if (::fstat(fd, &st) != 0)
            TableFormat::raise(TableFormat::codeForErrno(errno), context("Open"));
        if (!S_ISREG(st.st_mode))
            TableFormat::raise(kErrNotDbf, context("ReadHeader"));
        const off_t size = st.st_size;
        if (size < kFileHeaderSize || !base::preadAll(fd, header.data(), kFileHeaderSize, 0))
            TableFormat::raise(kErrNotDbf, context("ReadHeader"));
        if (static_cast<std::uint8_t>(header[0]) != kVersion)
            TableFormat::raise(kErrNotDbf, context("ReadHeader"));
        headerLen = base::u16(header.data() + 8);
        recordLen = base::u16(header.data() + 10);
        if (headerLen < kFileHeaderSize + kDescriptorSize + 1 || recordLen < 2)
            TableFormat::raise(kErrNotDbf, context("ReadHeader"));
        if (headerLen > size)
            TableFormat::raise(kErrUnexpectedEof, context("ReadHeader"));

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

    void writeHeaderAtClose()
    {
        if (fd < 0 || state == HeaderState::Unchanged)
            return;
        refreshCount();
        putDate(header.data());
        base::put32(header.data() + 4, static_cast<std::uint32_t>(count));
        base::pwriteAll(fd, header.data(), kFileHeaderSize, 0);
        if (state == HeaderState::Appended)
            base::pwriteAll(fd, &kEofMarker, 1, headerLen + count * recordLen);
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
            index.dropCache();
            // Read the records again; cur stays valid until then.
            bufCount = 0;
        }
    }

    // Takes the record count from the file length.
    void refreshCount()
    {
        struct stat st {};
        if (::fstat(fd, &st) != 0)
            return;
        noticeChanges(st);
        count = st.st_size >= headerLen ? (st.st_size - headerLen) / recordLen : 0;
    }

    void afterOwnWrite(off_t end)
    {
        ++version;
        ownWrite = true;
        ownSize = std::max<off_t>(seenSize, end);
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
        const std::int64_t n = std::min<std::int64_t>(chunkRecords(), count - r + 1);
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
    void acquireCompanion()
    {
        companionPath = dirPart() + baseName() + QStringLiteral(".@S@");
        companionFd = ::open(encodeName(companionPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (companionFd < 0)
            return;   // the count of users is a courtesy to other programs
        int users = 1;
        if (!lockCompanion(F_WRLCK)) {
            char text[16] = {};
            if (::pread(companionFd, text, sizeof text - 1, 0) > 0)
                users = std::max(0, std::atoi(text)) + 1;
        }
        writeUsers(users);
        lockCompanion(F_RDLCK);
    }

    void releaseCompanion()
    {
        if (companionFd < 0)
            return;
        char text[16] = {};
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

    bool lockCompanion(short type)
    {
        struct flock fl {};
        fl.l_type = type;
        fl.l_whence = SEEK_SET;
        fl.l_start = 0;
        fl.l_len = 1;
        return ::fcntl(companionFd, F_OFD_SETLK, &fl) == 0;
    }

    void writeUsers(int users)
    {
        const QByteArray text = QByteArray::number(users);
        if (::ftruncate(companionFd, 0) == 0)
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
        d->setupIndex();
        d->acquireCompanion();
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
    // A new walk is a new statement: the index catches up with the appends
    // of the last one, and the records are read afresh.
    if (d->index.isOpen() && !d->index.flush())
        d->repairIndex();
    d->bufCount = 0;
    d->cur = nullptr;
    d->refreshCount();
    d->rec = 0;
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

    RangeLock lock(d->fd, kAppendLock);
    if (!lock.acquire())
        d->lockFailed("Insert");
    d->refreshCount();
    const std::int64_t recNo = d->count + 1;
    if (recNo > 0xFFFFFFFFLL)
        TableFormat::raise(kErrBeyondRange, d->context("Append"));
    if (!base::pwriteAll(d->fd, record.constData(), record.size(), d->headerLen + d->count * d->recordLen))
        d->writeFailed(errno, "Append");
    d->count = recNo;
    d->state = HeaderState::Appended;
    if (d->keyField >= 0 && d->index.isOpen()
        && !d->index.insert(d->keyOf(record.constData()), static_cast<std::uint32_t>(recNo)))
        d->repairIndex();
    d->afterOwnWrite(d->headerLen + recNo * d->recordLen);
}

void Table::updateCurrent(std::span<const FieldAssignment> values)
{
    d->requireCurrent("Post");
    QByteArray record(d->cur, d->recordLen);
    d->apply(values, record.data());

    RangeLock lock(d->fd, kLockBase + d->rec);
    if (!lock.acquire())
        d->lockFailed("Post");
    d->refreshCount();
    if (!base::pwriteAll(d->fd, record.constData(), record.size(), d->headerLen + (d->rec - 1) * d->recordLen))
        d->writeFailed(errno, "Post");
    const QByteArray old(d->cur, d->recordLen);
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
    d->afterOwnWrite(d->headerLen + d->rec * d->recordLen);
}

void Table::deleteCurrent()
{
    d->requireCurrent("Delete");
    {
        RangeLock lock(d->fd, kLockBase + d->rec);
        if (!lock.acquire())
            d->lockFailed("Delete");
        if (!base::pwriteAll(d->fd, &kDeletedFlag, 1, d->headerLen + (d->rec - 1) * d->recordLen))
            d->writeFailed(errno, "Delete");
    }
    if (d->cur)
        const_cast<char *>(d->cur)[0] = kDeletedFlag;
    d->state = std::max(d->state, HeaderState::Changed);
    d->afterOwnWrite(d->headerLen + d->rec * d->recordLen);
    d->advance();
}

std::uint64_t Table::version() const
{
    struct stat st {};
    if (d->fd >= 0 && ::fstat(d->fd, &st) == 0)
        d->noticeChanges(st);
    return d->version;
}

} // namespace etibarix::store
