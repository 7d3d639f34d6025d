#include "store/MdxIndex.h"

#include "base/FileIo.h"
#include "base/LittleEndian.h"

#include <QFile>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <numeric>

namespace etibarix::store {

namespace {

constexpr int kHeaderBytes = 2048;   // file header and tag table
constexpr int kTagHeaderBytes = 256;   // of the tag header block, what is read of it
constexpr std::uint32_t kTagPage = 4;
constexpr std::uint32_t kFirstNodePage = 6;
constexpr int kNodeHead = 8;
constexpr int kTagSlots = 48;
constexpr int kSlotLength = 32;
constexpr int kFirstSlot = 544;
constexpr int kMaxTags = 47;
constexpr int kMaxDepth = 32;
constexpr int kTagNameLength = 10;          // then a zero byte
constexpr int kKeyExpressionLength = 220;
constexpr char kKeyFormatField = 0x10;
// A whole check of a large index costs as much as the query that follows
// it, so a sound check is remembered in an attribute of the file: its
// identity, length, time of last write and the table's record count. Any
// write to the file changes its time.
constexpr char kCheckedAttribute[] = "user.etibarix.checked";
// How long ago the last write must be for its time to tell a later write
// apart (a coarse file clock ticks in milliseconds, some file systems in
// seconds).
constexpr std::time_t kSettledSeconds = 5;
// Blocks kept in memory between operations (8 MB at most, whatever the
// size of the table).
constexpr std::size_t kCacheBlocks = 8192;


QByteArray checkedStamp(const struct stat &st, QByteArrayView tagName, int keyLength, std::int64_t recordCount)
{
    return QByteArray("1 ") + QByteArray::number(qulonglong(st.st_dev)) + ' ' + QByteArray::number(qulonglong(st.st_ino))
        + ' ' + QByteArray::number(qlonglong(st.st_size)) + ' ' + QByteArray::number(qlonglong(st.st_mtim.tv_sec)) + '.'
        + QByteArray::number(qlonglong(st.st_mtim.tv_nsec)) + ' ' + QByteArray::number(qlonglong(recordCount)) + ' '
        + QByteArray::number(keyLength) + ' ' + tagName.toByteArray();
}

bool stampedWith(int fd, const QByteArray &stamp)
{
    char stored[256];
    const ssize_t n = ::fgetxattr(fd, kCheckedAttribute, stored, sizeof stored);
    return n == stamp.size() && std::memcmp(stored, stamp.constData(), static_cast<std::size_t>(n)) == 0;
}

int itemLengthFor(int keyLength)
{
    return 4 + ((keyLength + 3) & ~3);
}
int maxKeysFor(int itemLength)
{
    return (MdxIndex::kBlockSize - 12) / itemLength;
}

void putDate(char *p, QDate date)
{
    p[0] = static_cast<char>(date.year() % 100);
    p[1] = static_cast<char>(date.month());
    p[2] = static_cast<char>(date.day());
}

// Splits `total` items into `parts` groups as evenly as possible, the larger
// groups first.
std::vector<std::size_t> evenSplit(std::size_t total, std::size_t parts)
{
    std::vector<std::size_t> sizes(parts, total / parts);
    for (std::size_t i = 0; i < total % parts; ++i)
        ++sizes[i];
    return sizes;
}



// Page of the tag header block of tag "CB", 0 when the tag table has none
// or is not of the expected shape.
std::uint32_t findTag(QByteArrayView image, QByteArrayView tagName)
{
    if (image.size() < kHeaderBytes)
        return 0;
    const char *h = image.data();
    if (static_cast<unsigned char>(h[26]) != kSlotLength)
        return 0;
    const int tags = base::u16(h + 28);
    if (tags < 1 || tags > kMaxTags)
        return 0;
    for (int i = 0; i < tags; ++i) {
        const char *slot = h + kFirstSlot + kSlotLength * i;
        if (tagName.size() <= kTagNameLength && std::memcmp(slot + 4, tagName.data(), tagName.size()) == 0
            && slot[4 + tagName.size()] == '\0')
            return base::u32(slot);
    }
    return 0;
}

// The checks of the file header that need no more than its first
// kHeaderBytes (`head`) and the file's length; on success `tagPage` is the
// page of the tag's header block, which then lies within the file.
const char *headerFault(QByteArrayView head, qint64 fileSize, QByteArrayView tagName, std::uint32_t &tagPage)
{
    if (fileSize < kHeaderBytes + MdxIndex::kBlockSize || fileSize % MdxIndex::kPageSize != 0
        || head.size() < kHeaderBytes)
        return "file too short or not made of pages";
    const char *h = head.data();
    if (h[0] != 2)
        return "other index version";
    if (base::u16(h + 20) != MdxIndex::kBlockSize / MdxIndex::kPageSize || base::u16(h + 22) != MdxIndex::kBlockSize)
        return "other block size";
    if (qint64(base::u32(h + 32)) * MdxIndex::kPageSize != fileSize)
        return "page count does not match the file length";
    tagPage = findTag(head, tagName);
    if (tagPage < kTagPage || qint64(tagPage) * MdxIndex::kPageSize + MdxIndex::kBlockSize > fileSize)
        return "no tag %1";
    return nullptr;
}

// The tag header block `t` (its first 256 bytes) against the key field.
const char *tagFault(const char *t, int keyLength)
{
    const int item = itemLengthFor(keyLength);
    if (t[9] != 'C' || base::u16(t + 12) != keyLength || base::u16(t + 18) != item
        || base::u16(t + 14) != maxKeysFor(item))
        return "tag %1 does not fit the key field";
    return nullptr;
}

// Walks a tree in an image and checks every node.
class TreeCheck {
public:
    TreeCheck(QByteArrayView image, int keyLength, std::int64_t records, std::vector<MdxIndex::Entry> *out)
        : m_image(image),
          m_keyLength(keyLength),
          m_item(itemLengthFor(keyLength)),
          m_maxKeys(maxKeysFor(m_item)),
          m_records(records),
          m_seen(static_cast<std::size_t>(records) + 1, false),
          m_visited(static_cast<std::size_t>(image.size() / MdxIndex::kPageSize), false),
          m_out(out)
    {
    }

    bool run(std::uint32_t root, std::uint32_t tagPage, QString *why)
    {
        m_tagPage = tagPage;
        const char *lo = nullptr;
        const char *hi = nullptr;
        if (!node(root, 0, true, lo, hi))
            return fail(why);
        if (m_total != m_records) {
            m_why = QStringLiteral("%1 keys for %2 records").arg(m_total).arg(m_records);
            return fail(why);
        }
        return true;
    }

private:
    bool fail(QString *why) const
    {
        if (why)
            *why = m_why;
        return false;
    }

    bool bad(const char *what)
    {
        m_why = QString::fromLatin1(what);
        return false;
    }

    int compareKeys(const char *a, const char *b) const { return std::memcmp(a, b, m_keyLength); }

    bool node(std::uint32_t page, int depth, bool isRoot, const char *&lo, const char *&hi)
    {
        if (depth > kMaxDepth)
            return bad("tree too deep");
        const qint64 pos = qint64(page) * MdxIndex::kPageSize;
        if (page < kTagPage || page == m_tagPage || pos + MdxIndex::kBlockSize > m_image.size())
            return bad("node outside the file");
        if (m_visited[page])
            return bad("node reached twice");
        m_visited[page] = true;
        const char *p = m_image.data() + pos;
        const std::uint32_t n = base::u32(p);
        if (n > static_cast<std::uint32_t>(m_maxKeys))
            return bad("too many keys in a node");
        const std::uint32_t last = base::u32(p + kNodeHead + n * m_item);
        if (last == 0) {
            if (m_leafDepth < 0)
                m_leafDepth = depth;
            if (m_leafDepth != depth)
                return bad("leaves at different depths");
            if (n == 0 && !isRoot)
                return bad("empty leaf");
            for (std::uint32_t i = 0; i < n; ++i) {
                const char *item = p + kNodeHead + i * m_item;
                const std::uint32_t rec = base::u32(item);
                const char *key = item + 4;
                if (rec == 0 || rec > m_records || m_seen[rec])
                    return bad("bad record number");
                m_seen[rec] = true;
                if (m_prevKey) {
                    const int c = compareKeys(m_prevKey, key);
                    if (c > 0 || (c == 0 && m_prevRec > rec))
                        return bad("keys out of order");
                }
                m_prevKey = key;
                m_prevRec = rec;
                if (m_out)
                    m_out->push_back({QByteArray(key, m_keyLength), rec});
                ++m_total;
            }
            if (n > 0) {
                lo = p + kNodeHead + 4;
                hi = p + kNodeHead + (n - 1) * m_item + 4;
            }
            return true;
        }
        if (n == 0)
            return bad("interior node without keys");
        for (std::uint32_t i = 0; i <= n; ++i) {
            const std::uint32_t child = i < n ? base::u32(p + kNodeHead + i * m_item) : last;
            const char *clo = nullptr;
            const char *chi = nullptr;
            if (!node(child, depth + 1, false, clo, chi))
                return false;
            if (i < n && chi && compareKeys(chi, p + kNodeHead + i * m_item + 4) > 0)
                return bad("key above its separator");
            if (i > 0 && clo && compareKeys(clo, p + kNodeHead + (i - 1) * m_item + 4) < 0)
                return bad("key below the separator before it");
            if (i == 0)
                lo = clo;
            hi = chi;
        }
        return true;
    }

    QByteArrayView m_image;
    int m_keyLength;
    int m_item;
    int m_maxKeys;
    std::int64_t m_records;
    std::vector<bool> m_seen;
    std::vector<bool> m_visited;
    std::vector<MdxIndex::Entry> *m_out;
    std::uint32_t m_tagPage = 0;
    int m_leafDepth = -1;
    const char *m_prevKey = nullptr;
    std::uint32_t m_prevRec = 0;
    std::int64_t m_total = 0;
    QString m_why;
};

} // namespace

MdxIndex::~MdxIndex()
{
    close();
}

QByteArray MdxIndex::build(QByteArrayView keys, int keyLength, const IndexTag &tag, QByteArrayView tableName,
                           QDate date)
{
    const int item = itemLengthFor(keyLength);
    const int maxKeys = maxKeysFor(item);
    const std::size_t count = keyLength > 0 ? static_cast<std::size_t>(keys.size() / keyLength) : 0;
    const char *k = keys.data();

    // Index order: key bytes, then record number.
    std::vector<std::uint32_t> order(count);
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        const int c = std::memcmp(k + std::size_t(a) * keyLength, k + std::size_t(b) * keyLength, keyLength);
        return c != 0 ? c < 0 : a < b;
    });

    // Nodes level by level; each remembers its page and its highest key.
    struct Node {
        std::uint32_t page;
        std::uint32_t highKey;   // index into order of the subtree's highest entry
    };
    const std::size_t leafCount = std::max<std::size_t>(1, (count + maxKeys - 1) / maxKeys);
    std::size_t nodes = leafCount;
    for (std::size_t level = leafCount; level > 1;) {
        level = (level + maxKeys) / (maxKeys + 1);
        nodes += level;
    }
    const std::uint32_t pages = kFirstNodePage + 2 * static_cast<std::uint32_t>(nodes);
    QByteArray image(qsizetype(pages) * kPageSize, '\0');
    char *img = image.data();

    std::uint32_t nextPage = kFirstNodePage;
    std::vector<Node> level;
    std::size_t at = 0;
    std::uint32_t prevLeaf = 0;
    for (std::size_t size : evenSplit(count, leafCount)) {
        char *p = img + qsizetype(nextPage) * kPageSize;
        base::put32(p, static_cast<std::uint32_t>(size));
        base::put32(p + 4, prevLeaf);
        for (std::size_t i = 0; i < size; ++i) {
            char *e = p + kNodeHead + i * item;
            base::put32(e, order[at + i] + 1);
            std::memcpy(e + 4, k + std::size_t(order[at + i]) * keyLength, keyLength);
        }
        at += size;
        level.push_back({nextPage, static_cast<std::uint32_t>(at == 0 ? 0 : at - 1)});
        prevLeaf = nextPage;
        nextPage += 2;
    }
    while (level.size() > 1) {
        std::vector<Node> parents;
        std::size_t c = 0;
        for (std::size_t size : evenSplit(level.size(), (level.size() + maxKeys) / (maxKeys + 1))) {
            char *p = img + qsizetype(nextPage) * kPageSize;
            base::put32(p, static_cast<std::uint32_t>(size - 1));
            for (std::size_t i = 0; i + 1 < size; ++i) {
                char *e = p + kNodeHead + i * item;
                base::put32(e, level[c + i].page);
                std::memcpy(e + 4, k + std::size_t(order[level[c + i].highKey]) * keyLength, keyLength);
            }
            const Node &lastChild = level[c + size - 1];
            base::put32(p + 4, lastChild.page);
            base::put32(p + kNodeHead + (size - 1) * item, lastChild.page);
            parents.push_back({nextPage, lastChild.highKey});
            c += size;
            nextPage += 2;
        }
        level.swap(parents);
    }
    const std::uint32_t root = level.front().page;

    // File header and tag table.
    img[0] = 2;
    putDate(img + 1, date);
    std::memcpy(img + 4, tableName.data(), std::min<qsizetype>(16, tableName.size()));
    base::put16(img + 20, kBlockSize / kPageSize);
    base::put16(img + 22, kBlockSize);
    img[24] = 1;
    img[25] = kTagSlots;
    img[26] = kSlotLength;
    base::put16(img + 28, 1);
    base::put32(img + 32, pages);
    putDate(img + 44, date);
    img[529] = 1;
    char *slot = img + kFirstSlot;
    base::put32(slot, kTagPage);
    std::memcpy(slot + 4, tag.name.constData(), std::min<qsizetype>(kTagNameLength, tag.name.size()));
    slot[15] = kKeyFormatField;
    slot[19] = 2;
    slot[20] = 'C';

    // Tag header.
    char *t = img + kTagPage * kPageSize;
    base::put32(t, root);
    base::put32(t + 4, 2 * static_cast<std::uint32_t>(nodes));
    t[8] = kKeyFormatField;
    t[9] = 'C';
    base::put16(t + 12, static_cast<std::uint16_t>(keyLength));
    base::put16(t + 14, static_cast<std::uint16_t>(maxKeys));
    base::put16(t + 18, static_cast<std::uint16_t>(item));
    t[20] = 2;
    std::memcpy(t + 24, tag.keyExpression.constData(),
                std::min<qsizetype>(kKeyExpressionLength, tag.keyExpression.size()));
    t[246] = count > 0 ? 1 : 0;
    base::put32(t + 248, kFirstNodePage);
    base::put32(t + 252, root);
    return image;
}

bool MdxIndex::check(QByteArrayView image, QByteArrayView tagName, int keyLength, std::int64_t recordCount,
                     std::vector<Entry> *entries, QString *why)
{
    auto fail = [why, tagName](const char *text) {
        if (why) {
            *why = QString::fromLatin1(text);
            why->replace(QStringLiteral("%1"), QString::fromLatin1(tagName));
        }
        return false;
    };
    if (keyLength <= 0 || keyLength > 100 || recordCount < 0)
        return fail("bad parameters");
    std::uint32_t tagPage = 0;
    if (const char *fault = headerFault(image, image.size(), tagName, tagPage))
        return fail(fault);
    if (const char *fault = tagFault(image.data() + qint64(tagPage) * kPageSize, keyLength))
        return fail(fault);
    if (entries)
        entries->clear();
    TreeCheck walk(image, keyLength, recordCount, entries);
    return walk.run(base::u32(image.data() + qint64(tagPage) * kPageSize), tagPage, why);
}

bool MdxIndex::open(const QString &path, const IndexTag &tag, int keyLength, std::int64_t recordCount)
{
    close();
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    // A sound index of this table is never much larger than two blocks per
    // record; anything far beyond is not worth reading.
    const qint64 limit = qint64(64) * 1024 * 1024 + recordCount * 2 * kBlockSize;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0 || st.st_size > limit) {
        ::close(fd);
        return false;
    }
    const QByteArray stamp = checkedStamp(st, tag.name, keyLength, recordCount);
    QByteArray head;
    QByteArray tagHeader;
    std::uint32_t tagPage = 0;
    if (stampedWith(fd, stamp)) {
        // Checked whole before and not written since: the headers suffice.
        head.resize(kHeaderBytes);
        tagHeader.resize(kTagHeaderBytes);
        if (!base::preadAll(fd, head.data(), head.size(), 0) || headerFault(head, st.st_size, tag.name, tagPage)
            || !base::preadAll(fd, tagHeader.data(), tagHeader.size(), qint64(tagPage) * kPageSize)
            || tagFault(tagHeader.constData(), keyLength))
            head.clear();
    }
    if (head.isEmpty()) {
        const bool settled = std::time(nullptr) - st.st_mtim.tv_sec >= kSettledSeconds;
        QByteArray image;
        // Mapped rather than copied: the check reads every block once. Other
        // users change the file only while this one holds the append region
        // (as now), and a rebuilt index is a new file.
        void *mapped = ::mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        if (mapped != MAP_FAILED) {
            image = QByteArray::fromRawData(static_cast<const char *>(mapped), st.st_size);
        } else {
            image.resize(st.st_size);
            if (!base::preadAll(fd, image.data(), image.size(), 0))
                image.clear();
        }
        struct Unmap {
            void *at;
            std::size_t size;
            ~Unmap()
            {
                if (at != MAP_FAILED)
                    ::munmap(at, size);
            }
        } unmap{mapped, static_cast<std::size_t>(st.st_size)};
        if (image.isEmpty() || !check(image, tag.name, keyLength, recordCount)) {
            ::close(fd);
            return false;
        }
        tagPage = findTag(image, tag.name);
        // Copies: the mapping goes away on return.
        head = QByteArray(image.constData(), kHeaderBytes);
        tagHeader = QByteArray(image.constData() + qsizetype(tagPage) * kPageSize, kTagHeaderBytes);
        // Remembered only for a file last written a while ago: a write in
        // the same tick of the file clock as the last one would keep its
        // time and go unnoticed. Where the file system keeps no attributes
        // the next open simply checks again.
        if (settled)
            ::fsetxattr(fd, kCheckedAttribute, stamp.constData(), static_cast<std::size_t>(stamp.size()), 0);
    }
    m_fd = fd;
    m_path = path;
    m_keyLength = keyLength;
    m_itemLength = itemLengthFor(keyLength);
    m_maxKeys = maxKeysFor(m_itemLength);
    m_tagPage = tagPage;
    m_fileHeader = head.left(48);
    m_tagHeader = tagHeader;
    m_headersDirty = false;   // close() above left no blocks behind
    return true;
}

bool MdxIndex::create(const QString &path, const IndexTag &tag, QByteArrayView keys, int keyLength,
                      QByteArrayView tableName)
{
    close();
    const QByteArray image = build(keys, keyLength, tag, tableName, QDate::currentDate());
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    if (!base::pwriteAll(fd, image.constData(), image.size(), 0)) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_path = path;
    m_keyLength = keyLength;
    m_itemLength = itemLengthFor(keyLength);
    m_maxKeys = maxKeysFor(m_itemLength);
    m_tagPage = kTagPage;
    m_fileHeader = image.left(48);
    m_tagHeader = image.mid(qsizetype(kTagPage) * kPageSize, kTagHeaderBytes);
    m_headersDirty = false;   // close() above left no blocks behind
    return true;
}

bool MdxIndex::close()
{
    bool ok = true;
    if (m_fd >= 0) {
        ok = flush();
        ::close(m_fd);
    }
    m_fd = -1;
    m_path.clear();
    forgetBlocks();
    return ok;
}

bool MdxIndex::flush()
{
    if (m_fd < 0)
        return false;
    std::vector<std::uint32_t> pages(m_dirty.begin(), m_dirty.end());
    std::sort(pages.begin(), pages.end());
    for (std::uint32_t page : pages) {
        const auto it = m_cache.find(page);
        if (it == m_cache.end() || !base::pwriteAll(m_fd, it->second.constData(), kBlockSize, off_t(page) * kPageSize))
            return false;
        m_dirty.erase(page);
    }
    // The headers last: until they are written the file keeps its old
    // length in pages, so a crash half-way leaves an index that fails the
    // check at the next open and is rebuilt.
    return writeHeaders();
}

void MdxIndex::discardCache()
{
    forgetBlocks();
    if (m_fd < 0)
        return;
    QByteArray fh(48, '\0');
    QByteArray th(kTagHeaderBytes, '\0');
    if (base::preadAll(m_fd, fh.data(), fh.size(), 0)
        && base::preadAll(m_fd, th.data(), th.size(), off_t(m_tagPage) * kPageSize)) {
        m_fileHeader = fh;
        m_tagHeader = th;
        m_headersDirty = false;
    }
}

bool MdxIndex::replacedOnDisk() const
{
    if (m_fd < 0)
        return false;
    struct stat named {};
    struct stat opened {};
    if (::stat(QFile::encodeName(m_path).constData(), &named) != 0 || ::fstat(m_fd, &opened) != 0)
        return true;
    return named.st_dev != opened.st_dev || named.st_ino != opened.st_ino;
}

bool MdxIndex::trimCache()
{
    if (m_cache.size() <= kCacheBlocks)
        return true;
    if (m_dirty.size() > kCacheBlocks / 2 && !flush())
        return false;
    // Leaves go first, about a quarter of the cache at a time: the few
    // interior nodes are on every path.
    forgetRecent();
    for (auto it = m_cache.begin(); it != m_cache.end() && m_cache.size() > kCacheBlocks * 3 / 4;) {
        const char *p = it->second.constData();
        const bool leaf = base::u32(p + kNodeHead + base::u32(p) * m_itemLength) == 0;
        it = leaf && !m_dirty.contains(it->first) ? m_cache.erase(it) : std::next(it);
    }
    return true;
}

MdxIndex::Block *MdxIndex::block(std::uint32_t page)
{
    auto &recent = m_recent[page % m_recent.size()];
    if (recent.first == page && recent.second)
        return recent.second;
    auto it = m_cache.find(page);
    if (it != m_cache.end()) {
        recent = {page, &it->second};
        return &it->second;
    }
    Block b;
    if (!readBlock(page, b))
        return nullptr;
    Block *cached = &m_cache.emplace(page, std::move(b)).first->second;
    recent = {page, cached};
    return cached;
}

bool MdxIndex::readBlock(std::uint32_t page, Block &into) const
{
    const std::uint32_t pages = base::u32(m_fileHeader.constData() + 32);
    if (page < kTagPage || page == m_tagPage || page + 2 > pages)
        return false;
    into.resize(kBlockSize);
    return base::preadAll(m_fd, into.data(), kBlockSize, off_t(page) * kPageSize)
        && base::u32(into.constData()) <= static_cast<std::uint32_t>(m_maxKeys);
}

const char *MdxIndex::leafOnce(std::uint32_t page, Block &scratch)
{
    if (const auto it = m_cache.find(page); it != m_cache.end())
        return it->second.constData();
    return readBlock(page, scratch) ? scratch.constData() : nullptr;
}

bool MdxIndex::writeBlock(std::uint32_t page, const Block &b)
{
    m_cache[page] = b;
    m_dirty.insert(page);
    touchDate();
    return true;
}

void MdxIndex::touchDate()
{
    // Asking for the local date costs a look at the time zone file; once a
    // minute is enough.
    const std::time_t now = std::time(nullptr);
    if (now / 60 != m_dateMinute) {
        m_dateMinute = now / 60;
        putDate(m_today, QDate::currentDate());
    }
    const char *today = m_today;
    if (std::memcmp(m_fileHeader.constData() + 44, today, 3) != 0) {
        std::memcpy(m_fileHeader.data() + 44, today, 3);
        m_headersDirty = true;
    }
}

bool MdxIndex::writeHeaders()
{
    if (!m_headersDirty)
        return true;
    if (!base::pwriteAll(m_fd, m_fileHeader.constData(), m_fileHeader.size(), 0)
        || !base::pwriteAll(m_fd, m_tagHeader.constData(), m_tagHeader.size(), off_t(m_tagPage) * kPageSize))
        return false;
    m_headersDirty = false;
    return true;
}

int MdxIndex::compareEntry(const char *item, QByteArrayView key, std::uint32_t recNo) const
{
    const int c = std::memcmp(item + 4, key.data(), m_keyLength);
    if (c != 0)
        return c;
    const std::uint32_t r = base::u32(item);
    return r < recNo ? -1 : (r > recNo ? 1 : 0);
}

namespace {

std::uint32_t childPage(const char *node, std::uint32_t i, int item)
{
    return base::u32(node + kNodeHead + i * item);
}

} // namespace

bool MdxIndex::descend(QByteArrayView key, std::vector<PathStep> &path, bool strict)
{
    path.clear();
    std::uint32_t page = base::u32(m_tagHeader.constData());
    for (int depth = 0; depth <= kMaxDepth; ++depth) {
        const Block *b = block(page);
        if (!b)
            return false;
        const char *p = b->constData();
        const std::uint32_t n = base::u32(p);
        const std::uint32_t last = base::u32(p + kNodeHead + n * m_itemLength);
        if (last == 0) {
            path.push_back({page, 0});
            return true;
        }
        if (n == 0)
            return false;
        std::uint32_t i = 0;
        for (; i < n; ++i) {
            const int c = std::memcmp(p + kNodeHead + i * m_itemLength + 4, key.data(), m_keyLength);
            if (strict ? c > 0 : c >= 0)
                break;
        }
        path.push_back({page, static_cast<int>(i)});
        page = i < n ? childPage(p, i, m_itemLength) : last;
    }
    return false;
}

bool MdxIndex::nextLeaf(std::vector<PathStep> &path)
{
    for (int k = static_cast<int>(path.size()) - 2; k >= 0; --k) {
        const Block *b = block(path[k].page);
        if (!b)
            return false;
        const std::uint32_t n = base::u32(b->constData());
        if (static_cast<std::uint32_t>(path[k].child) >= n)
            continue;
        ++path[k].child;
        std::uint32_t page = static_cast<std::uint32_t>(path[k].child) < n
                                 ? childPage(b->constData(), path[k].child, m_itemLength)
                                 : base::u32(b->constData() + kNodeHead + n * m_itemLength);
        for (std::size_t j = k + 1; j < path.size(); ++j) {
            path[j] = {page, 0};
            if (j + 1 < path.size()) {
                const Block *c = block(page);
                if (!c || base::u32(c->constData()) == 0)
                    return false;
                page = childPage(c->constData(), 0, m_itemLength);
            }
        }
        return true;
    }
    return false;
}

std::uint32_t MdxIndex::allocate()
{
    const std::uint32_t page = base::u32(m_fileHeader.constData() + 32);
    base::put32(m_fileHeader.data() + 32, page + 2);
    base::put32(m_tagHeader.data() + 4, base::u32(m_tagHeader.constData() + 4) + 2);
    m_headersDirty = true;
    return page;
}

bool MdxIndex::insertLeaf(std::vector<PathStep> &path, int pos, QByteArrayView key, std::uint32_t recNo)
{
    const std::uint32_t page = path.back().page;
    Block *cached = block(page);
    if (!cached)
        return false;
    const std::uint32_t n = base::u32(cached->constData());
    if (m_tagHeader[246] == 0) {
        m_tagHeader[246] = 1;
        m_headersDirty = true;
    }
    if (n < static_cast<std::uint32_t>(m_maxKeys)) {
        // Room in the leaf: shift the entries after pos in the cached block.
        char *base = cached->data() + kNodeHead;
        std::memmove(base + qsizetype(pos + 1) * m_itemLength, base + qsizetype(pos) * m_itemLength,
                     qsizetype(n - pos) * m_itemLength);
        char *e = base + qsizetype(pos) * m_itemLength;
        std::memset(e, 0, m_itemLength);
        base::put32(e, recNo);
        std::memcpy(e + 4, key.data(), m_keyLength);
        base::put32(cached->data(), n + 1);
        base::put32(base + qsizetype(n + 1) * m_itemLength, 0);
        m_dirty.insert(page);
        touchDate();
        return true;
    }
    const Block b = *cached;

    // All entries with the new one in its place.
    QByteArray items(qsizetype(n + 1) * m_itemLength, '\0');
    std::memcpy(items.data(), b.constData() + kNodeHead, qsizetype(pos) * m_itemLength);
    char *e = items.data() + qsizetype(pos) * m_itemLength;
    base::put32(e, recNo);
    std::memcpy(e + 4, key.data(), m_keyLength);
    std::memcpy(e + m_itemLength, b.constData() + kNodeHead + qsizetype(pos) * m_itemLength,
                qsizetype(n - pos) * m_itemLength);

    // Split: the lower half stays, the upper half moves to a new block.
    const std::uint32_t total = n + 1;
    const std::uint32_t lower = (total + 1) / 2;
    std::vector<PathStep> after = path;
    const bool hasNext = nextLeaf(after);
    const std::uint32_t upperPage = allocate();

    Block low(kBlockSize, '\0');
    base::put32(low.data(), lower);
    base::put32(low.data() + 4, base::u32(b.constData() + 4));
    std::memcpy(low.data() + kNodeHead, items.constData(), qsizetype(lower) * m_itemLength);
    Block up(kBlockSize, '\0');
    base::put32(up.data(), total - lower);
    base::put32(up.data() + 4, page);
    std::memcpy(up.data() + kNodeHead, items.constData() + qsizetype(lower) * m_itemLength,
                qsizetype(total - lower) * m_itemLength);
    if (!writeBlock(upperPage, up) || !writeBlock(page, low))
        return false;
    if (hasNext) {
        const Block *nb = block(after.back().page);
        if (!nb)
            return false;
        Block next = *nb;
        base::put32(next.data() + 4, upperPage);
        if (!writeBlock(after.back().page, next))
            return false;
    }
    const QByteArrayView separator(items.constData() + qsizetype(lower - 1) * m_itemLength + 4, m_keyLength);
    path.pop_back();
    return insertChild(path, separator, page, upperPage);
}

bool MdxIndex::insertChild(std::vector<PathStep> &path, QByteArrayView separator, std::uint32_t left,
                           std::uint32_t right)
{
    if (path.empty()) {
        // The root split: a new root above the two halves.
        const std::uint32_t rootPage = allocate();
        Block r(kBlockSize, '\0');
        base::put32(r.data(), 1);
        base::put32(r.data() + 4, right);
        base::put32(r.data() + kNodeHead, left);
        std::memcpy(r.data() + kNodeHead + 4, separator.data(), m_keyLength);
        base::put32(r.data() + kNodeHead + m_itemLength, right);
        base::put32(m_tagHeader.data(), rootPage);
        base::put32(m_tagHeader.data() + 252, rootPage);
        m_headersDirty = true;
        return writeBlock(rootPage, r);
    }
    const PathStep step = path.back();
    path.pop_back();
    const Block *cached = block(step.page);
    if (!cached)
        return false;
    const char *p = cached->constData();
    const std::uint32_t n = base::u32(p);
    const std::uint32_t at = static_cast<std::uint32_t>(step.child);
    if (at > n)
        return false;

    // Children and separators with the new child after `left`.
    std::vector<std::uint32_t> children;
    std::vector<QByteArray> seps;
    for (std::uint32_t i = 0; i <= n; ++i) {
        children.push_back(i < n ? childPage(p, i, m_itemLength) : base::u32(p + kNodeHead + n * m_itemLength));
        if (i < n)
            seps.emplace_back(p + kNodeHead + i * m_itemLength + 4, m_keyLength);
    }
    if (children[at] != left)
        return false;
    children.insert(children.begin() + at + 1, right);
    seps.insert(seps.begin() + at, separator.toByteArray());

    auto makeNode = [&](std::size_t from, std::size_t keyCount) {
        Block b(kBlockSize, '\0');
        base::put32(b.data(), static_cast<std::uint32_t>(keyCount));
        for (std::size_t i = 0; i < keyCount; ++i) {
            char *e = b.data() + kNodeHead + i * m_itemLength;
            base::put32(e, children[from + i]);
            std::memcpy(e + 4, seps[from + i].constData(), m_keyLength);
        }
        const std::uint32_t lastChild = children[from + keyCount];
        base::put32(b.data() + 4, lastChild);
        base::put32(b.data() + kNodeHead + keyCount * m_itemLength, lastChild);
        return b;
    };

    if (seps.size() <= static_cast<std::size_t>(m_maxKeys))
        return writeBlock(step.page, makeNode(0, seps.size()));

    // Split: seps [0, mid) stay with children [0, mid]; seps[mid] moves up.
    const std::size_t mid = seps.size() / 2;
    const std::uint32_t upperPage = allocate();
    const QByteArray promoted = seps[mid];
    if (!writeBlock(upperPage, makeNode(mid + 1, seps.size() - mid - 1))
        || !writeBlock(step.page, makeNode(0, mid)))
        return false;
    return insertChild(path, promoted, step.page, upperPage);
}

bool MdxIndex::insert(QByteArrayView key, std::uint32_t recNo)
{
    if (m_fd < 0 || key.size() != m_keyLength)
        return false;
    if (!trimCache())
        return false;
    std::vector<PathStep> path;
    // A new record has the highest number: it goes after every equal key.
    if (!descend(key, path, true))
        return false;
    return insertAt(path, key, recNo, false);
}

bool MdxIndex::insertAt(std::vector<PathStep> &path, QByteArrayView key, std::uint32_t recNo, bool scan)
{
    for (;;) {
        const Block *b = block(path.back().page);
        if (!b)
            return false;
        const char *p = b->constData();
        const std::uint32_t n = base::u32(p);
        std::uint32_t pos = 0;
        while (pos < n && compareEntry(p + kNodeHead + pos * m_itemLength, key, recNo) < 0)
            ++pos;
        if (pos == n && scan) {
            // Equal keys may go on in the next leaf with lower record numbers.
            std::vector<PathStep> after = path;
            if (nextLeaf(after)) {
                const Block *nb = block(after.back().page);
                if (!nb)
                    return false;
                if (base::u32(nb->constData()) > 0 && compareEntry(nb->constData() + kNodeHead, key, recNo) < 0) {
                    path = after;
                    continue;
                }
            }
        }
        return insertLeaf(path, static_cast<int>(pos), key, recNo);
    }
}

bool MdxIndex::recordsWithPrefix(QByteArrayView prefix, std::vector<std::uint32_t> &recNos)
{
    recNos.clear();
    if (m_fd < 0)
        return false;
    if (prefix.size() > m_keyLength)
        return true;   // no key is that long
    // The lowest key with that beginning: the prefix padded with zero bytes.
    QByteArray low(m_keyLength, '\0');
    std::memcpy(low.data(), prefix.data(), prefix.size());
    std::vector<PathStep> path;
    if (!descend(low, path, false))
        return false;
    const std::uint32_t pages = base::u32(m_fileHeader.constData() + 32);
    Block scratch;
    for (std::uint32_t leaves = 0; leaves <= pages; ++leaves) {
        const char *p = leafOnce(path.back().page, scratch);
        if (!p)
            return false;
        const std::uint32_t n = base::u32(p);
        for (std::uint32_t i = 0; i < n; ++i) {
            const char *item = p + kNodeHead + i * m_itemLength;
            const int c = std::memcmp(item + 4, prefix.data(), prefix.size());
            if (c > 0)
                return true;
            if (c == 0)
                recNos.push_back(base::u32(item));
        }
        if (!nextLeaf(path))
            return true;
        if (!trimCache())
            return false;
    }
    return false;   // more leaves than pages: a loop in the tree
}

bool MdxIndex::replace(QByteArrayView oldKey, QByteArrayView newKey, std::uint32_t recNo)
{
    if (m_fd < 0 || oldKey.size() != m_keyLength || newKey.size() != m_keyLength)
        return false;
    if (!trimCache())
        return false;
    std::vector<PathStep> path;
    if (!descend(oldKey, path, false))
        return false;
    // Find the old entry, leaf after leaf while the keys are equal.
    for (;;) {
        const Block *cached = block(path.back().page);
        if (!cached)
            return false;
        const char *p = cached->constData();
        const std::uint32_t n = base::u32(p);
        std::uint32_t pos = 0;
        int c = -1;
        while (pos < n && (c = compareEntry(p + kNodeHead + pos * m_itemLength, oldKey, recNo)) < 0)
            ++pos;
        if (pos < n && c > 0)
            return false;
        if (pos < n) {
            // An emptied leaf other than the root would break the tree's
            // shape: the caller rebuilds instead.
            if (n == 1 && path.size() > 1)
                return false;
            Block b = *cached;
            char *items = b.data() + kNodeHead;
            std::memmove(items + pos * m_itemLength, items + (pos + 1) * m_itemLength,
                         qsizetype(n - pos - 1) * m_itemLength);
            std::memset(items + (n - 1) * m_itemLength, 0, m_itemLength + 4);
            base::put32(b.data(), n - 1);
            if (!writeBlock(path.back().page, b))
                return false;
            break;
        }
        if (!nextLeaf(path))
            return false;
    }
    if (!descend(newKey, path, false))
        return false;
    // Changed keys go to disk at once: a lost update would leave an index
    // that looks sound.
    return insertAt(path, newKey, recNo, true) && flush();
}

} // namespace etibarix::store
